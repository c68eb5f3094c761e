#include "engine/SeasonRecord.h"

#include <cmath>

namespace veltra {

namespace {

constexpr double Present = 0.001; // a fraction counts when above it

void ClipBelow(double& v)
{
    if (v < 0.001)
        v = 0;
}

// Percolation and capillary rise of one land type leave only their difference.
void Net(double& rr, double& lr, bool present)
{
    if (!present) {
        rr = lr = 0;
    } else if (rr >= lr) {
        rr = rr - lr;
        lr = 0;
    } else {
        lr = lr - rr;
        rr = 0;
    }
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

    const double A = st.A[s], B = st.B[s], U = st.U[s];
    if (st.StepNr == 0)
        st.Season.It =
            A * st.IaA[s] + B * st.IaB[s] + st.Lc[s] + st.DAu[s] + st.DBu[s] + (st.FAw[s] + st.FBw[s]) * st.Gw[s];
    if (st.IaA[s] + st.IaB[s] < 0.001) {
        st.Season.It = 0;
        st.Season.Is = 0;
    }

    Net(st.Season.RrA, st.Season.LrA, A > Present);
    Net(st.Season.RrB, st.Season.LrB, B > Present);
    Net(st.Season.RrU, st.Season.LrU, U > Present);
    st.Season.LrT = A * st.Season.LrA + B * st.Season.LrB + U * st.Season.LrU;
    st.Season.RrT = A * st.Season.RrA + B * st.Season.RrB + U * st.Season.RrU;
    for (double* v : {&st.Season.LrA, &st.Season.LrB, &st.Season.LrU, &st.Season.LrT, &st.Season.RrA, &st.Season.RrB,
                      &st.Season.RrU, &st.Season.RrT})
        ClipBelow(*v);

    ClipBelow(st.Season.Gd);
    ClipBelow(st.Season.Ga);
    ClipBelow(st.Season.Gb);

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
