#pragma once
// Many cases in one process: each case in its own folder FOLDER/<name>/ with its own
// record, engine state and working folder, run by a few threads side by side, and
// summary.csv (or a shard's summary-K-of-N.csv) written at the end. The threads
// share nothing but the next case number and the finished list; a case's failure
// stays that case's row.
#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "runs/SummaryTable.h"

namespace veltra {

// Runs work(i) for every i below `count` on `jobs` threads (at most `count`). done(i)
// is called on the calling thread once work(i) has returned, in the order the cases
// finish; tick() every `tickMs` milliseconds while the threads work. `work` must not
// throw.
void RunInParallel(std::size_t count, int jobs, const std::function<void(std::size_t)>& work,
                   const std::function<void(std::size_t)>& done, const std::function<void()>& tick = {},
                   int tickMs = 200);

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

// The case names for these input base names, in order: a name used before gets
// the smallest suffix "_2", "_3", ... that is no other input's name either.
std::vector<std::string> UniqueCaseNames(const std::vector<std::string>& baseNames);

// The year files a year-by-year input takes along: FILE2.inp, FILE3.inp, ... beside
// it, up to year `years`, as long as they follow without a gap.
std::vector<std::string> SeriesYearFiles(const std::string& firstFile, int years);

// Removes from `folder` the files a run of `inputName` leaves there (the input and
// its year files, .res, .frq, .trf, Error.lst, warning.lst), so that a case run
// again never shows files of the earlier run. An empty folder is left alone.
void RemoveCaseFiles(const std::string& folder, const std::string& inputName);

// Creates `folder` (and its parents) and makes sure files can be written there.
// Throws TVeltraError (File) naming it otherwise.
void PrepareOutputFolder(const std::string& folder);

struct TBatchPlan {
    std::string OutFolder;                // absolute
    std::vector<std::string> Names;       // every case, in case order (index = position + 1)
    std::vector<std::string> VariedNames; // a sweep's columns
    TShard Shard;
    int Jobs = 1;
    // Prepares the folder of case `index` (which exists) and returns the input files
    // to run there, absolute: one, or a series' files. Runs on a worker thread; throws
    // TVeltraError when the case cannot be prepared (the case fails).
    std::function<std::vector<std::string>(std::size_t index, const std::string& folder)> Prepare;
    // The values of the varied fields for case `index` (a sweep).
    std::function<std::vector<std::string>(std::size_t index)> Varied;
};

// The existing case folders and summary file of the plan's shard: a run without
// --force refuses to write over them.
std::vector<std::string> ResultsInTheWay(const TBatchPlan& plan);

class TBatchReporter {
public:
    virtual ~TBatchReporter() = default;
    virtual void Started(std::size_t cases, int jobs) = 0;
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
