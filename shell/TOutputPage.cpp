#include "shell/TOutputPage.h"

#include <algorithm>
#include <cstdlib>

#include "graphs/Chart.h"
#include "model/SafeFile.h"
#include "results/GroupFile.h"
#include "results/GroupTables.h"
#include "results/OutputGroups.h"
#include "results/PathWithExtension.h"
#include "results/TextLists.h"
#include "shell/ControlNames.h"
#include "shell/WindowMessages.h"

namespace veltra {

void TOutputPage::FillGrid()
{
    ShellOps& ops = w_.Ops;
    const TDataMod& out = w_.Out;
    const TGroupStore& g = out.Groups;
    const TGroupTable* table = FindGroupTable(g.GroupTag);
    if (table == nullptr)
        return;
    const int columns = static_cast<int>(table->GridHeads.size());
    const int records = std::max(0, g.RecordCount);
    const int ns = std::max<int>(1, out.Rec.Ns);
    ops.GridSetSize(columns + 2, records + 1);
    ops.GridSetCell(0, 0, " Year");
    ops.GridSetCell(1, 0, "Season");
    for (int c = 1; c <= columns; ++c)
        ops.GridSetCell(c + 1, 0, table->GridHeads[static_cast<std::size_t>(c - 1)]);
    for (int j = 0; j < records; ++j) {
        ops.GridSetCell(0, j + 1, std::to_string(j / ns));
        ops.GridSetCell(1, j + 1, std::to_string(j % ns + 1));
        for (int c = 1; c <= columns; ++c) {
            const auto& texts = g.GridTexts[static_cast<std::size_t>(c)];
            const auto at = static_cast<std::size_t>(j);
            ops.GridSetCell(c + 1, j + 1, at < texts.size() && !texts[at].empty() ? texts[at] : "  -");
        }
    }
}

void TOutputPage::ShowGroups()
{
    ShellOps& ops = w_.Ops;
    ops.HideControl(ctl::GroupSaveButton);
    ops.HideControl(ctl::SeeGraphButton);
    ops.GridHide();
    ops.HideControl(ctl::ClipNoteLabel);
    ops.HideControl(ctl::ClipButton);
    ops.TextHide();
    ops.ShowControl(ctl::GroupsPanel);
}

void TOutputPage::RunGroup(int number)
{
    TDataMod& out = w_.Out;
    // A file that cannot be read leaves the output side as it was.
    const std::string before = out.Rec.Shell.FileName;
    try {
        // The result file of the run on screen, not one named after a group file
        // opened since.
        if (w_.State.ResultFile.empty())
            RunGroupOption(out, number);
        else
            RunGroupOptionOn(out, number, w_.State.ResultFile);
    } catch (...) {
        out.Rec.Shell.FileName = before;
        throw;
    }
}

void TOutputPage::Go()
{
    ShellOps& ops = w_.Ops;
    const std::string choice = ops.GetControlText(ctl::GroupOption);
    const int number = std::atoi(choice.c_str());
    if (number < 1 || number > 13) {
        ops.ShowMessage(msg::NoGroupChosen);
        return;
    }
    RunGroup(number);
    if (number == 13) {
        w_.ShowTextLines(w_.Out.ResultLines);
        ops.GridHide();
        ops.HideControl(ctl::SeeGraphButton);
        ops.HideControl(ctl::ClipButton);
        ops.HideControl(ctl::ClipNoteLabel);
        ops.ShowControl(ctl::GroupSaveButton);
        w_.State.View = TOutputView::Frequency;
        return;
    }
    w_.ShowTextLines(TableViewLines(w_.Out));
    FillGrid();
    ops.GridShow();
    ops.ShowControl(ctl::GroupSaveButton);
    ops.ShowControl(ctl::SeeGraphButton);
    ops.ShowControl(ctl::ClipButton);
    ops.ShowControl(ctl::ClipNoteLabel);
    w_.State.View = TOutputView::Table;
}

void TOutputPage::SaveGroup()
{
    ShellOps& ops = w_.Ops;
    ops.SetStatus(msg::GroupSaveStatus);
    const TWindowCore::TSaveChoice choice = w_.ChooseFileToSave(
        TDialog::GroupSave, [](const std::string& chosen) { return PathWithExtension(chosen, ".prn"); });
    w_.State.SaveCancelled = choice.Cancelled;
    if (!choice.Path) {
        ops.ShowMessage(msg::GroupNotSaved);
        return;
    }
    const std::string& path = *choice.Path;
    try {
        // The frequency view and a group file read back are saved as they are shown.
        if (w_.State.View == TOutputView::Frequency || w_.State.View == TOutputView::GroupFile)
            SaveTextLines(w_.Out, path, w_.Files);
        else
            SaveGroupFile(w_.Out, path, w_.Files);
    } catch (const TGroupWriteError& e) {
        ops.ShowMessage(e.Kind == TErrorKind::File ? CannotWriteMessage(path) : e.what());
        return;
    }
    ops.ShowMessage(msg::GroupSaved(path));
}

void TOutputPage::OpenGroupFile()
{
    ShellOps& ops = w_.Ops;
    TDataMod& out = w_.Out;
    const std::optional<std::string> chosen = w_.ChooseFileToOpen(TDialog::GroupOpen, msg::NoOutputGroup);
    if (!chosen)
        return;
    const std::string& path = *chosen;
    out.Rec.Shell.FileName = path;
    if (!w_.FileThere(path))
        return;
    if (!LoadResultLines(out, path)) {
        ops.ShowMessage(GroupFileMessage(path));
        return;
    }
    // From the Graphics page too: the file is shown where its text can be seen.
    w_.BringToFront(TPage::Output);
    ops.HideControl(ctl::OutputDecorImage);
    w_.ShowTextLines(out.ResultLines);
    ops.GridHide();
    ops.HideControl(ctl::ClipButton);
    ops.HideControl(ctl::ClipNoteLabel);
    w_.State.View = TOutputView::Text;
    // The lines just shown are the file: it is not read a second time.
    ReadGroupLines(out, path, out.ResultLines);
    if (out.Groups.NotGroupFile) {
        // Text only: no graph, no group to save.
        ops.HideControl(ctl::SeeGraphButton);
        ops.HideControl(ctl::GroupSaveButton);
        ops.ShowMessage(msg::NotAGroupFile(path));
        return;
    }
    SetPresenceAfterGroupOpen(out);
    ops.ShowControl(ctl::SeeGraphButton);
    ops.ShowControl(ctl::GroupSaveButton);
    w_.State.View = TOutputView::GroupFile;
}

void TOutputPage::ToClipboard()
{
    w_.Ops.SetClipboardText(ClipboardText(w_.Out));
    w_.Ops.ShowMessage(msg::OnClipboard);
}

void TOutputPage::DrawGraph()
{
    ShellOps& ops = w_.Ops;
    if (DrawChart(w_.Out.Groups, w_.Out.Rec, ops.Picture()) == TChartOutcome::NoData) {
        ops.ShowMessage(NoDataMessage);
        const std::string& tag = w_.Out.Groups.GroupTag;
        if (tag == "CrA" || tag == "Cxf" || tag == "LrA" || tag == "RrA" || tag == "It")
            w_.BringToFront(TPage::Output);
        return;
    }
    graphics_.ShowPicture();
}

} // namespace veltra
