#pragma once
// The seasonal water balance: surface drainage corrections, the 1 mm water-table
// iteration, the irrigation efficiencies, and the irrigation reduction under a
// shallow water table.
#include "engine/TRunContext.h"

namespace veltra {

// Returns false when the 1 mm iteration took st.WaterTableStepLimit steps without
// meeting the balance (the caller stops the run).
bool WaterBalance(TRunContext& ctx, int s);

// How equal percolation and capillary rise of a land type are netted: the water
// balance leaves them as they are, the season record cancels them to 0.
enum class TEqualFlows : bool { Stay, Cancel };

// Percolation lr and capillary rise rr of one land type leave only their
// difference, in the larger of the two; land that is not present has neither.
inline void NetPercolationAndRise(double& lr, double& rr, bool present, TEqualFlows equal)
{
    if (!present) {
        lr = 0;
        rr = 0;
        return;
    }
    const bool riseWins = equal == TEqualFlows::Cancel ? rr >= lr : rr > lr;
    if (riseWins) {
        rr = rr - lr;
        lr = 0;
    } else if (equal == TEqualFlows::Cancel || lr > rr) {
        lr = lr - rr;
        rr = 0;
    }
}
void Efficiencies(TRunContext& ctx, int s);
void ReduceIrrigationAtShallowWaterTable(TRunContext& ctx, int s);

} // namespace veltra
