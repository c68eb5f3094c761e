#include "engine/UCalculate.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "engine/FinishSeason.h"
#include "engine/Rotation.h"
#include "engine/SaltBalance.h"
#include "engine/TRunContext.h"
#include "engine/TWarningList.h"
#include "engine/WaterBalance.h"
#include "model/TVeltraError.h"
#include "results/PathWithExtension.h"

namespace veltra {
namespace {

// The re-used drainage and well water a season adds to the field irrigation of A
// and B land.
struct TIrrigationAdded {
    double A, B;
};

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
    if (rec.Shell.YearNr == 1)
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

// Drains installed, removed or moved between the years: the transition-zone
// salinities are re-mixed over the new layers; the record keeps the edited drains.
void RemixTransitionZoneForNewDrains(const TInputRecord& rec, TEngineState& st, const TAnnualCarry& carry)
{
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
}

// The year-by-year restore. Returns whether the carry record was restored: the
// first year of a series starts from the input.
bool RestoreAnnualCarry(TInputRecord& rec, TEngineState& st, const TAnnualCarry& carry)
{
    st.RunYears = 1;
    rec.Kf = 0; // no farmers' responses in the year-by-year procedure
    if (rec.Shell.RunStage == 1) {
        rec.Shell.RunStage = 0;
        return false;
    }
    rec.Shell.RunStage = carry.RunStage;
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
    RemixTransitionZoneForNewDrains(rec, st, carry);
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
    carry.RunStage = rec.Shell.RunStage;
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
void StoreIrrigationChanges(TInputRecord& rec, TEngineState& st, int s, TIrrigationAdded added)
{
    st.IaAInput[s] = std::max(0.0, st.IaA[s] - added.A);
    st.IaBInput[s] = std::max(0.0, st.IaB[s] - added.B);
    rec.IaA[s] = st.IaAInput[s] < 0.001 ? 0 : st.IaAInput[s];
    rec.IaB[s] = st.IaBInput[s] < 0.001 ? 0 : st.IaBInput[s];
}

// The files are named after the input file, or after the first input file of a
// year-by-year series, so that every year of a series extends the same files.
void StartRun(TInputRecord& rec, TEngineState& st, TRunObserver& out)
{
    TRunStart start;
    start.BasePath = rec.Ky == 1 && !st.RunFirstFileName.empty() ? st.RunFirstFileName : rec.Shell.FileName;
    start.ContinuesSeries = rec.Ky == 1 && st.YearsDone > 0;
    start.Header = st.YearsDone == 0;
    start.WarningHeading = !st.Warned.WarningHeaderWritten;
    st.Warned.WarningHeaderWritten = true;
    rec.Shell.FileName = PathWithExtension(start.BasePath, ".frq");
    out.RunStarted(start, rec, st);
}

void MarkStop(TEngineState& st, TStopCause cause)
{
    st.WaterTableStop = true;
    st.StopCause = cause;
}

// Hands the finished season to the observers. A season whose record would hold a
// number that is not finite is not handed out: the run stops before it.
bool HandOutSeason(TRunContext& ctx, TRunObserver& out)
{
    const TSeasonDone done = FinishSeason(ctx.Rec, ctx.St);
    if (!SeasonValuesFinite(ctx.St, done)) {
        ctx.Warn.ValueOutOfRange(done.Year, done.Season);
        MarkStop(ctx.St, TStopCause::OutOfRange);
        return false;
    }
    out.SeasonDone(done, ctx.Rec, ctx.St);
    return true;
}

// B: the year-0 block, the initial state of every season, with the results of no
// season at all. False when the run stops.
bool HandOutInitialBlock(TRunContext& ctx, TRunObserver& out)
{
    ctx.St.Season = {};
    ctx.St.Cpond = 0;
    for (int s = 1; s <= ctx.Rec.Ns; ++s) {
        ctx.St.SeasonNr = s;
        if (!HandOutSeason(ctx, out))
            return false;
    }
    return true;
}

int SeasonSteps(int ns, int years)
{
    const long long total = static_cast<long long>(ns) * years;
    if (total > INT_MAX)
        throw TVeltraError(TErrorKind::Internal, "too many seasons in one run");
    return static_cast<int>(total);
}

// The busy box tells when a third and when two thirds of the steps are done.
void ShowProgress(TProgressShown& shown, TRunProgress& progress, int k, int steps)
{
    if (!shown.StillBusyShown && k > steps / 3) {
        progress.BusyReplaceText(" Still busy .....");
        progress.Pause(500);
        shown.StillBusyShown = true;
    }
    if (!shown.AlmostDoneShown && k > (2 * steps) / 3) {
        progress.BusyReplaceText(" Almost done ....");
        progress.Pause(500);
        shown.AlmostDoneShown = true;
    }
}

// The season's bypass, pumping per irrigated area, field irrigation with
// the re-used drainage and well water, and canal seepage; salty fallow land
// evaporates less. Returns what the re-use and the wells add to the irrigation.
TIrrigationAdded PrepareSeasonWater(TInputRecord& rec, TEngineState& st, int s)
{
    st.Io[s] = rec.Io[s];
    st.Gw[s] = st.A[s] + st.B[s] > 0 ? st.GwInput[s] / (st.A[s] + st.B[s]) : 0;
    const TIrrigationAdded added{st.DAu[s] + st.FAw[s] * st.Gw[s], st.DBu[s] + st.FBw[s] * st.Gw[s]};
    st.IaA[s] = st.IaAInput[s] + st.DAu[s] + st.FAw[s] * st.Gw[s];
    st.IaB[s] = st.IaBInput[s] + st.DBu[s] + st.FBw[s] * st.Gw[s];
    if (st.A[s] == 0)
        st.IaA[s] = 0;
    if (st.B[s] == 0)
        st.IaB[s] = 0;
    st.Lc[s] = rec.Lc[s];
    st.DwPrev = st.Dw;
    st.EpUStart[s] = rec.EpU[s];
    if (st.CrU > 16)
        rec.EpU[s] = 4 * st.EpUStart[s] / std::sqrt(st.CrU);
    return added;
}

// The water balance, the salt balance from the salinities of the
// season's start, and the efficiencies. False when the water-table iteration did
// not meet its balance (the run stops).
bool SeasonBalances(TRunContext& ctx, int s)
{
    TEngineState& st = ctx.St;
    if (!WaterBalance(ctx, s)) {
        ctx.Warn.IterationDidNotConverge(ctx.Year(), s);
        MarkStop(st, TStopCause::IterationBound);
        return false;
    }
    st.CrAStart = st.CrA;
    st.CrBStart = st.CrB;
    st.CrUStart = st.CrU;
    st.C0Start = st.C0;
    SaltBalance(ctx, s);
    Efficiencies(ctx, s);
    return true;
}

// At the end of a year a water table below the bottom of the aquifer stops a
// run of all years; year by year the run goes on and the window offers no next
// year. False when the run stops.
bool AquiferCheck(TRunContext& ctx)
{
    const TInputRecord& rec = ctx.Rec;
    if (!(rec.Dr + rec.Dx + rec.Dq < ctx.St.Dw))
        return true;
    MarkStop(ctx.St, TStopCause::AquiferBottom);
    if (rec.Shell.AnnualMode != 0)
        return true;
    ctx.Warn.AquiferBottom(ctx.Year());
    return false;
}

// The farmers' responses, less irrigation under a shallow water table
// and less pumping under a deep one. The record keeps the changed irrigation for
// the input editor and the same season of the next year.
void RespondToSeason(TRunContext& ctx, int s, TIrrigationAdded added)
{
    TInputRecord& rec = ctx.Rec;
    TEngineState& st = ctx.St;
    if (rec.Kf == 1) {
        FarmersResponses(ctx, s);
        StoreIrrigationChanges(rec, st, s, added);
        rec.Io[s] = st.Io[s] < 0.001 ? 0 : st.Io[s];
    }
    if (st.Dw < 0.35) {
        ReduceIrrigationAtShallowWaterTable(ctx, s);
        StoreIrrigationChanges(rec, st, s, added);
        rec.Io[s] = st.Io[s];
        if (!st.Warned.RootZoneWarned && rec.IaA[s] > 0 && rec.IaB[s] > 0) {
            ctx.Warn.RootZoneIrrigationReduced();
            st.Warned.RootZoneWarned = true;
        }
    }
    if (st.Gw[s] > 0.1 && st.Dw0 < 5.0 && st.Dw > 10.0) {
        st.GwInput[s] = 0.9 * st.GwInput[s];
        st.Gw[s] = 0.9 * st.Gw[s];
        if (!st.Warned.WellsWarned) {
            ctx.Warn.PumpingReduced();
            st.Warned.WellsWarned = true;
        }
    }
}

// Where one call of the driver leaves what it computes besides the state: the
// year-end carry of a series, the progress texts and the observers.
struct TRunOutput {
    TAnnualCarry& Carry;
    TRunProgress& Progress;
    TRunObserver& Out;
};

// C: season step k of `steps`. False when the run stops.
bool RunSeasonStep(TRunContext& ctx, TRunOutput& run, int k, int steps)
{
    TInputRecord& rec = ctx.Rec;
    TEngineState& st = ctx.St;
    const int ns = rec.Ns;
    const int s = (k - 1) % ns + 1;
    st.StepNr = k;
    st.SeasonNr = s;
    if (s == 1) // whatever Kf: the areas may have changed in the year before
        DetermineRotationKey(ctx);
    ShowProgress(st.Progress, run.Progress, k, steps);
    const TIrrigationAdded added = PrepareSeasonWater(rec, st, s);
    if (!SeasonBalances(ctx, s) || !HandOutSeason(ctx, run.Out))
        return false;
    if (rec.Ky == 1 && s == ns) { // E2 to E4
        YearEndConversion(ctx);
        SaveAnnualCarry(rec, st, run.Carry);
    }
    if (s == ns && !AquiferCheck(ctx))
        return false;
    RespondToSeason(ctx, s, added);
    if (rec.Kf == 1 && rec.Krf == 1 && s == ns)
        YearEndRotationUpdate(ctx);
    st.DwPrev = st.Dw;
    if (s == ns)
        run.Out.YearDone(ctx.Year(), rec, st);
    return true;
}

// D: a whole run, or the last year of a series, leaves the run marker.
void EndRun(TInputRecord& rec, const TEngineState& st, bool completed, TRunObserver& out)
{
    TRunEnd end;
    end.Completed = completed;
    if (completed && (rec.Ky != 1 || rec.Shell.RunStage == 2)) {
        rec.Shell.RunStage = 2;
        rec.Shell.FileName = PathWithExtension(rec.Shell.FileName, ".trf");
        end.MarkerDue = true;
        end.MarkerPath = rec.Shell.FileName;
    }
    out.RunEnded(end, rec, st);
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
    StartRun(rec, st, out);
    TWarningList warn(out);
    TRunContext ctx{rec, st, warn};
    const bool restored = rec.Ky == 1 && RestoreAnnualCarry(rec, st, carry);
    DetermineRotationKey(ctx);
    InitRootZoneSalinity(ctx, restored ? &carry : nullptr);

    // The year-0 block only at the start of a series.
    bool going = st.YearsDone != 0 || HandOutInitialBlock(ctx, out);
    const int steps = SeasonSteps(rec.Ns, st.RunYears);
    TRunOutput run{carry, progress, out};
    for (int k = 1; k <= steps && going; ++k)
        going = RunSeasonStep(ctx, run, k, steps);
    EndRun(rec, st, going, out);
}

} // namespace veltra
