#include "engine/Rotation.h"

#include <algorithm>
#include <cmath>

namespace veltra {
namespace {

bool IsRotatedKey(int kr)
{
    return kr == 5 || kr == 6 || kr == 7 || kr == 10;
}

} // namespace

void DetermineRotationKey(TRunContext& ctx)
{
    const TInputRecord& rec = ctx.Rec;
    TEngineState& st = ctx.St;
    const int ns = rec.Ns;
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
    if (st.StepNr == 0) {
        st.KrInit = st.Kr;
        if (rec.AnnualMode != 0 && rec.YearNr > 1)
            st.KrInit = st.KrFirstYear;
    }
    // Farmers who may not change the rotation type keep the key found at the start.
    if (rec.Kf == 1 && rec.Krf == 0 && st.StepNr > 0)
        return;

    const double sum = st.Ac + st.Bc + st.Uc;
    const int init = st.KrInit;
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
        if (sum > 0.999)
            kr = 0;
        if (sum < 1 - 1e-9)
            prefer(st.Uc, 1, st.Ac, 2, st.Bc, 3);
    } else if (init == 1) {
        prefer(st.Uc, 1, st.Ac, 2, st.Bc, 3);
    } else if (init == 2) {
        prefer(st.Ac, 2, st.Uc, 1, st.Bc, 3);
    } else if (init == 3) {
        prefer(st.Bc, 3, st.Uc, 1, st.Ac, 2);
    }
    if (st.AreaAbandoned && st.Uc > 0 && rec.Krf == 1)
        kr = 1;
    if (kr == 1 && init != 1 && st.Uc < 0.001) {
        st.AreaAbandoned = false;
        kr = init;
    }
    if (kr == 2 && init != 2 && st.Ac < 0.001)
        kr = init;
    if (kr == 3 && init != 3 && st.Bc < 0.001)
        kr = init;
    st.Kr = kr;
    if (rec.AnnualMode != 0 && rec.YearNr < 2)
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

    if (rec.Ky == 1 && st.YearsDone >= 2 && carried) {
        st.AcPrev = carried->Ac, st.BcPrev = carried->Bc, st.UcPrev = carried->Uc;
        st.dAc = st.Ac - st.AcPrev, st.dBc = st.Bc - st.BcPrev, st.dUc = st.Uc - st.UcPrev;
        const double dA = st.dAc, dB = st.dBc, dU = st.dUc;
        const double aP = st.AcPrev, bP = st.BcPrev, uP = st.UcPrev;
        switch (kr) {
        case 1:
            if (dU > 0)
                st.CrU = (uP * cu0 + dU * ca0) / (uP + dU);
            if (dA > 0)
                st.CrA = (aP * ca0 + dA * cu0) / (aP + dA);
            break;
        case 2:
            if (dA > 0)
                st.CrA = (aP * ca0 + dA * cb0) / (aP + dA);
            if (dB > 0)
                st.CrB = (bP * cb0 + dB * ca0) / (bP + dB);
            break;
        case 3:
            if (dB > 0)
                st.CrB = (bP * cb0 + dB * ca0) / (bP + dB);
            if (dA > 0)
                st.CrA = (aP * ca0 + dA * cb0) / (aP + dA);
            break;
        case 5:
            if (dB > 0)
                st.CrB = (bP * cb0 + dB * ca0 + dB * cu0) / (bP + 2 * dB);
            if (dA > 0)
                st.CrA = (aP * ca0 + dA * cb0 + dA * cu0) / (aP + 2 * dA);
            break;
        case 6:
            if (dA > 0)
                st.CrA = (aP * ca0 + dA * cb0 + dA * cu0) / (aP + 2 * dA);
            if (dU > 0)
                st.CrU = (uP * cu0 + dU * ca0 + dU * cb0) / (uP + 2 * dU);
            break;
        case 7:
            if (dB > 0)
                st.CrB = (bP * cb0 + dB * ca0 + dB * cu0) / (bP + 2 * dB);
            if (dU > 0)
                st.CrU = (uP * cu0 + dU * ca0 + dU * cb0) / (uP + 2 * dU);
            break;
        default: break;
        }
    }
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
    double& iaA = st.IaA[s];
    double& iaB = st.IaB[s];
    const double a0 = a, b0 = b, io0 = io;

