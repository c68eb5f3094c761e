// The year-by-year dialogue: after each year of a series the user continues, stops,
// or changes the input before the next year; years without changes run at once.
#include <filesystem>

#include "results/OutputFile.h"
#include "runs/RunCalculate.h"
#include "shell/UMainForm.h"
#include "shell/UMessages.h"

namespace veltra {

namespace {

// The heading line that every year's warning list starts with.
constexpr const char* WarningHeading = " THE FOLLOWING RUNTIME WARNINGS ARE GIVEN:";

} // namespace

void TMainFormLogic::ConductSeries()
{
    bool ranAtOnce = false;
    for (;;) {
        if (YearDialogue() != TYearStep::RunNextAtOnce)
            break;
        // The next year at once: no input changes.
        ops_.TextHide();
        ranAtOnce = true;
        if (!CalculateStep())
            return;
        if (st_.WaterTableStop || dm_.Rec.SeriesEnded != 0)
            break;
    }
    // Once for the whole chain of years run at once; the Output page does not repeat it.
    if (ranAtOnce && State.RuntimeWarnings) {
        ops_.ShowMessage(msg::RuntimeWarningsGiven);
        FillWarningMemo();
        ops_.ShowWindow(TWindow::Warning);
        State.RuntimeWarnings = false;
    }
}

TMainFormLogic::TYearStep TMainFormLogic::YearDialogue()
{
    TInputRecord& rec = dm_.Rec;
    const std::string prevYear = std::to_string(rec.YearNr);
    rec.YearNr += 1;
    const std::string resultName = FileNamePart(PathWithExtension(rec.AnnualStartFile, ".res"));
    // AnnualFileName is the input file the last save wrote (Field.INP, Field2.inp,
    // ...): the message names it as it is, not as ".inp" (FileName, which the run
    // turned into the result file's name, is no guide to it).
    if (rec.AnnualMode != 1)
        return TYearStep::SeriesOver;

    if (rec.YearNr < rec.Ny + 1) {
        ops_.ShowMessage(msg::YearReached(FileNamePart(rec.AnnualFileName), rec.Ny, prevYear, resultName));
        if (!ops_.AskYesNo(msg::ContinueWithYear(rec.YearNr))) {
            ops_.ShowMessage(msg::SeriesDiscontinued(resultName));
            st_.YearsDone = 0;
            carry_.YearsDone = 0;
            rec.Ny = static_cast<std::uint8_t>(rec.YearNr);
            rec.YearNr = 0;
            rec.SeriesEnded = 1;
            FinishSeriesWarnings();
            rec.AnnualMode = 0;
            editor_.KeysReset();
            return TYearStep::SeriesOver;
        }
        if (!ops_.AskYesNo(msg::MakeInputChanges))
            return TYearStep::RunNextAtOnce;
        ops_.ShowMessage(msg::UseInputMenu);
        return TYearStep::WaitForInput;
    }
    // The last year is done (or Ny was lowered below the years already run).
    ops_.ShowMessage(msg::SeriesEnd(resultName));
    EndSeries(rec, st_, carry_);
    FinishSeriesWarnings();
    return TYearStep::SeriesOver;
}

void TMainFormLogic::TakeSeriesWarnings()
{
    // Every call of the driver writes warning.lst anew: keep each year's warnings.
    const std::vector<std::string>& year = dm_.WarningLines;
    std::vector<std::string>& all = State.SeriesWarnings;
    std::size_t from = 0;
    if (!all.empty() && !year.empty() && year.front() == WarningHeading)
        from = 1;
    all.insert(all.end(), year.begin() + static_cast<std::ptrdiff_t>(from), year.end());
    if (st_.WaterTableStop) {
        // The series cannot go on: its warnings are shown with the partial output.
        dm_.WarningLines = all;
        State.WarningCount = static_cast<int>(all.size());
        State.RuntimeWarnings = all.size() >= 3;
    }
}

void TMainFormLogic::FinishSeriesWarnings()
{
    dm_.WarningLines = std::move(State.SeriesWarnings);
    State.SeriesWarnings.clear();
    State.WarningCount = static_cast<int>(dm_.WarningLines.size());
    State.RuntimeWarnings = dm_.WarningLines.size() >= 3;
    if (!State.ListFolder.empty())
        files_.Remove((std::filesystem::path(State.ListFolder) / "warning.lst").string());
}

void TMainFormLogic::EndSeriesNow()
{
    TInputRecord& rec = dm_.Rec;
    const bool seriesFiles = rec.AnnualMode == 1;
    st_.YearsDone = 0;
    carry_ = TAnnualCarry{};
    rec.AnnualMode = 0;
    rec.YearNr = 0;
    rec.SeriesEnded = 0;
    State.NewRun = true;
    State.SeriesWarnings.clear();
    // A series leaves its last year's warning list behind until it ends.
    if (seriesFiles && !State.ListFolder.empty())
        files_.Remove((std::filesystem::path(State.ListFolder) / "warning.lst").string());
}

} // namespace veltra
