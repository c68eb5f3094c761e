#pragma once
// Subsurface drain discharge, the limit of drainage re-use, and the salinity of
// the irrigation water mixed from canal, drainage and well water.
#include "engine/TRunContext.h"

namespace veltra {

struct TDrainFlow {
    double Ga = 0, Gb = 0, Gd = 0; // above and below drain level, total
};

// What the drain discharge of a season depends on besides the water table: the
// reaction factors times the fraction of the season's flow not retained by
// controlled drainage (`keep`), and the season's duration in months.
struct TDrainRates {
    double Dd = 0;       // m, drain depth
    double KeepQH1 = 0;  // keep * QH1
    double KeepQH2 = 0;  // keep * QH2
    double Ts = 0;       // months
    bool Drains = false; // Kd = 1
};

inline TDrainRates DrainRates(const TInputRecord& rec, double keep, double ts)
{
    return {rec.Dd, keep * rec.QH1, keep * rec.QH2, ts, rec.Kd != 0};
}

// The discharge of the drains at the trial water-table depth dw.
inline TDrainFlow DrainFlow(const TDrainRates& r, double dw)
{
    TDrainFlow g;
    const double h = r.Dd - dw; // height of the water table above drain level
    if (h <= 0 || !r.Drains)
        return g;
    const double hh = h * h;
    g.Ga = r.KeepQH2 * hh * r.Ts * 30; // 30 days per month
    g.Gb = r.KeepQH1 * h * r.Ts * 30;
    if (dw <= -0.1) // water standing 0.1 m or more above the surface
        g.Ga = g.Ga * 2;
    g.Gd = g.Ga + g.Gb;
    return g;
}

// Scales the re-used drainage water DAu + DBu down to the discharge Gd when it is
// larger; true when it was larger. The scaled values stay for the same season of
// later years.
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

// Cd, Cw, Is and Ci of the season.
void IrrigationWaterSalinity(TRunContext& ctx, int s);

} // namespace veltra
