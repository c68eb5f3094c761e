#include "engine/WaterBalance.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "engine/Drainage.h"

namespace veltra {
namespace {

// Surface drainage of one land type after the correction for the water table:
// no more can run off than 90 % of what stands on the land, or 75 % of what
// reaches it when the water table is below the surface.
double CorrectedSurfaceDrainage(double so, double supply, double dw)
{
    double sd = so;
    if (dw < 0 && so > 0) {
        if (0.9 * (supply - dw) < so) {
            sd = 0.9 * (supply - dw);
            if (sd < 0)
                sd = -0.9 * dw;
        }
    } else if (dw >= 0 && so > 0) {
        if (0.75 * supply < sd) {
            sd = 0.75 * supply;
            if (sd < 0)
                sd = 0;
        }
    }
    return sd;
}

// One land type inside the iteration; kept in locals so that the 1 mm steps run
// in registers rather than through the state.
struct TLandWater {
    double Fraction, Ep, Fs, Supply; // Supply: rain plus irrigation or run-in
    double Sd, Ea, Rr;
    double EpPerFs; // Ep / Fs, the same at every step of the iteration
};

// Root-zone balance of one land type at the capillary rise factor f.
inline void RootZoneWater(TLandWater& land, double f, double dw)
{
    if (land.Fraction < 0.001) {
        land.Ea = 0;
        land.Rr = 0;
        land.Sd = 0;
        return;
    }
    const double w = land.Supply - land.Sd; // infiltration
    if (land.Fs <= 0)
        return; // keeps the previous values
    if (land.EpPerFs <= w || dw < 0) {
        land.Ea = land.Ep;
        land.Rr = 0;
    } else {
        const double fw = land.Fs * w;
        land.Ea = fw + (land.Ep - fw) * f;
        land.Rr = land.Ea - w;
        if (land.Rr < 0)
            land.Rr = 0;
    }
}

// The drainable pore space the water table passes at depth dw.
struct TPorosity {
    double Dr, DrDx, Per, Pex, Peq;
    double At(double dw) const
    {
        if (dw <= 0)
            return 1.0; // open water
        if (dw <= Dr)
            return Per;
        if (dw <= DrDx)
            return Pex;
        return Peq;
    }
};

void NetLand(double& lr, double& rr, double fraction)
{
    if (lr > rr) {
        lr = lr - rr;
        rr = 0;
    }
    if (rr > lr) {
        rr = rr - lr;
        lr = 0;
    }
    if (fraction < 0.001) {
        lr = 0;
        rr = 0;
    }
}

} // namespace

bool WaterBalance(TRunContext& ctx, int s)
{
    TInputRecord& rec = ctx.Rec;
    TEngineState& st = ctx.St;
    const double a = st.A[s], b = st.B[s], u = st.U[s];
    const double pp = st.Pp[s];

    // Surface drainage, corrected for what can run off at this water table.
    st.Season.SDA = CorrectedSurfaceDrainage(st.SoA[s], pp + st.IaA[s], st.Dw);
    st.Season.SDB = CorrectedSurfaceDrainage(st.SoB[s], pp + st.IaB[s], st.Dw);
    st.Season.SRO = CorrectedSurfaceDrainage(st.SoU[s], pp + st.SiU[s], st.Dw);
    if (st.Dw < 0) // ponded water drains at the surface
        st.Dw = st.Dw + a * st.Season.SDA + b * st.Season.SDB + (1 - a - b) * st.Season.SRO;
    const bool sda = st.Season.SDA != st.SoA[s], sdb = st.Season.SDB != st.SoB[s], sro = st.Season.SRO != st.SoU[s];
    if (!st.Warned.SurfaceWarned[s] && (sda || sdb || sro)) {
        ctx.Warn.SurfaceCorrected(ctx.Year(), s, sda, sdb, sro);
        st.Warned.SurfaceWarned[s] = true;
    }

    // Move the water table by 1 mm at a time until the change of stored water meets
    // the net recharge of the ground water.
    TLandWater landU{u, rec.EpU[s], st.FsU[s], pp + st.SiU[s], st.Season.SRO, st.Season.EaU, st.Season.RrU, 0};
    TLandWater landA{a, rec.EpA[s], st.FsA[s], pp + st.IaA[s], st.Season.SDA, st.Season.EaA, st.Season.RrA, 0};
    TLandWater landB{b, rec.EpB[s], st.FsB[s], pp + st.IaB[s], st.Season.SDB, st.Season.EaB, st.Season.RrB, 0};
    for (TLandWater* land : {&landU, &landA, &landB})
        land->EpPerFs = land->Fs > 0 ? land->Ep / land->Fs : 0;
    const double iaA = st.IaA[s], iaB = st.IaB[s], siU = st.SiU[s];
    const double soA = st.SoA[s], soB = st.SoB[s], soU = st.SoU[s];
    const double gi = st.Gi[s], go = st.Go[s], gw = st.Gw[s];
    const double wells = (st.FAw[s] + st.FBw[s]) * gw;
    const double dr = rec.Dr, dc = st.Dc;
    double dw = st.Dw;
    double lrA = 0, lrB = 0, lrU = 0, lrT = 0, rrT = 0;
    const double lc = st.Lc[s];
    const double d = st.Dc - 0.5 * rec.Dr;
    double storage = 0;
    st.Iteration.StartDw = st.Dw;
    double storageBefore = 0, rechargeBefore = 0;
    bool firstPass = true;
    bool rising = false, falling = false;
    bool seenBelowRootZoneBottom = false, seenAboveSurface = false;
    bool converged = false;
    const std::int64_t limit = st.WaterTableStepLimit;
    if (rec.Kd == 0) { // no drains: no drainage resistance either
        rec.QH1 = 0;
        rec.QH2 = 0;
    }
    const TDrainRates drains = DrainRates(rec, 1 - st.Frd[s], st.Ts[s]);
    const TPorosity porosity{rec.Dr, rec.Dr + rec.Dx, rec.Per, rec.Pex, rec.Peq};
    const double is = iaA * a + lc + iaB * b;
    // The re-used drainage water as the last step found it (It counts it before that
    // step's limit).
    double dau = st.DAu[s], dbu = st.DBu[s], dauBefore = dau, dbuBefore = dbu;
    TDrainFlow flow;
    // The root-zone balances depend on the step only through f and whether water
    // stands on the land; while neither changes they are not computed again, and
    // neither is the part of the net recharge that does not depend on the drains
    // (the same sums in the same order).
    double fDone = 0;
    bool pondedDone = false;
    double lcEff = lc;
    double rechargeBeforeDrains = 0;
    for (std::int64_t step = 0; step <= limit; ++step) {
        double f = 1;
        if (d > 0) {
            const double above = dc - dw;
            // The quotient is at least 1 whenever its numerator is at least d, and 0
            // when it is not above 0 (a numerator of water-table depths never
            // underflows to a negative zero).
            f = above >= d ? 1.0 : above <= 0 ? 0.0 : std::clamp(above / d, 0.0, 1.0);
        }
        // Canal seepage shrinks once the water table reached the root zone or the surface.
        bool seepageChanged = false;
        if ((dw < dr && !seenBelowRootZoneBottom) | (dw < 0 && !seenAboveSurface)) {
            seenBelowRootZoneBottom = seenBelowRootZoneBottom || dw < dr;
            seenAboveSurface = seenAboveSurface || dw < 0;
            lcEff = seenAboveSurface ? 0.0 : seenBelowRootZoneBottom ? 0.5 * lc : lc;
            seepageChanged = true;
        }

        const bool ponded = dw < 0;
        if ((f != fDone) | (ponded != pondedDone) | firstPass) { // one branch: rarely taken
            fDone = f;
            pondedDone = ponded;
            RootZoneWater(landU, f, dw);
            RootZoneWater(landA, f, dw);
            RootZoneWater(landB, f, dw);

            // Percolation with the surface drainage as entered.
            lrA = pp + iaA - landA.Ea - soA;
            if (a < 0.001)
                lrA = 0;
            if (a > 0.999) {
                lrB = 0;
                lrU = 0;
            } else {
                lrB = pp + iaB - landB.Ea - soB;
                if (b < 0.001)
                    lrB = 0;
                if (b > 0.999) {
                    lrA = 0;
                    lrU = 0;
                } else {
                    lrU = pp - landU.Ea + siU - soU;
                    if (u < 0.001)
                        lrU = 0;
                    if (u > 0.999) {
                        lrA = 0;
                        lrB = 0;
                    }
                }
            }
            rrT = a * landA.Rr + b * landB.Rr + u * landU.Rr;
            lrT = a * lrA + b * lrB + u * lrU;
            seepageChanged = true;
        }
        if (seepageChanged)
            rechargeBeforeDrains = lcEff + lrT + gi - go - gw - rrT;

        dauBefore = dau;
        dbuBefore = dbu;
        flow = DrainFlow(drains, dw);
        if (LimitReuse(dau, dbu, flow.Gd) && !st.Warned.ReuseWarned[s]) {
            ctx.Warn.ReuseReduced(ctx.Year(), s);
            st.Warned.ReuseWarned[s] = true;
        }

        const double n = rechargeBeforeDrains - flow.Gd;
        int dir;
        if (n > storage) {
            rising = true;
            dir = 1;
        } else {
            falling = true;
            dir = -1;
        }
        if ((rising && falling) || std::fabs(n - storage) < 0.001) {
            converged = true;
            st.Iteration.StorageChange = storage;
            st.Iteration.NetRecharge = n;
            st.Iteration.StorageChangeBefore = firstPass ? storage : storageBefore;
            st.Iteration.NetRechargeBefore = firstPass ? n : rechargeBefore;
            break;
        }
        if (step == limit)
            break;
        storageBefore = storage;
        rechargeBefore = n;
        firstPass = false;
        dw = dw - 0.001 * dir;
        storage = storage + 0.001 * dir * porosity.At(dw);
    }
    const double it = is + dauBefore + dbuBefore + wells;
    st.Dw = dw;
    st.Season.Is = is;
    st.Season.It = it;
    st.DAu[s] = dau;
    st.DBu[s] = dbu;
    st.Season.Ga = flow.Ga;
    st.Season.Gb = flow.Gb;
    st.Season.Gd = flow.Gd;
    st.Season.SRO = landU.Sd, st.Season.EaU = landU.Ea, st.Season.RrU = landU.Rr, st.Season.LrU = lrU;
    st.Season.SDA = landA.Sd, st.Season.EaA = landA.Ea, st.Season.RrA = landA.Rr, st.Season.LrA = lrA;
    st.Season.SDB = landB.Sd, st.Season.EaB = landB.Ea, st.Season.RrB = landB.Rr, st.Season.LrB = lrB;
    st.Season.RrT = rrT, st.Season.LrT = lrT;
    // No negative flows; percolation and capillary rise netted per land type.
    for (double* v : {&st.Season.LrA, &st.Season.LrB, &st.Season.LrU, &st.Season.LrT, &st.Season.RrA, &st.Season.RrB,
                      &st.Season.RrU, &st.Season.RrT})
        if (*v < 0)
            *v = 0;
    NetLand(st.Season.LrA, st.Season.RrA, a);
    NetLand(st.Season.LrB, st.Season.RrB, b);
    NetLand(st.Season.LrU, st.Season.RrU, u);
    st.Season.RrT = a * st.Season.RrA + b * st.Season.RrB + u * st.Season.RrU;
    st.Season.LrT = a * st.Season.LrA + b * st.Season.LrB + u * st.Season.LrU;
    return converged;
}

void Efficiencies(TRunContext& ctx, int s)
{
    const TInputRecord& rec = ctx.Rec;
    TEngineState& st = ctx.St;
    const double pp = st.Pp[s];
    st.Season.EfA = st.IaA[s] > 0.001 ? (st.Season.EaA - st.Season.RrA) / (st.IaA[s] + pp) : 0;
    st.Season.EfB = st.IaB[s] > 0.001 ? (st.Season.EaB - st.Season.RrB) / (st.IaB[s] + pp) : 0;
    st.Season.Eft = st.Season.It > 0.001
                        ? ((st.Season.EaA - st.Season.RrA) * st.A[s] + (st.Season.EaB - st.Season.RrB) * st.B[s]) /
                              (st.Season.It + pp)
                        : 0;
    st.Season.JsA = (st.Season.EaA > 0.001 && rec.EpA[s] > 0.001) ? st.Season.EaA / rec.EpA[s] : 0;
    st.Season.JsB = (st.Season.EaB > 0.001 && rec.EpB[s] > 0.001) ? st.Season.EaB / rec.EpB[s] : 0;
    for (double* v : {&st.Season.EfA, &st.Season.EfB, &st.Season.Eft, &st.Season.JsA, &st.Season.JsB})
        if (*v > 1)
            *v = 1;
}

namespace {

// Fraction of the irrigation given up under a shallow water table.
double ReductionFraction(double dw, bool rice, bool riceTableB)
{
    if (!rice) {
        if (dw <= 0.1)
            return 0.3;
        if (dw < 0.15)
            return 0.25;
        if (dw < 0.2)
            return 0.2;
        if (dw < 0.25)
            return 0.15;
        if (dw < 0.3)
            return 0.1;
        if (dw < 0.35)
            return 0.05;
        return 0;
    }
    // Paddy tolerates standing water; the B table's bounds lie just below the A table's.
    static constexpr double boundsA[6] = {-0.4, -0.35, -0.3, -0.25, -0.2, -0.1};
    static constexpr double boundsB[6] = {-0.4001, -0.3501, -0.3001, -0.2501, -0.2001, -0.1001};
    static constexpr double fractions[6] = {0.3, 0.25, 0.2, 0.15, 0.1, 0.05};
    const double* bounds = riceTableB ? boundsB : boundsA;
    for (int i = 0; i < 6; ++i)
        if (dw < bounds[i])
            return fractions[i];
    return 0;
}

} // namespace

void ReduceIrrigationAtShallowWaterTable(TRunContext& ctx, int s)
{
    const TInputRecord& rec = ctx.Rec;
    TEngineState& st = ctx.St;
    const double dw = st.Dw;
    const double ioAtEntry = st.Io[s];

    struct TLand {
        double& Ia;
        double IaInput;
        double Fraction;
        bool Rice;
        bool TableB;
        double TakeBackDepth;
    };
    const bool riceA = rec.RcA[s] == 1, riceB = rec.RcB[s] == 1;
    TLand lands[2] = {
        {st.IaA[s], st.IaAInput[s], st.A[s], riceA, false, 0.6},
        {st.IaB[s], st.IaBInput[s], st.B[s], riceB, true, riceB ? -0.1 : 0.6},
    };
    for (TLand& land : lands) {
        const double r = ReductionFraction(dw, land.Rice, land.TableB);
        double& io = st.Io[s];
        io = io + r * land.Ia * land.Fraction;
        land.Ia = land.Ia - r * land.Ia;
        if (land.Ia < land.IaInput && dw >= land.TakeBackDepth) {
            io = io - r * land.IaInput * land.Fraction;
            land.Ia = land.Ia + r * land.IaInput;
            if (std::fabs(io) < 0.001)
                io = 0;
            if (io < 0) {
                land.Ia = land.IaInput;
                io = ioAtEntry;
            }
        }
    }
    if (st.Io[s] < 0.001)
        st.Io[s] = 0;
}

} // namespace veltra
