#pragma once
// Subsurface drain discharge, the limit of drainage re-use, and the salinity of
// the irrigation water mixed from canal, drainage and well water.
#include "engine/TRunContext.h"

namespace veltra {

struct TDrainFlow {
    double Ga = 0, Gb = 0, Gd = 0; // above and below drain level, total
};

// The discharge of the drains at the trial water-table depth dw, for a season of
// `ts` months of which the fraction `keep` is not retained by controlled drainage.
inline TDrainFlow DrainFlow(const TInputRecord& rec, double keep, double ts, double dw)
{
    TDrainFlow g;
    const double h = rec.Dd - dw; // height of the water table above drain level
    if (h <= 0 || rec.Kd == 0)
        return g;
    const double hh = h * h;
    g.Ga = keep * rec.QH2 * hh * ts * 30; // 30 days per month
    g.Gb = keep * rec.QH1 * h * ts * 30;
    if (dw <= -0.1) // water standing 0.1 m or more above the surface
        g.Ga = g.Ga * 2;
    g.Gd = g.Ga + g.Gb;
    return g;
}

// Scales the re-used drainage water DAu + DBu down to the discharge Gd when it is
// larger; true when it was larger.
inline bool LimitReuse(double& dau, double& dbu, double gd)
{
    const double sum = dau + dbu;
    if (!(sum > gd))
        return false;
    if (sum != 0) {
        dau = dau * gd / sum;
        dbu = dbu * gd / sum;
    }
    return true;
}

// Ga, Gb, Gd at the trial water-table depth dw.
void DrainDischarge(TRunContext& ctx, double dw, int s);
// Keeps DAu + DBu within Gd; the scaled values stay for the same season of later years.
void LimitDrainageReuse(TRunContext& ctx, int s);
// Cd, Cw, Is and Ci of the season.
void IrrigationWaterSalinity(TRunContext& ctx, int s);

} // namespace veltra
