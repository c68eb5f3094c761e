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

// The three land types of a season, in the order the balance takes them, and what
// their percolation counts with: the surface drainage as entered.
struct TSeasonLands {
    TLandWater U, A, B;
    double Pp, IaA, IaB, SiU, SoA, SoB, SoU;
};

TSeasonLands SeasonLands(const TInputRecord& rec, const TEngineState& st, int s)
{
    const double pp = st.Pp[s];
    const TSeasonResults& r = st.Season;
    TSeasonLands l{
        {st.U[s], rec.EpU[s], st.FsU[s], pp + st.SiU[s], r.SRO, r.EaU, r.RrU, 0},
        {st.A[s], rec.EpA[s], st.FsA[s], pp + st.IaA[s], r.SDA, r.EaA, r.RrA, 0},
        {st.B[s], rec.EpB[s], st.FsB[s], pp + st.IaB[s], r.SDB, r.EaB, r.RrB, 0},
        pp,
        st.IaA[s],
        st.IaB[s],
        st.SiU[s],
        st.SoA[s],
        st.SoB[s],
        st.SoU[s],
    };
    for (TLandWater* land : {&l.U, &l.A, &l.B})
        land->EpPerFs = land->Fs > 0 ? land->Ep / land->Fs : 0;
    return l;
}

// Percolation and capillary rise of the land types at one step, with their totals
// over the area.
struct TRootZoneFlows {
    double LrA = 0, LrB = 0, LrU = 0, LrT = 0, RrT = 0;
};

// The root-zone balances at the capillary rise factor f and the percolation they
// leave. Land that covers the whole area leaves the others none.
inline TRootZoneFlows RootZoneFlows(TSeasonLands& l, double f, double dw)
{
    RootZoneWater(l.U, f, dw);
    RootZoneWater(l.A, f, dw);
    RootZoneWater(l.B, f, dw);
    const double a = l.A.Fraction, b = l.B.Fraction, u = l.U.Fraction;
    TRootZoneFlows r;
    r.LrA = l.Pp + l.IaA - l.A.Ea - l.SoA;
    if (a < 0.001)
        r.LrA = 0;
    if (a > 0.999) {
        r.LrB = 0;
        r.LrU = 0;
    } else {
        r.LrB = l.Pp + l.IaB - l.B.Ea - l.SoB;
        if (b < 0.001)
            r.LrB = 0;
        if (b > 0.999) {
            r.LrA = 0;
            r.LrU = 0;
        } else {
            r.LrU = l.Pp - l.U.Ea + l.SiU - l.SoU;
            if (u < 0.001)
                r.LrU = 0;
            if (u > 0.999) {
                r.LrA = 0;
                r.LrB = 0;
            }
        }
    }
    r.RrT = a * l.A.Rr + b * l.B.Rr + u * l.U.Rr;
    r.LrT = a * r.LrA + b * r.LrB + u * r.LrU;
    return r;
}

// The capillary rise factor at depth dw: 1 with the water table at or above half
// the root zone, 0 at or below the critical depth dc, linear in between;
// d = dc - Dr/2.
inline double CapillaryRiseFactor(double dc, double d, double dw)
{
    if (!(d > 0))
        return 1;
    const double above = dc - dw;
    // The quotient is at least 1 whenever its numerator is at least d, and 0 when it
    // is not above 0 (a numerator of water-table depths never underflows to a
    // negative zero).
    return above >= d ? 1.0 : above <= 0 ? 0.0 : std::clamp(above / d, 0.0, 1.0);
}

// Canal seepage shrinks to half once the water table has reached the root zone
// during the season, and to none once it has reached the surface; it never grows
// back within the season.
struct TCanalSeepage {
    double Lc;
    double Effective;
    bool ReachedRootZone = false, ReachedSurface = false;

