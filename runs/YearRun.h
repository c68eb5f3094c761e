#pragma once
// The loop over the years of a run, one for `veltra run`, `veltra series` and a case
// of a batch (runs/CaseRun), so that the commands and the batch cannot drift apart:
// all years in one call (Ky = 0), year by year without changes (a file with Ky = 1
// run as it is), or a series whose later years read their own files. What the
// fronts do their own way (reading and writing the files, the texts of their
// errors, what they print after a year) they pass in as TYearSteps.
#include <string>
#include <vector>

#include "model/TEngineState.h"
#include "model/UDataMod.h"
#include "results/TRunObserver.h"
#include "runs/Calculate.h"

namespace veltra {

class TYearSteps {
public:
    virtual ~TYearSteps() = default;
    // Reads the input file `path` over `rec` (a later year of a series).
    virtual void ReadOver(const std::string& path, TInputRecord& rec) = 0;
    // The input of a later year of a series, to be saved under its series name
    // `path` unless that is a file the series reads.
    virtual void SaveYearFile(const TInputRecord& rec, const std::string& path) = 0;
    // The message of the error that ends a run whose check of year `year` found
    // errors (dm.ErrorLines holds Error.lst).
    virtual std::string InputErrorsMessage(int year, const TDataMod& dm) = 0;
    // Year `year` ran, to its end or to a stop; dm.WarningLines holds its warnings.
    virtual void YearDone(int /*year*/, const TDataMod& /*dm*/) {}
};

struct TYearRun {
    std::vector<std::string> Files; // absolute paths; the first names the run and its results
    bool Changes = false;           // a series: year k reads Files[k - 1] (the last once they run out)
    std::string WorkDir;            // where Error.lst and warning.lst go (and stay)
    TRunObserver* Observer = nullptr;
    TFileSystem* FileSystem = nullptr; // where the run's files go; the real one unless given
    bool InMemory = false;             // no file read or written: Files only name the run and its years
};

// Checks the record read from run.Files[0] (the save-time validation), starts a new
// run and runs its years, each after the validation of a later year's changes; a
// year-by-year run that was not stopped is ended. Returns the result of the last
// call (WaterTableStop: the model stopped the run). Throws TVeltraError (Input) when
// the validation refuses (its refusals one a line), the check finds errors
// (steps.InputErrorsMessage) or the engine refuses the record; file errors pass
// through.
TCalculateResult RunYears(TDataMod& dm, TEngineState& st, TAnnualCarry& carry, const TYearRun& run, TYearSteps& steps);

} // namespace veltra
