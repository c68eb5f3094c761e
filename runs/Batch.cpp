#include "runs/Batch.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <system_error>
#include <thread>
#include <utility>

#include <sched.h>
#include <unistd.h>

#include "model/SafeFile.h"
#include "model/TVeltraError.h"
#include "results/PathWithExtension.h"
#include "runs/Calculate.h"

namespace veltra {

namespace fs = std::filesystem;

namespace {

bool ParseCount(const std::string& text, int& value)
{
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && ptr == text.data() + text.size() && !text.empty();
}

} // namespace

void RunInParallel(std::size_t count, int jobs, const std::function<void(std::size_t)>& work,
                   const std::function<void(std::size_t)>& done, const std::function<void()>& tick, int tickMs)
{
    if (count == 0)
        return;
    const std::size_t threads = std::min<std::size_t>(static_cast<std::size_t>(std::max(jobs, 1)), count);
    std::atomic<std::size_t> next{0};
    std::mutex mutex;
    std::condition_variable finishedOne;
    std::vector<std::size_t> finished; // guarded by mutex
    auto worker = [&] {
        for (;;) {
            const std::size_t i = next.fetch_add(1);
            if (i >= count)
                return;
            work(i);
            {
                const std::lock_guard<std::mutex> lock(mutex);
                finished.push_back(i);
            }
            finishedOne.notify_one();
        }
    };
    std::vector<std::thread> pool;
    pool.reserve(threads);
    auto stopAndJoin = [&] {
        next.store(count); // no case starts any more
        for (std::thread& t : pool)
            t.join();
    };
    try {
        for (std::size_t t = 0; t < threads; ++t)
            pool.emplace_back(worker);
        std::size_t reported = 0;
        std::vector<std::size_t> mine;
        while (reported < count) {
            {
                std::unique_lock<std::mutex> lock(mutex);
                finishedOne.wait_for(lock, std::chrono::milliseconds(tickMs), [&] { return !finished.empty(); });
                mine.swap(finished);
            }
            for (const std::size_t i : mine) {
                done(i);
                ++reported;
            }
            mine.clear();
            if (tick)
                tick();
        }
    } catch (...) {
        stopAndJoin();
        throw;
    }
    stopAndJoin();
}

int AvailableCores()
{
    cpu_set_t set;
    CPU_ZERO(&set);
    if (::sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0)
        return CPU_COUNT(&set);
    return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

TShard ParseShard(const std::string& text)
{
    const std::size_t slash = text.find('/');
    TShard shard;
    if (slash == std::string::npos || !ParseCount(text.substr(0, slash), shard.K) ||
        !ParseCount(text.substr(slash + 1), shard.N) || shard.N < 1 || shard.K < 0 || shard.K >= shard.N)
        throw TVeltraError(TErrorKind::Usage,
                           "--shard takes K/N with 0 <= K < N (shard K of N, for example 0/4), not \"" + text + "\".");
    return shard;
}

std::vector<std::string> UniqueCaseNames(const std::vector<std::string>& baseNames)
{
    const std::set<std::string> given(baseNames.begin(), baseNames.end());
    std::set<std::string> used;
    std::vector<std::string> names;
    names.reserve(baseNames.size());
    for (const std::string& base : baseNames) {
        std::string name = base;
        for (int k = 2; used.count(name); ++k) {
            name = base + "_" + std::to_string(k);
            if (given.count(name))
                name = base; // another input's own name: try the next suffix
        }
        used.insert(name);
        names.push_back(std::move(name));
    }
    return names;
}

std::vector<std::string> SeriesYearFiles(const std::string& firstFile, int years)
{
    std::vector<std::string> files;
    for (int year = 2; year <= years; ++year) {
        const std::string file = SeriesFileName(firstFile, year);
        std::error_code ec;
        if (!fs::is_regular_file(file, ec))
            break;
        files.push_back(file);
    }
    return files;
}

void RemoveCaseFiles(const std::string& folder, const std::string& inputName)
{
    // A new case's folder is empty: spare it the hundred removals.
    std::error_code ec;
    if (fs::is_empty(folder, ec))
        return;
    TFileSystem& files = RealFileSystem();
    const std::string input = (fs::path(folder) / inputName).string();
    files.Remove(input);
    for (const char* extension : {".res", ".frq", ".trf"})
        files.Remove(PathWithExtension(input, extension));
    for (int year = 2; year <= 99; ++year)
        files.Remove(SeriesFileName(input, year));
    files.Remove((fs::path(folder) / "Error.lst").string());
    files.Remove((fs::path(folder) / "warning.lst").string());
}

void PrepareOutputFolder(const std::string& folder)
{
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (!fs::is_directory(folder, ec))
        throw TVeltraError(TErrorKind::File, "The output folder \"" + folder + "\" could not be created.");
    const std::string probe = (fs::path(folder) / (".veltra-probe-" + std::to_string(::getpid()))).string();
    try {
        RealFileSystem().WriteNewFile(probe, "");
    } catch (const TVeltraError&) {
        throw TVeltraError(TErrorKind::File, "The output folder \"" + folder + "\" is not writable.");
    }
    RealFileSystem().Remove(probe);
}

std::vector<std::string> ResultsInTheWay(const TBatchPlan& plan)
{
    std::vector<std::string> found;
    std::error_code ec;
    for (std::size_t index = 1; index <= plan.Names.size(); ++index) {
        const fs::path folder = fs::path(plan.OutFolder) / plan.Names[index - 1];
        if (plan.Shard.Holds(index) && fs::exists(fs::symlink_status(folder, ec)))
            found.push_back(folder.string());
    }
    const fs::path summary = fs::path(plan.OutFolder) / SummaryFileName(plan.Shard.K, plan.Shard.N);
    if (fs::exists(fs::symlink_status(summary, ec)))
        found.push_back(summary.string());
    return found;
}

namespace {

// Case `index` of the plan, in its own folder; a failure is the case's outcome.
std::unique_ptr<TSummaryRow> RunPlannedCase(const TBatchPlan& plan, std::size_t index)
{
    auto row = std::make_unique<TSummaryRow>();
    row->Index = index;
    row->Name = plan.Names[row->Index - 1];
    try {
        if (plan.Varied)
            row->Varied = plan.Varied(row->Index);
        const std::string folder = (fs::path(plan.OutFolder) / row->Name).string();
        std::error_code ec;
        fs::create_directory(folder, ec);
        if (!fs::is_directory(folder, ec))
            throw TVeltraError(TErrorKind::File, "The folder \"" + folder + "\" could not be created.");
        row->Outcome = RunCase(plan.Prepare(row->Index, folder), folder);
    } catch (const std::exception& e) {
        row->Outcome = FailedCaseOutcome(e);
    }
    return row;
}

// The summary's text: the header, then the lines, which are handed over (emptied).
std::string SummaryText(const std::vector<std::string>& variedNames, std::vector<std::string>& lines)
{
    std::string text = SummaryHeader(variedNames);
    std::size_t size = text.size();
    for (const std::string& line : lines)
        size += line.size();
    text.reserve(size);
    for (std::string& line : lines)
        text += std::exchange(line, std::string());
    return text;
}

// 0 when every case is ok; otherwise that of the worst outcome.
int WorstExitStatus(const TBatchResult& result)
{
    const auto count = [&](TCaseStatus s) { return result.Count[static_cast<std::size_t>(s)]; };
    if (count(TCaseStatus::Failed) > 0)
        return 2;
    if (count(TCaseStatus::Stopped) > 0)
        return 3;
    if (count(TCaseStatus::InputErrors) > 0)
        return 1;
    return 0;
}

} // namespace

TBatchResult RunBatch(const TBatchPlan& plan, TBatchReporter& reporter)
{
    std::vector<std::size_t> indices; // the shard's cases
    for (std::size_t index = 1; index <= plan.Names.size(); ++index)
        if (plan.Shard.Holds(index))
            indices.push_back(index);
    const std::size_t total = indices.size();
    const int jobs = static_cast<int>(
        std::min<std::size_t>(static_cast<std::size_t>(std::max(plan.Jobs, 1)), std::max<std::size_t>(total, 1)));
    reporter.Started(total, jobs);

    // A slot per case: filled by the worker that runs it, read and emptied by the
    // calling thread once the case is reported finished. Only the cases running or
    // waiting to be reported hold a row; a reported case keeps its summary line.
    std::vector<std::unique_ptr<TSummaryRow>> rows(total);
    std::vector<std::string> lines(total);
    auto work = [&](std::size_t slot) { rows[slot] = RunPlannedCase(plan, indices[slot]); };

    TBatchResult result;
    result.Cases = total;
    std::size_t done = 0;
    auto finished = [&](std::size_t slot) {
        const TSummaryRow& row = *rows[slot];
        ++result.Count[static_cast<std::size_t>(row.Outcome.Status)];
        reporter.CaseDone(row, ++done, total);
        lines[slot] = SummaryLine(row);
        rows[slot].reset();
    };
    RunInParallel(total, jobs, work, finished, [&] { reporter.Tick(); });

    result.SummaryPath = (fs::path(plan.OutFolder) / SummaryFileName(plan.Shard.K, plan.Shard.N)).string();
    WriteWholeFile(result.SummaryPath, SummaryText(plan.VariedNames, lines));
    result.ExitStatus = WorstExitStatus(result);
    return result;
}

} // namespace veltra
