#include "shell/TYearDialogue.h"

#include <atomic>
#include <filesystem>
#include <system_error>

#include <unistd.h>

#include "model/InputCheck.h"
#include "model/TVeltraError.h"
#include "results/PathWithExtension.h"
#include "runs/Calculate.h"
#include "shell/ControlNames.h"
#include "shell/WindowMessages.h"

namespace veltra {

namespace fs = std::filesystem;

namespace {

// The heading line that every year's warning list starts with.
constexpr const char* WarningHeading = " THE FOLLOWING RUNTIME WARNINGS ARE GIVEN:";

} // namespace

// ---------------------------------------------------------------- one check and run

bool TYearDialogue::CalculateStep()
{
    TShellState& state = w_.State;
    ShellOps& ops = w_.Ops;
    TDataMod& dm = w_.Dm;
    ops.BusyShow();
    ops.BusyClear();
    ops.BusyAddLine(msg::CalculatingBusy);

    TCalculateOptions options;
    options.Files = &w_.Files;
    const TCalculateResult result = Calculate(dm, w_.St, w_.Carry, ListFolder(), ops, options);
    state.OutputPending = true;
    if (result.InputErrors || !result.Refusal.empty()) {
        if (!result.InputErrors)
            dm.ErrorLines = ErrorListLines({" " + result.Refusal});
        state.InputErrors = true;
        state.ErrorCount = static_cast<int>(dm.ErrorLines.size());
        ops.ShowMessage(msg::InputErrorsFound);
        state.OutputPresent = false;
        ops.HideControl(ctl::GroupOpenButton);
        ops.HideControl(ctl::CloseOutputButton);
        ops.HideControl(ctl::OutputSymbolsButton);
        w_.BringToFront(TPage::Output);
        ops.BusyHide();
        return false;
    }
    state.InputErrors = false;
    ops.HideWindow(TWindow::Warning);
    state.RuntimeWarnings = false;
    if (dm.Rec.Ky == 0) {
        state.RuntimeWarnings = result.RuntimeWarnings;
        state.WarningCount = static_cast<int>(dm.WarningLines.size());
    } else {
        TakeSeriesWarnings();
    }
    ops.ShowControl(ctl::GroupOpenButton);
    ops.ShowControl(ctl::CloseOutputButton);
    ops.ShowControl(ctl::OutputSymbolsButton);
    // The engine's changes (IaA, Io, Gw, ...) are to be seen and saved.
    w_.Editor.RunFinished();
    ops.BusyAddLine(msg::FinalizingBusy);
    ops.Pause(500);
    ops.BusyHide();
    return true;
}

std::string TYearDialogue::ListFolder()
{
    static std::atomic<unsigned> probes{0};
    TShellState& state = w_.State;
    const std::string start = state.StartDir.empty() ? w_.Files.GetCurrentDir() : state.StartDir;
    const std::string probe =
        (fs::path(start) / (".veltra-probe-" + std::to_string(::getpid()) + "-" + std::to_string(probes++))).string();
    try {
        w_.Files.WriteNewFile(probe, "");
        w_.Files.Remove(probe);
        state.ListFolder = start;
    } catch (const TVeltraError&) {
        // A program started from a desktop menu may start in a folder it cannot write.
        const std::string folder = UserStateFolder();
        std::error_code ec;
        fs::create_directories(folder, ec);
        w_.Ops.SetStatus(msg::ListsElsewhere(folder, start));
        state.ListFolder = folder;
    }
    return state.ListFolder;
}

// ---------------------------------------------------------------- the year-by-year dialogue

void TYearDialogue::ConductSeries()
{
    bool ranAtOnce = false;
    while (YearDialogue() == TYearStep::RunNextAtOnce) {
        // The next year at once: no input changes.
        w_.Ops.TextHide();
        ranAtOnce = true;
        if (!CalculateStep())
            return;
        if (w_.St.WaterTableStop || w_.Dm.Rec.Shell.SeriesEnded != 0)
            break;
    }
    // Once for the whole chain of years run at once; the Output page does not repeat it.
    if (ranAtOnce && w_.State.RuntimeWarnings)
        w_.ShowRunWarnings(msg::RuntimeWarningsGiven);
}

TYearDialogue::TYearStep TYearDialogue::YearDialogue()
{
    TInputRecord& rec = w_.Dm.Rec;
    ShellOps& ops = w_.Ops;
    const std::string prevYear = std::to_string(rec.Shell.YearNr);
    rec.Shell.YearNr += 1;
    const std::string resultName = FileNamePart(PathWithExtension(rec.Shell.AnnualStartFile, ".res"));
    // AnnualFileName is the input file the last save wrote (Field.INP, Field2.inp,
    // ...): the message names it as it is, not as ".inp" (FileName, which the run
    // turned into the result file's name, is no guide to it).
    if (rec.Shell.AnnualMode != 1)
        return TYearStep::SeriesOver;

    if (rec.Shell.YearNr < rec.Ny + 1) {
        ops.ShowMessage(msg::YearReached(FileNamePart(rec.Shell.AnnualFileName), rec.Ny, prevYear, resultName));
        if (!ops.AskYesNo(msg::ContinueWithYear(rec.Shell.YearNr))) {
            DiscontinueSeries(resultName);
            return TYearStep::SeriesOver;
        }
        if (!ops.AskYesNo(msg::MakeInputChanges))
            return TYearStep::RunNextAtOnce;
        ops.ShowMessage(msg::UseInputMenu);
        return TYearStep::WaitForInput;
    }
    // The last year is done (or Ny was lowered below the years already run).
    ops.ShowMessage(msg::SeriesEnd(resultName));
    EndSeries(rec, w_.St, w_.Carry);
    FinishSeriesWarnings();
    return TYearStep::SeriesOver;
}

void TYearDialogue::DiscontinueSeries(const std::string& resultName)
{
    TInputRecord& rec = w_.Dm.Rec;
    w_.Ops.ShowMessage(msg::SeriesDiscontinued(resultName));
    w_.St.YearsDone = 0;
    w_.Carry.YearsDone = 0;
    rec.Ny = static_cast<std::uint8_t>(rec.Shell.YearNr);
    rec.Shell.YearNr = 0;
    rec.Shell.SeriesEnded = 1;
    FinishSeriesWarnings();
    rec.Shell.AnnualMode = 0;
    w_.Editor.KeysReset();
}

void TYearDialogue::TakeSeriesWarnings()
{
    const std::vector<std::string>& year = w_.Dm.WarningLines;
    std::vector<std::string>& all = w_.State.SeriesWarnings;
    std::size_t from = 0;
    if (!all.empty() && !year.empty() && year.front() == WarningHeading)
        from = 1;
    all.insert(all.end(), year.begin() + static_cast<std::ptrdiff_t>(from), year.end());
    if (w_.St.WaterTableStop) {
        // The series cannot go on: its warnings are shown with the partial output.
        w_.Dm.WarningLines = all;
        w_.State.WarningCount = static_cast<int>(all.size());
        w_.State.RuntimeWarnings = all.size() >= 3;
    }
}

void TYearDialogue::FinishSeriesWarnings()
{
    TShellState& state = w_.State;
    std::vector<std::string>& lines = w_.Dm.WarningLines;
    lines = std::move(state.SeriesWarnings);
    state.SeriesWarnings.clear();
    state.WarningCount = static_cast<int>(lines.size());
    state.RuntimeWarnings = lines.size() >= 3;
    if (!state.ListFolder.empty())
        w_.Files.Remove((fs::path(state.ListFolder) / "warning.lst").string());
}

void TYearDialogue::EndSeriesNow()
{
    TInputRecord& rec = w_.Dm.Rec;
    const bool seriesFiles = rec.Shell.AnnualMode == 1;
    w_.St.YearsDone = 0;
    w_.Carry = TAnnualCarry{};
    rec.Shell.AnnualMode = 0;
    rec.Shell.YearNr = 0;
    rec.Shell.SeriesEnded = 0;
    w_.State.NewRun = true;
    w_.State.SeriesWarnings.clear();
    // A series leaves its last year's warning list behind until it ends.
    if (seriesFiles && !w_.State.ListFolder.empty())
        w_.Files.Remove((fs::path(w_.State.ListFolder) / "warning.lst").string());
}

} // namespace veltra
