// Whole runs of the engine: conservation of water, one-shot warnings, progress,
// drains changed within a series, refusals, damaged inputs, and the stops the
// reference cases do not reach. (Runs side by side: the batch of every whole-run case,
// tests/runs.) The files of the reference cases (warnings, year-by-year series, the
// aquifer-bottom stop, key 0 kept with areas whose sum falls a hair short of 1): the
// whole-run reference test; a run whose iteration does not converge: tests/cli/stop.sh.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <random>
#include <sstream>
#include <vector>

#include <gtest/gtest.h>

#include "engine/EngineTestSupport.h"
#include "model/ExampleInputs.h"
#include "model/InputCheck.h"
#include "model/TVeltraError.h"

namespace veltra {
namespace {

using test::CountOf;

// Records progress texts with the step at which they came.
struct TRecordingProgress final : TRunProgress {
    explicit TRecordingProgress(const TEngineState& st) : St(st) {}
    void BusyReplaceText(const std::string& text) override { Texts.emplace_back(text, St.StepNr); }
    void Pause(int ms) override { PausedMs += ms; }

    const TEngineState& St;
    std::vector<std::pair<std::string, int>> Texts;
    int PausedMs = 0;
};

// Checks every computed season as the run hands it out.
struct TCheckingObserver final : TRunObserver {
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
    const TInputRecord* rec_ = nullptr;
};

// The balances hold season by season in every reference input. (The flows and
// salinities they print: the whole-run reference test.)
TEST(WholeRun, WaterBalanceClosesInEveryReferenceInput)
{
    int cases = 0, landBalances = 0, withDrainage = 0;
    for (const auto& inp : test::ReferenceInputFiles()) {
        const std::string name = inp.parent_path().filename().string();
        if (inp.stem() != name || name.starts_with("bad_")) // the runs, not their year files
            continue;
        SCOPED_TRACE(inp.string());
        TInputRecord rec;
        rec.Shell.FileName = inp.string();
        ReadInputFile(rec);
        rec.Ky = 0; // the whole series in one call
        test::TEngineRun run("balance");
        TCheckingObserver check;
        run.Start(rec, "case.inp", &check);
        EXPECT_GT(check.Seasons, 0);
        EXPECT_EQ(check.Unbalanced, 0);
        EXPECT_LE(check.MaxImbalance, 0.002 + 1e-9);
        EXPECT_LE(check.MaxStorageError, 1e-9);
        EXPECT_LE(check.MaxLandImbalance, 0.001);
        ++cases;
        landBalances += check.LandBalances;
        withDrainage += check.LandBalancesWithDrainage;
    }
    EXPECT_GE(cases, 10) << "reference inputs not found";
    EXPECT_GT(landBalances, 500);
    EXPECT_GT(withDrainage, 100); // where a sign of the surface drainage shows
}

TEST(WholeRun, ProgressTextsComeAtTheThirds)
{
    struct Case {
        int Ns, Ny, StillBusyStep, AlmostDoneStep;
    };
    for (const Case c : {Case{4, 3, 5, 9}, Case{1, 2, 1, 2}, Case{2, 10, 7, 14}}) {
        test::TEngineRun run("progress");
        TInputRecord rec = WellsExampleRecord(); // four seasons of data
        rec.Ny = static_cast<std::uint8_t>(c.Ny), rec.Ns = static_cast<std::uint8_t>(c.Ns);
        rec.Ts.Fill(12.0 / c.Ns);
        TRecordingProgress progress(run.St);
        run.Prepare(rec, "p.inp");
        run.Run(rec, progress);
        EXPECT_EQ(progress.Texts, (std::vector<std::pair<std::string, int>>{{" Still busy .....", c.StillBusyStep},
                                                                            {" Almost done ....", c.AlmostDoneStep}}));
        EXPECT_EQ(progress.PausedMs, 1000);
    }
}

// The correction of an excessive surface drainage is reported once a run (its text:
// the reference cases' warning.lst); a second run in the same state reports it again.
TEST(WholeRun, ASecondRunInTheSameStateRepeatsTheFirst)
{
    test::TEngineRun run("again");
    TInputRecord first = FieldExampleRecord();
    first.SoA[1] = 0.6; // excessive surface drainage: corrected every year
    TInputRecord rec = first;
    run.Start(rec, "field.inp");
    const std::string res1 = run.Read("field.res"), warn1 = run.Read("warning.lst");
    EXPECT_EQ(CountOf(warn1, "SDA"), 1);

    rec = first; // the user saves the same input again and runs it
    run.Start(rec, "field.inp");
    EXPECT_EQ(res1, run.Read("field.res"));
    EXPECT_EQ(warn1, run.Read("warning.lst"));
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
        test::TEngineRun run("drains");
        TInputRecord rec = FieldExampleRecord();
        rec.Ky = 1, rec.Ny = 2;
        TRunObservers none;
        run.Prepare(rec, "drains.inp");
        RunSimulation(rec, run.St, run.Carry, run.Silent, none);
        const TAnnualCarry& carry = run.Carry;
        const double dr = rec.Dr, dx = rec.Dx, d = carry.Dd;
        ASSERT_EQ(d, 1.5);
        ASSERT_GT(std::fabs(carry.Cxa - carry.Cxb), 0.5); // layers that differ
        const double salt = (d - dr) * carry.Cxa + (dr + dx - d) * carry.Cxb;
        EXPECT_NEAR(carry.Cxf, salt / dx, 1e-12);

        rec.Shell.YearNr = 2, rec.Kd = c.Kd, rec.Dd = c.Dd;
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
            TEngineState s = run.St;
            RunSimulation(r, s, from, run.Silent, none);
            return std::vector<double>{s.Cxa, s.Cxb, s.Cxf, s.Cqf, s.CrA, s.CrB, s.Dw};
        };
        const std::vector<double> moved = yearTwo(carry), expected = yearTwo(byHand);
        for (std::size_t i = 0; i < expected.size(); ++i)
            EXPECT_NEAR(moved[i], expected[i], 1e-9) << i;
    }
}

