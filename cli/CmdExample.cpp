// veltra example [FOLDER]: write the two bundled input files.
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "cli/Commands.h"
#include "cli/FileGuard.h"
#include "cli/RunOutput.h"
#include "model/ExampleInputs.h"
#include "model/SafeFile.h"
#include "model/TVeltraError.h"

namespace veltra::cli {

void AddExampleCommand(CLI::App& app, int& status)
{
    auto* cmd = app.add_subcommand("example", "Write the example input files field.inp and wells.inp");
    auto folder = std::make_shared<std::string>(".");
    auto force = std::make_shared<bool>(false);
    cmd->add_option("folder", *folder, "Folder to write into (default: the current folder)");
    cmd->add_flag("--force", *force, "Overwrite existing files");
    cmd->callback([folder, force, &status]() {
        namespace fs = std::filesystem;
        const fs::path dir = AbsolutePath(*folder);
        std::error_code ec;
        const std::vector<std::pair<std::string, std::string>> files = {
            {(dir / "field.inp").string(), FieldExampleText()},
            {(dir / "wells.inp").string(), WellsExampleText()},
        };
        // Refuse before writing anything, so that a refusal leaves the folder as it was.
        // The refusal is the command's own answer, not a thrown error: it names every
        // file in the way (standard error, status 1), not only the first.
        if (!*force && NameFilesInTheWay({files[0].first, files[1].first})) {
            status = 1;
            return;
        }
        if (fs::exists(dir, ec) && !fs::is_directory(dir, ec))
            throw TVeltraError(TErrorKind::File, "\"" + dir.string() + "\" is not a folder.");
        fs::create_directories(dir, ec);
        if (ec)
            throw TVeltraError(TErrorKind::File, "The folder \"" + dir.string() + "\" could not be made.");
        // Both files or neither: written in full beside their places, then put there.
        WriteWholeFiles(files);
        for (const auto& [path, text] : files)
            std::cout << "Wrote " << path << "\n";
        status = 0;
    });
}

} // namespace veltra::cli
