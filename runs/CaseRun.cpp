#include "runs/CaseRun.h"

#include <algorithm>
#include <cctype>
#include <exception>

#include "engine/UCalculate.h"
#include "model/InputFile.h"
#include "model/SafeFile.h"
#include "model/TVeltraError.h"
#include "runs/MemoryRun.h"
#include "runs/YearRun.h"

namespace veltra {

namespace {

std::string FirstLine(const std::string& text)
{
    std::string line = text.substr(0, text.find('\n'));
    const std::size_t a = line.find_first_not_of(' ');
    return a == std::string::npos ? std::string() : line.substr(a);
}

} // namespace

std::string CaseStopMessage(TStopCause cause)
{
    std::string text = StopCauseText(cause);
    text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    return text + " (warning.lst).";
}

namespace {

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
// continues the series of the first. `later(k, rec)` gives the input of year k + 1.
template <typename TLater>
void RefuseOtherSeries(const std::vector<std::string>& files, const TInputRecord& rec, TLater later)
{
    if (rec.Ky != 1)
        throw TVeltraError(TErrorKind::Usage, files[0] + ": a series needs Ky = 1 (year-by-year calculation).");
    if (files.size() > rec.Ny)
        throw TVeltraError(TErrorKind::Usage, "More files (" + std::to_string(files.size()) + ") than years (" +
                                                  std::to_string(rec.Ny) + ") in the series.");
    for (std::size_t k = 1; k < files.size(); ++k) {
        const TInputRecord next = later(k, rec);
        if (next.Ky != 1 || next.Ns != rec.Ns || next.Ny != rec.Ny)
            throw TVeltraError(TErrorKind::Usage, files[k] + ": every file of a series needs Ky = 1 and the first "
                                                             "file's Ns and Ny.");
    }
}

// The steps of a series in memory: a later year takes the input fields of its record;
// the run's own bookkeeping stays.
class TRecordSteps final : public TYearSteps {
public:
    TRecordSteps(const std::vector<std::string>& names, const std::vector<TInputRecord>& records)
        : names_(names), records_(records)
    {}

    void ReadOver(const std::string& path, TInputRecord& rec) override
    {
        const std::size_t k = static_cast<std::size_t>(std::find(names_.begin(), names_.end(), path) - names_.begin());
        const TShellFields shell = rec.Shell;
        rec = records_.at(k);
        rec.Shell = shell;
    }
    void SaveYearFile(const TInputRecord&, const std::string&) override {}
    std::string InputErrorsMessage(int /*year*/, const TDataMod& dm) override
    {
        return dm.ErrorLines.size() > 2 ? dm.ErrorLines[2] : std::string("errors in the input");
    }

private:
    const std::vector<std::string>& names_;
    const std::vector<TInputRecord>& records_;
};

// One file as `veltra run` runs it (all years; with Ky = 1 year by year without
// changes), several as `veltra series` does.
// `records` empty: from the files; otherwise in memory, `files` naming the records.
void Run(const std::vector<std::string>& files, const std::vector<TInputRecord>& records, const std::string& workDir,
         TRunObserver& observer, TFileSystem& fs)
{
    const bool inMemory = !records.empty();
    TDataMod dm;
    TEngineState st;
    TAnnualCarry carry;
    ClearOneShotFlags(st);
    if (inMemory)
        dm.Rec = records[0];
    else
        ReadCaseInput(files[0], dm.Rec);
    TYearRun run;
    run.Files = files;
    run.Changes = files.size() > 1;
    run.WorkDir = workDir;
    run.Observer = &observer;
    run.FileSystem = &fs;
    run.InMemory = inMemory;
    if (run.Changes)
        RefuseOtherSeries(files, dm.Rec, [&](std::size_t k, const TInputRecord& first) {
            if (inMemory)
                return records[k];
            TInputRecord later = first;
            ReadCaseInput(files[k], later);
            return later;
        });
    TCaseSteps fileSteps(files, fs);
    TRecordSteps recordSteps(files, records);
    TYearSteps& steps = inMemory ? static_cast<TYearSteps&>(recordSteps) : fileSteps;
    const TCalculateResult result = RunYears(dm, st, carry, run, steps);
    if (result.WaterTableStop)
        throw TVeltraError(TErrorKind::Stopped, CaseStopMessage(result.StopCause));
}

TCaseOutcome RunOutcome(const std::vector<std::string>& files, const std::vector<TInputRecord>& records,
                        const std::string& workDir, TRunObserver* observer, TFileSystem& fs)
{
    TCaseOutcome outcome;
    TRunSummary summary;
    TRunObservers observers{&summary};
    if (observer)
        observers.Add(*observer);
    try {
        if (files.empty())
            throw TVeltraError(TErrorKind::Usage, "no input file");
        Run(files, records, workDir, observers, fs);
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
    outcome.Kind = known ? known->Kind : TErrorKind::Internal;
    outcome.Message = FirstLine(failure.what());
    if (!known || known->Kind == TErrorKind::Internal)
        outcome.Message = "internal error: " + outcome.Message;
    return outcome;
}

TCaseOutcome RunCase(const std::vector<std::string>& files, const std::string& workDir, TFileSystem& fs,
                     TRunObserver* observer)
{
    return RunOutcome(files, {}, workDir, observer, fs);
}

TCaseOutcome RunRecordCase(const std::vector<TInputRecord>& records, const std::string& name, TRunObserver* observer)
{
    // The names a series of files would have: the first, then NAME2.inp, NAME3.inp, ...
    std::vector<std::string> names;
    for (std::size_t k = 0; k < records.size(); ++k)
        names.push_back(k == 0 ? name : SeriesFileName(name, static_cast<int>(k + 1)));
    return RunOutcome(names, records, "", observer, RealFileSystem());
}

} // namespace veltra
