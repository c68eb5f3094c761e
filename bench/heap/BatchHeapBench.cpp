// The heap a batch worker needs at most, for batches of 50, 200 and 400 ten-year runs:
// constant in the number of runs, since a worker keeps nothing of a finished case;
// the batch itself keeps each case's summary line, a few hundred bytes a run. A
// program of its own: its allocator counts every allocation of the process.
#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <string>

#include <benchmark/benchmark.h>

#include "../BatchCases.h"

namespace {

using namespace veltra::bench;

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
        for (long long p = peak[owner].load(); now > p && !peak[owner].compare_exchange_weak(p, now);) {}
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

void* operator new(std::size_t size)
{
    return Allocate(size);
}
void* operator new[](std::size_t size)
{
    return Allocate(size);
}
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
void operator delete(void* p) noexcept
{
    Release(p);
}
void operator delete[](void* p) noexcept
{
    Release(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    Release(p);
}
void operator delete[](void* p, std::size_t) noexcept
{
    Release(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept
{
    Release(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept
{
    Release(p);
}
