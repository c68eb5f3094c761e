// veltra series YEAR1.inp [YEAR2.inp ...]: the year-by-year procedure with input
// changes, as the window conducts it when the user continues and changes the input
// every year. Before year k the k-th file (the last one once the files run out) is
// read over the record, saved under the series' name for that year and checked.
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/RunOutput.h"
#include "engine/UCalculate.h"
#include "model/InputCheck.h"
#include "model/InputFile.h"
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

bool Validated(const TInputRecord& rec)
{
    const std::vector<std::string> refusals = ValidateBeforeSave(rec);
    for (const std::string& message : refusals)
        std::cout << message << "\n";
    return refusals.empty();
}

int Series(const std::vector<std::string>& given)
{
    std::vector<std::string> files;
    for (const std::string& f : given)
        files.push_back(AbsoluteInputPath(f));

    TDataMod dm;
    TEngineState st;
    TAnnualCarry carry;
    ClearOneShotFlags(st);
    TInputRecord& rec = dm.Rec;
    if (!ReadInputOver(files[0], rec))
        return 2;

    // Refuse before anything runs: every file must continue the same series.
    if (rec.Ky != 1) {
        std::cerr << files[0] << ": a series needs Ky = 1 (year-by-year calculation).\n";
        return 2;
    }
    if (files.size() > rec.Ny) {
        std::cerr << "More files (" << files.size() << ") than years (" << int(rec.Ny) << ") in the series.\n";
        return 2;
    }
    for (std::size_t k = 1; k < files.size(); ++k) {
        TInputRecord later = rec;
        if (!ReadInputOver(files[k], later))
            return 2;
        if (later.Ky != 1 || later.Ns != rec.Ns || later.Ny != rec.Ny) {
            std::cerr << files[k] << ": every file of a series needs Ky = 1 and the first file's Ns ("
                      << int(rec.Ns) << ") and Ny (" << int(rec.Ny) << ").\n";
            return 2;
        }
    }

    if (!Validated(rec))
        return 1;
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
            if (!ReadInputOver(source, rec))
                return 2;
            const std::string name = SeriesFileName(files[0], year);
            rec.FileName = name;
            if (!Validated(rec))
                return 1;
            bool given = false;
            for (const std::string& f : files)
                given = given || SameFile(f, name);
            if (!given) {
                try {
                    WriteInputFile(rec, name);
                } catch (const std::exception& e) {
                    std::cerr << e.what() << "\n";
                    return 2;
                }
            }
        }
        try {
            result = Calculate(dm, st, carry, workDir, progress, options);
        } catch (const std::exception& e) {
            std::cerr << e.what() << "\n";
            return 2;
        }
        if (result.InputErrors) {
            std::cout << "One or more errors in the input of year " << year << " were detected (Error.lst):\n";
            for (const std::string& line : dm.ErrorLines)
                std::cout << line << "\n";
            return 1;
        }
        if (!result.Refusal.empty()) {
            std::cout << result.Refusal << "\n";
            return 1;
        }
        PrintWarnings(dm, "Year " + std::to_string(year) + ":");
        if (result.WaterTableStop) {
            PrintLastYear(result);
            std::cout << AquiferBottomMessage << "\n";
            return 3;
        }
    }
    EndSeries(rec, st, carry);
    PrintLastYear(result);
    return 0;
}

} // namespace

void AddSeriesCommand(CLI::App& app, int& status)
{
    auto* cmd = app.add_subcommand("series", "Run a year-by-year series, reading input changes from later files");
    auto files = std::make_shared<std::vector<std::string>>();
    cmd->add_option("files", *files, "Input file of year 1, then of the later years")->required();
    cmd->callback([files, &status]() { status = Series(*files); });
}

} // namespace veltra::cli
