#include "engine/Rotation.h"

#include <algorithm>
#include <cmath>

namespace veltra {
namespace {

bool IsRotatedKey(int kr)
{
    return kr == 5 || kr == 6 || kr == 7 || kr == 10;
}

// U of every season, and the permanent fractions: the smallest of the year.
void PermanentFractions(int ns, TEngineState& st)
{
    for (int s = 1; s <= ns; ++s) {
        st.U[s] = 1 - st.A[s] - st.B[s];
        if (st.U[s] < 0.001)
            st.U[s] = 0;
    }
    st.Ac = st.A[1], st.Bc = st.B[1], st.Uc = st.U[1];
    for (int s = 2; s <= ns; ++s) {
        st.Ac = std::min(st.Ac, st.A[s]);
        st.Bc = std::min(st.Bc, st.B[s]);
        st.Uc = std::min(st.Uc, st.U[s]);
    }
}

// The key the permanent land calls for, from the initial key `init`. Abandoned
// salty land makes it 1 while there is permanent U land, if the farmers may
// change the rotation.
int KeyForPermanentLand(double ac, double bc, double uc, int init, bool& areaAbandoned, bool farmersMayRotate)
{
    int kr = IsRotatedKey(init) ? init : 4;
    // The initial key's own permanent land keeps its key while there is any; without
    // it the larger of the other two permanent lands decides.
    auto prefer = [&kr](double own, int ownKey, double x, int xKey, double y, int yKey) {
        if (own > 0)
            kr = ownKey;
        if (own < 0.001) {
            if (x > 0 && x >= y)
                kr = xKey;
            if (y > 0 && y > x)
                kr = yKey;
        }
    };
    if (init == 0) {
        const double sum = ac + bc + uc;
        if (sum > 0.999)
            kr = 0;
        if (sum < 1 - 1e-9)
            prefer(uc, 1, ac, 2, bc, 3);
    } else if (init == 1) {
        prefer(uc, 1, ac, 2, bc, 3);
    } else if (init == 2) {
        prefer(ac, 2, uc, 1, bc, 3);
    } else if (init == 3) {
        prefer(bc, 3, uc, 1, ac, 2);
    }
    if (areaAbandoned && uc > 0 && farmersMayRotate)
        kr = 1;
    // Back to the initial key when the key's permanent land is gone.
    if (kr == 1 && init != 1 && uc < 0.001) {
        areaAbandoned = false;
        kr = init;
    }
    if (kr == 2 && init != 2 && ac < 0.001)
        kr = init;
    if (kr == 3 && init != 3 && bc < 0.001)
        kr = init;
    return kr;
}

// A salinity mixed from `prev` land at `own` and `change` new land at `other`.
double MixIn(double prev, double own, double change, double other)
{
    return (prev * own + change * other) / (prev + change);
}

// The same with the new land half at each of two salinities.
double MixInTwo(double prev, double own, double change, double other1, double other2)
{
    return (prev * own + change * other1 + change * other2) / (prev + 2 * change);
}

// The initial salinities of the parts the key defines, from those of the A, B and
// U land (a1, b1, u1: the fractions of season 1).
void InitialSalinities(TEngineState& st, double ca0, double cb0, double cu0, double a1, double b1, double u1)
{
    const int kr = st.Kr;
    st.CrA = ca0;
    st.CrU = cu0;
    st.CrB = cb0;
    if (kr == 1)
        st.CrA = u1 < 1 ? (a1 * ca0 + b1 * cb0) / (1 - u1) : 0;
    if (kr == 2)
        st.CrB = a1 < 1 ? (b1 * cb0 + u1 * cu0) / (1 - a1) : 0;
    if (kr == 3)
        st.CrA = b1 < 1 ? (a1 * ca0 + u1 * cu0) / (1 - b1) : 0;
    if (kr == 4)
        st.CrA = st.CrB = st.CrU = ca0;
    if (kr > 4) {
        const double sum = a1 + b1 + u1;
        st.C0 = sum > 0 ? (a1 * ca0 + b1 * cb0 + u1 * cu0) / sum : 0;
    }

    // Missing initial values of land that becomes part of another.
    if (kr == 1 && cu0 <= 0)
        st.CrU = ca0;
    if (kr == 2 && ca0 <= 0)
        st.CrA = cb0;
    if (kr == 3 && cb0 <= 0)
        st.CrB = ca0;
    if (kr == 5 && cu0 <= 0 && a1 + b1 > 0)
        st.CrU = (a1 * ca0 + b1 * cb0) / (a1 + b1);
    if (kr == 6 && cb0 <= 0 && a1 + u1 > 0)
        st.CrB = (a1 * ca0 + u1 * cu0) / (a1 + u1);
    if (kr == 7 && ca0 <= 0 && b1 + u1 > 0)
        st.CrA = (b1 * cb0 + u1 * cu0) / (b1 + u1);
}

// A later year of a series: permanent land that grew since the year before brings
// the salinity of the land it came from.
void MixGrownPermanentLand(TEngineState& st, const TAnnualCarry& carried, double ca0, double cb0, double cu0)
{
    st.AcPrev = carried.Ac, st.BcPrev = carried.Bc, st.UcPrev = carried.Uc;
    st.dAc = st.Ac - st.AcPrev, st.dBc = st.Bc - st.BcPrev, st.dUc = st.Uc - st.UcPrev;
    const double dA = st.dAc, dB = st.dBc, dU = st.dUc;
    const double aP = st.AcPrev, bP = st.BcPrev, uP = st.UcPrev;
    switch (st.Kr) {
    case 1:
        if (dU > 0)
            st.CrU = MixIn(uP, cu0, dU, ca0);
        if (dA > 0)
            st.CrA = MixIn(aP, ca0, dA, cu0);
        break;
    case 2:
        if (dA > 0)
            st.CrA = MixIn(aP, ca0, dA, cb0);
        if (dB > 0)
            st.CrB = MixIn(bP, cb0, dB, ca0);
        break;
    case 3:
        if (dB > 0)
            st.CrB = MixIn(bP, cb0, dB, ca0);
        if (dA > 0)
            st.CrA = MixIn(aP, ca0, dA, cb0);
        break;
    case 5:
        if (dB > 0)
            st.CrB = MixInTwo(bP, cb0, dB, ca0, cu0);
        if (dA > 0)
            st.CrA = MixInTwo(aP, ca0, dA, cb0, cu0);
        break;
    case 6:
        if (dA > 0)
            st.CrA = MixInTwo(aP, ca0, dA, cb0, cu0);
        if (dU > 0)
            st.CrU = MixInTwo(uP, cu0, dU, ca0, cb0);
        break;
    case 7:
        if (dB > 0)
            st.CrB = MixInTwo(bP, cb0, dB, ca0, cu0);
        if (dU > 0)
            st.CrU = MixInTwo(uP, cu0, dU, ca0, cb0);
        break;
    default: break;
    }
}

// Farmers who keep the same land as one rotation see one salinity for it.
void AlignRotatingCopies(TEngineState& st)
{
    if (st.Kr == 1)
        st.CrB = st.CrA;
    if (st.Kr == 2)
        st.CrU = st.CrB;
    if (st.Kr == 3)
        st.CrU = st.CrA;
    if (st.Kr == 4) {
        st.CrU = st.CrA;
        st.CrB = st.CrA;
    }
}

// Farmers give up land that is too salty (cr above crMax: the area counts as
// abandoned) or gets too little water (js): a twentieth, or a tenth when it is
// much too salty or much too dry. The water no longer needed leaves through the
// bypass io when the land could not use it anyway; otherwise the same water goes
// on the smaller area.
void ShrinkArea(double& area, double& ia, double& io, bool& abandoned, double cr, double crMax, double js, double fs,
                double ef)
{
    double f = 0.95;
    if (cr > crMax)
        abandoned = true;
    if (cr >= 1.5 * crMax || js < 0.7)
        f = 0.9;
    area = f * area;
    if (area < 0.01)
        area = 0;
    if (0.8 * fs > ef && js >= 1.0)
        io = io + (1 / f - 1) * area * ia;
    else
        ia = ia / f;
}

// Farmers take back land that has recovered, up to its input area. The water for
// it comes back from the bypass io; when the bypass cannot give it (falls below
// bypassFloor), the field irrigation is spread thinner instead and the bypass
// keeps io0.
void RegrowArea(double& area, double& ia, double& io, bool& abandoned, double area0, double areaInput, double io0,
                double bypassFloor)
{
    area = area / 0.95;
    if (area > areaInput) {
        area = areaInput;
        abandoned = false;
    }
    const double r = area / area0;
    io = io - (1 - 1 / r) * area * ia;
    if (std::fabs(io) < 0.001)
        io = 0;
    if (io < bypassFloor) {
        ia = ia / r;
        io = io0;
    }
}

} // namespace

void DetermineRotationKey(TRunContext& ctx)
{
    const TInputRecord& rec = ctx.Rec;
    TEngineState& st = ctx.St;
    PermanentFractions(rec.Ns, st);
    if (st.StepNr == 0) {
        st.KrInit = st.Kr;
        if (rec.Shell.AnnualMode != 0 && rec.Shell.YearNr > 1)
            st.KrInit = st.KrFirstYear;
    }
    // Farmers who may not change the rotation type keep the key found at the start.
    if (rec.Kf == 1 && rec.Krf == 0 && st.StepNr > 0)
        return;
    st.Kr = KeyForPermanentLand(st.Ac, st.Bc, st.Uc, st.KrInit, st.AreaAbandoned, rec.Krf == 1);
    if (rec.Shell.AnnualMode != 0 && rec.Shell.YearNr < 2)
        st.KrFirstYear = st.KrInit;
    if (!st.Warned.KrChangeWarned && st.Kr != st.KrInit) {
        ctx.Warn.RotationKeyChanged(st.KrInit, st.Kr);
        st.Warned.KrChangeWarned = true;
    }
}

void InitRootZoneSalinity(TRunContext& ctx, const TAnnualCarry* carried)
{
    const TInputRecord& rec = ctx.Rec;
    TEngineState& st = ctx.St;
    // A continuing series starts where the last year ended.
    const double ca0 = carried ? carried->CrA : rec.CA0;
    const double cb0 = carried ? carried->CrB : rec.CB0;
    const double cu0 = carried ? carried->CrU : rec.CU0;
    const double a1 = st.A[1], b1 = st.B[1], u1 = st.U[1];
    const int kr = st.Kr;
    InitialSalinities(st, ca0, cb0, cu0, a1, b1, u1);
    if (rec.Ky == 1 && st.YearsDone >= 2 && carried)
        MixGrownPermanentLand(st, *carried, ca0, cb0, cu0);
    if (kr > 4) {
        const double sum = a1 + b1 + u1;
        st.C0 = sum > 0 ? (a1 * st.CrA + b1 * st.CrB + u1 * st.CrU) / sum : 0;
    }
    if (st.StepNr == 0 && (kr == 0 || kr == 1) && u1 < 0.001)
        st.CrU = st.Ac >= st.Bc ? st.CrA : st.CrB;
}

void FarmersResponses(TRunContext& ctx, int s)
{
    TEngineState& st = ctx.St;
    double& a = st.A[s];
    double& b = st.B[s];
    double& io = st.Io[s];
    const double a0 = a, b0 = b, io0 = io;
    if (!st.AreaAbandoned)
        AlignRotatingCopies(st);

    if (a > 0.001 && st.Kr != 3 && (st.CrA > st.CAmax || st.Season.JsA < 0.8))
        ShrinkArea(a, st.IaA[s], io, st.AreaAbandoned, st.CrA, st.CAmax, st.Season.JsA, st.FsA[s], st.Season.EfA);
    if (b > 0.001 && st.Kr == 3 && (st.CrB > st.CBmax || st.Season.JsB < 0.8))
        ShrinkArea(b, st.IaB[s], io, st.AreaAbandoned, st.CrB, st.CBmax, st.Season.JsB, st.FsB[s], st.Season.EfB);
    if (!st.Warned.FarmersWarned) {
        if (a < a0 && b >= b0) {
            ctx.Warn.FarmersReducedA();
            st.Warned.FarmersWarned = true;
        } else if (a >= a0 && b < b0) {
            ctx.Warn.FarmersReducedB();
            st.Warned.FarmersWarned = true;
        }
    }

    // The bypass gives back water for regained A land down to 0.001, for B land down to 0.
    if (a > 0.001 && st.Kr != 3 && st.CrA < st.CAmax - 0.5 && st.Season.JsA > 0.9)
        RegrowArea(a, st.IaA[s], io, st.AreaAbandoned, a0, st.AInput[s], io0, 0.001);
    if (b > 0.001 && st.Kr == 3 && st.CrB < st.CBmax - 0.5 && st.Season.JsB > 0.9)
        RegrowArea(b, st.IaB[s], io, st.AreaAbandoned, b0, st.BInput[s], io0, 0.0);
    if (st.Kr == 1 && a - a0 > 0.001) // regrown land brings the salinity of the fallow land
        st.CrA = (a0 * st.CrA + (a - a0) * st.CrU) / a;
}

void YearEndRotationUpdate(TRunContext& ctx)
{
    TEngineState& st = ctx.St;
    st.AcPrev = st.Ac, st.BcPrev = st.Bc, st.UcPrev = st.Uc;
    DetermineRotationKey(ctx);
    st.dAc = st.Ac - st.AcPrev, st.dBc = st.Bc - st.BcPrev, st.dUc = st.Uc - st.UcPrev;
    // Each mixing takes the salinities the one before it left.
    switch (st.Kr) {
    case 1:
        if (st.dUc > 0)
            st.CrU = MixIn(st.UcPrev, st.CrU, st.dUc, st.CrA);
        if (st.dAc > 0)
            st.CrA = MixIn(st.AcPrev, st.CrA, st.dAc, st.CrU);
        break;
    case 2:
        if (st.dAc > 0)
            st.CrA = MixIn(st.AcPrev, st.CrA, st.dAc, st.CrB);
        if (st.dBc > 0)
            st.CrB = MixIn(st.BcPrev, st.CrB, st.dBc, st.CrA);
        break;
    case 3:
        if (st.dBc > 0)
            st.CrB = MixIn(st.BcPrev, st.CrB, st.dBc, st.CrA);
        if (st.dAc > 0)
            st.CrA = MixIn(st.AcPrev, st.CrA, st.dAc, st.CrB);
        break;
    default: break;
    }
}

void YearEndConversion(TRunContext& ctx)
{
    TEngineState& st = ctx.St;
    const int ns = ctx.Rec.Ns;
    const double a = st.A[ns], b = st.B[ns], u = st.U[ns];
    switch (st.Kr) {
    case 1:
        if (u < 0.999)
            st.CrA = ((1 - st.Uc) * st.CrA - (u - st.Uc) * st.CrU) / (a + b);
        st.CrB = st.CrA;
        break;
    case 2:
        if (a < 0.999)
            st.CrB = ((1 - st.Ac) * st.CrB - (a - st.Ac) * st.CrA) / (b + u);
        st.CrU = st.CrB;
        break;
    case 3:
        if (b < 0.999)
            st.CrA = ((1 - st.Bc) * st.CrA - (b - st.Bc) * st.CrB) / (a + u);
        st.CrU = st.CrA;
        break;
    case 4:
        st.CrB = st.CrA;
        st.CrU = st.CrA;
        break;
    default: break;
    }
}

} // namespace veltra
