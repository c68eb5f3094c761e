// veltra run FILE.inp: what the window's save-and-run does for a new run, without
// dialogues and without writing the input file. A file with Ky = 1 runs its whole
// series, year after year, without changes between the years.
#include <filesystem>
#include <memory>
#include <string>

#include "cli/Commands.h"
#include "cli/FileGuard.h"
#include "cli/RunOutput.h"
#include "engine/UCalculate.h"
#include "model/InputFile.h"
#include "runs/YearRun.h"

namespace veltra::cli {

namespace {

void Run(const std::string& file)
{
    TDataMod dm;
    TEngineState st;
    TAnnualCarry carry;
    ClearOneShotFlags(st);
    const std::string path = AbsolutePath(file);
    const std::string workDir = std::filesystem::current_path().string();
    RefuseOutputsOverInputs({path}, RunOutputPaths(path, workDir));
    ReadNamedInputFile(path, dm.Rec);

    TYearRun run;
    run.Files = {path};
    run.WorkDir = workDir;
    TPrintedYears steps(dm.Rec.Ky == 1, false);
    steps.Finish(RunYears(dm, st, carry, run, steps));
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