    // Follows the water table to depth dw; true when the seepage changed.
    bool Follow(double dw, double dr)
    {
        if (!((dw < dr && !ReachedRootZone) | (dw < 0 && !ReachedSurface)))
            return false;
        ReachedRootZone = ReachedRootZone || dw < dr;
        ReachedSurface = ReachedSurface || dw < 0;
        Effective = ReachedSurface ? 0.0 : ReachedRootZone ? 0.5 * Lc : Lc;
        return true;
    }
};

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

// The surface drainage of each land type corrected for what can run off at
// the water table of the season's start; ponded water drains at the surface.
void CorrectSurfaceDrainage(TRunContext& ctx, int s)
{
    TEngineState& st = ctx.St;
    TSeasonResults& r = st.Season;
    const double a = st.A[s], b = st.B[s], pp = st.Pp[s];
    r.SDA = CorrectedSurfaceDrainage(st.SoA[s], pp + st.IaA[s], st.Dw);
    r.SDB = CorrectedSurfaceDrainage(st.SoB[s], pp + st.IaB[s], st.Dw);
    r.SRO = CorrectedSurfaceDrainage(st.SoU[s], pp + st.SiU[s], st.Dw);
    if (st.Dw < 0)
        st.Dw = st.Dw + a * r.SDA + b * r.SDB + (1 - a - b) * r.SRO;
    const bool sda = r.SDA != st.SoA[s], sdb = r.SDB != st.SoB[s], sro = r.SRO != st.SoU[s];
    if (!st.Warned.SurfaceWarned[s] && (sda || sdb || sro)) {
        ctx.Warn.SurfaceCorrected(ctx.Year(), s, sda, sdb, sro);
        st.Warned.SurfaceWarned[s] = true;
    }
}

// The re-used drainage water limited to the drain discharge gd, with the message
// the first time in a season number.
inline void LimitSeasonReuse(TRunContext& ctx, int s, double& dau, double& dbu, double gd)
{
    if (LimitReuse(dau, dbu, gd) && !ctx.St.Warned.ReuseWarned[s]) {
        ctx.Warn.ReuseReduced(ctx.Year(), s);
        ctx.St.Warned.ReuseWarned[s] = true;
    }
}

// Where the 1 mm iteration ended.
struct TWaterTableEnd {
    double Dw;
    TRootZoneFlows Flows;
    TDrainFlow Drains;
    double DAu, DBu;               // re-used drainage water after the last step's limit
    double DAuCounted, DBuCounted; // ... and before it, as the total irrigation counts it
    bool Converged;
};

