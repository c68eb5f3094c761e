// veltra run FILE.inp: what the window's save-and-run does for a new run, without
// dialogues and without writing the input file. A file with Ky = 1 runs its whole
// series, year after year, without changes between the years.
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "cli/Commands.h"
#include "cli/RunOutput.h"
#include "engine/UCalculate.h"
#include "model/InputCheck.h"
#include "shell/RunCalculate.h"

namespace veltra::cli {

namespace {

int Run(const std::string& file)
{
    TDataMod dm;
    TEngineState st;
    TAnnualCarry carry;
    ClearOneShotFlags(st);
    const std::string path = AbsoluteInputPath(file);
    if (!ReadInputOver(path, dm.Rec))
        return 2;
    TInputRecord& rec = dm.Rec;

    const std::vector<std::string> refusals = ValidateBeforeSave(rec);
    if (!refusals.empty()) {
        for (const std::string& message : refusals)
            std::cout << message << "\n";
        return 1;
    }
    StartNewRun(rec, st, carry, path);
    const std::string workDir = std::filesystem::current_path().string();
    const bool series = rec.Ky == 1;
    const int years = rec.Ny;
    TSilentProgress progress;
    TCalculateOptions options;
    options.KeepErrorListWithErrors = true;
    options.KeepWarningList = true;

    TCalculateResult result;
    for (int year = 1;; ++year) {
        try {
            result = Calculate(dm, st, carry, workDir, progress, options);
        } catch (const std::exception& e) {
            std::cerr << e.what() << "\n";
            return 2;
        }
        if (result.InputErrors) {
            std::cout << "One or more errors in the input were detected (Error.lst):\n";
            for (const std::string& line : dm.ErrorLines)
                std::cout << line << "\n";
            return 1;
        }
        if (!result.Refusal.empty()) {
            std::cout << result.Refusal << "\n";
            return 1;
        }
        if (series)
            PrintWarnings(dm, "Year " + std::to_string(year) + ":");
        if (!series || result.WaterTableStop || year >= years)
            break;
        rec.YearNr = year + 1;
    }
    if (series && !result.WaterTableStop)
        EndSeries(rec, st, carry);
    if (!series)
        PrintWarnings(dm, "Runtime warnings (warning.lst):");
    PrintLastYear(result);
    if (result.WaterTableStop) {
        std::cout << (series ? AquiferBottomMessage : "The run was stopped; warning.lst says why.") << "\n";
        return 3;
    }
    return 0;
}

} // namespace

void AddRunCommand(CLI::App& app, int& status)
{
    auto* cmd = app.add_subcommand("run", "Check and run an input file; results beside it, warning.lst here");
    auto file = std::make_shared<std::string>();
    cmd->add_option("file", *file, "Input file (.inp)")->required();
    cmd->callback([file, &status]() { status = Run(*file); });
}

} // namespace veltra::cli
