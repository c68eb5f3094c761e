#pragma once
// The simulation driver: one call runs all years (Ky = 0) or the next year of a
// year-by-year series (Ky = 1).
#include <string>

#include "engine/TRunProgress.h"
#include "model/TEngineState.h"
#include "model/UDataMod.h"
#include "results/TRunObserver.h"

namespace veltra {

// Runs one call of the driver on `rec`: all years, or the next year of a
// year-by-year series. Opens no file: the run's start, every finished season and
// year, every runtime warning and its end go to `out` (the result, frequency,
// warning and marker files are observers the caller passes in). A water table
// below the aquifer bottom, or a water-table iteration that does not converge,
// ends the call early with st.WaterTableStop set and TRunEnd::Completed clear.
// Throws TVeltraError (Input) for a record the engine refuses, before anything is
// handed out; an observer's own errors pass through.
void RunSimulation(TInputRecord& rec, TEngineState& st, TAnnualCarry& carry, TRunProgress& progress, TRunObserver& out);

// Empty when the engine can run the record; otherwise why it refuses (a record that
// bypassed the input check: seasons outside 1..4, porosities or layers that are not
// positive, drains outside the transition zone, ...).
std::string EngineRefusal(const TInputRecord& rec);

// Clears the one-shot flags of the warnings (st.Warned), as creating the main
// window does.
void ClearOneShotFlags(TEngineState& st);

} // namespace veltra
