// A fit of three parameters (Flr, Flx, QH1) of the 10-year, 2-season example to 30
// observations made from a known run, with 1 and 2 jobs: runs per second. The sample
// runs in parallel, and so do the local searches (three of them within 1,500 runs).
#include <chrono>

#include <benchmark/benchmark.h>

#include "model/ExampleInputs.h"
#include "results/TRunObserver.h"
#include "runs/Fit.h"
#include "runs/MemoryRun.h"

namespace {

using namespace veltra;

class TObserved final : public TRunObserver {
public:
    void SeasonDone(const TSeasonDone& done, const TInputRecord& rec, const TEngineState& st) override
    {
        if (done.StepNr == 0)
            return;
        const TSeasonCells cells = SeasonRecordCells(rec, st, done);
        for (TRecordSymbol symbol : {TRecordSymbol::Dw, TRecordSymbol::Cr4}) {
            if (symbol == TRecordSymbol::Cr4 && done.Season != 2)
                continue;
            TObservation o;
            o.Year = done.Year;
            o.Season = done.Season;
            o.Symbol = symbol;
            o.Value = CellOf(cells, symbol).Value;
            Observations.push_back(o);
        }
    }
    std::vector<TObservation> Observations;
};

void BM_FitThreeParameters(benchmark::State& state)
{
    TInputRecord truth = FieldExampleRecord();
    truth.Flr = 0.70;
    truth.Flx = 0.85;
    truth.QH1 = 0.0045;
    TObserved observed;
    RunInMemory(truth, observed);
    TFitOptions options;
    options.MaxRuns = 1500;
    options.Jobs = static_cast<int>(state.range(0));
    const std::vector<TFitParameter> params = {{"Flr", 0.3, 1.0}, {"Flx", 0.3, 1.0}, {"QH1", 0.0005, 0.02}};
    double seconds = 0;
    std::size_t runs = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const TFitReport report =
            Fit(FieldExampleRecord(), "field.inp", observed.Observations, "obs.csv", params, options);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        runs += report.Runs.size();
        benchmark::DoNotOptimize(report.Objective);
    }
    state.counters["runs"] = static_cast<double>(runs) / static_cast<double>(state.iterations());
    state.counters["runs_per_s"] = static_cast<double>(runs) / seconds;
}
BENCHMARK(BM_FitThreeParameters)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
