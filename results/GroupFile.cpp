#include "results/GroupFile.h"

#include <charconv>
#include <cmath>
#include <sstream>
#include <utility>

#include "model/NumberText.h"
#include "model/SafeFile.h"
#include "results/GroupTables.h"

namespace veltra {

namespace {

// Through the safe writer (model/SafeFile.h): a failed save leaves an earlier file
// as it was. A failure shows the group file message, a folder says it is one.
void WriteWhole(const std::string& path, const std::string& text, TFileSystem& fs)
{
    try {
        WriteWholeFile(path, text, fs);
    } catch (const TFileRefusal&) {
        throw;
    } catch (const TVeltraError&) {
        throw TGroupWriteError(GroupFileMessage(path));
    }
}

} // namespace

std::string GroupFileText(const TDataMod& dm)
{
    const TGroupStore& g = dm.Groups;
    if (g.DataFromLine.empty() || g.TableHeads[3].empty())
        throw TGroupWriteError("No group table", TErrorKind::Usage);
    std::string text;
    text.reserve((g.RowTexts.size() + 8) * 100);
    auto line = [&text](const std::string& s) {
        text += s;
        text += "\r\n";
    };
    line(g.DataFromLine);
    for (std::size_t h = 1; h <= 3; ++h)
        line(g.TableHeads[h]);
    for (const std::string& row : g.RowTexts)
        line(row);
    line("#");
    line("Season durations");
    std::string durations;
    for (int s = 1; s <= std::min<int>(dm.Rec.Ns, 4); ++s)
        durations.append(FixedText(dm.Rec.Ts[s], 5, 1)).append("  ");
    line(durations + "months");
    return text;
}

void SaveGroupFile(const TDataMod& dm, const std::string& path, TFileSystem& fs)
{
    const TGroupStore& g = dm.Groups;
    if (g.DataFromLine.empty() || g.TableHeads[3].empty())
        throw TGroupWriteError("No group table to save in \"" + path + "\"", TErrorKind::Usage);
    WriteWhole(path, GroupFileText(dm), fs);
}

void SaveTextLines(const TDataMod& dm, const std::string& path, TFileSystem& fs)
{
    std::string text;
    for (const std::string& s : dm.ResultLines) {
        text += s;
        text += "\r\n";
    }
    WriteWhole(path, text, fs);
}

namespace {

// The lines of one group file, with messages that name the file and the line.
struct TGroupLines {
    const std::string& Path;
    const std::vector<std::string>& Lines;

    [[noreturn]] void Fail(std::size_t index, const std::string& what) const
    {
        throw TGroupReadError("Group file \"" + Path + "\", line " + std::to_string(index + 1) + ": " + what);
    }

    // The table named by the first symbol of the column-head line, after its first
    // 14 characters.
    const TGroupTable& Table() const
    {
        std::string symbol;
        if (Lines[3].size() > 14)
            std::istringstream(Lines[3].substr(14)) >> symbol;
        const TGroupTable* table = TableOfFirstSymbol(symbol);
        if (!table)
            Fail(3, "\"" + symbol + "\" names no output group");
        return *table;
    }

    // The year and the season that start a row (the season after its first 7 characters).
    std::pair<int, int> YearAndSeason(std::size_t index) const
    {
        const std::string& row = Lines[index];
        int year = -1;
        int season = 0;
        const std::size_t from = std::min<std::size_t>(7, row.size());
        std::size_t pos = row.find_first_not_of(' ');
        if (pos >= from || std::from_chars(row.data() + pos, row.data() + from, year).ec != std::errc())
            Fail(index, "no year number");
        pos = row.find_first_not_of(' ', from);
        if (pos == std::string::npos ||
            std::from_chars(row.data() + pos, row.data() + row.size(), season).ec != std::errc())
            Fail(index, "no season number");
        return {year, season};
    }

    // The rows include year 0, so the seasons of a year show in the first rows.
    int SeasonsPerYear(std::size_t rows) const
    {
        int ns = 0;
        for (std::size_t r = 0; r < std::min<std::size_t>(rows, 4); ++r)
            ns = std::max(ns, YearAndSeason(4 + r).second);
        if (ns < 1 || ns > 4)
            Fail(4, "the season numbers are not 1 to 4");
        return ns;
    }

    // Row r as the table wrote it: year r div ns, season r mod ns + 1. Each row
    // labels its values: a row doubled or missing would shift every later one.
    void CheckRowPlace(std::size_t r, int ns) const
    {
        const auto [year, season] = YearAndSeason(4 + r);
        const int wantYear = static_cast<int>(r / static_cast<std::size_t>(ns));
        const int wantSeason = static_cast<int>(r % static_cast<std::size_t>(ns)) + 1;
        if (wantYear > 99)
            Fail(4 + r, "more than the 99 years a run holds");
        if (year != wantYear || season != wantSeason)
            Fail(4 + r, "year " + std::to_string(year) + " season " + std::to_string(season) + " where year " +
                            std::to_string(wantYear) + " season " + std::to_string(wantSeason) +
                            " belongs (a row doubled or missing)");
    }

    // Column c of row r: "-" and "n.a." read as 0, a number as its value (in percent
    // for the tables that the graph shows in percent).
    double CellValue(std::size_t r, std::size_t c, bool percent) const
    {
        const std::string& row = Lines[4 + r];
        const std::size_t start = 14 + c * 10;
        const std::string cell = start < row.size() ? WithoutBlanks(row.substr(start, 10)) : std::string();
        if (cell == "-" || cell == "n.a.")
            return 0.0;
        double v = 0.0;
        try {
            v = CellToReal(cell);
        } catch (const TNumberTextError&) {
            Fail(4 + r, "the cell \"" + cell + "\" is not a number");
        }
        return percent ? v * 100 : v;
    }

