#pragma once
// The batch the batch benchmarks run: copies of bench/data/wells10.inp (ten years,
// 4 seasons), each in its own folder under the temporary folder (TMPDIR=/dev/shm
// measures without the disk).
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "model/SafeFile.h"
#include "runs/Batch.h"

namespace veltra::bench {

namespace fs = std::filesystem;

inline std::string CaseInput()
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
inline veltra::TBatchPlan Plan(const fs::path& out, int runs, int jobs, const std::string& input)
{
    veltra::TBatchPlan plan;
    plan.OutFolder = out.string();
    plan.Jobs = jobs;
    for (int i = 1; i <= runs; ++i)
        plan.Names.push_back("case_" + std::to_string(i));
    plan.Inputs = [&input](std::size_t) { return std::vector<veltra::TCaseInput>{{"wells10.inp", input}}; };
    return plan;
}

inline fs::path Scratch()
{
    return fs::temp_directory_path() / ("veltra-batch-bench-" + std::to_string(::getpid()));
}

} // namespace veltra::bench
