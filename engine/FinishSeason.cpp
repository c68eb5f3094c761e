#include "engine/FinishSeason.h"

#include <cmath>

#include "engine/WaterBalance.h"

namespace veltra {

namespace {

constexpr double Present = 0.001; // a fraction counts when above it

void ClipBelow(double& v)
{
    if (v < 0.001)
        v = 0;
}

// Percolation and capillary rise netted per land type present, then their totals;
// flows below 0.001 are none.
void NetSeasonFlows(TSeasonResults& r, double a, double b, double u)
{
    NetPercolationAndRise(r.LrA, r.RrA, a > Present, TEqualFlows::Cancel);
    NetPercolationAndRise(r.LrB, r.RrB, b > Present, TEqualFlows::Cancel);
    NetPercolationAndRise(r.LrU, r.RrU, u > Present, TEqualFlows::Cancel);
    r.LrT = a * r.LrA + b * r.LrB + u * r.LrU;
    r.RrT = a * r.RrA + b * r.RrB + u * r.RrU;
    for (double* v : {&r.LrA, &r.LrB, &r.LrU, &r.LrT, &r.RrA, &r.RrB, &r.RrU, &r.RrT})
        ClipBelow(*v);
}

} // namespace

TSeasonDone FinishSeason(const TInputRecord& rec, TEngineState& st)
{
    const int s = st.SeasonNr;
    const int ns = rec.Ns;
    TSeasonDone done;
    done.Year = (st.StepNr + ns - 1) / ns + st.YearsDone;
    done.Season = s;
    done.StepNr = st.StepNr;

    // A series counts its years as their records are written; the initial block
    // never counts.
    if (rec.Ky == 1 && s == ns)
        st.YearsDone += 1;
    if (st.StepNr == 0)
        st.YearsDone = 0;

    TSeasonResults& r = st.Season;
    const double A = st.A[s], B = st.B[s], U = st.U[s];
    if (st.StepNr == 0)
        r.It = A * st.IaA[s] + B * st.IaB[s] + st.Lc[s] + st.DAu[s] + st.DBu[s] + (st.FAw[s] + st.FBw[s]) * st.Gw[s];
    if (st.IaA[s] + st.IaB[s] < 0.001) {
        r.It = 0;
        r.Is = 0;
    }
    NetSeasonFlows(r, A, B, U);
    ClipBelow(r.Gd);
    ClipBelow(r.Ga);
    ClipBelow(r.Gb);

    done.UcShown = st.Uc;
    ClipBelow(st.CrA);
    ClipBelow(st.CrB);
    ClipBelow(st.CrU);
    ClipBelow(st.Uc);
    return done;
}

bool SeasonValuesFinite(const TEngineState& st, const TSeasonDone& done)
{
    const int s = done.Season;
    const double values[] = {st.Season.It,  st.Season.Is,  st.IaA[s],     st.IaB[s],     st.Season.EfA, st.Season.EfB,
                             st.Season.Eft, st.Io[s],      st.Season.JsA, st.Season.JsB, st.Season.EaU, st.Season.LrA,
                             st.Season.LrB, st.Season.LrU, st.Season.LrT, st.Season.RrA, st.Season.RrB, st.Season.RrU,
                             st.Season.RrT, st.Season.Gd,  st.Season.Ga,  st.Season.Gb,  st.Gw[s],      st.Dw,
                             st.Zs,         st.A[s],       st.B[s],       st.U[s],       done.UcShown,  st.CrA,
                             st.CrB,        st.CrU,        st.C0,         st.Cxf,        st.Cxa,        st.Cxb,
                             st.Cqf,        st.Season.Ci,  st.Season.Cd,  st.Season.Cw,  st.Ts[s]};
    for (double v : values)
        if (!std::isfinite(v))
            return false;
    // The frequency points scale the salinities by at most 1.5.
    for (double v : {st.CrA, st.CrB, st.CrU, st.C0})
        if (!std::isfinite(1.5 * v))
            return false;
    return true;
}

} // namespace veltra