    // The season durations of the last line, over those of `ts`.
    TSeasonal Durations(TSeasonal ts, int ns) const
    {
        std::istringstream durations(Lines.back());
        for (int s = 1; s <= ns; ++s) {
            std::string word;
            durations >> word;
            try {
                ts[s] = CellToReal(word);
            } catch (const TNumberTextError&) {
                Fail(Lines.size() - 1, "no duration of season " + std::to_string(s));
            }
        }
        return ts;
    }
};

} // namespace

void ReadGroupLines(TDataMod& dm, const std::string& path, const std::vector<std::string>& lines)
{
    if (lines.empty() || lines[0].compare(0, 7, "\"Data f") != 0) {
        dm.Groups.NotGroupFile = true;
        return;
    }
    if (lines.size() < 8)
        throw TGroupReadError("Group file \"" + path + "\" has " + std::to_string(lines.size()) +
                              " lines; a group file has at least 8");
    const TGroupLines file{path, lines};
    const std::size_t rows = lines.size() - 7;
    // The rows are counted from the end, so a file cut short would be misread.
    if (WithoutBlanks(lines[4 + rows]) != "#")
        file.Fail(4 + rows, "no \"#\" line after the rows");
    const TGroupTable& table = file.Table();
    const int ns = file.SeasonsPerYear(rows);

    TGroupStore g;
    g.DataFromLine = lines[0];
    for (std::size_t h = 1; h <= 3; ++h)
        g.TableHeads[h] = lines[h];
    g.GroupTag = table.Name;
    g.SeriesCount = static_cast<int>(table.Slots.size());
    for (std::size_t r = 0; r < rows; ++r) {
        file.CheckRowPlace(r, ns);
        g.RowTexts.push_back(lines[4 + r]);
        for (std::size_t c = 0; c < table.Slots.size(); ++c)
            g.GroupSeries[static_cast<std::size_t>(table.Slots[c])].push_back(file.CellValue(r, c, table.Percent));
    }
    g.RecordCount = static_cast<int>(rows);
    const TSeasonal ts = file.Durations(dm.Rec.Ts, ns);

    dm.Groups = std::move(g);
    dm.Rec.Ny = static_cast<std::uint8_t>(rows / static_cast<std::size_t>(ns));
    dm.Rec.Ns = static_cast<std::uint8_t>(ns);
    dm.Rec.Ts = ts;
}

void SetPresenceAfterGroupOpen(TDataMod& dm)
{
    TGroupStore& g = dm.Groups;
    g.SeriesPresent.fill(false);
    const TGroupTable* table = FindGroupTable(g.GroupTag);
    if (!table)
        return;
    for (int slot : table->Slots) {
        const auto k = static_cast<std::size_t>(slot);
        for (double v : g.GroupSeries[k])
            if (v > 0) {
                g.SeriesPresent[k] = true;
                break;
            }
    }
    if (g.GroupTag == "Dw")
        g.SeriesPresent[5] = true;
}

std::string ClipboardText(const TDataMod& dm)
{
    const TGroupStore& g = dm.Groups;
    const TGroupTable* table = FindGroupTable(g.GroupTag);
    if (!table)
        return {};
    const std::size_t columns = table->GridHeads.size();
    const int ns = std::max<int>(1, dm.Rec.Ns);
    std::string text = " Year\tSeason";
    for (const char* head : table->GridHeads)
        text += std::string("\t") + head;
    for (int j = 0; j < g.RecordCount; ++j) {
        text += '\r';
        text += std::to_string(j / ns) + '\t' + std::to_string(j % ns + 1);
        for (std::size_t c = 1; c <= columns; ++c) {
            const auto& texts = g.GridTexts[c];
            const auto at = static_cast<std::size_t>(j);
            text += '\t';
            text += at < texts.size() && !texts[at].empty() ? texts[at] : std::string("  -");
        }
    }
    return text;
}

void SaveGroupCsv(const TDataMod& dm, const std::string& path, TFileSystem& fs)
{
    if (!FindGroupTable(dm.Groups.GroupTag))
        throw TGroupWriteError("No output group to save in \"" + path + "\"", TErrorKind::Usage);
    WriteWhole(path, GroupCsvText(dm), fs);
}

std::string GroupCsvText(const TDataMod& dm)
{
    const TGroupStore& g = dm.Groups;
    const TGroupTable* table = FindGroupTable(g.GroupTag);
    if (!table)
        throw TGroupWriteError("No output group", TErrorKind::Usage);
    std::string text = "Year,Season";
    for (const std::string& symbol : ColumnSymbols(*table))
        text += "," + symbol;
    text += '\n';
    const bool alwaysShown = g.GroupTag == "Dw" || g.GroupTag == "Kr";
    const int ns = std::max<int>(1, dm.Rec.Ns);
    for (int j = 0; j < g.RecordCount; ++j) {
        text += std::to_string(j / ns) + ',' + std::to_string(j % ns + 1);
        for (int slot : table->Slots) {
            const auto& s = g.GroupSeries[static_cast<std::size_t>(slot)];
            const auto at = static_cast<std::size_t>(j);
            text += ',';
            if (at >= s.size() || (s[at] < 0 && !alwaysShown))
                continue;
            double v = s[at];
            if (table->Percent && std::isfinite(v)) {
                // Back to the table's fraction: the series were multiplied by 100, and
                // the table's values have far fewer than 15 significant digits.
                v = CellToReal(GeneralText(v / 100, 15));
            }
            text += ShortestText(v);
        }
        text += '\n';
    }
    return text;
}

} // namespace veltra
