#include "engine/UCalculate.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "engine/Rotation.h"
#include "engine/SaltBalance.h"
#include "engine/SeasonRecord.h"
#include "engine/TRunContext.h"
#include "engine/Warnings.h"
#include "engine/WaterBalance.h"
#include "model/TVeltraError.h"
#include "results/OutputFile.h"

namespace veltra {
namespace {

// What every call starts from.
void ResetRunState(TInputRecord& rec, TEngineState& st)
{
    st.AreaAbandoned = false;
    st.StopCause = TStopCause::None;
    st.Progress = {};
    st.Dw0 = rec.Dw0;
    st.DwPrev = rec.Dw0;
    st.StepNr = 0;
    st.Zs = 0;
    if (rec.YearNr == 1)
        st.CpondPrev = rec.Cic;
    st.RunYears = rec.Ny;
    for (int s = 1; s <= rec.Ns; ++s) {
        st.AInput[s] = rec.A[s];
        st.BInput[s] = rec.B[s];
        st.IaAInput[s] = rec.IaA[s];
        st.IaBInput[s] = rec.IaB[s];
        st.GwInput[s] = rec.Gw[s];
        if (rec.Kp == 0) {
            rec.Gw[s] = 0;
            st.GwInput[s] = 0;
        }
    }
}

// The record's inputs into the engine state.
void LoadRunInputs(const TInputRecord& rec, TEngineState& st)
{
    st.CAmax = rec.CAmax;
    st.CBmax = rec.CBmax;
    st.Dc = rec.Dc;
    st.Dw = rec.Dw0;
    st.Kr = rec.Kr;
    st.Cqf = rec.Cq0;
    st.Cxb = rec.CxB0;
    st.Cxf = rec.Cx0;
    st.Cxa = rec.CxA0;
    st.Cic = rec.Cic;
    st.Ch = rec.Ch;
    st.Cp = rec.Cp;
    for (int s = 1; s <= rec.Ns; ++s) {
        st.A[s] = rec.A[s];
        st.B[s] = rec.B[s];
        st.AInput[s] = rec.A[s];
        st.BInput[s] = rec.B[s];
        st.Io[s] = rec.Io[s];
        st.Ts[s] = rec.Ts[s];
        st.DAu[s] = rec.DAu[s];
        st.DBu[s] = rec.DBu[s];
        st.FAw[s] = rec.FAw[s];
        st.FBw[s] = rec.FBw[s];
        st.Gi[s] = rec.Gi[s];
        st.Go[s] = rec.Go[s];
        st.IaA[s] = rec.IaA[s];
        st.IaB[s] = rec.IaB[s];
        st.Pp[s] = rec.Pp[s];
        st.Lc[s] = rec.Lc[s];
        st.SoA[s] = rec.SoA[s];
        st.SoB[s] = rec.SoB[s];
        st.SiU[s] = rec.SiU[s];
        st.SoU[s] = rec.SoU[s];
        st.FsA[s] = rec.FsA[s];
        st.FsB[s] = rec.FsB[s];
        st.FsU[s] = rec.FsU[s];
        st.Gw[s] = rec.Gw[s];
        st.Frd[s] = rec.Frd[s];
        st.U[s] = 0;
    }
    st.Warned = {};
    st.AreaAbandoned = false;
}

// The year-by-year restore. Returns whether the carry record was restored: the
// first year of a series starts from the input.
bool RestoreAnnualCarry(TInputRecord& rec, TEngineState& st, const TAnnualCarry& carry)
{
    st.RunYears = 1;
    rec.Kf = 0; // no farmers' responses in the year-by-year procedure
    if (rec.RunStage == 1) {
        rec.RunStage = 0;
        return false;
    }
    rec.RunStage = carry.RunStage;
    st.Dw = carry.Dw;
    st.CrA = carry.CrA;
    st.CrB = carry.CrB;
    st.CrU = carry.CrU;
    st.Cxa = carry.Cxa;
    st.Cxb = carry.Cxb;
    st.Cxf = carry.Cxf;
    st.Cqf = carry.Cqf;
    st.Zs = carry.Zs;
    st.Ac = carry.Ac;
    st.Bc = carry.Bc;
    st.Uc = carry.Uc;
    st.YearsDone = carry.YearsDone;
    rec.Ky = carry.Ky;

    // Drains installed, removed or moved between the years: the transition-zone
    // salinities are re-mixed over the new layers; the record keeps the edited drains.
    const double dr = rec.Dr, dx = rec.Dx, d = carry.Dd;
    if (carry.Kd == 0 && rec.Kd == 1) {
        st.Cxa = st.Cxf;
        st.Cxb = st.Cxf;
    } else if (carry.Kd == 1 && rec.Kd == 0) {
        st.Cxf = ((d - dr) * st.Cxa + (dr + dx - d) * st.Cxb) / dx;
        st.Cxa = st.Cxf;
        st.Cxb = st.Cxf;
    } else if (carry.Kd == 1 && rec.Kd == 1) {
        if (rec.Dd > d)
            st.Cxa = ((d - dr) * st.Cxa + (rec.Dd - d) * st.Cxb) / (rec.Dd - dr);
        else if (rec.Dd < d)
            st.Cxb = ((dr + dx - d) * st.Cxb + (d - rec.Dd) * st.Cxa) / (dr + dx - rec.Dd);
    }
    return true;
}

// The transition zone at the end of a year of a series, then the carry record.
void SaveAnnualCarry(TInputRecord& rec, TEngineState& st, TAnnualCarry& carry)
{
    if (rec.Kd == 1 && rec.Dx > 0.001)
        st.Cxf = ((rec.Dd - rec.Dr) * st.Cxa + (rec.Dx + rec.Dr - rec.Dd) * st.Cxb) / rec.Dx;
    if (rec.Kd == 0) {
        st.Cxa = st.Cxf;
        st.Cxb = st.Cxf;
        rec.Dd = rec.Dr;
    }
    if (st.YearsDone > 255)
        throw TVeltraError(TErrorKind::Internal, "more than 255 years in one year-by-year series");
    carry.RunStage = rec.RunStage;
    carry.Dw = st.Dw;
    carry.CrA = st.CrA;
    carry.CrB = st.CrB;
    carry.CrU = st.CrU;
    carry.Cxa = st.Cxa;
    carry.Cxb = st.Cxb;
    carry.Cxf = st.Cxf;
    carry.Cqf = st.Cqf;
    carry.Zs = st.Zs;
    carry.Ac = st.Ac;
    carry.Bc = st.Bc;
    carry.Uc = st.Uc;
    carry.Dd = rec.Dd;
    carry.Kd = rec.Kd;
    carry.Ky = rec.Ky;
    carry.YearsDone = static_cast<std::uint8_t>(st.YearsDone);
}

// What the farmers' responses and the shallow-water-table reduction leave as the
// season's surface irrigation: the engine's irrigation less the re-used drainage
// and well water added at the start of the season, so that they are not counted
// twice next year.
void StoreIrrigationChanges(TInputRecord& rec, TEngineState& st, int s, double addA, double addB)
{
    st.IaAInput[s] = std::max(0.0, st.IaA[s] - addA);
    st.IaBInput[s] = std::max(0.0, st.IaB[s] - addB);
    rec.IaA[s] = st.IaAInput[s] < 0.001 ? 0 : st.IaAInput[s];
    rec.IaB[s] = st.IaBInput[s] < 0.001 ? 0 : st.IaBInput[s];
}

} // namespace

void ClearOneShotFlags(TEngineState& st)
{
    st.Warned = {};
}

std::string EngineRefusal(const TInputRecord& rec)
{
    if (rec.Ns < 1 || rec.Ns > 4)
        return "The number of seasons Ns must be 1, 2, 3 or 4.";
    if (rec.Ny < 1)
        return "The number of years Ny must be at least 1.";
    if (!(rec.Dr > 0) || !(rec.Dx > 0) || !(rec.Dq > 0))
        return "The thicknesses of the soil layers Dr, Dx and Dq must be greater than 0.";
    if (!(rec.Ptr > 0) || !(rec.Ptx > 0) || !(rec.Ptq > 0))
        return "The pore spaces Ptr, Ptx and Ptq must be greater than 0.";
    if (!(rec.Per > 0) || !(rec.Pex > 0) || !(rec.Peq > 0))
        return "The drainable porosities Per, Pex and Peq must be greater than 0.";
    if (rec.Kd == 1 && !(rec.Dd > rec.Dr && rec.Dd < rec.Dr + rec.Dx))
        return "The drains must lie inside the transition zone: Dr < Dd < Dr+Dx.";
    for (int s = 1; s <= rec.Ns; ++s)
        if (!std::isfinite(rec.Ts[s]) || !std::isfinite(rec.A[s]) || !std::isfinite(rec.B[s]))
            return "The seasonal data must be finite numbers.";
    return {};
}

void RunSimulation(TInputRecord& rec, TEngineState& st, TAnnualCarry& carry, TRunProgress& progress, TRunObserver& out)
{
    const std::string refusal = EngineRefusal(rec);
    if (!refusal.empty())
        throw TVeltraError(TErrorKind::Input, refusal);

    ResetRunState(rec, st);
    LoadRunInputs(rec, st);

    // The files are named after the input file, or after the first input file of a
    // year-by-year series, so that every year of a series extends the same files.
    TRunStart start;
    start.BasePath = rec.Ky == 1 && !st.RunFirstFileName.empty() ? st.RunFirstFileName : rec.FileName;
    start.ContinuesSeries = rec.Ky == 1 && st.YearsDone > 0;
    start.Header = st.YearsDone == 0;
    start.WarningHeading = !st.Warned.WarningHeaderWritten;
    st.Warned.WarningHeaderWritten = true;
    rec.FileName = PathWithExtension(start.BasePath, ".frq");
    out.RunStarted(start, rec, st);
    TWarningList warn(out);
    TRunContext ctx{rec, st, warn};

    bool restored = false;
    if (rec.Ky == 1)
        restored = RestoreAnnualCarry(rec, st, carry);
    DetermineRotationKey(ctx);
    InitRootZoneSalinity(ctx, restored ? &carry : nullptr);

    // A season whose record would hold a number that is not finite is not handed
    // out: the run stops before it.
    bool stopped = false;
    auto handOut = [&]() {
        const TSeasonDone done = FinishSeason(rec, st);
        if (!SeasonValuesFinite(st, done)) {
            warn.ValueOutOfRange(done.Year, done.Season);
            st.WaterTableStop = true;
            st.StopCause = TStopCause::OutOfRange;
            stopped = true;
            return false;
        }
        out.SeasonDone(done, rec, st);
        return true;
    };

    const int ns = rec.Ns;
    if (st.YearsDone == 0) {
        // The year-0 block shows the results of no season at all.
        st.Season = {};
        st.Cpond = 0;
        for (int s = 1; s <= ns && !stopped; ++s) {
            st.SeasonNr = s;
            handOut();
        }
    }

    const long long total = static_cast<long long>(ns) * st.RunYears;
    if (total > INT_MAX)
        throw TVeltraError(TErrorKind::Internal, "too many seasons in one run");
    const int steps = static_cast<int>(total);
    for (int k = 1; k <= steps && !stopped; ++k) {
        st.StepNr = k;
        const int s = (k - 1) % ns + 1;
        st.SeasonNr = s;
        rec.EpUStart[s] = rec.EpU[s];
        if (s == 1)
            DetermineRotationKey(ctx);

        if (!st.Progress.StillBusyShown && k > steps / 3) {
            progress.BusyReplaceText(" Still busy .....");
            progress.Pause(500);
            st.Progress.StillBusyShown = true;
        }
        if (!st.Progress.AlmostDoneShown && k > (2 * steps) / 3) {
            progress.BusyReplaceText(" Almost done ....");
            progress.Pause(500);
            st.Progress.AlmostDoneShown = true;
        }

        st.Io[s] = rec.Io[s];
        st.Gw[s] = st.A[s] + st.B[s] > 0 ? st.GwInput[s] / (st.A[s] + st.B[s]) : 0;
        const double addA = st.DAu[s] + st.FAw[s] * st.Gw[s];
        const double addB = st.DBu[s] + st.FBw[s] * st.Gw[s];
        st.IaA[s] = st.IaAInput[s] + st.DAu[s] + st.FAw[s] * st.Gw[s];
        st.IaB[s] = st.IaBInput[s] + st.DBu[s] + st.FBw[s] * st.Gw[s];
        if (st.A[s] == 0)
            st.IaA[s] = 0;
        if (st.B[s] == 0)
            st.IaB[s] = 0;
        st.Lc[s] = rec.Lc[s];
        st.DwPrev = st.Dw;
        if (st.CrU > 16) // saline fallow land evaporates less
            rec.EpU[s] = 4 * rec.EpUStart[s] / std::sqrt(st.CrU);

        if (!WaterBalance(ctx, s)) {
            warn.IterationDidNotConverge(ctx.Year(), s);
            st.WaterTableStop = true;
            st.StopCause = TStopCause::IterationBound;
            stopped = true;
            break;
        }
        st.CrAStart = st.CrA;
        st.CrBStart = st.CrB;
        st.CrUStart = st.CrU;
        st.C0Start = st.C0;
        SaltBalance(ctx, s);
        Efficiencies(ctx, s);
        if (!handOut())
            break;
        if (rec.Ky == 1 && s == ns && st.StepNr > 0) {
            YearEndConversion(ctx);
            SaveAnnualCarry(rec, st, carry);
        }

        if (s == ns && rec.Dr + rec.Dx + rec.Dq < st.Dw) {
            st.WaterTableStop = true;
            st.StopCause = TStopCause::AquiferBottom;
            if (rec.AnnualMode == 0) {
                warn.AquiferBottom(ctx.Year());
                stopped = true;
                break;
            }
        }
        if (rec.Kf == 1) {
            FarmersResponses(ctx, s);
            StoreIrrigationChanges(rec, st, s, addA, addB);
            rec.Io[s] = st.Io[s] < 0.001 ? 0 : st.Io[s];
        }
        if (st.Dw < 0.35) {
            ReduceIrrigationAtShallowWaterTable(ctx, s);
            StoreIrrigationChanges(rec, st, s, addA, addB);
            rec.Io[s] = st.Io[s];
            if (!st.Warned.RootZoneWarned && rec.IaA[s] > 0 && rec.IaB[s] > 0) {
                warn.RootZoneIrrigationReduced();
                st.Warned.RootZoneWarned = true;
            }
        }
        if (st.Gw[s] > 0.1 && st.Dw0 < 5.0 && st.Dw > 10.0) {
            st.GwInput[s] = 0.9 * st.GwInput[s];
            st.Gw[s] = 0.9 * st.Gw[s];
            if (!st.Warned.WellsWarned) {
                warn.PumpingReduced();
                st.Warned.WellsWarned = true;
            }
        }
        if (rec.Kf == 1 && rec.Krf == 1 && s == ns)
            YearEndRotationUpdate(ctx);
        st.DwPrev = st.Dw;
        if (s == ns)
            out.YearDone(ctx.Year(), rec, st);
    }

    // A whole run, or the last year of a series, leaves the run marker.
    TRunEnd end;
    end.Completed = !stopped;
    if (!stopped && (rec.Ky != 1 || rec.RunStage == 2)) {
        rec.RunStage = 2;
        rec.FileName = PathWithExtension(rec.FileName, ".trf");
        end.MarkerDue = true;
        end.MarkerPath = rec.FileName;
    }
    out.RunEnded(end, rec, st);
}

} // namespace veltra
