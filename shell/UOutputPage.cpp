// The Output page's actions: output groups and their tables, group files, the
// clipboard and drawing a group.
#include <cstdlib>

#include "graphs/Chart.h"
#include "model/SafeFile.h"
#include "results/GroupFile.h"
#include "results/GroupTables.h"
#include "results/OutputFile.h"
#include "results/OutputGroups.h"
#include "results/TextLists.h"
#include "shell/UControls.h"
#include "shell/UMainForm.h"
#include "shell/UMessages.h"

namespace veltra {

void TMainFormLogic::FillTextView(const std::vector<std::string>& lines)
{
    ops_.TextClear();
    for (const std::string& line : lines)
        ops_.TextAddLine(line);
    shownText_ = lines; // what Print prints on this page
}

void TMainFormLogic::ShowTextLines(const std::vector<std::string>& lines)
{
    FillTextView(lines);
    ops_.TextShow();
}

void TMainFormLogic::FillGrid()
{
    const TGroupStore& g = out_.Groups;
    const TGroupTable* table = FindGroupTable(g.GroupTag);
    if (table == nullptr)
        return;
    const int columns = static_cast<int>(table->GridHeads.size());
    const int records = std::max(0, g.RecordCount);
    const int ns = std::max<int>(1, out_.Rec.Ns);
    ops_.GridSetSize(columns + 2, records + 1);
    ops_.GridSetCell(0, 0, " Year");
    ops_.GridSetCell(1, 0, "Season");
    for (int c = 1; c <= columns; ++c)
        ops_.GridSetCell(c + 1, 0, table->GridHeads[static_cast<std::size_t>(c - 1)]);
    for (int j = 0; j < records; ++j) {
        ops_.GridSetCell(0, j + 1, std::to_string(j / ns));
        ops_.GridSetCell(1, j + 1, std::to_string(j % ns + 1));
        for (int c = 1; c <= columns; ++c) {
            const auto& texts = g.GridTexts[static_cast<std::size_t>(c)];
            const auto at = static_cast<std::size_t>(j);
            ops_.GridSetCell(c + 1, j + 1, at < texts.size() && !texts[at].empty() ? texts[at] : "  -");
        }
    }
}

void TMainFormLogic::OutputGroups()
{
    Handle([&] {
        ops_.HideControl(ctl::GroupSaveButton);
        ops_.HideControl(ctl::SeeGraphButton);
        ops_.GridHide();
        ops_.HideControl(ctl::ClipNoteLabel);
        ops_.HideControl(ctl::ClipButton);
        ops_.TextHide();
        ops_.ShowControl(ctl::GroupsPanel);
    });
}

void TMainFormLogic::Go()
{
    Handle([&] {
        const std::string choice = ops_.GetControlText(ctl::GroupOption);
        const int number = std::atoi(choice.c_str());
        if (number < 1 || number > 13) {
            ops_.ShowMessage(msg::NoGroupChosen);
            return;
        }
        // A file that cannot be read leaves the output side as it was.
        const std::string before = out_.Rec.FileName;
        try {
            // The result file of the run on screen, not one named after a group file
            // opened since.
            if (State.ResultFile.empty())
                RunGroupOption(out_, number);
            else
                RunGroupOptionOn(out_, number, State.ResultFile);
        } catch (...) {
            out_.Rec.FileName = before;
            throw;
        }
        if (number == 13) {
            ShowTextLines(out_.ResultLines);
            ops_.GridHide();
            ops_.HideControl(ctl::SeeGraphButton);
            ops_.HideControl(ctl::ClipButton);
            ops_.HideControl(ctl::ClipNoteLabel);
            ops_.ShowControl(ctl::GroupSaveButton);
            State.View = TOutputView::Frequency;
            return;
        }
        ShowTextLines(TableViewLines(out_));
        FillGrid();
        ops_.GridShow();
        ops_.ShowControl(ctl::GroupSaveButton);
        ops_.ShowControl(ctl::SeeGraphButton);
        ops_.ShowControl(ctl::ClipButton);
        ops_.ShowControl(ctl::ClipNoteLabel);
        State.View = TOutputView::Table;
    });
}

void TMainFormLogic::GroupSave()
{
    Handle([&] { SaveGroupAs(); });
}

void TMainFormLogic::SaveGroupAs()
{
    ops_.SetStatus(msg::GroupSaveStatus);
    const TSaveChoice choice = ChooseFileToSave(
        TDialog::GroupSave, [](const std::string& chosen) { return PathWithExtension(chosen, ".prn"); });
    State.SaveCancelled = choice.Cancelled;
    if (!choice.Path) {
        ops_.ShowMessage(msg::GroupNotSaved);
        return;
    }
    const std::string& path = *choice.Path;
    try {
        // The frequency view and a group file read back are saved as they are shown.
        if (State.View == TOutputView::Frequency || State.View == TOutputView::GroupFile)
            SaveTextLines(out_, path, files_);
        else
            SaveGroupFile(out_, path, files_);
    } catch (const TGroupWriteError& e) {
        ops_.ShowMessage(e.Kind == TErrorKind::File ? CannotWriteMessage(path) : e.what());
        return;
    }
    ops_.ShowMessage(msg::GroupSaved(path));
}

void TMainFormLogic::GroupOpen()
{
    Handle([&] { OpenGroupFile(); });
}

void TMainFormLogic::OpenGroupFile()
{
    const std::optional<std::string> chosen = ChooseFileToOpen(TDialog::GroupOpen, msg::NoOutputGroup);
    if (!chosen)
        return;
    const std::string& path = *chosen;
    out_.Rec.FileName = path;
    if (!FileThere(path))
        return;
    if (!LoadResultLines(out_, path)) {
        ops_.ShowMessage(GroupFileMessage(path));
        return;
    }
    // From the Graphics page too: the file is shown where its text can be seen.
    BringToFront(TPage::Output);
    ops_.HideControl(ctl::OutputDecorImage);
    ShowTextLines(out_.ResultLines);
    ops_.GridHide();
    ops_.HideControl(ctl::ClipButton);
    ops_.HideControl(ctl::ClipNoteLabel);
    State.View = TOutputView::Text;
    // The lines just shown are the file: it is not read a second time.
    ReadGroupLines(out_, path, out_.ResultLines);
    if (out_.Groups.NotGroupFile) {
        // Text only: no graph, no group to save.
        ops_.HideControl(ctl::SeeGraphButton);
        ops_.HideControl(ctl::GroupSaveButton);
        ops_.ShowMessage(msg::NotAGroupFile(path));
        return;
    }
    SetPresenceAfterGroupOpen(out_);
    ops_.ShowControl(ctl::SeeGraphButton);
    ops_.ShowControl(ctl::GroupSaveButton);
    State.View = TOutputView::GroupFile;
}

void TMainFormLogic::ToClipboard()
{
    Handle([&] {
        ops_.SetClipboardText(ClipboardText(out_));
        ops_.ShowMessage(msg::OnClipboard);
    });
}

void TMainFormLogic::SeeGraph()
{
    Handle([&] { DrawGraph(); });
}

void TMainFormLogic::DrawGraph()
{
    if (DrawChart(out_.Groups, out_.Rec, ops_.Picture()) == TChartOutcome::NoData) {
        ops_.ShowMessage(NoDataMessage);
        const std::string& tag = out_.Groups.GroupTag;
        if (tag == "CrA" || tag == "Cxf" || tag == "LrA" || tag == "RrA" || tag == "It")
            BringToFront(TPage::Output);
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
