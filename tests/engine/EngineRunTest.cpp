// Whole runs of the engine: conservation of water, one-shot warnings, progress,
// drains changed within a series, refusals and the stops the reference cases do not
// reach. (Runs side by side: the batch of every whole-run case, tests/runs.) The files
// of the reference cases (warnings, year-by-year series, the aquifer-bottom stop):
// the whole-run reference test.
#include <cmath>
#include <cstdlib>
#include <vector>

#include <gtest/gtest.h>

#include "engine/EngineTestSupport.h"
#include "model/ExampleInputs.h"
#include "model/TVeltraError.h"

namespace veltra {
namespace {

using test::CountOf;
using test::ReadFile;
using test::TScratch;

// Records progress texts with the step at which they came.
class TRecordingProgress final : public TRunProgress {
public:
    explicit TRecordingProgress(const TEngineState& st) : st_(st) {}
    void BusyReplaceText(const std::string& text) override { Texts.emplace_back(text, st_.StepNr); }
    void Pause(int ms) override { PausedMs += ms; }

    std::vector<std::pair<std::string, int>> Texts;
    int PausedMs = 0;

private:
    const TEngineState& st_;
};

// Checks every computed season as the run hands it out.
class TCheckingObserver final : public TRunObserver {
public:
    void SeasonDone(const TSeasonDone& done, const TInputRecord& rec, const TEngineState& st) override
    {
        if (done.StepNr == 0)
            return;
        rec_ = &rec;
        ++Seasons;
        // The water table stops where the change of stored water meets the net
        // recharge: within the iteration's tolerance, or passed during the last 1 mm
        // step. Where the recharge is smooth over that step, the two agree within the
        // tolerance plus one step (at most 1 mm of open water).
        const double gap = st.Iteration.NetRecharge - st.Iteration.StorageChange;
        const double gapBefore = st.Iteration.NetRechargeBefore - st.Iteration.StorageChangeBefore;
        if (!(std::fabs(gap) < 0.001 || (gap > 0) != (gapBefore > 0)))
            ++Unbalanced;
        if (std::fabs(st.Iteration.NetRecharge - st.Iteration.NetRechargeBefore) < 0.001)
            MaxImbalance = std::max(MaxImbalance, std::fabs(gap));
        // The stored water follows from the depths the water table passed through.
        const double expected = StorageBetween(st.Iteration.StartDw, st.Dw);
        MaxStorageError = std::max(MaxStorageError, std::fabs(expected - st.Iteration.StorageChange));
        RootZoneBalances(st);
        for (double v : {st.Season.LrA, st.Season.LrB, st.Season.LrU, st.Season.LrT, st.Season.RrA, st.Season.RrB,
                         st.Season.RrU, st.Season.RrT, st.Season.Ga, st.Season.Gb, st.Season.Gd})
            if (!(v >= 0))
                NegativeFlow = true;
        for (double v : {st.CrA, st.CrB, st.CrU, st.C0, st.Cxa, st.Cxb, st.Cxf, st.Cqf, st.Season.Ci, st.Season.Cd,
                         st.Season.Cw, st.Dw})
            if (!std::isfinite(v))
                NotFinite = true;
        for (double v : {st.CrA, st.CrB, st.CrU, st.Cxa, st.Cxb, st.Cxf, st.Cqf})
            if (v < 0)
                NegativeSalinity = true;
    }

    // The root zone of each land type present: what percolates less what rises equals
    // rain and irrigation (run-in on U land) less evapotranspiration and surface
    // drainage, within the 0.001 below which the record shows no flow. Left out: a
    // surface drainage the run corrected (the infiltration then uses the corrected
    // value) and a shortage under ponded water (met without capillary rise).
    void RootZoneBalances(const TEngineState& st)
    {
        const int s = st.SeasonNr;
        const TSeasonResults& r = st.Season;
        struct TLand {
            double Fraction, Lr, Rr, Supply, Ea, So, Sd;
        };
        const TLand lands[] = {
            {st.A[s], r.LrA, r.RrA, st.Pp[s] + st.IaA[s], r.EaA, st.SoA[s], r.SDA},
            {st.B[s], r.LrB, r.RrB, st.Pp[s] + st.IaB[s], r.EaB, st.SoB[s], r.SDB},
            {st.U[s], r.LrU, r.RrU, st.Pp[s] + st.SiU[s], r.EaU, st.SoU[s], r.SRO},
        };
        for (const TLand& l : lands) {
            const double percolation = l.Supply - l.Ea - l.So;
            if (l.Fraction <= 0.001 || l.Sd != l.So || (st.Dw < 0 && percolation < 0))
                continue;
            ++LandBalances;
            LandBalancesWithDrainage += l.So > 0.001;
            MaxLandImbalance = std::max(MaxLandImbalance, std::fabs(l.Lr - l.Rr - percolation));
        }
    }

