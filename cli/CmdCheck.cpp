// veltra check FILE.inp: the input check and the save-time validation, so that
// the outcome predicts what a run of the file will do.
#include <filesystem>
#include <iostream>
#include <string>

#include "cli/Commands.h"
#include "model/InputCheck.h"
#include "model/InputFile.h"

namespace veltra::cli {

void AddCheckCommand(CLI::App& app, int& status)
{
    auto* cmd = app.add_subcommand("check", "Check an input file; writes Error.lst in the current folder");
    auto file = std::make_shared<std::string>();
    cmd->add_option("file", *file, "Input file (.inp)")->required();
    cmd->callback([file, &status]() {
        TDataMod dm;
        dm.Rec.FileName = *file;
        ReadInputFile(dm.Rec);
        CheckInput(dm.Rec, std::filesystem::current_path().string());
        // The list is the command's report, printed whether or not it holds errors.
        const auto lines = InputErrorLines(dm.Rec);
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
