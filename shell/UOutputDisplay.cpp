// What a run produced, on the Output page: its input errors, its runtime warnings
// and its result file; opening a result file chosen by the user; closing the output.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "model/InputFile.h"
#include "model/TVeltraError.h"
#include "results/OutputFile.h"
#include "results/OutputGroups.h"
#include "results/TextLists.h"
#include "shell/UControls.h"
#include "shell/UMainForm.h"
#include "shell/UMessages.h"

namespace veltra {

namespace fs = std::filesystem;

namespace {

// The input file a result file was calculated from: the one its header names, when
// it is there; else the file beside it of the same name with ".inp" in any case.
std::optional<std::string> InputOfResult(const std::string& resultPath, const std::vector<std::string>& lines,
                                         TFileSystem& files)
{
    const std::string head = " Name of input (data) file used   : ";
    const fs::path folder = fs::path(resultPath).parent_path();
    // The header is the first lines: a result file never names it further down.
    for (std::size_t i = 0; i < lines.size() && i < 40; ++i) {
        if (lines[i].rfind(head, 0) != 0)
            continue;
        std::string named = lines[i].substr(head.size());
        named.erase(named.find_last_not_of(" \t\r") + 1);
        if (named.empty())
            break;
        fs::path p(named);
        if (p.is_relative())
            p = folder / p;
        if (files.FileExists(p.string()))
            return p.lexically_normal().string();
        break;
    }
    const std::string beside = FileOfAnyExtensionCase(PathWithExtension(resultPath, ".inp"));
    if (files.FileExists(beside))
        return beside;
    return std::nullopt;
}

} // namespace

void TMainFormLogic::OutputShown()
{
    TInputRecord& rec = dm_.Rec;
    ops_.DisableControl(ctl::InputSave);
    // The status names the buttons the page shows: without output, neither
    // "Output groups" nor, after input errors, "Group file".
    ops_.SetStatus(State.OutputPresent ? msg::OutputStatus
                   : State.InputErrors ? msg::OutputErrorsStatus
                                       : msg::NoOutputStatus);
    State.GraphMade = false;
    if (State.OutputPending)
        ops_.GridHide();
    ops_.HideControl(ctl::ClipNoteLabel);
    ops_.HideControl(ctl::ClipButton);
    ops_.ShowControl(ctl::GroupButton);
    if (!State.OutputPresent) {
        // No output groups of nothing: the options and "Go" go too.
        ops_.HideControl(ctl::GroupsPanel);
        ops_.HideControl(ctl::GroupButton);
        ops_.HideControl(ctl::GroupSaveButton);
        ops_.HideControl(ctl::SeeGraphButton);
        ops_.HideControl(ctl::CloseOutputButton);
        ops_.HideControl(ctl::OutputSymbolsButton);
        if (!State.InputErrors) {
            ops_.TextHide();
            shownText_.clear();
            ops_.ShowControl(ctl::OutputDecorImage);
        }
    }
    if (!State.OutputPending)
        return;

    // While a series goes on, its next save continues it.
    const bool series = SeriesInProgress();
    if (!series)
        State.NewRun = true;
    rec.FileName = PathWithExtension(rec.AnnualStartFile, ".res");
    out_.Rec.FileName = rec.FileName;

    if (State.InputErrors) {
        State.ResultFile.clear(); // no run on screen
        // The result file of the series stays: the user mends the input and saves again.
        if (!series)
            files_.Remove(rec.FileName);
        std::vector<std::string> shown;
        for (int i = 0; i < State.ErrorCount && i < static_cast<int>(dm_.ErrorLines.size()); ++i)
            shown.push_back(dm_.ErrorLines[static_cast<std::size_t>(i)]);
        shown.emplace_back("");
        shown.emplace_back(msg::CouldNotBeDone);
        shown.emplace_back(msg::AdjustInput);
        ShowTextLines(shown);
        if (dm_.ErrorLines.size() > 1)
            dm_.ErrorLines.resize(1);
        State.OutputPending = false;
        State.View = TOutputView::Errors;
        return;
    }

    if (State.RuntimeWarnings) {
        ops_.ShowMessage(msg::RuntimeCommentsGiven);
        FillWarningMemo();
        ops_.ShowWindow(TWindow::Warning);
        State.RuntimeWarnings = false;
    }
    if (st_.WaterTableStop && rec.AnnualMode == 1 && rec.SeriesEnded == 0) {
        ops_.ShowMessage(msg::WaterTableAtBottom);
        // The series cannot go on: a later save starts a new one instead of running
        // the stopped year again onto the end of its result file.
        EndSeriesNow();
    }

    ops_.TextHide();
    if (!State.RunDir.empty())
        files_.SetCurrentDir(State.RunDir);
    std::vector<std::string> lines;
    try {
        ReadTextLines(rec.FileName, lines);
    } catch (const TVeltraError& e) {
        ops_.ShowMessage(e.what());
        return;
    }
    out_.ResultLines = std::move(lines);
    out_.Rec.LineCount = static_cast<std::int32_t>(out_.ResultLines.size());
    out_.Groups.TableInResultLines = false;
    State.ResultFile = rec.FileName;
    ShowTextLines(out_.ResultLines);
    ops_.ShowControl(ctl::GroupOpenButton);
    ops_.ShowControl(ctl::CloseOutputButton);
    ops_.ShowControl(ctl::OutputSymbolsButton);
    ops_.HideControl(ctl::OutputDecorImage);
    ops_.HideControl(ctl::SeeGraphButton);
    ops_.HideControl(ctl::GroupSaveButton);
    State.OutputPending = false;
    State.View = TOutputView::Result;
}

void TMainFormLogic::FillWarningMemo()
{
    std::string text = "\n";
    for (int i = 0; i < State.WarningCount && i < static_cast<int>(dm_.WarningLines.size()); ++i)
        text += dm_.WarningLines[static_cast<std::size_t>(i)] + "\n";
    ops_.SetControlText(ctl::WarningMemo, text);
}

void TMainFormLogic::OutputOpen()
{
    Handle([&] { OpenOutput(); });
}

void TMainFormLogic::OpenOutput()
{
    const std::optional<std::string> chosen = ChooseFileToOpen(TDialog::OutputOpen, msg::NoOutputFile);
    if (!chosen) {
        State.OutputPresent = false;
        return;
    }
    const std::string& path = *chosen;
    if (!FileThere(path))
        return;
    // The page changes only once the new file was read.
    std::vector<std::string> lines;
    try {
        ReadTextLines(path, lines);
    } catch (const TVeltraError& e) {
        ops_.ShowMessage(e.what());
        return;
    }
    // The input file of the run, deliberately: when it is there the record takes it
    // and the Input page shows it; when it is not, both stay as they were.
    const std::optional<std::string> inputPath = InputOfResult(path, lines, files_);
    // Its input replaces the one being edited: not without a yes when that is unsaved.
    if (inputPath && !MayLoseInput(msg::OpenOutputUnsaved))
        return;
    ops_.TextHide();
    ops_.HideControl(ctl::GroupsPanel);
    ops_.HideControl(ctl::GroupSaveButton);
    ops_.HideControl(ctl::SeeGraphButton);
    out_.ResultLines = std::move(lines);
    out_.Rec.FileName = path;
    State.ResultFile = path;
    out_.Rec.LineCount = static_cast<std::int32_t>(out_.ResultLines.size());
    out_.Groups.TableInResultLines = false;
    FillTextView(out_.ResultLines);

    bool readInput = false;
    TInputRecord read = dm_.Rec;
    if (inputPath) {
        try {
            ReadNamedInputFile(*inputPath, read);
            readInput = true;
        } catch (const TInputFileError& e) {
            ops_.ShowMessage(e.what()); // there, but not an input file that can be read
        }
    }
    if (readInput) {
        read.FileName = path;
        read.SavedNy = read.Ny;
        read.SavedKy = read.Ky;
        dm_.Rec = std::move(read);
        // The Input page shows this record, not a new data set.
        editor_.ResultInputRead();
        ops_.SetControlText(ctl::FileNameLabel, *inputPath);
        ops_.SetControlText(ctl::Title1Edit, dm_.Rec.Title1);
        ops_.SetControlText(ctl::Title2Edit, dm_.Rec.Title2);
        NoteInputInFile();
    }

    ops_.TextShow();
    State.OutputPresent = true;
    ops_.ShowControl(ctl::GroupOpenButton);
    ops_.ShowControl(ctl::CloseOutputButton);
    ops_.ShowControl(ctl::OutputSymbolsButton);
    ops_.ShowControl(ctl::GroupButton);
    ops_.EnableControl(ctl::GroupButton);
    ops_.HideControl(ctl::SeeGraphButton);
    ops_.HideControl(ctl::OutputDecorImage);
    State.GraphMade = false;
    ops_.HideWindow(TWindow::Warning);
    ops_.GridHide();
    ops_.HideControl(ctl::ClipNoteLabel);
    ops_.HideControl(ctl::ClipButton);
    dm_.Rec.SeriesEnded = 0;
    State.View = TOutputView::Result;
    // The file the user chose is shown, not the outcome of a run still pending.
    State.OutputPending = false;

    State.CurrentDir = fs::path(path).parent_path().lexically_normal().string();
    SetAllDialogFolders(State.CurrentDir);
    ops_.HideWindow(TWindow::Drain);
    ops_.HideWindow(TWindow::Alfa);
    BringToFront(TPage::Output);
    // After the page's own status: it says which input file came with the output.
    ops_.SetStatus(readInput ? msg::OutputOpenedWithInput(*inputPath) : std::string(msg::OutputOpenedNoInput));
}

void TMainFormLogic::CloseOutput()
{
    Handle([&] {
        EndSeriesNow();
        BringToFront(TPage::Input);
    });
}

} // namespace veltra
