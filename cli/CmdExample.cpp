// veltra example [FOLDER]: write the two bundled input files.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "cli/Commands.h"
#include "model/ExampleInputs.h"
#include "model/InputFile.h"
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
        std::error_code ec;
        const fs::path dir = fs::absolute(*folder, ec).lexically_normal();
        const std::vector<std::pair<fs::path, const std::string*>> files = {
            {dir / "field.inp", &FieldExampleText()},
            {dir / "wells.inp", &WellsExampleText()},
        };
        // Refuse before writing anything, so that a refusal leaves the folder as it was.
        // The refusal is the command's own answer, not a thrown error: it names every
        // file in the way (standard error, status 1), not only the first.
        if (!*force) {
            bool exists = false;
            for (const auto& [path, text] : files) {
                if (fs::exists(path, ec)) {
                    std::cerr << "The file \"" << path.string() << "\" already exists; use --force to overwrite it.\n";
                    exists = true;
                }
            }
            if (exists) {
                status = 1;
                return;
            }
        }
        fs::create_directories(dir, ec);
        for (const auto& [path, text] : files) {
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out << *text;
            out.flush();
            if (!out)
                throw TVeltraError(TErrorKind::File, WriteFailureMessage(path.string()));
            std::cout << "Wrote " << path.string() << "\n";
        }
        status = 0;
    });
}

} // namespace veltra::cli
