// veltra series YEAR1.inp [YEAR2.inp ...]: the year-by-year procedure with input
// changes, as the window conducts it when the user continues and changes the input
// every year. Before year k the k-th file (the last one once the files run out) is
// read over the record, saved under the series' name for that year and checked.
// Year files already there are not replaced without --force.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/FileGuard.h"
#include "cli/RunOutput.h"
#include "engine/UCalculate.h"
#include "model/InputFile.h"
#include "model/SafeFile.h"
#include "model/TVeltraError.h"
#include "runs/Calculate.h"
#include "runs/YearRun.h"

namespace veltra::cli {

namespace {

// The input files the series will save under its own names (years 2 to Ny; a
// name that is one of the files given is read, not written).
std::vector<std::string> YearFilesToWrite(const std::vector<std::string>& files, int years)
{
    std::vector<std::string> out;
    for (int year = 2; year <= years; ++year) {
        const std::string name = SeriesFileName(files[0], year);
        bool given = false;
        for (const std::string& f : files)
            given = given || SameFile(f, name);
        if (!given)
            out.push_back(name);
    }
    return out;
}

// 0, or 1 when year files are in the way (said on standard error, nothing run).
int Series(const std::vector<std::string>& given, bool force)
{
    std::vector<std::string> files;
    for (const std::string& f : given)
        files.push_back(AbsolutePath(f));

    TDataMod dm;
    TEngineState st;
    TAnnualCarry carry;
    ClearOneShotFlags(st);
    TInputRecord& rec = dm.Rec;
    ReadNamedInputFile(files[0], rec);

    // Refuse before anything runs: every file must continue the same series.
    if (rec.Ky != 1)
        throw TVeltraError(TErrorKind::Usage, files[0] + ": a series needs Ky = 1 (year-by-year calculation).");
    if (files.size() > rec.Ny)
        throw TVeltraError(TErrorKind::Usage, "More files (" + std::to_string(files.size()) + ") than years (" +
                                                  std::to_string(rec.Ny) + ") in the series.");
    for (std::size_t k = 1; k < files.size(); ++k) {
        TInputRecord later = rec;
        ReadNamedInputFile(files[k], later);
        if (later.Ky != 1 || later.Ns != rec.Ns || later.Ny != rec.Ny) {
            const std::string first =
                "the first file's Ns (" + std::to_string(rec.Ns) + ") and Ny (" + std::to_string(rec.Ny) + ")";
            throw TVeltraError(TErrorKind::Usage,
                               files[k] + ": every file of a series needs Ky = 1 and " + first + ".");
        }
    }

    const std::string workDir = std::filesystem::current_path().string();
    const int years = rec.Ny;
    const std::vector<std::string> yearFiles = YearFilesToWrite(files, years);
    std::vector<std::string> outputs = RunOutputPaths(files[0], workDir);
    outputs.insert(outputs.end(), yearFiles.begin(), yearFiles.end());
    RefuseOutputsOverInputs(files, outputs);
    // Refuse before anything runs; the refusal names every file in the way, as
    // `example` does.
    if (!force && NameFilesInTheWay(yearFiles))
        return 1;
    // Not even --force replaces a file its owner may not write.
    for (const std::string& output : outputs)
        RefuseReadOnly(output);

    TYearRun run;
    run.Files = files;
    run.Changes = true;
    run.WorkDir = workDir;
    TPrintedYears steps(true, true, yearFiles);
    steps.Finish(RunYears(dm, st, carry, run, steps));
    return 0;
}

} // namespace

void AddSeriesCommand(CLI::App& app, int& status)
{
    auto* cmd = app.add_subcommand("series", "Run a year-by-year series, reading input changes from later files");
    auto files = std::make_shared<std::vector<std::string>>();
    auto force = std::make_shared<bool>(false);
    cmd->add_option("files", *files, "Input file of year 1, then of the later years, each read as named")->required();
    cmd->add_flag("--force", *force, "Overwrite existing year files NAME2.inp, NAME3.inp, ...");
    cmd->callback([files, force, &status]() { status = Series(*files, *force); });
}

} // namespace veltra::cli
