#include "engine/SaltBalance.h"

#include <algorithm>
#include <cmath>

#include "engine/Drainage.h"
#include "model/TVeltraError.h"
#include "results/RootZoneLayout.h"

namespace veltra {
namespace {

constexpr TSaltIterationRule RootZoneRule{true, false, false};
constexpr TSaltIterationRule RootZoneNoZeroRule{false, false, false};
constexpr TSaltIterationRule TransitionRule{true, true, false};
constexpr TSaltIterationRule AquiferRule{false, true, true};

// Direct form of the rotated keys 5, 6, 7 and 10: one evaluation with the start
// concentration in the outflow terms.
TSaltResult DirectForm(double& start, double in, double out, double v)
{
    const double n = in - out;
    double end = start + n / v;
    if (n < 0) {
        if (start <= 0)
            start = 0.001;
        if (end <= 0)
            end = 0.1 * start;
        return {end, std::sqrt(start * end)};
    }
    return {end, (start + end) / 2};
}

double& Salinity(TEngineState& st, TRootZoneVar var)
{
    switch (var) {
    case TRootZoneVar::CrA: return st.CrA;
    case TRootZoneVar::CrB: return st.CrB;
    case TRootZoneVar::CrU: return st.CrU;
    case TRootZoneVar::C0: break;
    }
    return st.C0;
}

// The copy the driver took at the start of the season.
double& StartSalinity(TEngineState& st, TRootZoneVar var)
{
    switch (var) {
    case TRootZoneVar::CrA: return st.CrAStart;
    case TRootZoneVar::CrB: return st.CrBStart;
    case TRootZoneVar::CrU: return st.CrUStart;
    case TRootZoneVar::C0: break;
    }
    return st.C0Start;
}

bool IsPermanentLand(TRootZoneSymbol symbol)
{
    return symbol == TRootZoneSymbol::CrA || symbol == TRootZoneSymbol::CrB || symbol == TRootZoneSymbol::CrU;
}

// What every reservoir of the season works with.
struct TSeasonSalt {
    double A, B, U, Pp, Ci, Cp, Cx, Flr, Flx;
    double IrrA, IrrB, IrrSum, SurfOut;
    double KA, KB, KU;
    double Sda, Sdb, Sro; // surface drainage as the salt balance counts it
    double V;             // pore volume of the root zone
    double Qin, Qout;     // ground water entering the area from the aquifer, or leaving it
    double LcS;           // canal seepage as the salt balance counts it
};

// The season's quantities; the irrigation water salinity Ci follows with
// the ponded water.
TSeasonSalt SeasonSalt(const TInputRecord& rec, const TEngineState& st, int s)
{
    const TSeasonResults& r = st.Season;
    TSeasonSalt q{};
    q.A = st.A[s], q.B = st.B[s], q.U = st.U[s];
    q.Pp = st.Pp[s], q.Cp = st.Cp, q.Flr = rec.Flr, q.Flx = rec.Flx;
    q.KA = (10 + st.CrAStart) / 100;
    q.KB = (10 + st.CrBStart) / 100;
    q.KU = (10 + st.CrUStart) / 100;
    q.IrrA = st.IaA[s] + st.DAu[s] + st.FAw[s] * st.Gw[s];
    q.IrrB = st.IaB[s] + st.DBu[s] + st.FBw[s] * st.Gw[s];
    q.IrrSum = q.IrrA * q.A + q.IrrB * q.B + st.SiU[s] * q.U;
    // Very salty land sheds salt with its surface water even when little runs off.
    q.Sda = st.CrAStart > 51 && r.SDA < 0.01 ? 0.01 * (st.CrAStart - 50) : r.SDA;
    q.Sdb = st.CrBStart > 51 && r.SDB < 0.01 ? 0.01 * (st.CrBStart - 50) : r.SDB;
    q.Sro = st.CrUStart > 51 && r.SRO < 0.01 ? 0.01 * (st.CrUStart - 50) : r.SRO;
    q.SurfOut = q.Sda * q.A + q.Sdb * q.B + q.Sro * q.U;
    q.Qout = st.Go[s] + st.Gw[s] + r.Gd - st.Gi[s];
    q.Qin = 0;
    if (q.Qout < 0) {
        q.Qin = -q.Qout;
        q.Qout = 0;
    }
    q.LcS = st.Dw < rec.Dr ? 0.5 * st.Lc[s] : st.Lc[s];
    q.Cx = rec.Kd == 0 ? st.Cxf : st.Cxa;
    q.V = rec.Ptr * rec.Dr;
    return q;
}

// The permanent fraction of the land a symbol stands for (CrA, CrB or CrU).
double PermanentFraction(const TEngineState& st, TRootZoneSymbol symbol)
{
    return symbol == TRootZoneSymbol::CrA ? st.Ac : symbol == TRootZoneSymbol::CrB ? st.Bc : st.Uc;
}

// The mean salinity of the root zone at the start of the season: each salinity
// weighted by the share of the area its land covers.
double MeanRootZoneSalinity(const TEngineState& st, const TSeasonSalt& q)
{
    if (st.Kr == 0) // the season's own lands
        return q.A * st.CrA + q.B * st.CrB + q.U * st.CrU;
    const std::span<const TRootZoneEntry> layout = RootZoneLayout(st.Kr);
    if (layout.size() < 2) // the whole area as one (Kr = 4)
        return st.CrA;
    // The permanent lands by their fractions, the rest of the area by what they leave.
    double permanent = 0, rest = 1, restSalinity = 0;
    int count = 0;
    for (const TRootZoneEntry& e : layout) {
        if (!IsPermanentLand(e.Symbol)) {
            restSalinity = RootZoneValue(st, e.Var);
            continue;
        }
        const double fraction = PermanentFraction(st, e.Symbol);
        const double share = fraction * RootZoneValue(st, e.Var);
        permanent = count++ == 0 ? share : permanent + share; // the first share as it is, not 0 + it
        rest = rest - fraction;
    }
    return permanent + rest * restSalinity;
}

// Water standing above the soil surface mixes with what reaches it (it
// changes Cpond, CpondPrev and Zs). Returns the salinity of the water the root zone
// receives: the irrigation water's, or the ponded water's when that is saltier or
// has just soaked in.
double PondedWater(TEngineState& st, const TSeasonSalt& q, double siU, double ci)
{
    if (st.Dw < 0) {
        const double it = st.Season.It, sro = q.Sro;
        double saltIn =
            it * ci + (siU - sro) * st.CrUStart + q.Qin * q.Flr * MeanRootZoneSalinity(st, q) - q.Qout * st.CpondPrev;
        if (st.DwPrev > 0)
            saltIn = (it * ci + (siU - sro) * st.CrUStart) * (-st.Dw) / st.DwPrev;
        const double water = it + siU - sro + q.Qin - q.Qout - st.Dw;
        if (water > 0.001)
            st.Cpond = (-st.Dw * st.CpondPrev + saltIn) / water + st.CpondPrev;
        else
            st.Cpond = st.CpondPrev; // nothing to dilute in
        if (st.Cpond > 50)
            st.Cpond = 50;
        if (st.Cpond > ci)
            ci = st.Cpond;
        st.CpondPrev = st.Cpond;
        st.Zs = -st.Dw * st.Cpond;
    }
    if (st.Dw > 0 && st.DwPrev < 0) { // the ponded water soaked in this season
        ci = st.Cpond;
        st.Cpond = 0;
        st.CpondPrev = 0;
    }
    return ci;
}

// Kr = 0: the A, B and U land of the season, each a part of its own.
double RootZoneSeparateLands(TEngineState& st, const TSeasonSalt& q, int s)
{
    const TSeasonResults& r = st.Season;
    auto part = [&](double start, double irr, double rr, double k, double sd, double lr) {
        const double in = irr * q.Ci + q.Pp * q.Cp + rr * q.Flx * q.Cx;
        return RootZoneSaltIteration(start, q.V, RootZoneRule,
                                     [&](double cs, double) { return in - (k * cs * sd + q.Flr * cs * lr); });
    };
    const TSaltResult ra = part(st.CrAStart, q.IrrA, r.RrA, q.KA, q.Sda, r.LrA);
    const TSaltResult rb = part(st.CrBStart, q.IrrB, r.RrB, q.KB, q.Sdb, r.LrB);
    const TSaltResult ru = part(st.CrUStart, st.SiU[s], r.RrU, q.KU, q.Sro, r.LrU);
    st.CrA = ra.End;
    st.CrB = rb.End;
    st.CrU = ru.End;
    return q.Flr * (r.LrA * ra.Average * q.A + r.LrB * rb.Average * q.B + r.LrU * ru.Average * q.U);
}

// Kr = 4: the whole area rotates as one, in CrA.
double RootZoneWhole(TEngineState& st, const TSeasonSalt& q)
{
    const TSeasonResults& r = st.Season;
    const double in = q.IrrSum * q.Ci + q.Pp * q.Cp + r.RrT * q.Flx * q.Cx - q.KA * st.CrAStart * q.SurfOut;
    const TSaltResult res = RootZoneSaltIteration(st.CrAStart, q.V, RootZoneNoZeroRule,
                                                  [&](double cs, double) { return in - q.Flr * cs * r.LrT; });
    st.CrA = res.End;
    return q.Flr * r.LrT * res.Average;
}

// The water and salt of the permanent land a symbol stands for, as the water
// balance left them (the surface drainage without the salty-land minimum).
struct TLandSalt {
    double Fraction;           // Ac, Bc or Uc
    double Irr, Sd, Rr, Lr, K; // water applied, surface drainage, capillary rise, percolation, k
    TRootZoneVar Var;          // the salinity that holds it
};

TLandSalt PermanentLand(const TEngineState& st, const TSeasonSalt& q, int s, const TRootZoneEntry& e)
{
    const TSeasonResults& r = st.Season;
    const double fraction = PermanentFraction(st, e.Symbol);
    if (e.Symbol == TRootZoneSymbol::CrA)
        return {fraction, q.IrrA, r.SDA, r.RrA, r.LrA, q.KA, e.Var};
    if (e.Symbol == TRootZoneSymbol::CrB)
        return {fraction, q.IrrB, r.SDB, r.RrB, r.LrB, q.KB, e.Var};
    return {fraction, st.SiU[s], r.SRO, r.RrU, r.LrU, q.KU, e.Var};
}

// The permanent part of keys 1 to 3, unless there is none. Salty permanent land
// loses and gains its salt more slowly.
TSaltResult PermanentPart(const TLandSalt& l, double start, const TSeasonSalt& q)
{
    if (l.Fraction < 0.001)
        return {start, start};
    const double in = l.Irr * q.Ci - l.K * start * l.Sd + q.Pp * q.Cp + l.Rr * q.Flx * q.Cx;
    return RootZoneSaltIteration(start, q.V, RootZoneNoZeroRule, [&](double cs, double) {
        const double n = in - q.Flr * cs * l.Lr;
        return start > 16 ? 4 * n / std::sqrt(start) : n;
    });
}

// Kr = 1, 2, 3: the permanent land of one type and the rotated rest of the area,
// each in the salinity the layout gives it.
double RootZonePermanentAndRest(TEngineState& st, const TSeasonSalt& q, int s)
{
    const TSeasonResults& r = st.Season;
    const TRootZoneEntry *permanent = nullptr, *restEntry = nullptr;
    for (const TRootZoneEntry& e : RootZoneLayout(st.Kr))
        (IsPermanentLand(e.Symbol) ? permanent : restEntry) = &e;
    if (permanent == nullptr || restEntry == nullptr)
        throw TVeltraError(TErrorKind::Internal, "a root-zone layout of keys 1 to 3 without permanent or rotated land");
    const TLandSalt l = PermanentLand(st, q, s, *permanent);
    const double p = l.Fraction;
    const double startR = StartSalinity(st, restEntry->Var);
    // The surface water of the rest carries k·C of CrA, of CrB when B land is the
    // permanent one.
    const double kRest = permanent->Symbol == TRootZoneSymbol::CrB ? q.KB * st.CrBStart : q.KA * st.CrAStart;

    const TSaltResult perm = PermanentPart(l, StartSalinity(st, l.Var), q);
    Salinity(st, l.Var) = perm.End;

    double inR = 0, lrR = 0;
    if (p < 0.999) {
        const double rrR = (r.RrT - l.Rr * p) / (1 - p);
        inR = ((q.IrrSum - l.Irr * p) * q.Ci - (q.SurfOut - l.Sd * p) * kRest) / (1 - p) + q.Pp * q.Cp +
              rrR * q.Flx * q.Cx;
        lrR = (r.LrT - l.Lr * p) / (1 - p);
    }
    TSaltResult rest{startR, startR};
    if (!(p > 0.999))
        rest =
            RootZoneSaltIteration(startR, q.V, RootZoneRule, [&](double cs, double) { return inR - q.Flr * cs * lrR; });
    Salinity(st, restEntry->Var) = rest.End;
    return q.Flr * (l.Lr * perm.Average * p + lrR * rest.Average * (1 - p));
}

// Kr = 5, 6, 7, 10: the permanent parts the key has and the rotated rest C0*, each
// in the direct form.
double RootZoneRotated(TEngineState& st, const TSeasonSalt& q, int s)
{
    const TSeasonResults& r = st.Season;
    double leached = 0;
    for (const TRootZoneEntry& e : RootZoneLayout(st.Kr)) {
        if (!IsPermanentLand(e.Symbol))
            continue;
        const TLandSalt l = PermanentLand(st, q, s, e);
        double& start = StartSalinity(st, l.Var);
        const double in = l.Irr * q.Ci + l.Rr * q.Flx * q.Cx;
        const double out = l.K * start * l.Sd + start * q.Flr * l.Lr;
        const TSaltResult res = DirectForm(start, in, out, q.V);
        Salinity(st, l.Var) = res.End;
        leached += l.Lr * res.Average * l.Fraction;
    }
    // The rotated shares of the seasonal lands.
    const int kr = st.Kr;
    const double fA = FindRootZoneEntry(kr, TRootZoneSymbol::CrA) ? q.A - st.Ac : q.A;
    const double fB = FindRootZoneEntry(kr, TRootZoneSymbol::CrB) ? q.B - st.Bc : q.B;
    const double fU = FindRootZoneEntry(kr, TRootZoneSymbol::CrU) ? q.U - st.Uc : q.U;
    const double fR = fA + fB + fU;
    if (!(fR < 0.001)) { // without rotated land the rest keeps its salinity
        const double in = (st.SiU[s] * fU + q.IrrA * fA + q.IrrB * fB) * q.Ci / fR +
                          (r.RrU * fU + r.RrA * fA + r.RrB * fB) * q.Flx * q.Cx / fR;
        const double out = (r.SDA * fA * q.KA + r.SDB * fB * q.KB + r.SRO * fU * q.KU +
                            (r.LrA * fA + r.LrB * fB + r.LrU * fU) * q.Flr) *
                           st.C0Start / fR;
        const TSaltResult res = DirectForm(st.C0Start, in, out, q.V);
        st.C0 = res.End;
        leached += (r.LrA * fA + r.LrB * fB + r.LrU * fU) * res.Average;
    }
    return q.Flr * leached;
}

// The root zone in the parts the rotation key defines. Returns the salt
// that percolates below it.
double RootZone(TEngineState& st, const TSeasonSalt& q, int s)
{
    switch (st.Kr) {
    case 0: return RootZoneSeparateLands(st, q, s);
    case 1:
    case 2:
    case 3: return RootZonePermanentAndRest(st, q, s);
    case 5:
    case 6:
    case 7:
    case 10: return RootZoneRotated(st, q, s);
    default: return RootZoneWhole(st, q);
    }
}

// Net ground water that enters from the aquifer (In) or leaves to it (Out).
struct TAquiferExchange {
    double In, Out;
};

// Without drains: the transition zone as one layer (Cxf). Returns the
// average salinity of the water that leaves it downward.
double TransitionZoneWithoutDrains(const TInputRecord& rec, TEngineState& st, const TSeasonSalt& q, double saltLr,
                                   TAquiferExchange v)
{
    const TSeasonResults& r = st.Season;
    const double flx = rec.Flx, flq = rec.Flq, cqf = st.Cqf;
    const double belowTransition = rec.Dr + rec.Dx;
    const TSaltResult res = RootZoneSaltIteration(st.Cxf, rec.Ptx * rec.Dx, TransitionRule, [&](double cs, double) {
        if (st.Dw >= belowTransition)
            return saltLr - r.LrT * flx * cs - (flx * cs - flq * cqf) * r.RrT;
        return q.LcS * q.Ci + saltLr + v.In * flq * cqf - (r.RrT + v.Out) * flx * cs;
    });
    st.Cxf = res.End;
    st.Season.Cd = 0;
    return res.Average;
}

// With drains: the transition zone above the drains (Cxa) and below them
// (Cxb); the drainage water mixes the two (Cd). Returns the average salinity of the
// water that leaves it downward.
double TransitionZoneWithDrains(const TInputRecord& rec, TEngineState& st, const TSeasonSalt& q, double saltLr,
                                TAquiferExchange v)
{
    TSeasonResults& r = st.Season;
    const double flx = rec.Flx, flq = rec.Flq, cqf = st.Cqf, cxb = st.Cxb;
    const double vup = std::max(0.0, v.In - r.Gb);
    const double ldown = std::max(0.0, r.LrT - r.Ga);
    const double outA = r.RrT + ldown + r.Ga;
    const double outB = vup + v.Out + r.Gb;
    const TSaltResult above =
        RootZoneSaltIteration(st.Cxa, rec.Ptx * (rec.Dd - rec.Dr), TransitionRule, [&](double cs, double latest) {
            if (st.Dw >= rec.Dd)
                return saltLr - r.LrT * flx * cs + r.RrT * flx * (cxb - latest);
            return vup * flx * cxb + saltLr - outA * flx * cs;
        });
    st.Cxa = above.End;
    const double avgCxa = above.Average;
    const TSaltResult below =
        RootZoneSaltIteration(st.Cxb, rec.Ptx * (rec.Dr + rec.Dx - rec.Dd), TransitionRule, [&](double cs, double) {
            if (st.Dw >= rec.Dr + rec.Dx)
                return r.LrT * flx * (avgCxa - cs) + (flq * cqf - flx * cs) * r.RrT;
            return ldown * flx * avgCxa + q.LcS * q.Ci + v.In * flq * cqf - outB * flx * cs;
        });
    st.Cxb = below.End;
    r.Cd = r.Gd > 0.001 ? (r.Ga * avgCxa + r.Gb * below.Average) * flx / r.Gd : 0;
    return below.Average;
}

// The aquifer (Cqf), receiving cdown from the transition zone.
void Aquifer(const TInputRecord& rec, TEngineState& st, const TSeasonSalt& q, int s, TAquiferExchange v, double cdown)
{
    const TSeasonResults& r = st.Season;
    const double flx = rec.Flx, flq = rec.Flq;
    const double gi = st.Gi[s], go = st.Go[s], gw = st.Gw[s];
    const TSaltResult res = RootZoneSaltIteration(st.Cqf, rec.Ptq * rec.Dq, AquiferRule, [&](double cs, double) {
        if (st.Dw > rec.Dr + rec.Dx)
            return gi * st.Ch - (flq * gw + go) * cs + r.LrT * flx * cdown + q.LcS * q.Ci - r.RrT * flq * cs;
        return gi * st.Ch - (flq * gw + go) * cs + v.Out * flx * cdown - v.In * flq * cs;
    });
    st.Cqf = res.End;
}

} // namespace

void SaltBalance(TRunContext& ctx, int s)
{
    const TInputRecord& rec = ctx.Rec;
    TEngineState& st = ctx.St;

    // The irrigation water, mixed from canal, re-used drainage and well water.
    IrrigationWaterSalinity(ctx, s);
    const double ciMixed = st.Season.Ci;

    TSeasonSalt q = SeasonSalt(rec, st, s);
    q.Ci = PondedWater(st, q, st.SiU[s], ciMixed);
    const double saltLr = RootZone(st, q, s);

    const double v = st.Gi[s] - st.Go[s] - st.Gw[s];
    const TAquiferExchange exchange{v >= 0 ? v : 0, v >= 0 ? 0 : -v};
    const double cdown = rec.Kd == 0 ? TransitionZoneWithoutDrains(rec, st, q, saltLr, exchange)
                                     : TransitionZoneWithDrains(rec, st, q, saltLr, exchange);
    Aquifer(rec, st, q, s, exchange, cdown);

    // Salt stays above the surface only while water stands there, and the
    // record shows the mixed irrigation water.
    if (st.Dw >= 0)
        st.Zs = 0;
    st.Season.Ci = ciMixed;
}

} // namespace veltra
