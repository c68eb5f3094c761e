// A batch of 200 ten-year, 4-season runs (bench/data/wells10.inp), each in its own
// folder with its files written, with 1 and 2 threads: runs per second and, from the
// two, the speed-up. And the heap a worker needs at most, for batches of 50, 200 and
// 400 runs: constant in the number of runs, since a worker keeps nothing of a finished
// case; the batch itself keeps each case's summary line, a few hundred bytes a run.
// The folders go to the temporary folder: TMPDIR=/dev/shm measures without the disk.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <string>

#include <benchmark/benchmark.h>
#include <unistd.h>

#include "model/SafeFile.h"
#include "shell/Batch.h"

namespace {

namespace fs = std::filesystem;

// The heap bytes each thread has allocated and not yet seen freed, and their peak,
// counted only while a memory benchmark measures (the counters would otherwise be
// touched by the threads being timed). Every block remembers the thread that
// allocated it, so that a block freed by another thread still counts against its
// own: a worker's peak is what running cases needs of it.
constexpr int MaxThreads = 256;
std::atomic<bool> counting{false};
std::atomic<int> threadsSeen{0};
std::atomic<long long> live[MaxThreads], peak[MaxThreads];
thread_local int self = -1;

struct alignas(std::max_align_t) THeader {
    std::size_t Size;
    int Owner;
};

int Self()
{
    if (self < 0) {
        self = threadsSeen.fetch_add(1);
        if (self >= MaxThreads)
            self = MaxThreads - 1; // all further threads share the last slot
    }
    return self;
}

void* Allocate(std::size_t size)
{
    auto* header = static_cast<THeader*>(std::malloc(size + sizeof(THeader)));
    if (!header)
        throw std::bad_alloc();
    header->Size = size;
    header->Owner = -1;
    if (counting.load(std::memory_order_relaxed)) {
        const int owner = Self();
        header->Owner = owner;
        const long long now = live[owner].fetch_add(static_cast<long long>(size)) + static_cast<long long>(size);
        for (long long p = peak[owner].load(); now > p && !peak[owner].compare_exchange_weak(p, now);) {
        }
    }
    return header + 1;
}

void Release(void* p) noexcept
{
    if (!p)
        return;
    THeader* header = static_cast<THeader*>(p) - 1;
    if (header->Owner >= 0)
        live[header->Owner].fetch_sub(static_cast<long long>(header->Size));
    std::free(header);
}

std::string CaseInput()
{
    return veltra::ReadWholeFile(VELTRA_SOURCE_DIR "/bench/data/wells10.inp", veltra::InputFileLimit, "an input file");
}

class TQuiet final : public veltra::TBatchReporter {
public:
    void Started(std::size_t, int) override {}
    void CaseDone(const veltra::TSummaryRow& row, std::size_t, std::size_t) override
    {
        if (row.Outcome.Status != veltra::TCaseStatus::Ok)
            Failed = true;
    }
    bool Failed = false;
};

// `runs` copies of the input as a batch into a fresh folder, on `jobs` threads.
veltra::TBatchPlan Plan(const fs::path& out, int runs, int jobs, const std::string& input)
{
    veltra::TBatchPlan plan;
    plan.OutFolder = out.string();
    plan.Jobs = jobs;
    for (int i = 1; i <= runs; ++i)
        plan.Names.push_back("case_" + std::to_string(i));
    plan.Prepare = [&input](std::size_t, const std::string& folder) {
        const std::string file = (fs::path(folder) / "wells10.inp").string();
        veltra::WriteWholeFile(file, input);
        return std::vector<std::string>{file};
    };
    return plan;
}

fs::path Scratch() { return fs::temp_directory_path() / ("veltra-batch-bench-" + std::to_string(::getpid())); }

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

void BM_BatchHeapPerWorker(benchmark::State& state)
{
    const int runs = static_cast<int>(state.range(0));
    const int jobs = 2;
    const std::string input = CaseInput();
    const fs::path out = Scratch() / ("heap-" + std::to_string(runs));
    long long worker = 0, batch = 0;
    for (auto _ : state) {
        fs::remove_all(out);
        fs::create_directories(out);
        const veltra::TBatchPlan plan = Plan(out, runs, jobs, input);
        TQuiet quiet;
        for (int t = 0; t < MaxThreads; ++t)
            live[t] = peak[t] = 0;
        const int caller = Self();
        counting = true;
        veltra::RunBatch(plan, quiet);
        counting = false;
        if (quiet.Failed)
            state.SkipWithError("a case did not run");
        // The workers are the threads other than the caller that allocated meanwhile.
        worker = batch = 0;
        for (int t = 0; t < std::min(threadsSeen.load(), MaxThreads); ++t)
            if (t == caller)
                batch = peak[t];
            else
                worker = std::max(worker, peak[t].load());
    }
    fs::remove_all(Scratch());
    state.counters["worker_peak_kB"] = static_cast<double>(worker) / 1024;
    state.counters["batch_bytes_per_run"] = static_cast<double>(batch) / runs;
}
BENCHMARK(BM_BatchHeapPerWorker)->Arg(50)->Arg(200)->Arg(400)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    try {
        return Allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    try {
        return Allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, std::size_t) noexcept { Release(p); }
void operator delete[](void* p, std::size_t) noexcept { Release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Release(p); }
