#include "shell/TOutputDisplay.h"

#include <filesystem>

#include "model/InputFile.h"
#include "results/OutputGroups.h"
#include "results/PathWithExtension.h"
#include "results/TextLists.h"
#include "shell/ControlNames.h"
#include "shell/WindowMessages.h"

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

// ---------------------------------------------------------------- the outcome of a run

void TOutputDisplay::Shown()
{
    TShellState& state = w_.State;
    TInputRecord& rec = w_.Dm.Rec;
    PreparePage();
    if (!state.OutputPending)
        return;

    // While a series goes on, its next save continues it.
    const bool series = w_.SeriesInProgress();
    if (!series)
        state.NewRun = true;
    rec.Shell.FileName = PathWithExtension(rec.Shell.AnnualStartFile, ".res");
    w_.Out.Rec.Shell.FileName = rec.Shell.FileName;

    if (state.InputErrors) {
        ShowInputErrors(series);
        return;
    }
    ShowRunEnd();
    ShowResultFile();
}

void TOutputDisplay::PreparePage()
{
    TShellState& state = w_.State;
    ShellOps& ops = w_.Ops;
    ops.DisableControl(ctl::InputSave);
    // The status names the buttons the page shows: without output, neither
    // "Output groups" nor, after input errors, "Group file".
    ops.SetStatus(state.OutputPresent ? msg::OutputStatus
                  : state.InputErrors ? msg::OutputErrorsStatus
                                      : msg::NoOutputStatus);
    state.GraphMade = false;
    if (state.OutputPending)
        ops.GridHide();
    ops.HideControl(ctl::ClipNoteLabel);
    ops.HideControl(ctl::ClipButton);
    ops.ShowControl(ctl::GroupButton);
    if (state.OutputPresent)
        return;
    // No output groups of nothing: the options and "Go" go too.
    ops.HideControl(ctl::GroupsPanel);
    ops.HideControl(ctl::GroupButton);
    ops.HideControl(ctl::GroupSaveButton);
    ops.HideControl(ctl::SeeGraphButton);
    ops.HideControl(ctl::CloseOutputButton);
    ops.HideControl(ctl::OutputSymbolsButton);
    if (!state.InputErrors) {
        ops.TextHide();
        w_.ShownText.clear();
        ops.ShowControl(ctl::OutputDecorImage);
    }
}

void TOutputDisplay::ShowInputErrors(bool series)
{
    TShellState& state = w_.State;
    TDataMod& dm = w_.Dm;
    state.ResultFile.clear(); // no run on screen
    // The result file of the series stays: the user mends the input and saves again.
    if (!series)
        w_.Files.Remove(dm.Rec.Shell.FileName);
    std::vector<std::string> shown;
    for (int i = 0; i < state.ErrorCount && i < static_cast<int>(dm.ErrorLines.size()); ++i)
        shown.push_back(dm.ErrorLines[static_cast<std::size_t>(i)]);
    shown.emplace_back("");
    shown.emplace_back(msg::CouldNotBeDone);
    shown.emplace_back(msg::AdjustInput);
    w_.ShowTextLines(shown);
    if (dm.ErrorLines.size() > 1)
        dm.ErrorLines.resize(1);
    state.OutputPending = false;
    state.View = TOutputView::Errors;
}

void TOutputDisplay::ShowRunEnd()
{
    const TInputRecord& rec = w_.Dm.Rec;
    if (w_.State.RuntimeWarnings)
        w_.ShowRunWarnings(msg::RuntimeCommentsGiven);
    if (w_.St.WaterTableStop && rec.Shell.AnnualMode == 1 && rec.Shell.SeriesEnded == 0) {
        w_.Ops.ShowMessage(msg::WaterTableAtBottom);
        // The series cannot go on: a later save starts a new one instead of running
        // the stopped year again onto the end of its result file.
        years_.EndSeriesNow();
    }
}

void TOutputDisplay::ShowResultFile()
{
    TShellState& state = w_.State;
    ShellOps& ops = w_.Ops;
    TDataMod& out = w_.Out;
    const std::string& path = w_.Dm.Rec.Shell.FileName;
    ops.TextHide();
    if (!state.RunDir.empty())
        w_.Files.SetCurrentDir(state.RunDir);
    std::vector<std::string> lines;
    // A file that cannot be read is told as a failed event is; whatever brought the
    // page to the front goes on.
    if (!w_.Attempt([&] { ReadTextLines(path, lines); }))
        return;
    out.ResultLines = std::move(lines);
    out.Rec.Shell.LineCount = static_cast<std::int32_t>(out.ResultLines.size());
    out.Groups.TableInResultLines = false;
    state.ResultFile = path;
    w_.ShowTextLines(out.ResultLines);
    ops.ShowControl(ctl::GroupOpenButton);
    ops.ShowControl(ctl::CloseOutputButton);
    ops.ShowControl(ctl::OutputSymbolsButton);
    ops.HideControl(ctl::OutputDecorImage);
    ops.HideControl(ctl::SeeGraphButton);
    ops.HideControl(ctl::GroupSaveButton);
    state.OutputPending = false;
    state.View = TOutputView::Result;
}

