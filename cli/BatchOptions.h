#pragma once
// What `veltra batch` and `veltra sweep` share: the options -j, --out, --shard and
// --force, the refusals before anything runs, the progress on standard output and
// the closing line.
#include <memory>
#include <string>

#include <CLI/CLI.hpp>

#include "runs/Batch.h"

namespace veltra::cli {

struct TBatchOptions {
    int Jobs = 0; // 0: every core this process may use
    std::string Out;
    std::string Shard;
    bool Force = false;
};

void AddBatchOptions(CLI::App& cmd, TBatchOptions& options, const std::string& defaultOut);

// Completes `plan` from the options (output folder, jobs, shard), locks the output
// folder and refuses what would fail or touch a user's file before any case runs: a
// wrong shard, an output folder that cannot be written or is in use, an unsafe plan
// (TVeltraError). Returns 1, having named them on standard error, when results of
// the same cases are in the way without --force. Otherwise runs the plan with the
// progress on standard output (a bar on a terminal, a line per case flushed
// otherwise; a closed output ends the progress, not the batch) and returns the
// batch's exit status.
int RunPlan(TBatchPlan& plan, const TBatchOptions& options);

} // namespace veltra::cli
