#include "cli/RunOutput.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <iostream>
#include <utility>

#include "model/InputFile.h"
#include "model/TVeltraError.h"
#include "results/PathWithExtension.h"
#include "results/TextLists.h"

namespace veltra::cli {

const char* const AquiferBottomMessage = SeriesStopMessage(TStopCause::AquiferBottom);

std::string AbsolutePath(const std::string& path)
{
    std::error_code ec;
    const std::filesystem::path abs = std::filesystem::absolute(path, ec);
    return (ec ? std::filesystem::path(path) : abs).lexically_normal().string();
}

std::vector<std::string> RunOutputPaths(const std::string& path, const std::string& workDir)
{
    const std::filesystem::path dir(workDir);
    return {PathWithExtension(path, ".res"), PathWithExtension(path, ".frq"), PathWithExtension(path, ".trf"),
            (dir / "warning.lst").string(), (dir / "Error.lst").string()};
}

TPrintedYears::TPrintedYears(bool yearByYear, bool series, std::vector<std::string> yearFiles)
    : yearByYear_(yearByYear), series_(series), yearFiles_(std::move(yearFiles))
{}

void TPrintedYears::ReadOver(const std::string& path, TInputRecord& rec)
{
    ReadNamedInputFile(path, rec);
}

void TPrintedYears::SaveYearFile(const TInputRecord& rec, const std::string& path)
{
    if (std::find(yearFiles_.begin(), yearFiles_.end(), path) != yearFiles_.end())
        WriteInputFile(rec, path);
}

std::string TPrintedYears::InputErrorsMessage(int year, const TDataMod& dm)
{
    const std::string input = series_ ? "the input of year " + std::to_string(year) : "the input";
    return "One or more errors in " + input + " were detected (Error.lst):\n" + JoinLines(dm.ErrorLines);
}

void TPrintedYears::YearDone(int year, const TDataMod& dm)
{
    PrintWarnings(dm, yearByYear_ ? "Year " + std::to_string(year) + ":" : "Runtime warnings (warning.lst):");
}

void TPrintedYears::Finish(const TCalculateResult& result) const
{
    PrintLastYear(result);
    if (result.WaterTableStop)
        throw TVeltraError(TErrorKind::Stopped, yearByYear_ ? SeriesStopMessage(result.StopCause)
                                                            : "The run was stopped; warning.lst says why.");
}

void PrintWarnings(const TDataMod& dm, const std::string& heading)
{
    if (dm.WarningLines.size() < 3)
        return;
    std::cout << heading << "\n";
    for (const std::string& line : dm.WarningLines)
        std::cout << line << "\n";
}

void PrintLastYear(const TCalculateResult& result)
{
    const std::vector<TSeasonSummary>& seasons = result.LastYear;
    const std::string& resultPath = result.ResultPath;
    if (seasons.empty())
        return;
    std::cout << "Year " << seasons.back().Year << " (the last in " << resultPath << "):\n";
    for (const TSeasonSummary& s : seasons) {
        std::cout << "  season " << s.Season << ": Dw = " << s.Dw << " m";
        for (const auto& [symbol, value] : s.Salinities)
            std::cout << ", " << symbol << " = " << value;
        std::cout << (s.Salinities.empty() ? "\n" : " dS/m\n");
    }
}

} // namespace veltra::cli
