// Calibration against synthetic truth: observations made from a run with known
// leaching efficiencies and QH1 (at full precision, and with seeded noise) are fitted
// from wide bounds; the parameters come back, the objective at the truth is 0, the
// seed decides the runs; and every refusal.
#include <cmath>
#include <optional>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "model/ExampleInputs.h"
#include "model/TVeltraError.h"
#include "results/TRunObserver.h"
#include "runs/Fit.h"
#include "runs/MemoryRun.h"
#include "support/TFaultyFileSystem.h"

namespace veltra {
namespace {

constexpr double TrueFlr = 0.70, TrueFlx = 0.85, TrueQH1 = 0.0045;

// field.inp over 6 years (a short run keeps the tests fast).
TInputRecord Field()
{
    TInputRecord rec = FieldExampleRecord();
    rec.Ny = 6;
    return rec;
}

TInputRecord Truth()
{
    TInputRecord rec = Field();
    rec.Flr = TrueFlr;
    rec.Flx = TrueFlx;
    rec.QH1 = TrueQH1;
    return rec;
}

// Every season's cells of a run.
class TCellsOfRun final : public TRunObserver {
public:
    void SeasonDone(const TSeasonDone& done, const TInputRecord& rec, const TEngineState& st) override
    {
        if (done.StepNr > 0)
            Seasons.push_back({done.Year, done.Season, SeasonRecordCells(rec, st, done)});
    }
    struct TSeason {
        int Year, Season;
        TSeasonCells Cells;
    };
    std::vector<TSeason> Seasons;
};

// Cr4 at the end of every year (season 2) and Dw in both seasons of the truth's run;
// with `noise` > 0 each value times 1 + noise * a seeded normal deviate.
std::vector<TObservation> Observations(double noise, std::uint64_t seed = 42)
{
    TCellsOfRun run;
    EXPECT_TRUE(RunInMemory(Truth(), run).Refusal.empty());
    std::mt19937_64 rng(seed);
    auto normal = [&rng] { // Box-Muller on the generator's own bits
        const double u1 = (static_cast<double>(rng() >> 11) + 1) * 0x1.0p-53;
        const double u2 = static_cast<double>(rng() >> 11) * 0x1.0p-53;
        return std::sqrt(-2 * std::log(u1)) * std::cos(6.283185307179586 * u2);
    };
    std::vector<TObservation> obs;
    for (const auto& s : run.Seasons) {
        for (TRecordSymbol symbol : {TRecordSymbol::Cr4, TRecordSymbol::Dw}) {
            if (symbol == TRecordSymbol::Cr4 && s.Season != 2)
                continue;
            TObservation o;
            o.Year = s.Year;
            o.Season = s.Season;
            o.Symbol = symbol;
            o.Value = CellOf(s.Cells, symbol).Value * (noise > 0 ? 1 + noise * normal() : 1);
            o.Line = static_cast<int>(obs.size()) + 2;
            obs.push_back(o);
        }
    }
    return obs;
}

const std::vector<TFitParameter> Wide = {{"Flr", 0.3, 1.0}, {"Flx", 0.3, 1.0}, {"QH1", 0.0005, 0.02}};

TFitReport FitField(const TInputRecord& base, const std::vector<TObservation>& obs,
                    const std::vector<TFitParameter>& params = Wide, std::size_t maxRuns = 400, int jobs = 1,
                    std::uint64_t seed = 7)
{
    TFitOptions options;
    options.MaxRuns = maxRuns;
    options.Jobs = jobs;
    options.Seed = seed;
    return Fit(base, "field.inp", obs, "obs.csv", params, options);
}

TEST(FitSyntheticTruth, RecoversTheParametersFromWideBoundsWithoutNoise)
{
    const TFitReport report = FitField(Field(), Observations(0));
    ASSERT_EQ(report.Parameters.size(), 3u);
    // Within one step of the decimals the input file keeps (0.01 and 0.0001).
    EXPECT_NEAR(report.Parameters[0].Best, TrueFlr, 0.0101);
    EXPECT_NEAR(report.Parameters[1].Best, TrueFlx, 0.0101);
    EXPECT_NEAR(report.Parameters[2].Best, TrueQH1, 0.000101);
    EXPECT_LT(report.Objective, 1e-3);
    // What is reported is the rounded point, run once more.
    const TFitRun& rounded = report.Runs[report.Runs.size() - 7];
    EXPECT_EQ(rounded.Stage, "rounded");
    EXPECT_EQ(rounded.Objective, report.Objective);
    // The statistics per symbol agree with the objective they make up.
    ASSERT_EQ(report.Symbols.size(), 2u);
    EXPECT_EQ(report.Symbols[0].Symbol, TRecordSymbol::Dw); // the first observation's symbol first
    EXPECT_EQ(report.Symbols[0].N, 12u);
    EXPECT_EQ(report.Symbols[1].N, 6u);
    EXPECT_NEAR(report.Symbols[0].Term + report.Symbols[1].Term, report.Objective, 1e-15);
}

// With seeded noise: the parameters within the noise, with standard errors; another
// seed gives other runs (the same seed the same runs whatever the jobs: tests/cli/fit.sh).
TEST(FitSyntheticTruth, WithSeededNoiseGivesStandardErrorsAndRepeatsBySeed)
{
    const std::vector<TObservation> obs = Observations(0.02);
    const TFitReport report = FitField(Field(), obs);
    for (const TFitParameterResult& p : report.Parameters) {
        ASSERT_TRUE(p.StandardError.has_value()) << p.Name << ": " << p.Note;
        EXPECT_GT(*p.StandardError, 0) << p.Name;
        // Noise of 2 % leaves the truth within a few standard errors.
        const auto [truth, step] = p.Name == "Flr"   ? std::pair(TrueFlr, 0.0101)
                                   : p.Name == "Flx" ? std::pair(TrueFlx, 0.0101)
                                                     : std::pair(TrueQH1, 0.000101);
        EXPECT_LT(std::fabs(p.Best - truth), 5 * *p.StandardError + step) << p.Name;
    }
    for (const TFitSymbolResult& s : report.Symbols) {
        ASSERT_TRUE(s.Nse.has_value());
        EXPECT_GT(*s.Nse, 0.5);
        EXPECT_GT(s.Rmse, 0);
    }
    EXPECT_NE(FitRunsCsv(FitField(Field(), obs, Wide, 400, 1, 8)), FitRunsCsv(report));
}

TEST(FitSyntheticTruth, AParameterTheObservationsDoNotSeeIsNotIdentifiable)
{
    // Without farmers' responses (Kf = 0) CAmax changes nothing.
    const TFitReport report = FitField(Field(), Observations(0.02), {{"Flr", 0.3, 1.0}, {"CAmax", 5, 15}}, 120);
    ASSERT_EQ(report.Parameters.size(), 2u);
    EXPECT_TRUE(report.Parameters[0].StandardError.has_value());
    EXPECT_FALSE(report.Parameters[1].StandardError.has_value());
    EXPECT_NE(report.Parameters[1].Note.find("not identifiable"), std::string::npos) << report.Parameters[1].Note;
}

TEST(FitSyntheticTruth, TheInputsObjectiveAndABoundHitAreNoted)
{
    // The truth's Flr lies above these bounds: the fit stops at the upper one. The input
    // itself, the truth, scores an objective of 0 (that it runs first, with its own
    // values: tests/cli/fit.sh, 'runs.csv: the input first').
    const TFitReport report = FitField(Truth(), Observations(0), {{"Flr", 0.4, 0.6}}, 60);
    EXPECT_EQ(report.InputObjective, std::optional<double>(0.0));
    EXPECT_EQ(report.Parameters[0].Best, 0.6);
    EXPECT_NE(report.Parameters[0].Note.find("at the upper bound"), std::string::npos);
}

using test::FileRefusal;

TEST(FitInfeasible, RunsAreListedWithTheirReasonAndAvoided)
{
    // Drains deeper than the transition zone (Dr + Dx = 5.8 m) are refused by the save-time rule.
    const std::vector<TObservation> obs = Observations(0);
    const TFitReport report = FitField(Field(), obs, {{"Flr", 0.3, 1.0}, {"Dd", 1.0, 9.0}}, 150);
    std::size_t infeasible = 0;
    for (const TFitRun& run : report.Runs)
        if (!run.Feasible) {
            ++infeasible;
            EXPECT_GT(run.Values[1], 5.7) << run.Reason;
        }
    EXPECT_GT(infeasible, 0u);
    EXPECT_LT(report.Parameters[1].Best, 5.8);

    // A search without a feasible run ends with a message that says why.
    const auto none = FileRefusal([&] { FitField(Field(), obs, {{"Dd", 6.0, 9.0}}, 40); }, TErrorKind::Input);
    EXPECT_NE(none.find("transition zone"), std::string::npos) << none;
}

TEST(FitRefusals, SettingsAndBounds)
{
    const std::vector<TObservation> obs = Observations(0);
    const struct {
        std::vector<TFitParameter> Params;
        std::size_t MaxRuns;
        std::string Message;
    } cases[] = {
        {{{"flr", 0, 1}}, 100, "(did you mean Flr?)"},
        {{{"Flr", 0.5, 0.5}}, 100, "LOW must be below HIGH."},
        {{{"IaA", 0.1, 1}, {"IaA[2]", 0.1, 1}},
         100,
         "--fit IaA[2]=0.1:1: IaA[2] is already fitted by --fit IaA=0.1:1."},
        {{{"IaA[3]", 0.1, 1}}, 100, "field.inp has 2 season(s)."},
        {{{"Flr", 0.3, 1}, {"Flx", 0.3, 1}},
         25,
         "--max-runs 25 is too few: a fit of 2 parameter(s) needs at least 26 runs."},
        {{}, 100, "A fit needs at least one --fit NAME=LOW:HIGH."},
    };
    for (const auto& c : cases) {
        const std::string what = FileRefusal([&] { FitField(Field(), obs, c.Params, c.MaxRuns); }, TErrorKind::Usage);
        EXPECT_NE(what.find(c.Message), std::string::npos) << "want: " << c.Message << "\ngot:  " << what;
    }
    for (const auto& [setting, message] : std::vector<std::pair<std::string, std::string>>{
             {"Flr", "--fit Flr: write NAME=LOW:HIGH."},
             {"Flr=0.5", "write NAME=LOW:HIGH."},
             {"Flr=a:1", "\"a\" is not a number"},
             {"Flr=0,5:1", "\"0,5\" is not a number (\".\" is the decimal separator)."}}) {
        const std::string what = FileRefusal([&] { ParseFitSetting(setting); }, TErrorKind::Usage);
        EXPECT_NE(what.find(message), std::string::npos) << setting << ": " << what;
    }
    const TFitParameter seasonal = ParseFitSetting("IaA[2]=0.25:1");
    EXPECT_EQ(std::tuple(seasonal.Name, seasonal.Low, seasonal.High), std::tuple("IaA[2]", 0.25, 1.0));
}

TEST(FitRefusals, AnInputThatFailsTheCheckAndASymbolTheRunShowsAsAbsent)
{
    std::vector<TObservation> obs = Observations(0);
    TInputRecord bad = Field();
    bad.QH1 = -0.003;
    const auto what = FileRefusal([&] { FitField(bad, obs, {{"Flr", 0.3, 1}}, 60); }, TErrorKind::Input);
    EXPECT_NE(what.find("field.inp fails the check:\n"), std::string::npos) << what;
    EXPECT_NE(what.find("QH1 and QH2 must not be negative"), std::string::npos) << what;

    // Under Kr = 4 the records show Cr4, never CrA.
    obs[3].Symbol = TRecordSymbol::CrA;
    obs[3].Line = 9;
    const std::string absent = FileRefusal([&] { FitField(Field(), obs, {{"Flr", 0.3, 1}}, 60); });
    EXPECT_NE(absent.find("CrA is \"-\" in year " + std::to_string(obs[3].Year) + ", season " +
                          std::to_string(obs[3].Season) + " (obs.csv, line 9)"),
              std::string::npos)
        << absent;
}

TEST(ObservationFile, ReadsRowsCommentsBlankLinesAndWeightsAndRefusesTheRest)
{
    const std::vector<TObservation> obs = ReadObservationText(
        "# made by hand\r\nyear,season,symbol,value,weight\r\n\r\n1,2,Cr4,10.5,2\r\n 6 , 1 , Dw , 1.25 , 0.5\r\n",
        "obs.csv", Field());
    const auto fields = [](const TObservation& o) {
        return std::tuple(o.Year, o.Season, o.Symbol, o.Value, o.Weight, o.Line);
    };
    ASSERT_EQ(obs.size(), 2u);
    EXPECT_EQ(fields(obs[0]), std::tuple(1, 2, TRecordSymbol::Cr4, 10.5, 2.0, 4));
    EXPECT_EQ(fields(obs[1]), std::tuple(6, 1, TRecordSymbol::Dw, 1.25, 0.5, 5));
    EXPECT_EQ(ReadObservationText("year,season,symbol,value\n3,1,C0*,4\n", "o", Field()).at(0).Symbol,
              TRecordSymbol::C0);

    // What is refused, with the line and field.
    const std::string head = "year,season,symbol,value\n";
    const std::pair<std::string, std::string> cases[] = {
        {"year,season,value\n1,1,2\n", "obs.csv, line 1: the header must be"},
        {head + "1,1,Cr4\n", "obs.csv, line 2: a row has 4 fields, this one 3."},
        {head + "\n1,1,Cr4,2,1\n", "obs.csv, line 3: a row has 4 fields, this one 5."},
        {head + "x,1,Cr4,2\n", "obs.csv, line 2, field \"year\": \"x\" is not a whole number."},
        {head + "0,1,Cr4,2\n", "obs.csv, line 2, field \"year\": 0 is not one of the run's years 1 to 6 (Ny)."},
        {head + "1,1,Cr4,2.5e\n", "obs.csv, line 2, field \"value\": \"2.5e\" is not a number"},
        {head + "1,1,Cr4,\"2,5\"\n", "a row has 4 fields, this one 5."},
        {"year,season,symbol,value,weight\n1,1,Cr4,2,0\n", "line 2, field \"weight\": a weight must be above 0"},
        {"year,season,symbol,value,weight\n1,1,Cr4,2,-\n", "line 2, field \"weight\": \"-\" is not a number"},
        {"", "obs.csv, line 1: the file holds no observations"},
    };
    for (const auto& [text, message] : cases) {
        const std::string what = FileRefusal([&] { ReadObservationText(text, "obs.csv", Field()); });
        EXPECT_NE(what.find(message), std::string::npos) << "want: " << message << "\ngot:  " << what;
    }
}

} // namespace
} // namespace veltra