// ---------------------------------------------------------------- open and close a result file

void TOutputDisplay::OpenOutput()
{
    const std::optional<std::string> chosen = w_.ChooseFileToOpen(TDialog::OutputOpen, msg::NoOutputFile);
    if (!chosen) {
        w_.State.OutputPresent = false;
        return;
    }
    const std::string& path = *chosen;
    if (!w_.FileThere(path))
        return;
    // The page changes only once the new file was read.
    std::vector<std::string> lines;
    ReadTextLines(path, lines);
    // The input file of the run, deliberately: when it is there the record takes it
    // and the Input page shows it; when it is not, both stay as they were.
    const std::optional<std::string> inputPath = InputOfResult(path, lines, w_.Files);
    // Its input replaces the one being edited: not without a yes when that is unsaved.
    if (inputPath && !w_.MayLoseInput(msg::OpenOutputUnsaved))
        return;
    TakeResultFile(path, std::move(lines));
    const bool readInput = inputPath && ReadInputOfResult(*inputPath, path);
    ShowOpenedOutput(path);
    // After the page's own status: it says which input file came with the output.
    w_.Ops.SetStatus(readInput ? msg::OutputOpenedWithInput(*inputPath) : std::string(msg::OutputOpenedNoInput));
}

void TOutputDisplay::TakeResultFile(const std::string& path, std::vector<std::string> lines)
{
    ShellOps& ops = w_.Ops;
    TDataMod& out = w_.Out;
    ops.TextHide();
    ops.HideControl(ctl::GroupsPanel);
    ops.HideControl(ctl::GroupSaveButton);
    ops.HideControl(ctl::SeeGraphButton);
    out.ResultLines = std::move(lines);
    out.Rec.Shell.FileName = path;
    w_.State.ResultFile = path;
    out.Rec.Shell.LineCount = static_cast<std::int32_t>(out.ResultLines.size());
    out.Groups.TableInResultLines = false;
    w_.FillTextView(out.ResultLines);
}

bool TOutputDisplay::ReadInputOfResult(const std::string& inputPath, const std::string& resultPath)
{
    TInputRecord read = w_.Dm.Rec;
    // There, but not an input file that can be read: said, and the result is shown
    // without it.
    if (!w_.Attempt([&] { ReadNamedInputFile(inputPath, read); }))
        return false;
    read.Shell.FileName = resultPath;
    read.Shell.SavedNy = read.Ny;
    read.Shell.SavedKy = read.Ky;
    w_.Dm.Rec = std::move(read);
    // The Input page shows this record, not a new data set.
    w_.Editor.ResultInputRead();
    ShellOps& ops = w_.Ops;
    ops.SetControlText(ctl::FileNameLabel, inputPath);
    ops.SetControlText(ctl::Title1Edit, w_.Dm.Rec.Title1);
    ops.SetControlText(ctl::Title2Edit, w_.Dm.Rec.Title2);
    w_.NoteInputInFile();
    return true;
}

void TOutputDisplay::ShowOpenedOutput(const std::string& path)
{
    TShellState& state = w_.State;
    ShellOps& ops = w_.Ops;
    ops.TextShow();
    state.OutputPresent = true;
    ops.ShowControl(ctl::GroupOpenButton);
    ops.ShowControl(ctl::CloseOutputButton);
    ops.ShowControl(ctl::OutputSymbolsButton);
    ops.ShowControl(ctl::GroupButton);
    ops.EnableControl(ctl::GroupButton);
    ops.HideControl(ctl::SeeGraphButton);
    ops.HideControl(ctl::OutputDecorImage);
    state.GraphMade = false;
    ops.HideWindow(TWindow::Warning);
    ops.GridHide();
    ops.HideControl(ctl::ClipNoteLabel);
    ops.HideControl(ctl::ClipButton);
    w_.Dm.Rec.Shell.SeriesEnded = 0;
    state.View = TOutputView::Result;
    // The file the user chose is shown, not the outcome of a run still pending.
    state.OutputPending = false;

    state.CurrentDir = FolderOf(path);
    w_.SetAllDialogFolders(state.CurrentDir);
    ops.HideWindow(TWindow::Drain);
    ops.HideWindow(TWindow::Alfa);
    w_.BringToFront(TPage::Output);
}

void TOutputDisplay::CloseOutput()
{
    years_.EndSeriesNow();
    w_.BringToFront(TPage::Input);
}

} // namespace veltra
