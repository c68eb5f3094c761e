#include "results/TextLists.h"

#include "model/SafeFile.h"
#include "results/OutputGroups.h"

namespace veltra {

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        const bool last = end == std::string::npos;
        if (last)
            end = text.size();
        std::size_t stop = end;
        if (stop > start && text[stop - 1] == '\r')
            --stop;
        out.emplace_back(text, start, stop - start);
        start = last ? end : end + 1;
    }
    return out;
}

std::string JoinLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i)
        text += (i == 0 ? "" : "\n") + lines[i];
    return text;
}

void ReadTextLines(const std::string& path, std::vector<std::string>& lines, const std::string& kind)
{
    // One read and one split: result files of a long run have tens of thousands of lines.
    try {
        lines = SplitLines(ReadWholeFile(path, ResultFileLimit, kind));
    } catch (const TCannotReadError&) {
        throw TGroupReadError(GroupFileMessage(path));
    }
}

bool LoadResultLines(TDataMod& dm, const std::string& path)
{
    std::vector<std::string> lines;
    try {
        ReadTextLines(path, lines, "a result or frequency file");
    } catch (const TGroupReadError&) {
        return false;
    }
    dm.ResultLines = std::move(lines);
    dm.Rec.Shell.LineCount = static_cast<std::int32_t>(dm.ResultLines.size());
    dm.Groups.TableInResultLines = false;
    return true;
}

} // namespace veltra
