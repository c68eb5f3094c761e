#include "engine/SaltBalance.h"

#include <algorithm>
#include <cmath>

#include "engine/Drainage.h"

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

struct TSeasonSalt {
    double A, B, U, Pp, Ci, Cp, Cx, Flr, Flx;
    double IrrA, IrrB, IrrSum, SurfOut;
    double KA, KB, KU;
    double Sda, Sdb, Sro; // surface drainage as the salt balance counts it
    double V;             // pore volume of the root zone
};

// Root zone of keys 0 to 4; returns the leached salt.
double RootZoneByKey(TEngineState& st, const TSeasonSalt& q, int s)
{
    const int kr = st.Kr;
    if (kr == 0) {
        auto part = [&](double start, double irr, double rr, double k, double sd, double lr) {
            const double in = irr * q.Ci + q.Pp * q.Cp + rr * q.Flx * q.Cx;
            return RootZoneSaltIteration(start, q.V, RootZoneRule,
                                         [&](double cs, double) { return in - (k * cs * sd + q.Flr * cs * lr); });
        };
        const TSaltResult ra = part(st.CrAStart, q.IrrA, st.Season.RrA, q.KA, q.Sda, st.Season.LrA);
        const TSaltResult rb = part(st.CrBStart, q.IrrB, st.Season.RrB, q.KB, q.Sdb, st.Season.LrB);
        const TSaltResult ru = part(st.CrUStart, st.SiU[s], st.Season.RrU, q.KU, q.Sro, st.Season.LrU);
        st.CrA = ra.End;
        st.CrB = rb.End;
        st.CrU = ru.End;
        return q.Flr *
               (st.Season.LrA * ra.Average * q.A + st.Season.LrB * rb.Average * q.B + st.Season.LrU * ru.Average * q.U);
    }
    if (kr == 4) {
        const double in = q.IrrSum * q.Ci + q.Pp * q.Cp + st.Season.RrT * q.Flx * q.Cx - q.KA * st.CrAStart * q.SurfOut;
        const TSaltResult r = RootZoneSaltIteration(st.CrAStart, q.V, RootZoneNoZeroRule,
                                                    [&](double cs, double) { return in - q.Flr * cs * st.Season.LrT; });
        st.CrA = r.End;
        return q.Flr * st.Season.LrT * r.Average;
    }

    // Keys 1, 2, 3: a permanent part of land type L and the rotated remainder.
    double p, irrL, sdL, rrL, lrL, kL, startL, startR, kRR;
    double *stateL, *stateR;
    if (kr == 1) {
        p = st.Uc, irrL = st.SiU[s], sdL = st.Season.SRO, rrL = st.Season.RrU, lrL = st.Season.LrU, kL = q.KU,
        startL = st.CrUStart;
        stateL = &st.CrU, stateR = &st.CrA, startR = st.CrAStart, kRR = q.KA * st.CrAStart;
    } else if (kr == 2) {
        p = st.Ac, irrL = q.IrrA, sdL = st.Season.SDA, rrL = st.Season.RrA, lrL = st.Season.LrA, kL = q.KA,
        startL = st.CrAStart;
        stateL = &st.CrA, stateR = &st.CrB, startR = st.CrBStart, kRR = q.KA * st.CrAStart;
    } else {
        p = st.Bc, irrL = q.IrrB, sdL = st.Season.SDB, rrL = st.Season.RrB, lrL = st.Season.LrB, kL = q.KB,
        startL = st.CrBStart;
        stateL = &st.CrB, stateR = &st.CrA, startR = st.CrAStart, kRR = q.KB * st.CrBStart;
    }

    TSaltResult perm{startL, startL};
    if (!(p < 0.001)) {
        const double in = irrL * q.Ci - kL * startL * sdL + q.Pp * q.Cp + rrL * q.Flx * q.Cx;
        // Salty permanent land loses and gains its salt more slowly.
        perm = RootZoneSaltIteration(startL, q.V, RootZoneNoZeroRule, [&](double cs, double) {
            const double n = in - q.Flr * cs * lrL;
            return startL > 16 ? 4 * n / std::sqrt(startL) : n;
        });
    }
    *stateL = perm.End;

    double inR = 0, lrR = 0;
    if (p < 0.999) {
        const double rrR = (st.Season.RrT - rrL * p) / (1 - p);
        inR = ((q.IrrSum - irrL * p) * q.Ci - (q.SurfOut - sdL * p) * kRR) / (1 - p) + q.Pp * q.Cp + rrR * q.Flx * q.Cx;
        lrR = (st.Season.LrT - lrL * p) / (1 - p);
    }
    TSaltResult rem{startR, startR};
    if (!(p > 0.999))
        rem =
            RootZoneSaltIteration(startR, q.V, RootZoneRule, [&](double cs, double) { return inR - q.Flr * cs * lrR; });
    *stateR = rem.End;
    return q.Flr * (lrL * perm.Average * p + lrR * rem.Average * (1 - p));
}