TEST(Refusal, RecordsThatBypassedTheCheckAreRefusedBeforeAnyFile)
{
    for (void (*change)(TInputRecord&) : {+[](TInputRecord& r) { r.Per = 0; }, +[](TInputRecord& r) { r.Ptx = 0; },
                                          +[](TInputRecord& r) { r.Dd = r.Dr; }, +[](TInputRecord& r) { r.Ns = 5; },
                                          +[](TInputRecord& r) { r.Ns = 0; }}) {
        test::TEngineRun run("refuse");
        TInputRecord rec = FieldExampleRecord();
        change(rec);
        EXPECT_FALSE(EngineRefusal(rec).empty());
        EXPECT_THROW(run.Start(rec, "bad.inp"), TVeltraError);
        EXPECT_TRUE(std::filesystem::is_empty(run.Scratch.Dir));
    }
}

// A season whose numbers are not finite is not written: the run stops before it. (The
// result file of the seasons before it: tests/cli/files.sh.)
TEST(ValueOutOfRange, StopsBeforeTheSeasonThatWouldHoldIt)
{
    test::TEngineRun run("range");
    TInputRecord rec = FieldExampleRecord();
    rec.Cic = 1e308; // passes the check; the salt of one season's irrigation overflows
    run.Start(rec, "range.inp");
    EXPECT_EQ(run.St.StopCause, TStopCause::OutOfRange);
    EXPECT_FALSE(std::filesystem::exists(run.Scratch.Dir / "range.trf"));
    const std::string warn = run.Read("warning.lst");
    EXPECT_NE(warn.find("\r\n\r\n The calculations gave a value out of range in year:  1, season: 2\r\n"
                        " Calculations are interrupted. Please revise the input data.\r\n\r\n"),
              std::string::npos)
        << warn;
}

// Damaged input files, made by mutating the reference inputs with a fixed seed:
// the reader refuses them or reads them, and whatever it reads the check reports
// or the engine refuses or runs to its end. Under the sanitizer build this proves
// that no damaged file crashes or hangs the program.
TEST(MutatedInput, IsRefusedOrRunsSafely)
{
    // Sorted, so that the fixed seed makes the same files whatever the directory order.
    const std::vector<std::filesystem::path> inputs = test::ReferenceInputFiles();
    ASSERT_GE(inputs.size(), 20u) << "too few inputs under " << VELTRA_REFERENCE_DIR;
    std::vector<std::string> seeds;
    for (const auto& f : inputs)
        seeds.push_back(test::ReadFile(f));

    const char* tokens[] = {"0", "-1", "1e308", "-0",    "nan",   "9",    "255", "256", "0.0",  "1",
                            "2", "5",  "10",    "0.001", "0.999", "-0.5", "100", " ",   "\r\n", "x"};
    std::mt19937 random(20261206);
    test::TEngineRun run("mutated");
    int read = 0, ran = 0;
    for (int i = 0; i < 400; ++i) {
        std::string text = seeds[random() % seeds.size()];
        for (int m = 1 + static_cast<int>(random() % 4); m > 0 && !text.empty(); --m) {
            const std::size_t p = random() % text.size();
            switch (random() % 4) {
            case 0: text[p] = "0123456789.-e \r\n"[random() % 16]; break;
            case 1: text.erase(p, 1 + random() % 5); break;
            case 2: {
                const std::size_t a = text.find_first_not_of(" \r\n", p);
                if (a == std::string::npos)
                    break;
                const std::size_t b = std::min(text.find_first_of(" \r\n", a), text.size());
                text.replace(a, b - a, tokens[random() % 20]);
                break;
            }
            default: text.resize(p); break;
            }
        }
        TInputRecord rec;
        std::istringstream in(text);
        try {
            ReadInputStream(in, "mutated.inp", rec);
        } catch (const TInputFileError& e) {
            EXPECT_NE(std::string(e.what()).find("mutated.inp"), std::string::npos);
            continue;
        }
        ++read;
        InputErrorLines(rec);
        ValidateBeforeSave(rec);
        if (!EngineRefusal(rec).empty())
            continue;
        rec.Ny = std::min<std::uint8_t>(rec.Ny, 2);
        rec.Ky = 0;
        run.St = {}, run.Carry = {};
        run.Start(rec, "m.inp");
        ++ran;
    }
    EXPECT_GT(read, 50);
    EXPECT_GT(ran, 50);
}

} // namespace
} // namespace veltra
