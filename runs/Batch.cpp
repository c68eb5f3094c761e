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
#include <string_view>
#include <system_error>
#include <thread>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include <cerrno>
#include <fcntl.h>
#include <sched.h>
#include <sys/file.h>
#include <unistd.h>

#include "model/InputFile.h"
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

// The cases still to start and those finished but not yet reported, shared by the workers and the
// calling thread.
struct TWorkQueue {
    TWorkQueue(std::size_t count, const std::function<void(std::size_t)>& work) : Count(count), Work(work) {}

    std::size_t Count;
    const std::function<void(std::size_t)>& Work;
    std::atomic<std::size_t> Next{0};
    std::mutex Mutex;
    std::condition_variable FinishedOne;
    std::vector<std::size_t> Finished; // guarded by Mutex

    // A worker's loop: take the next case until none is left.
    void Serve()
    {
        for (;;) {
            const std::size_t i = Next.fetch_add(1);
            if (i >= Count)
                return;
            Work(i);
            {
                const std::lock_guard<std::mutex> lock(Mutex);
                Finished.push_back(i);
            }
            FinishedOne.notify_one();
        }
    }
};

// No thread could start: the calling thread runs every case itself.
void RunAllHere(TWorkQueue& queue, const std::function<void(std::size_t)>& done, const std::function<void()>& tick)
{
    for (std::size_t i = queue.Next.fetch_add(1); i < queue.Count; i = queue.Next.fetch_add(1)) {
        queue.Work(i);
        done(i);
        if (tick)
            tick();
    }
}

// Reports the cases as the workers finish them, and ticks at least every tickMs.
void ReportAsFinished(TWorkQueue& queue, const std::function<void(std::size_t)>& done,
                      const std::function<void()>& tick, int tickMs)
{
    std::size_t reported = 0;
    std::vector<std::size_t> mine;
    while (reported < queue.Count) {
        {
            std::unique_lock<std::mutex> lock(queue.Mutex);
            queue.FinishedOne.wait_for(lock, std::chrono::milliseconds(tickMs),
                                       [&] { return !queue.Finished.empty(); });
            mine.swap(queue.Finished);
        }
        for (const std::size_t i : mine) {
            done(i);
            ++reported;
        }
        mine.clear();
        if (tick)
            tick();
    }
}

} // namespace

std::size_t RunInParallel(std::size_t count, int jobs, const std::function<void(std::size_t)>& work,
                          const std::function<void(std::size_t)>& done, const std::function<void()>& tick, int tickMs,
                          const std::function<void(std::size_t, std::size_t)>& fewer, const TThreadStarter& start)
{
    if (count == 0)
        return 0;
    const std::size_t threads = std::min<std::size_t>(static_cast<std::size_t>(std::max(jobs, 1)), count);
    TWorkQueue queue(count, work);
    auto worker = [&queue] { queue.Serve(); };
    std::vector<std::thread> pool;
    pool.reserve(threads);
    auto stopAndJoin = [&] {
        queue.Next.store(count); // no case starts any more
        for (std::thread& t : pool)
            t.join();
    };
    try {
        // A limit on threads refuses some: the cases run on those that started.
        try {
            for (std::size_t t = 0; t < threads; ++t)
                pool.push_back(start ? start(worker) : std::thread(worker));
        } catch (const std::system_error&) {
            if (fewer)
                fewer(pool.size(), threads);
        }
        if (pool.empty()) {
            RunAllHere(queue, done, tick);
            return 0;
        }
        ReportAsFinished(queue, done, tick, tickMs);
    } catch (...) {
        stopAndJoin();
        throw;
    }
    stopAndJoin();
    return pool.size();
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

std::string SafeCaseName(const std::string& baseName)
{
    std::string name = baseName;
    for (char& c : name) {
        if (c != '.')
            break;
        c = '_';
    }
    if (name.empty())
        return "case";
    int k = 0, n = 0;
    if (name == SummaryFileName(0, 1) || ParseSummaryFileName(name, k, n))
        name += "_";
    return name;
}

std::vector<std::string> UniqueCaseNames(const std::vector<std::string>& baseNames)
{
    std::vector<std::string> safe;
    safe.reserve(baseNames.size());
    for (const std::string& base : baseNames)
        safe.push_back(SafeCaseName(base));
    const std::unordered_set<std::string> given(safe.begin(), safe.end());
    std::unordered_set<std::string> used;
    // The next suffix to try for a base name: the names taken only grow, so the
    // smallest free suffix of a base never goes down.
    std::unordered_map<std::string, int> nextSuffix;
    std::vector<std::string> names;
    names.reserve(safe.size());
    for (const std::string& base : safe) {
        std::string name = base;
        if (used.count(name)) {
            int& k = nextSuffix.try_emplace(base, 2).first->second;
            for (;; ++k) {
                name = base + "_" + std::to_string(k);
                if (!used.count(name) && !given.count(name))
                    break;
            }
        }
        used.insert(name);
        names.push_back(std::move(name));
    }
    return names;
}

std::vector<std::string> ListFileEntries(const std::string& text)
{
    static constexpr std::string_view bom = "\xEF\xBB\xBF";
    std::vector<std::string> files;
    std::size_t at = text.compare(0, bom.size(), bom) == 0 ? bom.size() : 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(at, end - at);
        while (!line.empty() && line.back() == '\r') // CR CR LF: a CR LF file converted again
            line.pop_back();
        if (line.find_first_not_of(" \t") != std::string::npos)
            files.push_back(std::move(line));
        at = end + 1;
    }
    return files;
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

namespace {

// A name a case list may hold: a file right in the case folder.
bool PlainFileName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name != CaseListName &&
           name.find('/') == std::string::npos && name.find('\0') == std::string::npos;
}

} // namespace

