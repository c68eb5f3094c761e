// A 99-year, 4-season run (bench/data/long99.inp) with its files written to a temporary folder.
#include <filesystem>

#include <benchmark/benchmark.h>
#include <unistd.h>

#include "engine/UCalculate.h"
#include "model/InputFile.h"
#include "results/TRunFiles.h"

namespace {

void BM_Run99Years4Seasons(benchmark::State& state)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("veltra-bench-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    // The file bench/time-process.sh runs with `veltra run`, read as veltra reads it;
    // a missing or damaged file throws and fails the benchmark run.
    const veltra::TInputRecord input = [] {
        veltra::TInputRecord r;
        r.Shell.FileName = VELTRA_SOURCE_DIR "/bench/data/long99.inp";
        veltra::ReadInputFile(r);
        return r;
    }();
    veltra::TEngineState st;
    veltra::TAnnualCarry carry;
    veltra::TSilentProgress progress;
    for (auto _ : state) {
        veltra::TInputRecord rec = input;
        rec.Shell.FileName = (dir / "bench.inp").string();
        rec.Shell.RunStage = 1;
        rec.Shell.YearNr = 1;
        st.RunFirstFileName = rec.Shell.FileName;
        veltra::TRunFiles files(dir.string());
        veltra::RunSimulation(rec, st, carry, progress, files);
        benchmark::DoNotOptimize(st.Dw);
    }
    fs::remove_all(dir);
}
BENCHMARK(BM_Run99Years4Seasons)->Unit(benchmark::kMillisecond);

} // namespace
