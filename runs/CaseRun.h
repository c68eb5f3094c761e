#pragma once
// One case of a batch: what `veltra run FILE.inp` (or `veltra series FILE.inp
// FILE2.inp ...`) does in a working folder, without printing, its outcome and the
// summary of its last year returned instead. Everything the case uses is its own
// (record, engine state, carry, working folder), so cases run side by side in
// threads of one process.
#include <exception>
#include <string>
#include <vector>

#include "model/SafeFile.h"
#include "model/TEngineState.h"
#include "model/TVeltraError.h"
#include "model/UDataMod.h"
#include "results/TRunObserver.h"
#include "results/TRunSummary.h"

namespace veltra {

// How a case ended, as the exit status of the single command would say it.
enum class TCaseStatus {
    Ok,          // 0
    InputErrors, // 1: the check or the save-time validation refused the input
    Stopped,     // 3: the model stopped the run (partial results written)
    Failed       // 2: a file could not be read or written, or the program failed
};

const char* CaseStatusText(TCaseStatus status); // "ok", "input errors", "stopped", "failed"
int CaseExitStatus(TCaseStatus status);
// How an error of `kind` ends a case; with CaseExitStatus the one mapping of error
// kinds to exit statuses, which the command line uses too.
TCaseStatus CaseStatusOf(TErrorKind kind);

struct TCaseOutcome {
    TCaseStatus Status = TCaseStatus::Failed;
    std::string Message;                    // the first line of why it is not ok (empty when ok)
    TErrorKind Kind = TErrorKind::Internal; // of the error that ended a case that is not ok
    bool Ran = false;                       // the run went through at least one season
    int Years = 0;                          // the year of its last season record
    int Warnings = 0;                       // warning messages
    TSummaryValues Last, Means;             // see TRunSummary
};

// The outcome of a case that `failure` ended: its status by the error's kind and the
// first line of its message ("internal error: " before a failure of the program).
TCaseOutcome FailedCaseOutcome(const std::exception& failure);

// Reads the input file `path` over `rec` as a case reads its files (and a batch
// the inputs it prepares): a file that cannot be read, a folder or a file larger
// than an input file can be is a TVeltraError (File) in the reader's own words.
void ReadCaseInput(const std::string& path, TInputRecord& rec);

// Runs `files` in `workDir` (Error.lst and warning.lst go there; the results beside
// the first file): one file as `veltra run` does, several as `veltra series` does
// (the first file's year 1, then the later years' files in order). Paths are
// absolute. The files go through `fs` (a batch passes a TFlushAtEndFileSystem and
// flushes once at its end); `observer` sees the run besides its files. Never throws:
// every error becomes the outcome.
TCaseOutcome RunCase(const std::vector<std::string>& files, const std::string& workDir,
                     TFileSystem& fs = RealFileSystem(), TRunObserver* observer = nullptr);

// The same case in memory, on records instead of files: one record as `veltra run`
// runs a file that holds it, several as `veltra series` runs the files of a series
// (year k takes the input of records[k - 1], the last once they run out). Nothing is
// read or written; `name` names the run (the input's path). The records run as they
// stand, at full precision, and the outcome is RunCase's, message for message (a
// sweep's summary row from Python equals the command's). The fit's search runs the
// bare year loop instead (RunInMemory in runs/MemoryRun.h), which keeps no case.
TCaseOutcome RunRecordCase(const std::vector<TInputRecord>& records, const std::string& name,
                           TRunObserver* observer = nullptr);

// Why the model stopped a case, for the outcome's message: StopCauseText as a
// sentence that points at warning.lst.
std::string CaseStopMessage(TStopCause cause);

} // namespace veltra