// Root zone of keys 5, 6, 7 and 10: permanent parts and the rotated remainder C0*.
double RootZoneRotated(TEngineState& st, const TSeasonSalt& q, int s)
{
    const int kr = st.Kr;
    const bool hasA = kr == 5 || kr == 6 || kr == 10;
    const bool hasB = kr == 5 || kr == 7 || kr == 10;
    const bool hasU = kr == 6 || kr == 7 || kr == 10;
    double leached = 0;
    if (hasA) {
        const double in = q.IrrA * q.Ci + st.Season.RrA * q.Flx * q.Cx;
        const double out = q.KA * st.CrAStart * st.Season.SDA + st.CrAStart * q.Flr * st.Season.LrA;
        const TSaltResult r = DirectForm(st.CrAStart, in, out, q.V);
        st.CrA = r.End;
        leached += st.Season.LrA * r.Average * st.Ac;
    }
    if (hasB) {
        const double in = q.IrrB * q.Ci + st.Season.RrB * q.Flx * q.Cx;
        const double out = q.KB * st.CrBStart * st.Season.SDB + st.CrBStart * q.Flr * st.Season.LrB;
        const TSaltResult r = DirectForm(st.CrBStart, in, out, q.V);
        st.CrB = r.End;
        leached += st.Season.LrB * r.Average * st.Bc;
    }
    if (hasU) {
        const double in = st.SiU[s] * q.Ci + st.Season.RrU * q.Flx * q.Cx;
        const double out = q.KU * st.CrUStart * st.Season.SRO + st.CrUStart * q.Flr * st.Season.LrU;
        const TSaltResult r = DirectForm(st.CrUStart, in, out, q.V);
        st.CrU = r.End;
        leached += st.Season.LrU * r.Average * st.Uc;
    }
    const double fA = hasA ? q.A - st.Ac : q.A;
    const double fB = hasB ? q.B - st.Bc : q.B;
    const double fU = hasU ? q.U - st.Uc : q.U;
    const double fR = fA + fB + fU;
    if (!(fR < 0.001)) { // without rotated land the remainder keeps its salinity
        const double in = (st.SiU[s] * fU + q.IrrA * fA + q.IrrB * fB) * q.Ci / fR +
                          (st.Season.RrU * fU + st.Season.RrA * fA + st.Season.RrB * fB) * q.Flx * q.Cx / fR;
        const double out = (st.Season.SDA * fA * q.KA + st.Season.SDB * fB * q.KB + st.Season.SRO * fU * q.KU +
                            (st.Season.LrA * fA + st.Season.LrB * fB + st.Season.LrU * fU) * q.Flr) *
                           st.C0Start / fR;
        const TSaltResult r = DirectForm(st.C0Start, in, out, q.V);
        st.C0 = r.End;
        leached += (st.Season.LrA * fA + st.Season.LrB * fB + st.Season.LrU * fU) * r.Average;
    }
    return q.Flr * leached;
}

} // namespace

