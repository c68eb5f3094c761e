// veltra summary FOLDER: the shard summaries summary-K-of-N.csv of a batch or sweep
// spread over machines, joined into the summary.csv the whole run would have written.
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <system_error>

#include "cli/Commands.h"
#include "cli/RunOutput.h"
#include "model/SafeFile.h"
#include "model/TVeltraError.h"
#include "runs/Batch.h"
#include "runs/SummaryTable.h"

namespace veltra::cli {

void AddSummaryCommand(CLI::App& app, int& status)
{
    auto* cmd = app.add_subcommand("summary", "Join the shard summaries of a batch or sweep into summary.csv");
    auto folder = std::make_shared<std::string>();
    auto force = std::make_shared<bool>(false);
    cmd->add_option("folder", *folder, "The output folder the shards shared")->required();
    cmd->add_flag("--force", *force, "Replace a summary.csv of another run");
    cmd->callback([folder, force, &status]() {
        namespace fs = std::filesystem;
        int shards = 0;
        std::size_t rows = 0;
        const fs::path dir = AbsolutePath(*folder);
        std::error_code ec;
        if (!fs::is_directory(dir, ec))
            throw TVeltraError(TErrorKind::File, "The folder \"" + dir.string() + "\" could not be read.");
        // Shards still running would leave gaps: joined only when none writes.
        const TBatchLock lock(dir.string(), RealLockSystem());
        const std::string text = JoinShardSummaries(dir.string(), &shards, &rows);
        const std::string path = (dir / SummaryFileName(0, 1)).string();
        if (!*force && fs::exists(fs::symlink_status(path, ec))) {
            std::string earlier;
            try {
                earlier = SummaryPlan(ReadWholeFile(path, 256u * 1024 * 1024, "a summary"));
            } catch (const TVeltraError&) {}
            if (earlier != SummaryPlan(text)) {
                std::cerr << "\"" << path << "\" holds the summary of another run; use --force to replace it.\n";
                status = 1;
                return;
            }
        }
        WriteWholeFile(path, text);
        std::cout << "Joined " << shards << " shards (" << rows << (rows == 1 ? " case" : " cases") << ") into " << path
                  << "\n";
        status = 0;
    });
}

} // namespace veltra::cli