void RemoveListedCaseFiles(const std::string& folder, const std::vector<std::string>& keep)
{
    const fs::path list = fs::path(folder) / CaseListName;
    std::error_code ec;
    if (!fs::is_regular_file(fs::symlink_status(list, ec)))
        return;
    std::string text;
    try {
        text = ReadWholeFile(list.string(), InputFileLimit, "a case list");
    } catch (const TVeltraError&) {
        return; // nothing known to be ours: nothing removed
    }
    std::vector<std::string> removed;
    for (const std::string& name : ListFileEntries(text))
        if (PlainFileName(name) && std::find(keep.begin(), keep.end(), name) == keep.end())
            removed.push_back((fs::path(folder) / name).string());
    // A file its owner may not write is never replaced: the case stops before any goes.
    for (const std::string& path : removed)
        RefuseReadOnly(path);
    TFileSystem& files = RealFileSystem();
    for (const std::string& path : removed)
        files.Remove(path);
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

// The case folder, canonical when the output folder is (a case folder that is a link
// is refused, so its name is its place).
fs::path CanonicalFolder(const std::string& folder)
{
    std::error_code ec;
    fs::path canonical = fs::weakly_canonical(folder, ec);
    return ec ? fs::path(folder).lexically_normal() : canonical;
}

} // namespace

void RefuseUnsafePlan(const TBatchPlan& plan)
{
    const fs::path out = CanonicalFolder(plan.OutFolder);
    // The folders of the user's files, canonical, with the case each file belongs to.
    std::unordered_map<std::string, std::vector<std::size_t>> byFolder; // folder -> positions in Sources
    std::unordered_map<std::string, std::string> canonicalOf;
    std::vector<std::string> problems;
    const fs::path summary = out / SummaryFileName(plan.Shard.K, plan.Shard.N);
    for (std::size_t s = 0; s < plan.Sources.size(); ++s) {
        const fs::path file(plan.Sources[s].second);
        const std::string parent = file.parent_path().string();
        auto [it, added] = canonicalOf.try_emplace(parent);
        if (added)
            it->second = CanonicalFolder(parent).string();
        byFolder[it->second].push_back(s);
        if (fs::path(it->second) / file.filename() == summary)
            problems.push_back("The input \"" + file.string() + "\" is the summary \"" + summary.string() +
                               "\" the run writes.");
    }
    std::error_code ec;
    for (std::size_t index = 1; index <= plan.Names.size(); ++index) {
        if (!plan.Shard.Holds(index))
            continue;
        const fs::path folder = out / plan.Names[index - 1];
        if (fs::is_symlink(fs::symlink_status(folder, ec)))
            problems.push_back("The case folder \"" + folder.string() +
                               "\" is a symbolic link; a case writes only in a folder of its own.");
        const auto it = byFolder.find(folder.string());
        if (it == byFolder.end())
            continue;
        for (const std::size_t s : it->second) {
            const auto& [owner, path] = plan.Sources[s];
            if (owner != index)
                problems.push_back("The input \"" + path + "\" lies in the folder of case " + std::to_string(index) +
                                   " (\"" + folder.string() +
                                   "\"), which the run clears; move it or choose another --out.");
        }
    }
    if (problems.empty())
        return;
    std::string text;
    constexpr std::size_t named = 10;
    for (std::size_t i = 0; i < problems.size() && i < named; ++i)
        text += (i > 0 ? "\n" : "") + problems[i];
    if (problems.size() > named)
        text += "\n... and " + std::to_string(problems.size() - named) + " more.";
    throw TVeltraError(TErrorKind::Usage, text + "\nNothing was run.");
}

