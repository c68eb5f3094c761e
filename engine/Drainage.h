#pragma once
// Subsurface drain discharge, the limit of drainage re-use, and the salinity of
// the irrigation water mixed from canal, drainage and well water.
#include "engine/TRunContext.h"

namespace veltra {

// Ga, Gb, Gd at the trial water-table depth dw.
void DrainDischarge(TRunContext& ctx, double dw, int s);
// Keeps DAu + DBu within Gd; the scaled values stay for the same season of later years.
void LimitDrainageReuse(TRunContext& ctx, int s);
// Cd, Cw, Is and Ci of the season.
void IrrigationWaterSalinity(TRunContext& ctx, int s);

} // namespace veltra
