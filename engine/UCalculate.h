#pragma once
// The simulation driver: one call runs all years (Ky = 0) or the next year of a
// year-by-year series (Ky = 1).
#include <string>

#include "engine/TEngineState.h"
#include "engine/TRunProgress.h"
#include "model/UDataMod.h"

namespace veltra {

// Runs one call of the driver on `rec`. Writes the result and frequency files beside
// the input file (named after st.RunFirstFileName in a year-by-year series), warning.lst
// in `workDir`, and the run marker (.trf) when a run completes outside a series.
// A water table below the aquifer bottom, or a water-table iteration that does not
// converge, ends the call early with st.WaterTableStop set. Throws std::runtime_error
// when a file cannot be created or written.
void RunSimulation(TInputRecord& rec, TEngineState& st, TAnnualCarry& carry, const std::string& workDir,
                   TRunProgress& progress);

// Empty when the engine can run the record; otherwise why it refuses (a record that
// bypassed the input check: seasons outside 1..4, porosities or layers that are not
// positive, drains outside the transition zone, ...).
std::string EngineRefusal(const TInputRecord& rec);

// Clears the one-shot flags, as creating the main window does.
void ClearOneShotFlags(TEngineState& st);

} // namespace veltra
