// veltra check FILE.inp: the input check and the save-time validation, so that
// the outcome predicts what a run of the file will do.
#include <filesystem>
#include <iostream>
#include <string>

#include "cli/Commands.h"
#include "cli/FileGuard.h"
#include "cli/RunOutput.h"
#include "model/InputCheck.h"
#include "model/InputFile.h"

namespace veltra::cli {

void AddCheckCommand(CLI::App& app, int& status)
{
    auto* cmd = app.add_subcommand("check", "Check an input file; writes Error.lst in the current folder");
    auto file = std::make_shared<std::string>();
    cmd->add_option("file", *file, "Input file (.inp), read as named")->required();
    cmd->callback([file, &status]() {
        TDataMod dm;
        const std::string path = AbsolutePath(*file);
        const std::string folder = std::filesystem::current_path().string();
        RefuseOutputsOverInputs({path}, {(std::filesystem::path(folder) / "Error.lst").string()});
        ReadNamedInputFile(path, dm.Rec);
        dm.Rec.Shell.FileName = path;
        const auto lines = CheckInput(dm.Rec, folder);
        // The list is the command's report, printed whether or not it holds errors.
        std::cout << ErrorListHeading << "\n\n";
        for (const auto& line : lines)
            std::cout << line << "\n";
        const auto refusals = ValidateBeforeSave(dm.Rec);
        for (const auto& message : refusals)
            std::cout << message << "\n";
        status = lines.empty() && refusals.empty() ? 0 : 1;
    });
}

} // namespace veltra::cli
