#include "shell/CaseRun.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <sstream>

#include "engine/UCalculate.h"
#include "model/InputCheck.h"
#include "model/InputFile.h"
#include "model/SafeFile.h"
#include "model/TVeltraError.h"
#include "shell/RunCalculate.h"

namespace veltra {

namespace {

// An input file holds a few kilobytes; anything far larger is not one.
constexpr std::size_t MaxInputBytes = 1024 * 1024;

// The case's own way out: the outcome, with the first line of its message.
struct TCaseEnd {
    TCaseStatus Status;
    std::string Message;
};

std::string FirstLine(const std::string& text)
{
    std::string line = text.substr(0, text.find('\n'));
    const std::size_t a = line.find_first_not_of(' ');
    return a == std::string::npos ? std::string() : line.substr(a);
}

void ReadOver(const std::string& path, TInputRecord& rec)
{
    std::istringstream in(ReadWholeFile(path, MaxInputBytes, "an input file"));
    ReadInputStream(in, path, rec);
}

void Validate(const TInputRecord& rec)
{
    const std::vector<std::string> refusals = ValidateBeforeSave(rec);
    if (!refusals.empty())
        throw TCaseEnd{TCaseStatus::InputErrors, refusals.front()};
}

// What a call that ran nothing says: the first rule the check listed, or the
// engine's refusal.
void RefuseNotRun(const TCalculateResult& result, const TDataMod& dm)
{
    if (result.InputErrors) {
        // dm.ErrorLines holds Error.lst: its heading, an empty line, the rules.
        const std::string first = dm.ErrorLines.size() > 2 ? dm.ErrorLines[2] : std::string("errors in the input");
        throw TCaseEnd{TCaseStatus::InputErrors, FirstLine(first)};
    }
    if (!result.Refusal.empty())
        throw TCaseEnd{TCaseStatus::InputErrors, FirstLine(result.Refusal)};
}

std::string StopMessage(TStopCause cause)
{
    switch (cause) {
    case TStopCause::AquiferBottom:
        return "The water table fell below the bottom of the aquifer (warning.lst).";
    case TStopCause::IterationBound:
        return "The water-table iteration did not converge (warning.lst).";
    case TStopCause::OutOfRange:
        return "A season gave a value out of range (warning.lst).";
    case TStopCause::None:
        break;
    }
    return "The run was stopped (warning.lst).";
}

TCalculateOptions CommandLineOptions(TRunSummary& summary)
{
    TCalculateOptions options;
    options.KeepErrorListWithErrors = true;
    options.KeepWarningList = true;
    options.Observer = &summary;
    return options;
}

// `veltra run`: all years; a file with Ky = 1 runs its whole series without changes.
void RunOne(const std::string& path, const std::string& workDir, TRunSummary& summary)
{
    TDataMod dm;
    TEngineState st;
    TAnnualCarry carry;
    ClearOneShotFlags(st);
    TInputRecord& rec = dm.Rec;
    ReadOver(path, rec);
    Validate(rec);
    StartNewRun(rec, st, carry, path);
    const bool series = rec.Ky == 1;
    const int years = rec.Ny;
    TSilentProgress progress;
    const TCalculateOptions options = CommandLineOptions(summary);
    TCalculateResult result;
    for (int year = 1;; ++year) {
        result = Calculate(dm, st, carry, workDir, progress, options);
        RefuseNotRun(result, dm);
        if (!series || result.WaterTableStop || year >= years)
            break;
        rec.YearNr = year + 1;
    }
    if (result.WaterTableStop)
        throw TCaseEnd{TCaseStatus::Stopped, StopMessage(result.StopCause)};
    if (series)
        EndSeries(rec, st, carry);
}

// `veltra series`: before year k the k-th file (the last once they run out) is read
// over the record, saved under the series' name for that year and checked.
void RunSeries(const std::vector<std::string>& files, const std::string& workDir, TRunSummary& summary)
{
    TDataMod dm;
    TEngineState st;
    TAnnualCarry carry;
    ClearOneShotFlags(st);
    TInputRecord& rec = dm.Rec;
    ReadOver(files[0], rec);
    if (rec.Ky != 1)
        throw TCaseEnd{TCaseStatus::Failed, files[0] + ": a series needs Ky = 1 (year-by-year calculation)."};
    if (files.size() > rec.Ny)
        throw TCaseEnd{TCaseStatus::Failed, "More files (" + std::to_string(files.size()) + ") than years (" +
                                                std::to_string(rec.Ny) + ") in the series."};
    for (std::size_t k = 1; k < files.size(); ++k) {
        TInputRecord later = rec;
        ReadOver(files[k], later);
        if (later.Ky != 1 || later.Ns != rec.Ns || later.Ny != rec.Ny)
            throw TCaseEnd{TCaseStatus::Failed, files[k] + ": every file of a series needs Ky = 1 and the first "
                                                           "file's Ns and Ny."};
    }
    Validate(rec);
    StartNewRun(rec, st, carry, files[0]);
    const int years = rec.Ny;
    TSilentProgress progress;
    const TCalculateOptions options = CommandLineOptions(summary);
    for (int year = 1; year <= years; ++year) {
        if (year > 1) {
            rec.YearNr = year;
            ReadOver(files[std::min<std::size_t>(year, files.size()) - 1], rec);
            const std::string name = SeriesFileName(files[0], year);
            rec.FileName = name;
            Validate(rec);
            if (std::find(files.begin(), files.end(), name) == files.end())
                WriteWholeFile(name, InputFileText(rec));
        }
        const TCalculateResult result = Calculate(dm, st, carry, workDir, progress, options);
        RefuseNotRun(result, dm);
        if (result.WaterTableStop)
            throw TCaseEnd{TCaseStatus::Stopped, StopMessage(result.StopCause)};
    }
    EndSeries(rec, st, carry);
}

TCaseStatus StatusOf(TErrorKind kind)
{
    switch (kind) {
    case TErrorKind::Input:
        return TCaseStatus::InputErrors;
    case TErrorKind::Stopped:
        return TCaseStatus::Stopped;
    case TErrorKind::Usage:
    case TErrorKind::File:
    case TErrorKind::Internal:
        break;
    }
    return TCaseStatus::Failed;
}

} // namespace

const char* CaseStatusText(TCaseStatus status)
{
    switch (status) {
    case TCaseStatus::Ok:
        return "ok";
    case TCaseStatus::InputErrors:
        return "input errors";
    case TCaseStatus::Stopped:
        return "stopped";
    case TCaseStatus::Failed:
        break;
    }
    return "failed";
}

int CaseExitStatus(TCaseStatus status)
{
    switch (status) {
    case TCaseStatus::Ok:
        return 0;
    case TCaseStatus::InputErrors:
        return 1;
    case TCaseStatus::Stopped:
        return 3;
    case TCaseStatus::Failed:
        break;
    }
    return 2;
}

TCaseOutcome RunCase(const std::vector<std::string>& files, const std::string& workDir)
{
    TCaseOutcome outcome;
    TRunSummary summary;
    try {
        if (files.empty())
            throw TCaseEnd{TCaseStatus::Failed, "no input file"};
        if (files.size() == 1)
            RunOne(files[0], workDir, summary);
        else
            RunSeries(files, workDir, summary);
        outcome.Status = TCaseStatus::Ok;
    } catch (const TCaseEnd& end) {
        outcome.Status = end.Status;
        outcome.Message = end.Message;
    } catch (const TVeltraError& e) {
        outcome.Status = StatusOf(e.Kind);
        outcome.Message = FirstLine(e.what());
        if (e.Kind == TErrorKind::Internal)
            outcome.Message = "internal error: " + outcome.Message;
    } catch (const std::exception& e) {
        outcome.Status = TCaseStatus::Failed;
        outcome.Message = "internal error: " + FirstLine(e.what());
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
