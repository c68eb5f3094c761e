// A batch of 200 ten-year, 4-season runs, each in its own folder with its files
// written, with 1 and 2 threads: runs per second and, from the two, the speed-up.
// (The heap a worker needs is measured by veltra_bench_heap, whose counting
// allocator would otherwise weigh on every benchmark here.)
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "BatchCases.h"

namespace {

using namespace veltra::bench;

void BM_Batch200TenYearRuns(benchmark::State& state)
{
    const int jobs = static_cast<int>(state.range(0));
    const int runs = 200;
    const std::string input = CaseInput();
    const fs::path root = Scratch();
    int round = 0;
    double seconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const fs::path out = root / std::to_string(++round);
        fs::remove_all(out);
        fs::create_directories(out);
        const veltra::TBatchPlan plan = Plan(out, runs, jobs, input);
        TQuiet quiet;
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        const veltra::TBatchResult result = veltra::RunBatch(plan, quiet);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.PauseTiming();
        if (quiet.Failed || result.Cases != static_cast<std::size_t>(runs))
            state.SkipWithError("a case did not run");
        fs::remove_all(out);
        state.ResumeTiming();
    }
    fs::remove_all(root);
    const double done = static_cast<double>(runs) * static_cast<double>(state.iterations());
    state.counters["runs_per_s"] = done / seconds;
    state.counters["ms_per_run"] = 1000 * seconds / done;
}
BENCHMARK(BM_Batch200TenYearRuns)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// The case names of N inputs of one base name (field.inp in N folders): linear in N,
// so 40,000 take about ten times as long as 4,000.
void BM_CaseNamesOfOneBaseName(benchmark::State& state)
{
    const std::vector<std::string> bases(static_cast<std::size_t>(state.range(0)), "field");
    for (auto _ : state)
        benchmark::DoNotOptimize(veltra::UniqueCaseNames(bases));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_CaseNamesOfOneBaseName)->Arg(4000)->Arg(40000)->Unit(benchmark::kMillisecond)->Complexity();

} // namespace