    if (!st.AreaAbandoned) { // copies of the salinities of land that rotates as one
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

    // Shrinking: farmers give up land that is too salty or gets too little water.
    auto shrink = [&](double& area, double cr, double crMax, double js, double fs, double ef, double& ia) {
        double f = 0.95;
        if (cr > crMax)
            st.AreaAbandoned = true;
        if (cr >= 1.5 * crMax || js < 0.7)
            f = 0.9;
        area = f * area;
        if (area < 0.01)
            area = 0;
        if (0.8 * fs > ef && js >= 1.0)
            io = io + (1 / f - 1) * area * ia; // the water no longer needed leaves through the bypass
        else
            ia = ia / f; // the same water on the smaller area
    };
    if (a > 0.001 && st.Kr != 3 && (st.CrA > st.CAmax || st.Season.JsA < 0.8))
        shrink(a, st.CrA, st.CAmax, st.Season.JsA, st.FsA[s], st.Season.EfA, iaA);
    if (b > 0.001 && st.Kr == 3 && (st.CrB > st.CBmax || st.Season.JsB < 0.8))
        shrink(b, st.CrB, st.CBmax, st.Season.JsB, st.FsB[s], st.Season.EfB, iaB);

    if (!st.Warned.FarmersWarned) {
        if (a < a0 && b >= b0) {
            ctx.Warn.FarmersReducedA();
            st.Warned.FarmersWarned = true;
        } else if (a >= a0 && b < b0) {
            ctx.Warn.FarmersReducedB();
            st.Warned.FarmersWarned = true;
        }
    }

    // Regrowing land that has recovered. The water for the regained land comes back
    // from the bypass; when the bypass cannot give it, the field irrigation is spread
    // thinner instead (A land already below 0.001 of bypass, B land below 0).
    auto regrow = [&](double& area, double area0, double areaInput, double& ia, double bypassFloor) {
        area = area / 0.95;
        if (area > areaInput) {
            area = areaInput;
            st.AreaAbandoned = false;
        }
        const double r = area / area0;
        io = io - (1 - 1 / r) * area * ia;
        if (std::fabs(io) < 0.001)
            io = 0;
        if (io < bypassFloor) {
            ia = ia / r;
            io = io0;
        }
    };
    if (a > 0.001 && st.Kr != 3 && st.CrA < st.CAmax - 0.5 && st.Season.JsA > 0.9)
        regrow(a, a0, st.AInput[s], iaA, 0.001);
    if (b > 0.001 && st.Kr == 3 && st.CrB < st.CBmax - 0.5 && st.Season.JsB > 0.9)
        regrow(b, b0, st.BInput[s], iaB, 0.0);
    if (st.Kr == 1 && a - a0 > 0.001) // regrown land brings the salinity of the fallow land
        st.CrA = (a0 * st.CrA + (a - a0) * st.CrU) / a;
}

void YearEndRotationUpdate(TRunContext& ctx)
{
    TEngineState& st = ctx.St;
    st.AcPrev = st.Ac, st.BcPrev = st.Bc, st.UcPrev = st.Uc;
    DetermineRotationKey(ctx);
    st.dAc = st.Ac - st.AcPrev, st.dBc = st.Bc - st.BcPrev, st.dUc = st.Uc - st.UcPrev;
    switch (st.Kr) {
    case 1:
        if (st.dUc > 0)
            st.CrU = (st.UcPrev * st.CrU + st.dUc * st.CrA) / (st.UcPrev + st.dUc);
        if (st.dAc > 0)
            st.CrA = (st.AcPrev * st.CrA + st.dAc * st.CrU) / (st.AcPrev + st.dAc);
        break;
    case 2:
        if (st.dAc > 0)
            st.CrA = (st.AcPrev * st.CrA + st.dAc * st.CrB) / (st.AcPrev + st.dAc);
        if (st.dBc > 0)
            st.CrB = (st.BcPrev * st.CrB + st.dBc * st.CrA) / (st.BcPrev + st.dBc);
        break;
    case 3:
        if (st.dBc > 0)
            st.CrB = (st.BcPrev * st.CrB + st.dBc * st.CrA) / (st.BcPrev + st.dBc);
        if (st.dAc > 0)
            st.CrA = (st.AcPrev * st.CrA + st.dAc * st.CrB) / (st.AcPrev + st.dAc);
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
