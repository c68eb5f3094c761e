// veltra summary FOLDER: the shard summaries summary-K-of-N.csv of a batch or sweep
// spread over machines, joined into the summary.csv the whole run would have written.
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "cli/Commands.h"
#include "cli/RunOutput.h"
#include "model/SafeFile.h"
#include "runs/SummaryTable.h"

namespace veltra::cli {

void AddSummaryCommand(CLI::App& app, int& status)
{
    auto* cmd = app.add_subcommand("summary", "Join the shard summaries of a batch or sweep into summary.csv");
    auto folder = std::make_shared<std::string>();
    cmd->add_option("folder", *folder, "The output folder the shards shared")->required();
    cmd->callback([folder, &status]() {
        namespace fs = std::filesystem;
        int shards = 0;
        std::size_t rows = 0;
        const fs::path dir = AbsolutePath(*folder);
        const std::string text = JoinShardSummaries(dir.string(), &shards, &rows);
        const std::string path = (dir / SummaryFileName(0, 1)).string();
        WriteWholeFile(path, text);
        std::cout << "Joined " << shards << " shards (" << rows << (rows == 1 ? " case" : " cases") << ") into " << path
                  << "\n";
        status = 0;
    });
}

} // namespace veltra::cli
