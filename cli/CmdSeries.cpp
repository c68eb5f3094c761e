// veltra series YEAR1.inp [YEAR2.inp ...]: the year-by-year procedure with input
// changes, as the window conducts it when the user continues and changes the input
// every year. Before year k the k-th file (the last one once the files run out) is
// read over the record, saved under the series' name for that year and checked.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/RunOutput.h"
#include "engine/UCalculate.h"
#include "model/InputCheck.h"
#include "model/InputFile.h"
#include "model/TVeltraError.h"
#include "shell/RunCalculate.h"

namespace veltra::cli {

namespace {

bool SameFile(const std::string& a, const std::string& b)
{
    std::error_code ec;
    if (std::filesystem::equivalent(a, b, ec))
        return true;
    return a == b;
}

void Validate(const TInputRecord& rec)
{
    const std::vector<std::string> refusals = ValidateBeforeSave(rec);
    if (!refusals.empty())
        throw TVeltraError(TErrorKind::Input, JoinLines(refusals));
}

void Series(const std::vector<std::string>& given)
{
    std::vector<std::string> files;
    for (const std::string& f : given)
        files.push_back(AbsoluteInputPath(f));

    TDataMod dm;
    TEngineState st;
    TAnnualCarry carry;
    ClearOneShotFlags(st);
    TInputRecord& rec = dm.Rec;
    ReadInputOver(files[0], rec);

    // Refuse before anything runs: every file must continue the same series.
    if (rec.Ky != 1)
        throw TVeltraError(TErrorKind::Usage, files[0] + ": a series needs Ky = 1 (year-by-year calculation).");
    if (files.size() > rec.Ny)
        throw TVeltraError(TErrorKind::Usage, "More files (" + std::to_string(files.size()) + ") than years (" +
                                                  std::to_string(rec.Ny) + ") in the series.");
    for (std::size_t k = 1; k < files.size(); ++k) {
        TInputRecord later = rec;
        ReadInputOver(files[k], later);
        if (later.Ky != 1 || later.Ns != rec.Ns || later.Ny != rec.Ny) {
            const std::string first =
                "the first file's Ns (" + std::to_string(rec.Ns) + ") and Ny (" + std::to_string(rec.Ny) + ")";
            throw TVeltraError(TErrorKind::Usage,
                               files[k] + ": every file of a series needs Ky = 1 and " + first + ".");
        }
    }

    Validate(rec);
    StartNewRun(rec, st, carry, files[0]);
    const std::string workDir = std::filesystem::current_path().string();
    const int years = rec.Ny;
    TSilentProgress progress;
    TCalculateOptions options;
    options.KeepErrorListWithErrors = true;
    options.KeepWarningList = true;

    TCalculateResult result;
    for (int year = 1; year <= years; ++year) {
        if (year > 1) {
            rec.YearNr = year;
            const std::string& source = files[std::min<std::size_t>(year, files.size()) - 1];
            ReadInputOver(source, rec);
            const std::string name = SeriesFileName(files[0], year);
            rec.FileName = name;
            Validate(rec);
            bool given = false;
            for (const std::string& f : files)
                given = given || SameFile(f, name);
            if (!given)
                WriteInputFile(rec, name);
        }
        result = Calculate(dm, st, carry, workDir, progress, options);
        if (result.InputErrors)
            throw TVeltraError(TErrorKind::Input, "One or more errors in the input of year " + std::to_string(year) +
                                                      " were detected (Error.lst):\n" + JoinLines(dm.ErrorLines));
        if (!result.Refusal.empty())
            throw TVeltraError(TErrorKind::Input, result.Refusal);
        PrintWarnings(dm, "Year " + std::to_string(year) + ":");
        if (result.WaterTableStop) {
            PrintLastYear(result);
            throw TVeltraError(TErrorKind::Stopped, AquiferBottomMessage);
        }
    }
    EndSeries(rec, st, carry);
    PrintLastYear(result);
}

} // namespace

void AddSeriesCommand(CLI::App& app, int& status)
{
    auto* cmd = app.add_subcommand("series", "Run a year-by-year series, reading input changes from later files");
    auto files = std::make_shared<std::vector<std::string>>();
    cmd->add_option("files", *files, "Input file of year 1, then of the later years")->required();
    cmd->callback([files, &status]() {
        Series(*files);
        status = 0;
    });
}

} // namespace veltra::cli