void SaltBalance(TRunContext& ctx, int s)
{
    const TInputRecord& rec = ctx.Rec;
    TEngineState& st = ctx.St;

    // The salinity of the irrigation water, mixed from canal, re-used drainage and
    // well water.
    IrrigationWaterSalinity(ctx, s);
    const double ciMixed = st.Season.Ci;
    double ci = st.Season.Ci;

    // What every reservoir of this season works with.
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
    q.Sda = st.CrAStart > 51 && st.Season.SDA < 0.01 ? 0.01 * (st.CrAStart - 50) : st.Season.SDA;
    q.Sdb = st.CrBStart > 51 && st.Season.SDB < 0.01 ? 0.01 * (st.CrBStart - 50) : st.Season.SDB;
    q.Sro = st.CrUStart > 51 && st.Season.SRO < 0.01 ? 0.01 * (st.CrUStart - 50) : st.Season.SRO;
    const double sro = q.Sro;
    q.SurfOut = q.Sda * q.A + q.Sdb * q.B + q.Sro * q.U;
    double qout = st.Go[s] + st.Gw[s] + st.Season.Gd - st.Gi[s];
    double qin = 0;
    if (qout < 0) {
        qin = -qout;
        qout = 0;
    }
    const double lcS = st.Dw < rec.Dr ? 0.5 * st.Lc[s] : st.Lc[s];
    double cavg;
    switch (st.Kr) {
    case 0: cavg = q.A * st.CrA + q.B * st.CrB + q.U * st.CrU; break;
    case 1: cavg = (1 - st.Uc) * st.CrA + st.Uc * st.CrU; break;
    case 2: cavg = st.Ac * st.CrA + (1 - st.Ac) * st.CrB; break;
    case 3: cavg = st.Bc * st.CrB + (1 - st.Bc) * st.CrA; break;
    case 5: cavg = st.Ac * st.CrA + st.Bc * st.CrB + (1 - st.Ac - st.Bc) * st.C0; break;
    case 6: cavg = st.Ac * st.CrA + st.Uc * st.CrU + (1 - st.Ac - st.Uc) * st.C0; break;
    case 7: cavg = st.Bc * st.CrB + st.Uc * st.CrU + (1 - st.Bc - st.Uc) * st.C0; break;
    case 10: cavg = st.Ac * st.CrA + st.Bc * st.CrB + st.Uc * st.CrU + (1 - st.Ac - st.Bc - st.Uc) * st.C0; break;
    default: cavg = st.CrA; break;
    }
    q.Cx = rec.Kd == 0 ? st.Cxf : st.Cxa;

    // Water standing above the soil surface mixes with what reaches it.
    if (st.Dw < 0) {
        double saltIn = st.Season.It * ci + (st.SiU[s] - sro) * st.CrUStart + qin * q.Flr * cavg - qout * st.CpondPrev;
        if (st.DwPrev > 0)
            saltIn = (st.Season.It * ci + (st.SiU[s] - sro) * st.CrUStart) * (-st.Dw) / st.DwPrev;
        const double water = st.Season.It + st.SiU[s] - sro + qin - qout - st.Dw;
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
    q.Ci = ci;
    q.V = rec.Ptr * rec.Dr;

    // The root zone; it returns the salt that percolates below it.
    const double saltLr =
        (st.Kr == 5 || st.Kr == 6 || st.Kr == 7 || st.Kr == 10) ? RootZoneRotated(st, q, s) : RootZoneByKey(st, q, s);

    // Net ground water that enters from the aquifer (vin) or leaves to it (vout).
    const double v = st.Gi[s] - st.Go[s] - st.Gw[s];
    const double vin = v >= 0 ? v : 0;
    const double vout = v >= 0 ? 0 : -v;

    // The transition zone, in one layer without drains or in two, above and below
    // the drains; the drainage water mixes the two.
    const double flx = rec.Flx, flq = rec.Flq;
    const double cqfStart = st.Cqf;
    const double belowTransition = rec.Dr + rec.Dx;
    double cdown;
    if (rec.Kd == 0) {
        const TSaltResult r = RootZoneSaltIteration(st.Cxf, rec.Ptx * rec.Dx, TransitionRule, [&](double cs, double) {
            if (st.Dw >= belowTransition)
                return saltLr - st.Season.LrT * flx * cs - (flx * cs - flq * cqfStart) * st.Season.RrT;
            return lcS * ci + saltLr + vin * flq * cqfStart - (st.Season.RrT + vout) * flx * cs;
        });
        st.Cxf = r.End;
        cdown = r.Average;
        st.Season.Cd = 0;
    } else {
        const double vup = std::max(0.0, vin - st.Season.Gb);
        const double ldown = std::max(0.0, st.Season.LrT - st.Season.Ga);
        const double outA = st.Season.RrT + ldown + st.Season.Ga;
        const double outB = vup + vout + st.Season.Gb;
        const double cxbStart = st.Cxb;
        const TSaltResult above =
            RootZoneSaltIteration(st.Cxa, rec.Ptx * (rec.Dd - rec.Dr), TransitionRule, [&](double cs, double latest) {
                if (st.Dw >= rec.Dd)
                    return saltLr - st.Season.LrT * flx * cs + st.Season.RrT * flx * (cxbStart - latest);
                return vup * flx * cxbStart + saltLr - outA * flx * cs;
            });
        st.Cxa = above.End;
        const double avgCxa = above.Average;
        const TSaltResult below =
            RootZoneSaltIteration(st.Cxb, rec.Ptx * (rec.Dr + rec.Dx - rec.Dd), TransitionRule, [&](double cs, double) {
                if (st.Dw >= belowTransition)
                    return st.Season.LrT * flx * (avgCxa - cs) + (flq * cqfStart - flx * cs) * st.Season.RrT;
                return ldown * flx * avgCxa + lcS * ci + vin * flq * cqfStart - outB * flx * cs;
            });
        st.Cxb = below.End;
        cdown = below.Average;
        st.Season.Cd =
            st.Season.Gd > 0.001 ? (st.Season.Ga * avgCxa + st.Season.Gb * below.Average) * flx / st.Season.Gd : 0;
    }

    // The aquifer.
    const TSaltResult aq = RootZoneSaltIteration(cqfStart, rec.Ptq * rec.Dq, AquiferRule, [&](double cs, double) {
        if (st.Dw > belowTransition)
            return st.Gi[s] * st.Ch - (flq * st.Gw[s] + st.Go[s]) * cs + st.Season.LrT * flx * cdown + lcS * ci -
                   st.Season.RrT * flq * cs;
        return st.Gi[s] * st.Ch - (flq * st.Gw[s] + st.Go[s]) * cs + vout * flx * cdown - vin * flq * cs;
    });
    st.Cqf = aq.End;

    // Salt stays above the surface only while water stands there.
    if (st.Dw >= 0)
        st.Zs = 0;
    st.Season.Ci = ciMixed;
}

} // namespace veltra
