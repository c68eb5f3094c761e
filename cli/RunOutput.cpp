#include "cli/RunOutput.h"

#include <exception>
#include <filesystem>
#include <iostream>

#include "model/InputFile.h"
#include "model/TVeltraError.h"
#include "results/OutputFile.h"

namespace veltra::cli {

const char* const AquiferBottomMessage = SeriesStopMessage(TStopCause::AquiferBottom);

std::string AbsoluteInputPath(const std::string& file)
{
    std::error_code ec;
    const std::filesystem::path abs = std::filesystem::absolute(file, ec);
    return ec ? file : abs.lexically_normal().string();
}

void ReadInputOver(const std::string& path, TInputRecord& rec)
{
    ReadNamedInputFile(path, rec);
}

std::vector<std::string> RunOutputPaths(const std::string& path, const std::string& workDir)
{
    const std::filesystem::path dir(workDir);
    return {PathWithExtension(path, ".res"), PathWithExtension(path, ".frq"), PathWithExtension(path, ".trf"),
            (dir / "warning.lst").string(), (dir / "Error.lst").string()};
}

std::string JoinLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i)
        text += (i == 0 ? "" : "\n") + lines[i];
    return text;
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
