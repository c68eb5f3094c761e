#include "results/OutputGroups.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <optional>

#include "model/InputFile.h"
#include "model/NumberText.h"
#include "results/FrequencyFile.h"
#include "results/GroupTables.h"
#include "results/PathWithExtension.h"
#include "results/TextLists.h"

namespace veltra {

// ---------------------------------------------------------------- texts

namespace {

std::optional<double> ParseWhole(const std::string& text)
{
    // A leading "+" is accepted as typed; from_chars itself takes only "-".
    std::size_t from = 0;
    if (!text.empty() && text[0] == '+')
        from = 1;
    if (from >= text.size() || (from == 1 && (text[1] == '+' || text[1] == '-')))
        return std::nullopt;
    double v = 0;
    const char* first = text.data() + from;
    const char* last = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(first, last, v);
    if (ec != std::errc() || ptr != last || !std::isfinite(v))
        return std::nullopt;
    return v;
}

} // namespace

std::string WithoutBlanks(const std::string& text)
{
    std::string out;
    for (char c : text)
        if (c != ' ')
            out += c;
    return out;
}

double CellToReal(const std::string& text)
{
    const std::string t = WithoutBlanks(text);
    if (auto v = ParseWhole(t))
        return *v;
    // Files written where "," is the decimal separator.
    if (t.find('.') == std::string::npos && t.find(',') != std::string::npos) {
        std::string swapped = t;
        for (char& c : swapped)
            if (c == ',')
                c = '.';
        if (auto v = ParseWhole(swapped))
            return *v;
    }
    throw TNumberTextError("\"" + text + "\" is not a number");
}

namespace {

// A finite, non-zero value as decimal digits: sign, the significant digits without
// trailing zeros (d1 d2 d3 ...) and the exponent of the first (v = d1.d2d3... x 10^E).
struct TDecimal {
    bool Negative = false;
    std::string Digits;
    int Exponent = 0;
};

// Rounded to 15 significant digits first; the notation follows the rounded exponent.
TDecimal Decompose(double v)
{
    std::string s = ScientificText(v, 14);
    TDecimal d;
    d.Negative = s[0] == '-';
    if (d.Negative)
        s.erase(0, 1);
    const std::size_t e = s.find('E');
    d.Exponent = std::atoi(s.c_str() + e + 1);
    d.Digits = s.substr(0, 1) + s.substr(2, e - 2);
    while (d.Digits.size() > 1 && d.Digits.back() == '0')
        d.Digits.pop_back();
    return d;
}

// The digits rounded to `count` significant digits, half away from zero, on the
// decimal digits as the table shows them (12.345 gives 12.35, not the 12.34 of its
// binary value).
TDecimal Rounded(TDecimal d, std::size_t count)
{
    if (d.Digits.size() <= count)
        return d;
    const bool up = d.Digits[count] >= '5';
    d.Digits.resize(count);
    if (up) {
        std::size_t i = count;
        while (i > 0 && d.Digits[i - 1] == '9')
            d.Digits[--i] = '0';
        if (i == 0) {
            d.Digits.insert(d.Digits.begin(), '1');
            d.Digits.pop_back();
            ++d.Exponent;
        } else {
            ++d.Digits[i - 1];
        }
    }
    while (d.Digits.size() > 1 && d.Digits.back() == '0')
        d.Digits.pop_back();
    return d;
}

bool PlainNotation(const TDecimal& d)
{
    return d.Exponent >= -4 && d.Exponent < 15;
}

std::string PlainText(const TDecimal& d)
{
    std::string out = d.Negative ? "-" : "";
    if (d.Exponent >= 0) {
        const std::size_t whole = static_cast<std::size_t>(d.Exponent) + 1;
        if (d.Digits.size() <= whole)
            out += d.Digits + std::string(whole - d.Digits.size(), '0');
        else
            out += d.Digits.substr(0, whole) + "." + d.Digits.substr(whole);
    } else {
        out += "0." + std::string(static_cast<std::size_t>(-d.Exponent - 1), '0') + d.Digits;
    }
    return out;
}

std::string ScientificText(const TDecimal& d)
{
    std::string out = d.Negative ? "-" : "";
    out += d.Digits.substr(0, 1);
    if (d.Digits.size() > 1)
        out.append(".").append(d.Digits, 1);
    out += d.Exponent < 0 ? "E-" : "E";
    out += std::to_string(std::abs(d.Exponent));
    return out;
}

std::string NumberText(const TDecimal& d)
{
    return PlainNotation(d) ? PlainText(d) : ScientificText(d);
}

} // namespace

std::string TableNumberText(double v)
{
    if (v == 0 || !std::isfinite(v))
        return v == 0 ? "0" : ShortestText(v);
    return NumberText(Decompose(v));
}

std::string GridNumberText(double v)
{
    std::string text = TableNumberText(v);
    if (text.size() <= GridTextWidth || v == 0 || !std::isfinite(v))
        return text;
    // The most significant digits that fit, in the table's own notation or else in
    // the other one; a value too long even with one digit (-1E-100) keeps that digit
    // and its exponent whole rather than lose them.
    const TDecimal d = Decompose(v);
    for (std::size_t count = d.Digits.size(); count >= 1; --count) {
        const TDecimal r = Rounded(d, count);
        const std::string own = NumberText(r);
        if (own.size() <= GridTextWidth)
            return own;
        const std::string other = PlainNotation(r) ? ScientificText(r) : PlainText(r);
        if (other.size() <= GridTextWidth)
            return other;
        text = ScientificText(r);
    }
    return text;
}

std::string CentreCell(const std::string& text)
{
    std::string s = text;
    if (s.size() < 10)
        s += ' ';
    while (s.size() < 11) {
        s.push_back(' ');
        s.insert(s.begin(), ' ');
    }
    s.resize(10, ' ');
    return s;
}

std::string GroupFileMessage(const std::string& path)
{
    // The same sentence as a failed save of an input file.
    return WriteFailureMessage(path);
}

// ---------------------------------------------------------------- reading a result file

namespace {

// Where a group's values sit: value line (1 = It line) offset from the group's first
// line, the cell on that line (1-based), and the series slot it fills.
struct TCellPlace {
    int LineOffset;
    int Cell;
    int Slot;
};

struct TGroupLayout {
    const char* Name;
    int FirstLine; // value line number of the group's first line
    int SeriesCount;
    std::vector<TCellPlace> Cells;
};

const TGroupLayout* FindLayout(const std::string& group)
{
    static const std::array<TGroupLayout, 8> layouts{{
        {"CrA", 10, 8, {{0, 1, 1}, {0, 2, 2}, {0, 3, 3}, {0, 4, 4}, {1, 1, 5}, {1, 2, 6}, {1, 3, 7}, {1, 4, 8}}},
        {"Cxf", 12, 7, {{0, 1, 1}, {0, 2, 2}, {0, 3, 3}, {0, 4, 4}, {1, 1, 5}, {1, 2, 6}, {1, 3, 7}}},
        {"Gd", 6, 6, {{0, 1, 1}, {0, 2, 2}, {0, 3, 3}, {1, 1, 4}, {1, 2, 5}, {1, 3, 6}}},
        {"FfA", 2, 6, {{0, 1, 1}, {0, 2, 2}, {0, 3, 3}, {1, 1, 4}, {1, 2, 5}, {1, 3, 6}}},
        {"LrA", 4, 4, {{0, 1, 1}, {0, 2, 2}, {0, 3, 3}, {0, 4, 4}}},
        {"RrA", 5, 4, {{0, 1, 1}, {0, 2, 2}, {0, 3, 3}, {0, 4, 4}}},
        // Io is the fourth cell of the efficiency line but the third column of the table.
        {"It", 1, 5, {{0, 1, 1}, {0, 2, 2}, {0, 3, 4}, {0, 4, 5}, {1, 4, 3}}},
        {"A", 8, 5, {{0, 1, 1}, {0, 2, 2}, {0, 3, 3}, {1, 1, 4}, {1, 2, 5}}},
    }};
    for (const TGroupLayout& l : layouts)
        if (group == l.Name)
            return &l;
    return nullptr;
}

bool StartsWith(const std::string& s, const char* prefix)
{
    return s.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

// A cell of a value line: 8 characters of label, then 12 of cell (the cell and the
// first two blanks of the next label), and again; past the line's end a cell is empty.
std::string CellOfLine(const std::string& line, int cell)
{
    const std::size_t start = 8 + static_cast<std::size_t>(cell - 1) * 20;
    if (start >= line.size())
        return {};
    return WithoutBlanks(line.substr(start, 12));
}

// The lines of one result file, with messages that name the file and the line.
struct TResultReader {
    const std::string& Path;
    const std::vector<std::string>& Lines;

    [[noreturn]] void Fail(std::size_t index, const std::string& what) const
    {
        throw TGroupReadError("Result file \"" + Path + "\", line " + std::to_string(index + 1) + ": " + what);
    }

    // The whole number at `pos` of a line (leading blanks skipped); pos moves past it.
    int IntAt(std::size_t index, std::size_t& pos) const
    {
        const std::string& s = Lines[index];
        pos = std::min(s.find_first_not_of(' ', pos), s.size());
        int v = 0;
        auto [ptr, ec] = std::from_chars(s.data() + pos, s.data() + s.size(), v);
        if (ec != std::errc())
            Fail(index, "no whole number where one was expected");
        pos = static_cast<std::size_t>(ptr - s.data());
        return v;
    }

    // The real number that starts at `pos` of a line, after blanks.
    double RealAt(std::size_t index, std::size_t pos) const
    {
        const std::string& s = Lines[index];
        pos = std::min(s.find_first_not_of(' ', pos), s.size());
        const std::size_t end = std::min(s.find(' ', pos), s.size());
        try {
            return CellToReal(s.substr(pos, end - pos));
        } catch (const TNumberTextError&) {
            Fail(index, "no number where one was expected");
        }
    }

    // A cell of a value line; -1.0 marks an absent value ("-" or nothing).
    double CellValue(std::size_t index, int cell) const
    {
        const std::string text = CellOfLine(Lines[index], cell);
        if (text.empty() || text == "-")
            return -1.0;
        try {
            return CellToReal(text);
        } catch (const TNumberTextError&) {
            Fail(index, "the cell \"" + text + "\" is not a number");
        }
    }
};

} // namespace

void ReadResultGroup(TDataMod& dm, const std::string& group)
{
    ReadResultGroupFile(dm, group, PathWithExtension(dm.Rec.Shell.FileName, ".res"));
}

void ReadResultGroupFile(TDataMod& dm, const std::string& group, const std::string& path)
{
    if (!FindLayout(group))
        throw TVeltraError(TErrorKind::Internal, "No output group could be selected");
    dm.Rec.Shell.FileName = path;
    std::vector<std::string> lines;
    ReadTextLines(path, lines, "a result file");
    ReadResultGroupLines(dm, group, path, lines);
}

namespace {

// Where a season record lies, by lines from its "  YEAR: " line: the season line,
// the first value line, the end-of-record mark and the last of the 8 frequency
// lines that the writer always puts after it.
constexpr std::size_t SeasonLineOffset = 2;
constexpr std::size_t FirstValueOffset = 4;
constexpr std::size_t EndMarkOffset = 17;
constexpr std::size_t LastFrequencyOffset = 25;

struct TRecordPlace {
    std::size_t YearLine;
    int Year;
    int Season;
};

std::string YearSeason(int year, int season)
{
    return "year " + std::to_string(year) + " season " + std::to_string(season);
}

// Every season record of the file, each whole, in the order a run writes them:
// year 0 season 1 first, the seasons of a year one after the other, the next year
// after the last season. A record cut short or one that comes twice (or is
// missing) is refused, naming the line; a last year that ends early (a stopped
// run) is taken as it stands. Returns the records and the seasons of a year.
std::vector<TRecordPlace> RecordsOf(const TResultReader& reader, int& seasonsPerYear)
{
    const std::vector<std::string>& lines = reader.Lines;
    const std::size_t n = lines.size();
    std::vector<TRecordPlace> records;
    int ns = 0; // known at the first change of year
    for (std::size_t i = 0; i < n; ++i) {
        if (!StartsWith(lines[i], "  YEAR: "))
            continue;
        std::size_t pos = 8;
        const int year = reader.IntAt(i, pos);
        // A run has at most 99 years; the tables' rows are laid out for two digits.
        if (year < 0 || year > 99)
            reader.Fail(i, "year " + std::to_string(year) + " is out of range (a run has at most 99 years)");
        const std::size_t seasonLine = i + SeasonLineOffset;
        if (seasonLine >= n || !StartsWith(lines[seasonLine], "  Season:"))
            reader.Fail(i, "the record of year " + std::to_string(year) + " has no season line");
        pos = 9;
        const int season = reader.IntAt(seasonLine, pos);
        if (season < 1 || season > 4)
            reader.Fail(seasonLine, "season number " + std::to_string(season) + " is not 1 to 4");
        const std::string which = YearSeason(year, season);
        if (i + LastFrequencyOffset >= n)
            reader.Fail(n - 1, "the file ends inside the record of " + which + " (line " + std::to_string(i + 1) + ")");
        for (std::size_t k = i + 1; k <= i + LastFrequencyOffset; ++k)
            if (StartsWith(lines[k], "  YEAR: "))
                reader.Fail(k, "a record starts inside the record of " + which + " (line " + std::to_string(i + 1) +
                                   "), which is cut short");
        if (!StartsWith(lines[i + EndMarkOffset], " #"))
            reader.Fail(i + EndMarkOffset,
                        "the record of " + which + " (line " + std::to_string(i + 1) + ") has no end mark \" #\"");

        if (records.empty()) {
            if (year != 0 || season != 1)
                reader.Fail(i, "the first record is " + which + ", not year 0 season 1");
        } else {
            const TRecordPlace& before = records.back();
            const bool nextSeason = year == before.Year && season == before.Season + 1 && (ns == 0 || season <= ns);
            const bool nextYear = year == before.Year + 1 && season == 1 && (ns == 0 || before.Season == ns);
            if (!nextSeason && !nextYear)
                reader.Fail(i, which + " follows " + YearSeason(before.Year, before.Season) +
                                   " (a record doubled or missing)");
            if (nextYear && ns == 0)
                ns = before.Season;
        }
        records.push_back({i, year, season});
        i += LastFrequencyOffset;
    }
    seasonsPerYear = ns != 0 ? ns : records.empty() ? 0 : records.back().Season;
    return records;
}

} // namespace

void ReadResultGroupLines(TDataMod& dm, const std::string& group, const std::string& path,
                          const std::vector<std::string>& lines)
{
    const TGroupLayout* layout = FindLayout(group);
    if (!layout)
        throw TVeltraError(TErrorKind::Internal, "No output group could be selected");
    const TResultReader reader{path, lines};

    int ns = 0;
    const std::vector<TRecordPlace> records = RecordsOf(reader, ns);
    if (records.empty())
        throw TGroupReadError("Result file \"" + path + "\" holds no season record");

    // The duration of each season, from its last record.
    TSeasonal ts = dm.Rec.Ts;
    for (const TRecordPlace& r : records) {
        const std::size_t seasonLine = r.YearLine + SeasonLineOffset;
        std::size_t pos = 9;
        reader.IntAt(seasonLine, pos);
        ts[r.Season] = reader.RealAt(seasonLine, pos + 12);
    }

    // Values: the group's lines of every record, year 0 included.
    std::array<std::vector<double>, 9> series;
    for (int k = 1; k <= layout->SeriesCount; ++k)
        series[static_cast<std::size_t>(k)].assign(records.size(), -1.0);
    for (std::size_t record = 0; record < records.size(); ++record) {
        // Value line k is the (k + 1)-th line after the season line.
        const std::size_t first =
            records[record].YearLine + FirstValueOffset + static_cast<std::size_t>(layout->FirstLine - 1);
        for (const TCellPlace& c : layout->Cells)
            series[static_cast<std::size_t>(c.Slot)][record] =
                reader.CellValue(first + static_cast<std::size_t>(c.LineOffset), c.Cell);
    }

    TGroupStore& g = dm.Groups;
    g.GroupSeries = std::move(series);
    g.RecordCount = static_cast<int>(records.size());
    g.SeriesCount = layout->SeriesCount;
    dm.Rec.Ny = static_cast<std::uint8_t>(records.back().Year);
    dm.Rec.Ns = static_cast<std::uint8_t>(ns);
    dm.Rec.Ts = ts;
}

std::vector<TResultRecord> ReadResultRecords(const std::string& path, const std::vector<std::string>& lines)
{
    const TResultReader reader{path, lines};
    int ns = 0;
    std::vector<TResultRecord> out;
    for (const TRecordPlace& r : RecordsOf(reader, ns)) {
        TResultRecord record;
        record.Year = r.Year;
        record.Season = r.Season;
        const std::size_t seasonLine = r.YearLine + SeasonLineOffset;
        std::size_t pos = 9;
        reader.IntAt(seasonLine, pos);
        record.Duration = reader.RealAt(seasonLine, pos + 12);
        std::size_t k = 0;
        for (std::size_t line = 0; line < SeasonLineCells.size(); ++line)
            for (std::size_t cell = 1; cell <= SeasonLineCells[line]; ++cell, ++k) {
                const std::size_t at = r.YearLine + FirstValueOffset + line;
                const std::string text = CellOfLine(lines[at], static_cast<int>(cell));
                if (!text.empty() && text != "-")
                    record.Values[k] = {reader.CellValue(at, static_cast<int>(cell)), true};
            }
        // The frequency section: four slots of a title line and a line of four points.
        static const std::string title = "Cumulative frequency distribution of ";
        for (std::size_t slot = 0; slot < 4; ++slot) {
            const std::size_t at = r.YearLine + EndMarkOffset + 1 + 2 * slot;
            if (!StartsWith(lines[at], title.c_str()))
                continue;
            std::array<double, 4> points{};
            for (std::size_t p = 0; p < 4; ++p) {
                const std::size_t from = 8 + 18 * p;
                if (lines[at + 1].size() < from + 10)
                    reader.Fail(at + 1, "the frequency line has fewer than four points");
                try {
                    points[p] = CellToReal(lines[at + 1].substr(from, 10));
                } catch (const TNumberTextError&) {
                    reader.Fail(at + 1,
                                "the frequency point \"" + lines[at + 1].substr(from, 10) + "\" is not a number");
                }
            }
            record.Frequency.emplace_back(lines[at].substr(title.size()), points);
        }
        out.push_back(std::move(record));
    }
    return out;
}

// ---------------------------------------------------------------- the table

namespace {

// A series is present when some record has a value above 0; the level of the water
// table is shown whatever its sign.
void SetPresence(TGroupStore& g, bool dwTable)
{
    g.SeriesPresent.fill(false);
    for (std::size_t k = 1; k <= 8; ++k)
        for (double v : g.GroupSeries[k])
            if (v > 0) {
                g.SeriesPresent[k] = true;
                break;
            }
    if (dwTable)
        g.SeriesPresent[5] = true;
}

// The row text of record j and, per column, its grid text: the number where the
// value applies (always for the level of the water table and the rotation key), "-"
// where its series is present but not this value, and "n.a." for an absent value of
// a series that is absent throughout.
std::string TableRow(TGroupStore& g, const TGroupTable& t, std::size_t j, int ns, bool dwTable, bool krTable)
{
    const int year = static_cast<int>(j) / ns;
    const int season = static_cast<int>(j) % ns + 1;
    std::string row = year < 10 ? "  " : " ";
    row += std::to_string(year) + "       " + std::to_string(season) + "   ";
    for (std::size_t c = 1; c <= t.Slots.size(); ++c) {
        const auto slot = static_cast<std::size_t>(t.Slots[c - 1]);
        const std::vector<double>& s = g.GroupSeries[slot];
        const double v = j < s.size() ? s[j] : -1.0;
        const bool present = g.SeriesPresent[slot];
        if ((dwTable && slot == 5) || krTable || (v >= 0 && present)) {
            const std::string number = TableNumberText(v);
            row += CentreCell(number);
            g.GridTexts[c].push_back(GridNumberText(v));
        } else if (v < 0 && !present) {
            row += "  n.a.    ";
            g.GridTexts[c].push_back("  n.a.");
        } else {
            row += "   -      ";
            g.GridTexts[c].push_back("   -  ");
        }
    }
    return row;
}

} // namespace

void BuildGroupTable(TDataMod& dm, const std::string& table)
{
    const TGroupTable* t = FindGroupTable(table);
    if (!t)
        throw TVeltraError(TErrorKind::Internal, "No output table " + table);
    TGroupStore& g = dm.Groups;
    const bool dwTable = table == "Dw";
    const bool krTable = table == "Kr";
    SetPresence(g, dwTable);

    g.TableHeads[0].clear();
    g.TableHeads[1] = QuotedHeading(t->Heading1);
    g.TableHeads[2] = QuotedHeading(t->Heading2);
    g.TableHeads[3] = t->ColumnHeads;
    g.DataFromLine = "\"Data from: " + dm.Rec.Shell.FileName + "\"";

    const int ns = std::max<int>(1, dm.Rec.Ns);
    const std::size_t records = static_cast<std::size_t>(std::max(0, g.RecordCount));
    for (auto& texts : g.GridTexts)
        texts.clear();
    for (std::size_t c = 1; c <= t->Slots.size(); ++c)
        g.GridTexts[c].reserve(records);
    g.RowTexts.clear();
    g.RowTexts.reserve(records);
    for (std::size_t j = 0; j < records; ++j)
        g.RowTexts.push_back(TableRow(g, *t, j, ns, dwTable, krTable));
    g.SeriesCount = static_cast<int>(t->Slots.size());

    dm.ResultLines.clear();
    dm.ResultLines.reserve(records + 3);
    for (std::size_t h = 1; h <= 3; ++h)
        dm.ResultLines.push_back(g.TableHeads[h]);
    dm.ResultLines.insert(dm.ResultLines.end(), g.RowTexts.begin(), g.RowTexts.end());
    dm.Rec.Shell.LineCount = static_cast<std::int32_t>(dm.ResultLines.size());
    g.TableInResultLines = true;
}

// ---------------------------------------------------------------- the Output page's choices

// The choices' names.
// Texts are written exactly as users and their files know them, odd spellings included;
// do not correct them.
const TGroupOption& GroupOption(int number)
{
    static const std::array<TGroupOption, 13> options{{
        {1, "Soil salinities rootzone", "CrA", "CrA", "CrA"},
        {2, "Other salinities", "Cxf", "Cxf", "Cxf"},
        {3, "Salt storage at soil surface (Zs)", "Zs", "Gd", "Zs"},
        {4, "Drain and well discharge", "Gd", "Gd", "Gd"},
        {5, "Depth of the water table (Dw)", "Dw", "Gd", "Dw"},
        {6, "Percolation from the root zone", "LrA", "LrA", "LrA"},
        {7, "Capillary rise into the rootzone", "RrA", "RrA", "RrA"},
        {8, "Canal/field irrigation, bypass", "It", "It", "It"},
        {9, "Irrigation efficiency/sufficiency", "FfA", "FfA", "FfA"},
        {10, "Actual evaporation fallow land", "EaU", "FfA", "EaU"},
        {11, "Crop area fractions", "A", "A", "A"},
        {12, "Rotation key", "Kr", "A", "Kr"},
        {13, "See the frequency of salinity", "", "", ""},
    }};
    if (number < 1 || number > 13)
        throw TVeltraError(TErrorKind::Usage, "Output group option " + std::to_string(number) + " is not 1 to 13");
    return options[static_cast<std::size_t>(number - 1)];
}

void BuildGroupOption(TDataMod& dm, int number)
{
    const TGroupOption& option = GroupOption(number);
    if (number == 13)
        throw TVeltraError(TErrorKind::Internal, "the frequency view has no table");
    TGroupStore& g = dm.Groups;
    g.GroupTag = option.GroupTag;
    if (g.GroupTag == "Dw")
        for (double& v : g.GroupSeries[5])
            v = -v; // depth below the surface -> level relative to it
    BuildGroupTable(dm, option.Table);
    // The graph works in percent; the table keeps the fractions.
    const int percentSeries = number == 9 ? 5 : number == 11 ? 4 : 0;
    for (int k = 1; k <= percentSeries; ++k)
        for (double& v : g.GroupSeries[static_cast<std::size_t>(k)])
            v *= 100;
}

namespace {

// The frequency file read and checked whole before it replaces the lines shown.
void LoadFrequencyLines(TDataMod& dm, const std::string& frq)
{
    std::vector<std::string> lines;
    ReadTextLines(frq, lines, "a result or frequency file");
    CheckFrequencyLines(frq, lines);
    dm.ResultLines = std::move(lines);
    dm.Rec.Shell.LineCount = static_cast<std::int32_t>(dm.ResultLines.size());
    dm.Groups.TableInResultLines = false;
}

} // namespace

void RunGroupOption(TDataMod& dm, int number)
{
    const TGroupOption& option = GroupOption(number);
    if (number == 13) {
        const std::string frq = PathWithExtension(dm.Rec.Shell.FileName, ".frq");
        dm.Rec.Shell.FileName = frq;
        LoadFrequencyLines(dm, frq);
        dm.Rec.Shell.FileName = PathWithExtension(frq, ".res");
        return;
    }
    ReadResultGroup(dm, option.Reads);
    BuildGroupOption(dm, number);
}

void RunGroupOptionOn(TDataMod& dm, int number, const std::string& resultPath)
{
    const TGroupOption& option = GroupOption(number);
    if (number == 13) {
        const std::string frq = PathWithExtension(resultPath, ".frq");
        LoadFrequencyLines(dm, frq);
        dm.Rec.Shell.FileName = resultPath;
        return;
    }
    ReadResultGroupFile(dm, option.Reads, resultPath);
    BuildGroupOption(dm, number);
}

std::vector<std::string> TableViewLines(const TDataMod& dm)
{
    std::vector<std::string> lines;
    if (dm.Groups.TableInResultLines)
        lines.push_back(dm.Groups.DataFromLine);
    lines.insert(lines.end(), dm.ResultLines.begin(), dm.ResultLines.end());
    return lines;
}

} // namespace veltra
