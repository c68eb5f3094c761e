#pragma once
// Many cases in one process: each case in its own folder FOLDER/<name>/ with its own
// record, engine state and working folder, run by a few threads side by side, and
// summary.csv (or a shard's summary-K-of-N.csv) written at the end. The threads
// share nothing but the next case number and the finished list; a case's failure
// stays that case's row.
//
// A batch never touches a file of its user: a plan whose case folders hold another
// case's input, or are symbolic links, is refused before anything runs; a case
// removes only the files its earlier run listed in its folder (CaseListName); the
// output folder is locked for the whole run (a shard locks its own cases and summary).
#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "runs/SummaryTable.h"

namespace veltra {

// Starts a thread running `body`; throws std::system_error when the system has no
// thread to give (a limit on threads or processes).
using TThreadStarter = std::function<std::thread(std::function<void()> body)>;

// Runs work(i) for every i below `count` on `jobs` threads (at most `count`). done(i)
// is called on the calling thread once work(i) has returned, in the order the cases
// finish; tick() every `tickMs` milliseconds while the threads work. `work` must not
// throw. When fewer threads can be started than wanted, the work runs on those that
// were (on the calling thread when none was) and fewer(started, wanted) is called once
// first. Returns the number of threads the work ran on (0: the calling thread).
std::size_t RunInParallel(std::size_t count, int jobs, const std::function<void(std::size_t)>& work,
                          const std::function<void(std::size_t)>& done, const std::function<void()>& tick = {},
                          int tickMs = 200, const std::function<void(std::size_t, std::size_t)>& fewer = {},
                          const TThreadStarter& start = {});

// The processors this process may run on (at least 1).
int AvailableCores();

// Every N-th case starting at K (K from 0): "--shard K/N".
struct TShard {
    int K = 0;
    int N = 1;
    bool Holds(std::size_t index) const
    {
        return (index - 1) % static_cast<std::size_t>(N) == static_cast<std::size_t>(K);
    }
};
// "K/N" with 0 <= K < N; throws TVeltraError (Usage) otherwise.
TShard ParseShard(const std::string& text);

// The case names for these input base names, in order, each first made safe
// (SafeCaseName): a name used before gets the smallest suffix "_2", "_3", ... that is
// no other input's name either. Linear in the number of names.
std::vector<std::string> UniqueCaseNames(const std::vector<std::string>& baseNames);

// A base name as a case folder's name: never "", "." or "..", never hidden (leading
// dots become "_"), never the name of a summary ("summary.csv",
// "summary-K-of-N.csv": "_" appended). File names hold no "/".
std::string SafeCaseName(const std::string& baseName);

// The file in a case folder that lists, a name a line, the files the case's run may
// write there: what a later run of the case removes first.
inline constexpr const char* CaseListName = ".veltra-case";

// The input files of a list file (`--list`): one path a line (LF or CR LF, the CRs at
// a line's end removed), blank lines skipped, a UTF-8 byte-order mark at its start
// ignored.
std::vector<std::string> ListFileEntries(const std::string& text);

// The year files a year-by-year input takes along: FILE2.inp, FILE3.inp, ... beside
// it, up to year `years`, as long as they follow without a gap.
std::vector<std::string> SeriesYearFiles(const std::string& firstFile, int years);

// Removes from `folder` the files its list (CaseListName) names, except `keep`, so
// that a case run again never shows files of the earlier run; a name in the list that
// is no plain file name is skipped. Without a list nothing is removed.
void RemoveListedCaseFiles(const std::string& folder, const std::vector<std::string>& keep);

// Creates `folder` (and its parents) and makes sure files can be written there.
// Throws TVeltraError (File) naming it otherwise.
void PrepareOutputFolder(const std::string& folder);

// The locks of a batch, so that tests can make them fail.
class TLockSystem {
public:
    virtual ~TLockSystem() = default;
    // Locks the folder or file `path` (a file is made when missing) without waiting:
    // 0 with `handle` set, or the error number (EWOULDBLOCK: another holds the lock).
    virtual int Lock(const std::string& path, bool exclusive, int& handle);
    virtual void Unlock(int handle) noexcept;
};
TLockSystem& RealLockSystem();

// One input file of a case: its name in the case folder and its text.
struct TCaseInput {
    std::string Name;
    std::string Text;
};

struct TBatchPlan {
    std::string OutFolder;                // absolute
    std::vector<std::string> Names;       // every case, in case order (index = position + 1)
    std::vector<std::string> VariedNames; // a sweep's columns
    std::string Plan;                     // TPlanHash of the inputs' texts and the grid
    TShard Shard;
    int Jobs = 1;
    // The input files of case `index`: one, or a series' files, first the one the case
    // runs. Read before the case's folder is touched. Runs on a worker thread; throws
    // TVeltraError when the case cannot be prepared (the case fails).
    std::function<std::vector<TCaseInput>(std::size_t index)> Inputs;
    // The values of the varied fields for case `index` (a sweep).
    std::function<std::vector<std::string>(std::size_t index)> Varied;
    // The user's files the plan reads, absolute, by the case that reads them (0: every
    // case). None of them may lie where a case writes.
    std::vector<std::pair<std::size_t, std::string>> Sources;
    TLockSystem* Locks = &RealLockSystem();
    TThreadStarter StartThread; // empty: std::thread
};

// Refuses (TVeltraError, Usage), naming them, a plan of which a case of the shard
// would touch a file it does not own: a case folder that holds another case's input
// (or a sweep's input), a case folder that is a symbolic link, an input that is the
// shard's summary.
void RefuseUnsafePlan(const TBatchPlan& plan);

// The existing case folders and summary file of the plan's shard: a run without
// --force refuses to write over them.
std::vector<std::string> ResultsInTheWay(const TBatchPlan& plan);

// The lock of the output folder for the whole run: an unsharded run holds the folder
// alone; shards share it, each holding its own summary (the cases are locked one by
// one as they run). Refuses (TVeltraError, File) when another run holds what it
// needs. On a file system without locks the run goes on, Note() saying so.
class TBatchLock {
public:
    explicit TBatchLock(const TBatchPlan& plan);
    // `summary`: held alone, for joining the shard summaries of `folder`.
    TBatchLock(const std::string& folder, TLockSystem& locks);
    ~TBatchLock();
    TBatchLock(const TBatchLock&) = delete;
    TBatchLock& operator=(const TBatchLock&) = delete;
    const std::string& Note() const { return note_; }

private:
    void Take(const std::string& path, bool exclusive, const std::string& folder);
    TLockSystem& locks_;
    std::vector<int> handles_;
    std::string note_;
};

class TBatchReporter {
public:
    virtual ~TBatchReporter() = default;
    virtual void Started(std::size_t cases, int jobs) = 0;
    // Something the user should know once (fewer threads than asked for).
    virtual void Note(const std::string& /*text*/) {}
    // A case finished; `done` of the shard's `total` cases are done.
    virtual void CaseDone(const TSummaryRow& row, std::size_t done, std::size_t total) = 0;
    // Called a few times a second while cases run.
    virtual void Tick() {}
};

struct TBatchResult {
    std::array<std::size_t, 4> Count{}; // by TCaseStatus
    std::size_t Cases = 0;
    std::string SummaryPath;
    // 0 when every case is ok; otherwise that of the worst outcome: 2 when a case
    // failed, else 3 when one stopped, else 1 (input errors).
    int ExitStatus = 0;
};

// Runs the plan's shard and writes its summary. Throws TVeltraError (File) only when
// the summary cannot be written; every case's own failure is its row.
TBatchResult RunBatch(const TBatchPlan& plan, TBatchReporter& reporter);

} // namespace veltra
