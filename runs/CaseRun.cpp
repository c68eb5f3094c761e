#include "runs/CaseRun.h"

#include <algorithm>
#include <exception>

#include "engine/UCalculate.h"
#include "model/InputFile.h"
#include "model/SafeFile.h"
#include "model/TVeltraError.h"
#include "runs/YearRun.h"

namespace veltra {

namespace {

std::string FirstLine(const std::string& text)
{
    std::string line = text.substr(0, text.find('\n'));
    const std::size_t a = line.find_first_not_of(' ');
    return a == std::string::npos ? std::string() : line.substr(a);
}

std::string StopMessage(TStopCause cause)
{
    switch (cause) {
    case TStopCause::AquiferBottom: return "The water table fell below the bottom of the aquifer (warning.lst).";
    case TStopCause::IterationBound: return "The water-table iteration did not converge (warning.lst).";
    case TStopCause::OutOfRange: return "A season gave a value out of range (warning.lst).";
    case TStopCause::None: break;
    }
    return "The run was stopped (warning.lst).";
}

// A case's steps of the year loop: nothing printed; the summary line takes the
// first line of an error, so the first rule that Error.lst lists stands for them.
class TCaseSteps final : public TYearSteps {
public:
    TCaseSteps(const std::vector<std::string>& files, TFileSystem& fs) : files_(files), fs_(fs) {}

    void ReadOver(const std::string& path, TInputRecord& rec) override { ReadCaseInput(path, rec); }

    void SaveYearFile(const TInputRecord& rec, const std::string& path) override
    {
        if (std::find(files_.begin(), files_.end(), path) == files_.end())
            WriteWholeFile(path, InputFileText(rec), fs_);
    }

    std::string InputErrorsMessage(int /*year*/, const TDataMod& dm) override
    {
        // dm.ErrorLines holds Error.lst: its heading, an empty line, the rules.
        return dm.ErrorLines.size() > 2 ? dm.ErrorLines[2] : std::string("errors in the input");
    }

private:
    const std::vector<std::string>& files_;
    TFileSystem& fs_;
};

// A series (`veltra series`) refuses before anything runs unless every file
// continues the series of the first.
void RefuseOtherSeries(const std::vector<std::string>& files, const TInputRecord& rec)
{
    if (rec.Ky != 1)
        throw TVeltraError(TErrorKind::Usage, files[0] + ": a series needs Ky = 1 (year-by-year calculation).");
    if (files.size() > rec.Ny)
        throw TVeltraError(TErrorKind::Usage, "More files (" + std::to_string(files.size()) + ") than years (" +
                                                  std::to_string(rec.Ny) + ") in the series.");
    for (std::size_t k = 1; k < files.size(); ++k) {
        TInputRecord later = rec;
        ReadCaseInput(files[k], later);
        if (later.Ky != 1 || later.Ns != rec.Ns || later.Ny != rec.Ny)
            throw TVeltraError(TErrorKind::Usage, files[k] + ": every file of a series needs Ky = 1 and the first "
                                                             "file's Ns and Ny.");
    }
}

// One file as `veltra run` runs it (all years; with Ky = 1 year by year without
// changes), several as `veltra series` does.
void Run(const std::vector<std::string>& files, const std::string& workDir, TRunSummary& summary, TFileSystem& fs)
{
    TDataMod dm;
    TEngineState st;
    TAnnualCarry carry;
    ClearOneShotFlags(st);
    ReadCaseInput(files[0], dm.Rec);
    TYearRun run;
    run.Files = files;
    run.Changes = files.size() > 1;
    run.WorkDir = workDir;
    run.Observer = &summary;
    run.FileSystem = &fs;
    if (run.Changes)
        RefuseOtherSeries(files, dm.Rec);
    TCaseSteps steps(files, fs);
    const TCalculateResult result = RunYears(dm, st, carry, run, steps);
    if (result.WaterTableStop)
        throw TVeltraError(TErrorKind::Stopped, StopMessage(result.StopCause));
}

} // namespace

void ReadCaseInput(const std::string& path, TInputRecord& rec)
{
    ReadInputText(ReadWholeFile(path, InputFileLimit, "an input file"), path, rec);
}

TCaseStatus CaseStatusOf(TErrorKind kind)
{
    switch (kind) {
    case TErrorKind::Input: return TCaseStatus::InputErrors;
    case TErrorKind::Stopped: return TCaseStatus::Stopped;
    case TErrorKind::Usage:
    case TErrorKind::File:
    case TErrorKind::Internal: break;
    }
    return TCaseStatus::Failed;
}

const char* CaseStatusText(TCaseStatus status)
{
    switch (status) {
    case TCaseStatus::Ok: return "ok";
    case TCaseStatus::InputErrors: return "input errors";
    case TCaseStatus::Stopped: return "stopped";
    case TCaseStatus::Failed: break;
    }
    return "failed";
}

int CaseExitStatus(TCaseStatus status)
{
    switch (status) {
    case TCaseStatus::Ok: return 0;
    case TCaseStatus::InputErrors: return 1;
    case TCaseStatus::Stopped: return 3;
    case TCaseStatus::Failed: break;
    }
    return 2;
}

TCaseOutcome FailedCaseOutcome(const std::exception& failure)
{
    TCaseOutcome outcome;
    const auto* known = dynamic_cast<const TVeltraError*>(&failure);
    outcome.Status = known ? CaseStatusOf(known->Kind) : TCaseStatus::Failed;
    outcome.Message = FirstLine(failure.what());
    if (!known || known->Kind == TErrorKind::Internal)
        outcome.Message = "internal error: " + outcome.Message;
    return outcome;
}

TCaseOutcome RunCase(const std::vector<std::string>& files, const std::string& workDir, TFileSystem& fs)
{
    TCaseOutcome outcome;
    TRunSummary summary;
    try {
        if (files.empty())
            throw TVeltraError(TErrorKind::Usage, "no input file");
        Run(files, workDir, summary, fs);
        outcome.Status = TCaseStatus::Ok;
    } catch (const std::exception& e) {
        outcome = FailedCaseOutcome(e);
    }
    // A case that failed has no files to show for its numbers.
    if (outcome.Status == TCaseStatus::Failed)
        return outcome;
    outcome.Ran = summary.HasSeasons();
    outcome.Years = summary.Years();
    outcome.Warnings = summary.Warnings();
    outcome.Last = summary.Last();
    outcome.Means = summary.Means();
    return outcome;
}

} // namespace veltra