int TLockSystem::Lock(const std::string& path, bool exclusive, int& handle)
{
    std::error_code ec;
    const bool folder = fs::is_directory(path, ec);
    const int fd = folder ? ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)
                          : ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0)
        return errno;
    if (::flock(fd, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        return error;
    }
    handle = fd;
    return 0;
}

void TLockSystem::Unlock(int handle) noexcept
{
    ::close(handle); // closing drops the lock
}

TLockSystem& RealLockSystem()
{
    static TLockSystem real;
    return real;
}

namespace {

// The file system cannot lock (some network file systems): the run goes on unlocked.
bool NoLocksHere(int error)
{
    return error == ENOLCK || error == EOPNOTSUPP || error == ENOSYS || error == EBADF;
}

std::string ShardLockName(const TShard& shard)
{
    return ".veltra-lock-" + std::to_string(shard.K) + "-of-" + std::to_string(shard.N);
}

} // namespace

TBatchLock::TBatchLock(const TBatchPlan& plan) : locks_(*plan.Locks)
{
    const bool sharded = plan.Shard.N > 1;
    Take(plan.OutFolder, !sharded, plan.OutFolder);
    if (sharded)
        Take((fs::path(plan.OutFolder) / ShardLockName(plan.Shard)).string(), true, plan.OutFolder);
}

TBatchLock::TBatchLock(const std::string& folder, TLockSystem& locks) : locks_(locks)
{
    Take(folder, true, folder);
}

void TBatchLock::Take(const std::string& path, bool exclusive, const std::string& folder)
{
    int handle = -1;
    const int error = locks_.Lock(path, exclusive, handle);
    if (error == 0) {
        handles_.push_back(handle);
        return;
    }
    if (NoLocksHere(error)) {
        note_ = "The file system of \"" + folder + "\" cannot lock it: make sure no other batch or sweep writes there.";
        return;
    }
    for (const int h : handles_)
        locks_.Unlock(h);
    if (error == EWOULDBLOCK)
        throw TVeltraError(TErrorKind::File, "The folder \"" + folder +
                                                 "\" is in use by another batch, sweep or summary; nothing was "
                                                 "written. Wait for it to end, or choose another --out.");
    throw TVeltraError(TErrorKind::File, "The folder \"" + folder + "\" could not be locked (" +
                                             std::generic_category().message(error) + "); nothing was written.");
}

TBatchLock::~TBatchLock()
{
    for (const int h : handles_)
        locks_.Unlock(h);
}

