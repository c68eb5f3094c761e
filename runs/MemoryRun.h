#pragma once
// A run that leaves no file: what `veltra run` computes for a record, handed only to
// an observer, at the engine's full precision. A search that runs an input
// thousands of times (runs/Fit.h) needs neither the result text nor the files.
#include <string>

#include "model/TEngineState.h"
#include "model/UDataMod.h"
#include "results/TRunObserver.h"

namespace veltra {

struct TMemoryRunOutcome {
    // Why the run did not start, or stopped in a later year of a year-by-year
    // run: a save-time refusal, the first rule the input check lists, or the
    // engine's refusal. Empty when it ran.
    std::string Refusal;
    bool Stopped = false; // the model stopped the run (what it computed went to the observer)
    TStopCause StopCause = TStopCause::None;
};

// Runs `rec` as `veltra run` would run the file holding it, all its years (a
// year-by-year record year after year without changes), every season going to
// `observer`. Never writes or reads a file; an observer's own errors pass through.
// The bare year loop, for a search's thousands of runs: no case, no series, no
// summary. A case in memory with RunCase's outcome and messages (a series of
// records, the Python module's runs and sweeps) is RunRecordCase (runs/CaseRun.h).
TMemoryRunOutcome RunInMemory(TInputRecord rec, TRunObserver& observer);

// Why the model stopped: "the water table fell below the bottom of the aquifer".
std::string StopCauseText(TStopCause cause);

} // namespace veltra
