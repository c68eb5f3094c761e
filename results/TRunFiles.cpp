#include "results/TRunFiles.h"

#include <chrono>
#include <filesystem>
#include <optional>

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
    const auto started = std::chrono::system_clock::now();
    const std::string marker = PathWithExtension(e.BasePath, ".trf");
    const std::vector<std::string> outputs{PathWithExtension(e.BasePath, ".res"), PathWithExtension(e.BasePath, ".frq"),
                                           marker, warnPath_};
    // A protected file refuses the run before anything is touched.
    for (const std::string& path : outputs)
        RefuseReadOnly(path);
    // What earlier runs of this case, killed while they put their files in place,
    // left beside them (the writers of a run still going hold theirs locked).
    for (const std::string& path : outputs)
        RemoveStaleTemporaries(path, started, fs_);
    // A marker of an earlier run must not stand beside files this run may not finish.
    fs_.Remove(marker);
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
    // Every file is prepared (written and flushed) before any is put in place. The
    // marker comes last, once the others and their folders are on the disk: a
    // marker that survives a crash stands beside the complete set.
    std::vector<TPendingFile> pending;
    pending.reserve(3);
    pending.emplace_back(res_.Path(), res_.Extends() ? resExtended : res_.Text(), fs_);
    pending.emplace_back(frq_.Path(), frq_.Extends() ? frqExtended : frq_.Text(), fs_);
    pending.emplace_back(warnPath_, warn_.Text(), fs_);
    std::optional<TPendingFile> marker;
    if (e.MarkerDue)
        marker.emplace(e.MarkerPath, "2\r\n", fs_);
    CommitTogether(pending);
    if (marker)
        marker->Commit();
}

} // namespace veltra