// Moves the water table by 1 mm at a time from st.Dw until the change of
// stored water meets the net recharge of the ground water, or passes it. Sets
// st.Iteration when it meets the balance.
TWaterTableEnd IterateWaterTable(TRunContext& ctx, int s, TSeasonLands& lands)
{
    const TInputRecord& rec = ctx.Rec;
    TEngineState& st = ctx.St;
    const double gi = st.Gi[s], go = st.Go[s], gw = st.Gw[s];
    const double dr = rec.Dr, dc = st.Dc, d = st.Dc - 0.5 * rec.Dr;
    const TDrainRates drains = DrainRates(rec, 1 - st.Frd[s], st.Ts[s]);
    const TPorosity porosity{rec.Dr, rec.Dr + rec.Dx, rec.Per, rec.Pex, rec.Peq};
    const std::int64_t limit = st.WaterTableStepLimit;
    TCanalSeepage seepage{st.Lc[s], st.Lc[s]};
    double dw = st.Dw, storage = 0, storageBefore = 0, rechargeBefore = 0;
    double dau = st.DAu[s], dbu = st.DBu[s], dauBefore = dau, dbuBefore = dbu;
    bool firstPass = true, rising = false, falling = false, converged = false;
    TRootZoneFlows flows;
    TDrainFlow flow;
    // The root-zone balances depend on the step only through f and whether water
    // stands on the land; while neither changes they are not computed again, and
    // neither is the part of the net recharge that does not depend on the drains
    // (the same sums in the same order).
    double fDone = 0, rechargeBeforeDrains = 0;
    bool pondedDone = false;
    for (std::int64_t step = 0; step <= limit; ++step) {
        const double f = CapillaryRiseFactor(dc, d, dw);
        bool rechargeChanged = seepage.Follow(dw, dr);
        const bool ponded = dw < 0;
        if ((f != fDone) | (ponded != pondedDone) | firstPass) { // one branch: rarely taken
            fDone = f;
            pondedDone = ponded;
            flows = RootZoneFlows(lands, f, dw);
            rechargeChanged = true;
        }
        if (rechargeChanged)
            rechargeBeforeDrains = seepage.Effective + flows.LrT + gi - go - gw - flows.RrT;
        dauBefore = dau;
        dbuBefore = dbu;
        flow = DrainFlow(drains, dw);
        LimitSeasonReuse(ctx, s, dau, dbu, flow.Gd);

        const double n = rechargeBeforeDrains - flow.Gd;
        const int dir = n > storage ? 1 : -1; // the water table must rise, or fall
        rising = rising || dir > 0;
        falling = falling || dir < 0;
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
    return {dw, flows, flow, dau, dbu, dauBefore, dbuBefore, converged};
}

// The season's results of the water balance; no negative flows, and
// percolation and capillary rise netted per land type.
void StoreWaterResults(TSeasonResults& r, const TSeasonLands& lands, const TWaterTableEnd& end, double is, double wells)
{
    r.Is = is;
    r.It = is + end.DAuCounted + end.DBuCounted + wells;
    r.Ga = end.Drains.Ga;
    r.Gb = end.Drains.Gb;
    r.Gd = end.Drains.Gd;
    r.SRO = lands.U.Sd, r.EaU = lands.U.Ea, r.RrU = lands.U.Rr, r.LrU = end.Flows.LrU;
    r.SDA = lands.A.Sd, r.EaA = lands.A.Ea, r.RrA = lands.A.Rr, r.LrA = end.Flows.LrA;
    r.SDB = lands.B.Sd, r.EaB = lands.B.Ea, r.RrB = lands.B.Rr, r.LrB = end.Flows.LrB;
    r.RrT = end.Flows.RrT, r.LrT = end.Flows.LrT;
    for (double* v : {&r.LrA, &r.LrB, &r.LrU, &r.LrT, &r.RrA, &r.RrB, &r.RrU, &r.RrT})
        if (*v < 0)
            *v = 0;
    const double a = lands.A.Fraction, b = lands.B.Fraction, u = lands.U.Fraction;
    // A land type counts here unless its fraction is below 0.001.
    NetPercolationAndRise(r.LrA, r.RrA, !(a < 0.001), TEqualFlows::Stay);
    NetPercolationAndRise(r.LrB, r.RrB, !(b < 0.001), TEqualFlows::Stay);
    NetPercolationAndRise(r.LrU, r.RrU, !(u < 0.001), TEqualFlows::Stay);
    r.RrT = a * r.RrA + b * r.RrB + u * r.RrU;
    r.LrT = a * r.LrA + b * r.LrB + u * r.LrU;
}

} // namespace

bool WaterBalance(TRunContext& ctx, int s)
{
    TInputRecord& rec = ctx.Rec;
    TEngineState& st = ctx.St;
    CorrectSurfaceDrainage(ctx, s);
    st.Iteration.StartDw = st.Dw;
    if (rec.Kd == 0) { // no drains: no drainage resistance either
        rec.QH1 = 0;
        rec.QH2 = 0;
    }
    TSeasonLands lands = SeasonLands(rec, st, s);
    // The canal supply counts the canal seepage as entered.
    const double is = st.IaA[s] * st.A[s] + st.Lc[s] + st.IaB[s] * st.B[s];
    const double wells = (st.FAw[s] + st.FBw[s]) * st.Gw[s];
    const TWaterTableEnd end = IterateWaterTable(ctx, s, lands);
    st.Dw = end.Dw;
    st.DAu[s] = end.DAu;
    st.DBu[s] = end.DBu;
    StoreWaterResults(st.Season, lands, end, is, wells);
    return end.Converged;
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
