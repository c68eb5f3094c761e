#include "results/RunFiles.h"

#include <filesystem>

#include "results/OutputFile.h"

namespace veltra {

void TWarningListWriter::RunStarted(const TRunStart& start, const TInputRecord&, const TEngineState&)
{
    text_.clear();
    if (start.WarningHeading)
        text_ += " THE FOLLOWING RUNTIME WARNINGS ARE GIVEN:\r\n";
}

void TWarningListWriter::Warning(const std::vector<std::string>& lines)
{
    for (const std::string& line : lines)
        text_.append(line).append("\r\n");
}

void TWarningListWriter::RunEnded(const TRunEnd&, const TInputRecord&, const TEngineState&)
{
    WriteFileText(path_, text_, false);
}

void TRunMarkerWriter::RunEnded(const TRunEnd& end, const TInputRecord&, const TEngineState&)
{
    if (end.MarkerDue)
        WriteFileText(end.MarkerPath, "2\r\n", false);
}

TRunFiles::TRunFiles(const std::string& workDir)
    : warn_((std::filesystem::path(workDir) / "warning.lst").string()), all_{&res_, &frq_, &warn_, &marker_}
{
}

} // namespace veltra
