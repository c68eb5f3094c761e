// The Graphics page's actions: save the picture, open a saved one.
#include "graphs/ChartPicture.h"
#include "model/SafeFile.h"
#include "model/TVeltraError.h"
#include "results/OutputFile.h"
#include "results/OutputGroups.h"
#include "shell/UControls.h"
#include "shell/UMainForm.h"
#include "shell/UMessages.h"

namespace veltra {

namespace {

// The picture is saved as a bitmap unless a PNG, or the drawing as SVG or PDF, is asked for.
std::string PictureFileName(const std::string& chosen)
{
    return PictureFormat(chosen).empty() ? PathWithExtension(chosen, ".bmp") : chosen;
}

} // namespace

void TMainFormLogic::GraphSave()
{
    Handle([&] { SaveGraphAs(); });
}

void TMainFormLogic::SaveGraphAs()
{
    const TSaveChoice choice = ChooseFileToSave(TDialog::GraphSave, PictureFileName);
    if (!choice.Path) {
        if (choice.Cancelled)
            ops_.ShowMessage(msg::GraphNotSaved);
        return;
    }
    const std::string& path = *choice.Path;
    try {
        SaveChartPicture(ops_.Picture(), path, files_);
    } catch (const TVeltraError& e) {
        ops_.ShowMessage(e.what());
        return;
    }
    ops_.ShowMessage(msg::GraphSaved(path));
}

void TMainFormLogic::GraphOpen()
{
    Handle([&] { OpenGraph(); });
}

void TMainFormLogic::OpenGraph()
{
    const std::optional<std::string> chosen = ChooseFileToOpen(TDialog::GraphOpen, msg::NoImageFile);
    if (!chosen || !FileThere(*chosen))
        return;
    const std::string& path = *chosen;
    if (!ops_.Picture().LoadFromFile(path)) {
        ops_.ShowMessage(GroupFileMessage(path));
        return;
    }
    State.GraphMade = true;
    ops_.HideControl(ctl::GraphDecorImage);
    ops_.ShowControl(ctl::GraphImage);
    ops_.EnableControl(ctl::GraphSave);
    ops_.EnableControl(ctl::GraphSymbolsButton);
    BringToFront(TPage::Graphics);
}

} // namespace veltra
