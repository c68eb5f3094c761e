#pragma once
// The seasonal water balance: surface drainage corrections, the 1 mm water-table
// iteration, the irrigation efficiencies, and the irrigation reduction under a
// shallow water table.
#include "engine/TRunContext.h"

namespace veltra {

// Returns false when the 1 mm iteration took st.WaterTableStepLimit steps without
// meeting the balance (the caller stops the run).
bool WaterBalance(TRunContext& ctx, int s);
void Efficiencies(TRunContext& ctx, int s);
void ReduceIrrigationAtShallowWaterTable(TRunContext& ctx, int s);

} // namespace veltra