    // Water gained (positive: the water table rose) between two depths, 1 mm at a time.
    double StorageBetween(double from, double to) const
    {
        const long steps = std::lround((from - to) / 0.001);
        double storage = 0, dw = from;
        const int dir = steps >= 0 ? 1 : -1;
        for (long i = 0; i < std::labs(steps); ++i) {
            dw = dw - 0.001 * dir;
            const double pe = dw <= 0                     ? 1.0
                              : dw <= rec_->Dr            ? rec_->Per
                              : dw <= rec_->Dr + rec_->Dx ? rec_->Pex
                                                          : rec_->Peq;
            storage = storage + 0.001 * dir * pe;
        }
        return storage;
    }

    int Seasons = 0;
    int Unbalanced = 0;
    int LandBalances = 0, LandBalancesWithDrainage = 0;
    double MaxLandImbalance = 0;
    double MaxImbalance = 0, MaxStorageError = 0;
    bool NegativeFlow = false, NotFinite = false, NegativeSalinity = false;

private:
    const TInputRecord* rec_ = nullptr;
};

std::vector<std::filesystem::path> ReferenceInputs()
{
    std::vector<std::filesystem::path> inputs;
    const std::filesystem::path ref = VELTRA_REFERENCE_DIR;
    if (!std::filesystem::exists(ref))
        return inputs;
    for (const auto& dir : std::filesystem::directory_iterator(ref)) {
        if (!dir.is_directory() || dir.path().filename().string().rfind("bad_", 0) == 0)
            continue;
        const std::filesystem::path inp = dir.path() / (dir.path().filename().string() + ".inp");
        if (std::filesystem::exists(inp))
            inputs.push_back(inp);
    }
    return inputs;
}

TEST(WholeRun, WaterBalanceClosesAndStaysPhysicalInEveryReferenceInput)
{
    const auto inputs = ReferenceInputs();
    ASSERT_GE(inputs.size(), 10u) << "reference inputs not found";
    int landBalances = 0, withDrainage = 0;
    for (const auto& inp : inputs) {
        SCOPED_TRACE(inp.string());
        TScratch scratch("balance");
        TInputRecord rec = test::ReadRecord(inp.string());
        rec.Ky = 0; // the whole series in one call
        TEngineState st;
        TAnnualCarry carry;
        test::PrepareNewRun(rec, st, scratch.Dir, "case.inp");
        TSilentProgress progress;
        TCheckingObserver check;
        test::RunWithFiles(rec, st, carry, scratch.Dir, progress, &check);
        EXPECT_GT(check.Seasons, 0);
        EXPECT_EQ(check.Unbalanced, 0);
        EXPECT_LE(check.MaxImbalance, 0.002 + 1e-9);
        EXPECT_LE(check.MaxStorageError, 1e-9);
        EXPECT_FALSE(check.NegativeFlow);
        EXPECT_FALSE(check.NotFinite);
        EXPECT_FALSE(check.NegativeSalinity);
        EXPECT_LE(check.MaxLandImbalance, 0.001);
        landBalances += check.LandBalances;
        withDrainage += check.LandBalancesWithDrainage;
    }
    EXPECT_GT(landBalances, 500);
    EXPECT_GT(withDrainage, 100); // where a sign of the surface drainage shows
}

TEST(WholeRun, ProgressTextsComeAtTheThirds)
{
    struct Case {
        int Ns, Ny, StillBusyStep, AlmostDoneStep;
    };
    for (const Case c : {Case{4, 3, 5, 9}, Case{1, 2, 1, 2}, Case{2, 10, 7, 14}}) {
        TScratch scratch("progress");
        TInputRecord rec = FieldExampleRecord();
        rec.Ny = static_cast<std::uint8_t>(c.Ny);
        rec.Ns = static_cast<std::uint8_t>(c.Ns);
        for (int s = 1; s <= 4; ++s) {
            rec.Ts[s] = 12.0 / c.Ns;
            rec.A[s] = 0.5, rec.B[s] = 0.3;
            rec.Pp[s] = 0.1, rec.EpA[s] = 0.8, rec.EpB[s] = 0.6, rec.EpU[s] = 0.4;
            rec.FsA[s] = rec.FsB[s] = 0.7, rec.FsU[s] = 0.8;
        }
        TEngineState st;
        TAnnualCarry carry;
        test::PrepareNewRun(rec, st, scratch.Dir, "p.inp");
        TRecordingProgress progress(st);
        test::RunWithFiles(rec, st, carry, scratch.Dir, progress);
        EXPECT_EQ(progress.Texts, (std::vector<std::pair<std::string, int>>{{" Still busy .....", c.StillBusyStep},
                                                                            {" Almost done ....", c.AlmostDoneStep}}));
        EXPECT_EQ(progress.PausedMs, 1000);
    }
}

TEST(WholeRun, ASecondRunInTheSameStateRepeatsTheFirst)
{
    TScratch scratch("again");
    TInputRecord first = FieldExampleRecord();
    first.SoA[1] = 0.6; // excessive surface drainage: corrected and reported every year
    TInputRecord rec = first;
    TEngineState st;
    TAnnualCarry carry;
    TSilentProgress progress;
    test::PrepareNewRun(rec, st, scratch.Dir, "field.inp");
    test::RunWithFiles(rec, st, carry, scratch.Dir, progress);
    const std::string res1 = ReadFile(scratch.Dir / "field.res");
    const std::string warn1 = ReadFile(scratch.Dir / "warning.lst");

    rec = first; // the user saves the same input again and runs it
    test::PrepareNewRun(rec, st, scratch.Dir, "field.inp");
    test::RunWithFiles(rec, st, carry, scratch.Dir, progress);
    EXPECT_EQ(res1, ReadFile(scratch.Dir / "field.res"));
    EXPECT_EQ(warn1, ReadFile(scratch.Dir / "warning.lst"));

    // The correction recurs every year but is reported once, for its season only.
    EXPECT_EQ(CountOf(warn1, "SDA"), 1);
    EXPECT_NE(warn1.find(" The excessive surface drainage SDA in year :  1, season : 1 is reduced.\r\n\r\n"),
              std::string::npos);
}

TEST(WholeRun, SameAreasEverySeasonKeepKeyZero)
{
    TScratch scratch("key0");
    TInputRecord rec = FieldExampleRecord();
    rec.Kr = 0;
    rec.A[2] = rec.A[1];
    rec.B[2] = rec.B[1];
    rec.A[1] = rec.A[2] = 0.57; // 0.57 + 0.2 + 0.23 must count as the whole area
    rec.B[1] = rec.B[2] = 0.2;
    TEngineState st;
    TAnnualCarry carry;
    TSilentProgress progress;
    test::PrepareNewRun(rec, st, scratch.Dir, "key0.inp");
    test::RunWithFiles(rec, st, carry, scratch.Dir, progress);
    EXPECT_EQ(st.Kr, 0);
    EXPECT_EQ(CountOf(ReadFile(scratch.Dir / "warning.lst"), "rotation key"), 0);
}

// Drains moved deeper or shallower, or removed, between two years of a series: the
// transition zone keeps its salt. The year after the change runs as if the salt had
// been mixed by hand over the new layers with the drains already in place: the layer
// that grows takes the salt of the part it gains, the other keeps its salinity;
// without drains the zone is one mix.
TEST(YearByYear, DrainsChangedBetweenYearsKeepTheSaltOfTheTransitionZone)
{
    struct TChange {
        const char* Name;
        std::uint8_t Kd;
        double Dd;
    };
    for (const TChange c : {TChange{"deeper", 1, 3.5}, TChange{"shallower", 1, 1.0}, TChange{"removed", 0, 1.5}}) {
        SCOPED_TRACE(c.Name);
        TScratch scratch("drains");
        TInputRecord rec = FieldExampleRecord();
        rec.Ky = 1, rec.Ny = 2;
        TEngineState st;
        TAnnualCarry carry;
        TSilentProgress progress;
        TRunObservers none;
        test::PrepareNewRun(rec, st, scratch.Dir, "drains.inp");
        RunSimulation(rec, st, carry, progress, none);
        const double dr = rec.Dr, dx = rec.Dx, d = carry.Dd;
        ASSERT_EQ(d, 1.5);
        ASSERT_GT(std::fabs(carry.Cxa - carry.Cxb), 0.5); // layers that differ
        const double salt = (d - dr) * carry.Cxa + (dr + dx - d) * carry.Cxb;
        EXPECT_NEAR(carry.Cxf, salt / dx, 1e-12);

        rec.Shell.YearNr = 2;
        rec.Kd = c.Kd, rec.Dd = c.Dd;
        TAnnualCarry byHand = carry;
        byHand.Kd = c.Kd, byHand.Dd = c.Dd;
        if (c.Kd == 0)
            byHand.Cxa = byHand.Cxb = byHand.Cxf = salt / dx;
        else if (c.Dd > d)
            byHand.Cxa = (salt - (dr + dx - c.Dd) * carry.Cxb) / (c.Dd - dr);
        else
            byHand.Cxb = (salt - (c.Dd - dr) * carry.Cxa) / (dr + dx - c.Dd);
        const auto yearTwo = [&](TAnnualCarry from) {
            TInputRecord r = rec;
            TEngineState s = st;
            RunSimulation(r, s, from, progress, none);
            return std::vector<double>{s.Cxa, s.Cxb, s.Cxf, s.Cqf, s.CrA, s.CrB, s.Dw};
        };
        const std::vector<double> moved = yearTwo(carry), expected = yearTwo(byHand);
        for (std::size_t i = 0; i < expected.size(); ++i)
            EXPECT_NEAR(moved[i], expected[i], 1e-9) << i;
    }
}

TEST(Refusal, RecordsThatBypassedTheCheckAreRefusedBeforeAnyFile)
{
    auto refused = [](auto change) {
        TScratch scratch("refuse");
        TInputRecord rec = FieldExampleRecord();
        change(rec);
        TEngineState st;
        TAnnualCarry carry;
        TSilentProgress progress;
        test::PrepareNewRun(rec, st, scratch.Dir, "bad.inp");
        EXPECT_FALSE(EngineRefusal(rec).empty());
        EXPECT_THROW(test::RunWithFiles(rec, st, carry, scratch.Dir, progress), TVeltraError);
        EXPECT_TRUE(std::filesystem::is_empty(scratch.Dir));
    };
    refused([](TInputRecord& r) { r.Per = 0; });
    refused([](TInputRecord& r) { r.Ptx = 0; });
    refused([](TInputRecord& r) { r.Dd = r.Dr; });
    refused([](TInputRecord& r) { r.Ns = 5; });
    refused([](TInputRecord& r) { r.Ns = 0; });
    EXPECT_TRUE(EngineRefusal(FieldExampleRecord()).empty());
}

TEST(IterationBound, AnIterationThatDoesNotConvergeStopsTheRun)
{
    TScratch scratch("bound");
    TInputRecord rec = FieldExampleRecord();
    TEngineState st;
    TAnnualCarry carry;
    TSilentProgress progress;
    test::PrepareNewRun(rec, st, scratch.Dir, "bound.inp");
    // The field example moves its water table by more than 3 mm in its first year.
    st.WaterTableStepLimit = 3;
    test::RunWithFiles(rec, st, carry, scratch.Dir, progress);
    EXPECT_TRUE(st.WaterTableStop);
    EXPECT_FALSE(std::filesystem::exists(scratch.Dir / "bound.trf"));
    const std::string warn = ReadFile(scratch.Dir / "warning.lst");
    const std::size_t at = warn.find("\r\n The water table iteration did not converge in year:");
    ASSERT_NE(at, std::string::npos) << warn;
    EXPECT_NE(warn.find(" Calculations are interrupted. Please revise the input data.\r\n\r\n", at), std::string::npos);
    // The seasons before the stop are in the result file; the stopped one is not.
    const std::string res = ReadFile(scratch.Dir / "bound.res");
    const int year = std::atoi(warn.c_str() + warn.find("year:", at) + 5);
    const int season = std::atoi(warn.c_str() + warn.find("season:", at) + 7);
    const int records = CountOf(res, "  **********");
    EXPECT_EQ(records, rec.Ns * year + season - 1);

    EXPECT_EQ(st.StopCause, TStopCause::IterationBound);

    // With the usual bound the same input runs to its end.
    TScratch whole("unbound");
    TInputRecord again = FieldExampleRecord();
    TEngineState st2;
    test::PrepareNewRun(again, st2, whole.Dir, "bound.inp");
    test::RunWithFiles(again, st2, carry, whole.Dir, progress);
    EXPECT_FALSE(st2.WaterTableStop);
    EXPECT_TRUE(std::filesystem::exists(whole.Dir / "bound.trf"));
}

// A season whose numbers are not finite is not written: the run stops before it.
TEST(ValueOutOfRange, StopsBeforeTheSeasonThatWouldHoldIt)
{
    TScratch scratch("range");
    TInputRecord rec = FieldExampleRecord();
    rec.Cic = 1e308; // passes the check; the salt of one season's irrigation overflows
    TEngineState st;
    TAnnualCarry carry;
    TSilentProgress progress;
    test::PrepareNewRun(rec, st, scratch.Dir, "range.inp");
    test::RunWithFiles(rec, st, carry, scratch.Dir, progress);
    EXPECT_TRUE(st.WaterTableStop);
    EXPECT_EQ(st.StopCause, TStopCause::OutOfRange);
    EXPECT_FALSE(std::filesystem::exists(scratch.Dir / "range.trf"));
    const std::string warn = ReadFile(scratch.Dir / "warning.lst");
    EXPECT_NE(warn.find("\r\n\r\n The calculations gave a value out of range in year:  1, season: 2\r\n"
                        " Calculations are interrupted. Please revise the input data.\r\n\r\n"),
              std::string::npos)
        << warn;
    const std::string res = ReadFile(scratch.Dir / "range.res");
    EXPECT_EQ(CountOf(res, "  **********"), 3); // year 0 and the first season of year 1
    for (const char* bad : {"INF", "NAN", "inf", "nan"})
        EXPECT_EQ(res.find(bad), std::string::npos) << bad;
}

} // namespace
} // namespace veltra
