#include "results/TextLists.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "results/OutputGroups.h"

namespace veltra {

bool ReadTextLines(const std::string& path, std::vector<std::string>& lines)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    // One read and one split: result files of a long run have tens of thousands of lines.
    std::string text;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size > 0) {
        text.resize(static_cast<std::size_t>(size));
        in.seekg(0);
        in.read(text.data(), size);
        text.resize(static_cast<std::size_t>(in.gcount()));
    } else { // not seekable (a pipe) or empty
        in.clear();
        in.seekg(0);
        in.clear();
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    if (in.bad())
        return false;
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
    lines = std::move(out);
    return true;
}

bool LoadResultLines(TDataMod& dm, const std::string& path)
{
    std::vector<std::string> lines;
    if (!ReadTextLines(path, lines))
        return false;
    dm.ResultLines = std::move(lines);
    dm.Rec.LineCount = static_cast<std::int32_t>(dm.ResultLines.size());
    dm.Groups.TableInResultLines = false;
    return true;
}

namespace {

TListLoad LoadList(const std::string& path, std::vector<std::string>& target)
{
    std::vector<std::string> lines;
    if (!ReadTextLines(path, lines))
        throw TGroupReadError(GroupFileMessage(path));
    TListLoad load;
    load.Count = static_cast<int>(lines.size());
    // Fewer than 3 lines hold the heading only, no messages.
    load.Present = load.Count >= 3;
    if (load.Present)
        target = std::move(lines);
    return load;
}

} // namespace

TListLoad LoadErrorList(TDataMod& dm, const std::string& folder)
{
    return LoadList((std::filesystem::path(folder) / "Error.lst").string(), dm.ErrorLines);
}

TListLoad LoadWarningList(TDataMod& dm, const std::string& folder)
{
    return LoadList((std::filesystem::path(folder) / "warning.lst").string(), dm.WarningLines);
}

} // namespace veltra
