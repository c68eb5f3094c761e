#include "results/TRunFiles.h"

#include <filesystem>

#include "results/PathWithExtension.h"

namespace veltra {

namespace {

// The text of a file that a later year of a series extends.
std::string Extended(const std::string& path, const std::string& text, const char* kind)
{
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        return text;
    return ReadWholeFile(path, ResultFileLimit, kind) + text;
}

} // namespace

void TWarningText::RunStarted(const TRunStart& start, const TInputRecord&, const TEngineState&)
{
    text_.clear();
    count_ = 0;
    if (start.WarningHeading)
        text_ += " THE FOLLOWING RUNTIME WARNINGS ARE GIVEN:\r\n";
}

void TWarningText::Warning(const std::vector<std::string>& lines)
{
    ++count_;
    for (const std::string& line : lines)
        text_.append(line).append("\r\n");
}

TRunFiles::TRunFiles(const std::string& workDir, TFileSystem& fs)
    : fs_(fs), warnPath_((std::filesystem::path(workDir) / "warning.lst").string())
{}

void TRunFiles::RunStarted(const TRunStart& e, const TInputRecord& r, const TEngineState& s)
{
    // A marker of an earlier run must not stand beside files this run may not finish.
    fs_.Remove(PathWithExtension(e.BasePath, ".trf"));
    res_.RunStarted(e, r, s);
    frq_.RunStarted(e, r, s);
    warn_.RunStarted(e, r, s);
}

void TRunFiles::SeasonDone(const TSeasonDone& e, const TInputRecord& r, const TEngineState& s)
{
    res_.SeasonDone(e, r, s);
    frq_.SeasonDone(e, r, s);
}

void TRunFiles::Warning(const std::vector<std::string>& lines)
{
    warn_.Warning(lines);
}

void TRunFiles::RunEnded(const TRunEnd& e, const TInputRecord&, const TEngineState&)
{
    std::string resExtended, frqExtended;
    if (res_.Extends())
        resExtended = Extended(res_.Path(), res_.Text(), "a result file");
    if (frq_.Extends())
        frqExtended = Extended(frq_.Path(), frq_.Text(), "a frequency file");
    // Every file is prepared before any is put in place; the marker comes last.
    std::vector<TPendingFile> pending;
    pending.reserve(4);
    pending.emplace_back(res_.Path(), res_.Extends() ? resExtended : res_.Text(), fs_);
    pending.emplace_back(frq_.Path(), frq_.Extends() ? frqExtended : frq_.Text(), fs_);
    pending.emplace_back(warnPath_, warn_.Text(), fs_);
    if (e.MarkerDue)
        pending.emplace_back(e.MarkerPath, "2\r\n", fs_);
    for (TPendingFile& file : pending)
        file.Commit();
}

} // namespace veltra
