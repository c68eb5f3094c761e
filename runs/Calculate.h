#pragma once
// The check-and-run steps of a save-and-run, shared by the command line and the
// window: start a new run, check the input and run the driver once, end a series,
// and a summary of the last year from the result text. Nothing here
// talks to the user: each step returns what happened.
#include <string>
#include <utility>
#include <vector>

#include "engine/TRunProgress.h"
#include "model/SafeFile.h"
#include "model/TEngineState.h"
#include "model/UDataMod.h"
#include "results/TRunObserver.h"

namespace veltra {

struct TCalculateOptions {
    // The window deletes Error.lst after reading it; the command line leaves it when
    // it lists errors, so that the user can open it.
    bool KeepErrorListWithErrors = false;
    // The window reads warning.lst after an all-years run and deletes it; the command
    // line leaves it in the working folder.
    bool KeepWarningList = false;
    // Sees the run besides its files (a batch summary, an in-memory table).
    TRunObserver* Observer = nullptr;
    // Where the files go; the real file system unless a test makes writes fail.
    TFileSystem* Files = nullptr;
    // A run in memory: no file is read, written or removed (Error.lst, warning.lst and
    // the run's files included); the observer sees the run.
    bool InMemory = false;
};

// One season record as a short summary: the depth of the water table and the
// root-zone salinities the record shows (symbol, cell text).
struct TSeasonSummary {
    int Year = 0;
    int Season = 0;
    std::string Dw;
    std::vector<std::pair<std::string, std::string>> Salinities;
};

struct TCalculateResult {
    bool InputErrors = false; // Error.lst listed errors: nothing ran, earlier outputs deleted
    std::string Refusal;      // the engine refused the record (nothing ran)
    bool Ran = false;         // the driver ran (to its end or to a stop)
    bool WaterTableStop = false;
    TStopCause StopCause = TStopCause::None;
    int WarningCount = 0;                 // warning messages the run gave
    bool RuntimeWarnings = false;         // warning.lst held warnings (its lines are in dm.WarningLines)
    std::string ResultPath;               // the result file of the run
    std::vector<TSeasonSummary> LastYear; // the last Ns records the run wrote
};

// The save that starts a new run (`path` is the input file, made absolute):
// FileName and RunFirstFileName := path, RunStage := 1, YearNr := 1, AnnualMode :=
// Ky, YearsDone and its carry copy := 0.
void StartNewRun(TInputRecord& rec, TEngineState& st, TAnnualCarry& carry, const std::string& path);

// One check and run in `workDir` (Error.lst and warning.lst live there): the input
// check, and without errors the driver (all years, or the next year of a
// year-by-year series). With errors the result and frequency files of FileName
// (except while a series goes on) and warning.lst are deleted, as they belong to
// an earlier run. The run's files are written only when complete: a failure to
// write leaves the earlier files as they were. Throws TVeltraError when a file
// cannot be written or read.
TCalculateResult Calculate(TDataMod& dm, TEngineState& st, TAnnualCarry& carry, const std::string& workDir,
                           TRunProgress& progress, const TCalculateOptions& options = {});

// What the user is told when a year-by-year series stopped for `cause` and cannot
// go on (the partial output stays); "" for TStopCause::None.
const char* SeriesStopMessage(TStopCause cause);

// The end of a year-by-year series: YearsDone and its carry copy := 0, YearNr := 1,
// SeriesEnded := 1, AnnualMode := 0.
void EndSeries(TInputRecord& rec, TEngineState& st, TAnnualCarry& carry);

// Path of the input file of year `year` of a series started with `firstFile`:
// the first file's path without its extension, the year, ".inp".
std::string SeriesFileName(const std::string& firstFile, int year);

// The last `ns` season records of a result text: the depth of the water table and
// the root-zone salinities the records show (symbol, cell text).
std::vector<TSeasonSummary> LastYearSummaryOfText(const std::string& text, int ns);

} // namespace veltra