namespace {

// The lock of a case folder while its case is prepared and runs.
class TCaseLock {
public:
    TCaseLock(TLockSystem& locks, const std::string& folder) : locks_(locks)
    {
        const int error = locks_.Lock(folder, true, handle_);
        if (error == EWOULDBLOCK)
            throw TVeltraError(TErrorKind::File,
                               "The case folder \"" + folder + "\" is in use by another batch or sweep.");
        if (error != 0 && !NoLocksHere(error))
            throw TVeltraError(TErrorKind::File, "The case folder \"" + folder + "\" could not be locked (" +
                                                     std::generic_category().message(error) + ").");
    }
    ~TCaseLock()
    {
        if (handle_ >= 0)
            locks_.Unlock(handle_);
    }
    TCaseLock(const TCaseLock&) = delete;
    TCaseLock& operator=(const TCaseLock&) = delete;

private:
    TLockSystem& locks_;
    int handle_ = -1;
};

// The names a case's run may write in its folder: its inputs' copies, the results of
// the first, the lists, and a series' year files.
std::vector<std::string> CaseFileNames(const std::vector<TCaseInput>& inputs)
{
    std::vector<std::string> names;
    for (const TCaseInput& input : inputs)
        names.push_back(input.Name);
    const std::string& first = inputs.front().Name;
    for (const char* extension : {".res", ".frq", ".trf"})
        names.push_back(PathWithExtension(first, extension));
    names.emplace_back("Error.lst");
    names.emplace_back("warning.lst");
    if (inputs.size() > 1) {
        TInputRecord rec;
        try {
            ReadInputText(inputs.front().Text, first, rec);
        } catch (const TVeltraError&) {}
        for (int year = 2; year <= rec.Ny; ++year) {
            const std::string name = SeriesFileName(first, year);
            if (std::find(names.begin(), names.end(), name) == names.end())
                names.push_back(name);
        }
    }
    return names;
}

// Refuses, as `veltra run` does, a case input named like one of the run's outputs.
void RefuseInputsNamedLikeOutputs(const std::vector<TCaseInput>& inputs, const fs::path& folder)
{
    const std::vector<std::string> outputs{PathWithExtension(inputs.front().Name, ".res"),
                                           PathWithExtension(inputs.front().Name, ".frq"),
                                           PathWithExtension(inputs.front().Name, ".trf"),
                                           "Error.lst",
                                           "warning.lst",
                                           CaseListName};
    for (const TCaseInput& input : inputs)
        if (std::find(outputs.begin(), outputs.end(), input.Name) != outputs.end())
            throw TVeltraError(TErrorKind::Usage, "The output file \"" + (folder / input.Name).string() +
                                                      "\" is the input file \"" + (folder / input.Name).string() +
                                                      "\"; nothing was written.");
}

// Makes the folder of a case ready and returns the inputs to run there: the inputs
// read first, what the case's earlier run listed removed (its inputs kept: a case may
// run again from its own copy), the new list written, then the copies.
std::vector<std::string> PrepareCase(const TBatchPlan& plan, std::size_t index, const fs::path& folder,
                                     TFileSystem& files)
{
    const std::vector<TCaseInput> inputs = plan.Inputs(index);
    if (inputs.empty())
        throw TVeltraError(TErrorKind::Usage, "no input file");
    RefuseInputsNamedLikeOutputs(inputs, folder);
    std::vector<std::string> keep;
    for (const TCaseInput& input : inputs)
        keep.push_back(input.Name);
    RemoveListedCaseFiles(folder.string(), keep);
    std::string list;
    for (const std::string& name : CaseFileNames(inputs))
        if (name.find_first_of("\r\n") == std::string::npos) // a line each
            list += name + "\n";
    WriteWholeFile((folder / CaseListName).string(), list, files);
    std::vector<std::string> copies;
    for (const TCaseInput& input : inputs) {
        const std::string copy = (folder / input.Name).string();
        WriteWholeFile(copy, input.Text, files);
        copies.push_back(copy);
    }
    return copies;
}

// Case `index` of the plan, in its own folder; a failure is the case's outcome.
std::unique_ptr<TSummaryRow> RunPlannedCase(const TBatchPlan& plan, std::size_t index)
{
    auto row = std::make_unique<TSummaryRow>();
    row->Index = index;
    row->Name = plan.Names[row->Index - 1];
    row->Plan = plan.Plan;
    row->Cases = plan.Names.size();
    try {
        if (plan.Varied)
            row->Varied = plan.Varied(row->Index);
        const fs::path folder = fs::path(plan.OutFolder) / row->Name;
        std::error_code ec;
        // Checked before the run too; here against a link put there since.
        if (fs::is_symlink(fs::symlink_status(folder, ec)))
            throw TVeltraError(TErrorKind::File, "The case folder \"" + folder.string() + "\" is a symbolic link.");
        fs::create_directory(folder, ec);
        if (!fs::is_directory(fs::symlink_status(folder, ec)))
            throw TVeltraError(TErrorKind::File, "The folder \"" + folder.string() + "\" could not be created.");
        const TCaseLock lock(*plan.Locks, folder.string());
        // Every file flushed once, at the batch's end, not one by one.
        static TFlushAtEndFileSystem flushAtEnd;
        row->Outcome = RunCase(PrepareCase(plan, index, folder, flushAtEnd), folder.string(), flushAtEnd);
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
    auto fewer = [&](std::size_t started, std::size_t wanted) {
        reporter.Note("Only " + std::to_string(started) + " of " + std::to_string(wanted) +
                      " threads could be started; the cases run on " +
                      (started == 0 ? std::string("one") : std::to_string(started)) + ".");
    };
    RunInParallel(
        total, jobs, work, finished, [&] { reporter.Tick(); }, 200, fewer, plan.StartThread);

    // The cases' files on the disk before the summary that reports them.
    FlushAllFiles(plan.OutFolder);
    result.SummaryPath = (fs::path(plan.OutFolder) / SummaryFileName(plan.Shard.K, plan.Shard.N)).string();
    WriteWholeFile(result.SummaryPath, SummaryText(plan.VariedNames, lines));
    result.ExitStatus = WorstExitStatus(result);
    return result;
}

} // namespace veltra
