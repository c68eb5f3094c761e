#pragma once
// The seasonal water balance: surface drainage corrections, the 1 mm water-table
// iteration, the irrigation efficiencies, and the irrigation reduction under a
// shallow water table.
#include "engine/TRunContext.h"

namespace veltra {

// One season's steps of the 1 mm iteration at most; a record the input check would
// refuse can otherwise keep it going for ever.
constexpr long MaxWaterTableSteps = 1'000'000;

// Returns false when the iteration hit MaxWaterTableSteps (the caller stops the run).
bool WaterBalance(TRunContext& ctx, int s);
void Efficiencies(TRunContext& ctx, int s);
void ReduceIrrigationAtShallowWaterTable(TRunContext& ctx, int s);

} // namespace veltra
