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
        st.It = A * st.IaA[s] + B * st.IaB[s] + st.Lc[s] + st.DAu[s] + st.DBu[s] + (st.FAw[s] + st.FBw[s]) * st.Gw[s];
    if (st.IaA[s] + st.IaB[s] < 0.001) {
        st.It = 0;
        st.Is = 0;
    }

    Net(st.RrA, st.LrA, A > Present);
    Net(st.RrB, st.LrB, B > Present);
    Net(st.RrU, st.LrU, U > Present);
    st.LrT = A * st.LrA + B * st.LrB + U * st.LrU;
    st.RrT = A * st.RrA + B * st.RrB + U * st.RrU;
    for (double* v : {&st.LrA, &st.LrB, &st.LrU, &st.LrT, &st.RrA, &st.RrB, &st.RrU, &st.RrT})
        ClipBelow(*v);

    ClipBelow(st.Gd);
    ClipBelow(st.Ga);
    ClipBelow(st.Gb);

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
    const double values[] = {st.It,   st.Is,        st.IaA[s], st.IaB[s], st.EfA,   st.EfB, st.Eft, st.Io[s], st.JsA,
                             st.JsB,  st.EaU,       st.LrA,    st.LrB,    st.LrU,   st.LrT, st.RrA, st.RrB,   st.RrU,
                             st.RrT,  st.Gd,        st.Ga,     st.Gb,     st.Gw[s], st.Dw,  st.Zs,  st.A[s],  st.B[s],
                             st.U[s], done.UcShown, st.CrA,    st.CrB,    st.CrU,   st.C0,  st.Cxf, st.Cxa,   st.Cxb,
                             st.Cqf,  st.Ci,        st.Cd,     st.Cw,     st.Ts[s]};
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
