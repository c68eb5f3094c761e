#include "shell/TGraphicsPage.h"

#include "graphs/ChartPicture.h"
#include "results/OutputGroups.h"
#include "results/PathWithExtension.h"
#include "shell/ControlNames.h"
#include "shell/WindowMessages.h"

namespace veltra {

namespace {

// The picture is saved as a bitmap unless a PNG, or the drawing as SVG or PDF, is asked for.
std::string PictureFileName(const std::string& chosen)
{
    return PictureFormat(chosen).empty() ? PathWithExtension(chosen, ".bmp") : chosen;
}

} // namespace

void TGraphicsPage::Shown()
{
    ShellOps& ops = w_.Ops;
    ops.DisableControl(ctl::InputSave);
    ops.SetStatus(msg::GraphicsStatus);
    if (!w_.State.GraphMade) {
        ops.HideControl(ctl::GraphImage);
        ops.DisableControl(ctl::GraphSave);
        ops.DisableControl(ctl::GraphSymbolsButton);
        ops.ShowControl(ctl::GraphDecorImage);
    } else {
        ops.HideControl(ctl::GraphDecorImage);
        ops.ShowControl(ctl::GraphImage);
    }
}

void TGraphicsPage::ShowPicture()
{
    ShellOps& ops = w_.Ops;
    w_.State.GraphMade = true;
    ops.HideControl(ctl::GraphDecorImage);
    ops.ShowControl(ctl::GraphImage);
    ops.EnableControl(ctl::GraphSave);
    ops.EnableControl(ctl::GraphSymbolsButton);
    w_.BringToFront(TPage::Graphics);
}

void TGraphicsPage::SaveGraph()
{
    const TWindowCore::TSaveChoice choice = w_.ChooseFileToSave(TDialog::GraphSave, PictureFileName);
    if (!choice.Path) {
        if (choice.Cancelled)
            w_.Ops.ShowMessage(msg::GraphNotSaved);
        return;
    }
    const std::string& path = *choice.Path;
    // A picture that cannot be written: the event's failure, as any.
    SaveChartPicture(w_.Ops.Picture(), path, w_.Files);
    w_.Ops.ShowMessage(msg::GraphSaved(path));
}

void TGraphicsPage::OpenGraph()
{
    const std::optional<std::string> chosen = w_.ChooseFileToOpen(TDialog::GraphOpen, msg::NoImageFile);
    if (!chosen || !w_.FileThere(*chosen))
        return;
    const std::string& path = *chosen;
    if (!w_.Ops.Picture().LoadFromFile(path)) {
        w_.Ops.ShowMessage(GroupFileMessage(path));
        return;
    }
    ShowPicture();
}

} // namespace veltra
