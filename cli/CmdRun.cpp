// veltra run FILE.inp: what the window's save-and-run does for a new run, without
// dialogues and without writing the input file. A file with Ky = 1 runs its whole
// series, year after year, without changes between the years.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/FileGuard.h"
#include "cli/RunOutput.h"
#include "engine/UCalculate.h"
#include "model/InputCheck.h"
#include "model/TVeltraError.h"
#include "results/OutputFile.h"
#include "shell/RunCalculate.h"

namespace veltra::cli {

namespace {

void Run(const std::string& file)
{
    TDataMod dm;
    TEngineState st;
    TAnnualCarry carry;
    ClearOneShotFlags(st);
    const std::string path = AbsoluteInputPath(file);
    const std::string workDir = std::filesystem::current_path().string();
    RefuseOutputsOverInputs({path}, RunOutputPaths(path, workDir));
    ReadInputOver(path, dm.Rec);
    TInputRecord& rec = dm.Rec;

    const std::vector<std::string> refusals = ValidateBeforeSave(rec);
    if (!refusals.empty())
        throw TVeltraError(TErrorKind::Input, JoinLines(refusals));
    StartNewRun(rec, st, carry, path);
    const bool series = rec.Ky == 1;
    const int years = rec.Ny;
    TSilentProgress progress;
    TCalculateOptions options;
    options.KeepErrorListWithErrors = true;
    options.KeepWarningList = true;

    TCalculateResult result;
    for (int year = 1;; ++year) {
        result = Calculate(dm, st, carry, workDir, progress, options);
        if (result.InputErrors)
            throw TVeltraError(TErrorKind::Input, "One or more errors in the input were detected (Error.lst):\n" +
                                                      JoinLines(dm.ErrorLines));
        if (!result.Refusal.empty())
            throw TVeltraError(TErrorKind::Input, result.Refusal);
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
    if (result.WaterTableStop)
        throw TVeltraError(TErrorKind::Stopped, series ? SeriesStopMessage(result.StopCause)
                                                       : "The run was stopped; warning.lst says why.");
}

} // namespace

void AddRunCommand(CLI::App& app, int& status)
{
    auto* cmd = app.add_subcommand("run", "Check and run an input file; results beside it, warning.lst here");
    auto file = std::make_shared<std::string>();
    cmd->add_option("file", *file, "Input file (.inp), read as named")->required();
    cmd->callback([file, &status]() {
        Run(*file);
        status = 0;
    });
}

} // namespace veltra::cli
