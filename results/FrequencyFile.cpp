#include "results/FrequencyFile.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "model/NumberText.h"
#include "results/OutputGroups.h"
#include "results/PathWithExtension.h"
#include "results/RootZoneLayout.h"

namespace veltra {

const char* const FrequencyTitle = "  FREQUENCY DISTRIBUTION OF SOIL SALINITY";

bool IsFrequencyText(const std::vector<std::string>& lines)
{
    return !lines.empty() && lines.front() == FrequencyTitle;
}

namespace {

constexpr const char* CrLf = "\r\n";
constexpr const char* Subtitle = "  \"(meant for\" spreadsheet use)";
constexpr const char* HeadLine1 = "- - -            Cumulative \"frequency of\" \"soil salinity\"";
constexpr const char* HeadLine2 = "- Salinity    -    20%       40%       60%       80%    ";
constexpr std::size_t RowCellsAt = 15; // a row: "-  ", the symbol, blanks and "-", then four cells
constexpr std::size_t NumberCellWidth = 10;
constexpr double Levels[4] = {0.2, 0.4, 0.6, 0.8};

// One filled slot: the symbol the season record prints the variable under, and its value.
struct TSlot {
    const char* Symbol = nullptr; // nullptr: empty slot
    double Value = 0;
};

// The four slots of a season, in order, for the rotation key in force.
std::array<TSlot, 4> Slots(const TEngineState& st)
{
    std::array<TSlot, 4> slots{};
    std::size_t i = 0;
    for (const TRootZoneEntry& entry : RootZoneLayout(st.Kr)) {
        if (ShownInFrequency(entry, st))
            slots[i] = {SymbolText(entry.Symbol), RootZoneValue(st, entry.Var)};
        ++i;
    }
    return slots;
}

// The area class's two factors.
void Factors(double area, double& a, double& b)
{
    a = 0.84, b = 0.25;
    if (area > 1000) {
        a = 0.69;
        b = 0.52;
    } else if (area > 100) {
        a = 0.81;
        b = 0.32;
    }
}

} // namespace

namespace {

bool Begins(const std::string& s, const char* prefix)
{
    return s.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

// The whole number in `width` characters at `at` of a line, followed by a quote.
bool NumberBeforeQuote(const std::string& line, std::size_t at, std::size_t width, int& value)
{
    if (line.size() < at + width + 1 || line[at + width] != '"')
        return false;
    const std::size_t from = line.find_first_not_of(' ', at);
    if (from >= at + width)
        return false;
    auto [ptr, ec] = std::from_chars(line.data() + from, line.data() + at + width, value);
    return ec == std::errc() && ptr == line.data() + at + width;
}

// Walks the lines of a frequency file table by table; the first fault ends the walk with its line.
class TFrequencyChecker {
public:
    TFrequencyChecker(const std::string& path, const std::vector<std::string>& lines)
        : path_(path), lines_(lines), n_(lines.size())
    {}

    void Check()
    {
        CheckTitle();
        while (i_ < n_) {
            const std::size_t start = i_;
            if (yearEnded_)
                CheckYearLine();
            const std::string which = CheckSeasonLine();
            CheckHeads(which, start);
            CheckRows(which);
            CheckTableEnd(which, start);
        }
    }

private:
    [[noreturn]] void Fail(std::size_t index, const std::string& what) const
    {
        throw TGroupReadError("Frequency file \"" + path_ + "\", line " + std::to_string(index + 1) + ": " + what);
    }

    void Cut(const std::string& which, std::size_t start) const
    {
        Fail(n_ - 1, "the file ends inside the table of " + which + " (line " + std::to_string(start + 1) + ")");
    }

    void CheckTitle() const
    {
        if (n_ == 0 || lines_[0] != FrequencyTitle)
            Fail(0, "the title is not \"" + std::string(FrequencyTitle).substr(2) + "\"");
        if (n_ < 3 || lines_[1] != Subtitle || !lines_[2].empty())
            Fail(n_ < 2 ? 0 : lines_[1] != Subtitle ? 1 : 2, "the title lines are not those of a frequency file");
        if (n_ == 3)
            Fail(2, "the file holds no season table");
    }

    void CheckYearLine()
    {
        int y = 0;
        if (!Begins(lines_[i_], " \"YEAR:  ") || !NumberBeforeQuote(lines_[i_], 9, 4, y))
            Fail(i_, "no year line where the table of year " + std::to_string(year_ + 1) + " season 1 should start");
        if (y != year_ + 1)
            Fail(i_, "year " + std::to_string(y) + " follows year " + std::to_string(year_) +
                         " (a table doubled or missing)");
        year_ = y;
        season_ = 0;
        ++i_;
    }

    // Returns the name of the table the season line starts, "year Y season S".
    std::string CheckSeasonLine()
    {
        int s = 0;
        if (i_ >= n_ || !Begins(lines_[i_], " \"Season: ") || !NumberBeforeQuote(lines_[i_], 10, 3, s))
            Fail(std::min(i_, n_ - 1), "no season line where season " + std::to_string(season_ + 1) + " of year " +
                                           std::to_string(year_) + " should start");
        std::string which = "year " + std::to_string(year_) + " season " + std::to_string(s);
        if (s != season_ + 1 || s > 4 || (ns_ != 0 && s > ns_))
            Fail(i_, which + " follows year " + std::to_string(year_) + " season " + std::to_string(season_) +
                         " (a table doubled or missing)");
        season_ = s;
        ++i_;
        return which;
    }

    void CheckHeads(const std::string& which, std::size_t start)
    {
        for (const char* head : {HeadLine1, HeadLine2}) {
            if (i_ >= n_)
                Cut(which, start);
            if (lines_[i_] != head)
                Fail(i_, "the table of " + which + " has no column heads");
            ++i_;
        }
    }

    void CheckRows(const std::string& which)
    {
        for (int rows = 0; i_ < n_ && Begins(lines_[i_], "-  "); ++rows, ++i_) {
            const std::string& row = lines_[i_];
            bool cells = rows < 4 && row.size() == RowCellsAt + 4 * NumberCellWidth;
            for (std::size_t c = 0; cells && c < 4; ++c) {
                try {
                    CellToReal(row.substr(RowCellsAt + c * NumberCellWidth, NumberCellWidth));
                } catch (const TNumberTextError&) {
                    cells = false;
                }
            }
            if (!cells)
                Fail(i_, "the row is not a symbol and four numbers (the table of " + which + ")");
        }
    }

    // The end mark " #" after the last season of a year, then the empty line after every table.
    void CheckTableEnd(const std::string& which, std::size_t start)
    {
        if (i_ >= n_)
            Cut(which, start);
        yearEnded_ = lines_[i_] == " #";
        if (yearEnded_) {
            if (ns_ == 0)
                ns_ = season_;
            if (season_ != ns_)
                Fail(i_, "year " + std::to_string(year_) + " ends after season " + std::to_string(season_) + ", not " +
                             std::to_string(ns_));
            ++i_;
        } else if (ns_ != 0 && season_ == ns_) {
            Fail(i_, "the table of " + which + " has no end mark \" #\"");
        }
        if (i_ >= n_)
            Cut(which, start);
        if (!lines_[i_].empty())
            Fail(i_, "the table of " + which + " is not followed by an empty line");
        ++i_;
    }

    const std::string& path_;
    const std::vector<std::string>& lines_;
    std::size_t n_;
    std::size_t i_ = 3;
    int year_ = -1;
    int season_ = 0;
    int ns_ = 0;
    bool yearEnded_ = true;
};

} // namespace

void CheckFrequencyLines(const std::string& path, const std::vector<std::string>& lines)
{
    TFrequencyChecker(path, lines).Check();
}

std::array<double, 4> FrequencyPoints(double area, double v)
{
    // ln(-ln p) of the four levels, computed once: the same numbers every call.
    static const std::array<double, 4> gumbel = [] {
        std::array<double, 4> g{};
        for (std::size_t i = 0; i < 4; ++i)
            g[i] = std::log(-std::log(Levels[i]));
        return g;
    }();
    double a, b;
    Factors(area, a, b);
    std::array<double, 4> pts{};
    for (std::size_t i = 0; i < 4; ++i)
        pts[i] = v * (a - b * gumbel[i]);
    return pts;
}

std::vector<TFrequencyRow> FrequencyRows(const TInputRecord& rec, const TEngineState& st)
{
    std::vector<TFrequencyRow> rows;
    for (const TSlot& slot : Slots(st))
        if (slot.Symbol)
            rows.push_back({slot.Symbol, FrequencyPoints(rec.Area, slot.Value)});
    return rows;
}

void AppendFrequencySection(std::string& res, const TInputRecord& rec, const TEngineState& st)
{
    // Four slots of two lines each.
    for (const TSlot& slot : Slots(st)) {
        if (!slot.Symbol) {
            res += "\r\n\r\n";
            continue;
        }
        const std::array<double, 4> pts = FrequencyPoints(rec.Area, slot.Value);
        res.append("Cumulative frequency distribution of ").append(slot.Symbol).append(CrLf);
        static constexpr const char* Labels[4] = {"  20%   ", "  40%   ", "  60%   ", "  80%   "};
        for (std::size_t i = 0; i < 4; ++i) {
            res.append(Labels[i], 8);
            AppendNumberCell(res, pts[i]);
        }
        res += CrLf;
    }
}

void AppendFrequencyTable(std::string& frq, const TInputRecord& rec, const TEngineState& st, int year, int season,
                          const std::string& base)
{
    // Laid out for a spreadsheet import that splits at blanks.
    const bool firstTable = year == 0 && season == 1;
    if (firstTable) {
        frq.append(FrequencyTitle).append("\r\n");
        frq += "  \"(meant for\" spreadsheet use)\r\n";
        frq += CrLf;
    }
    if (season == 1) {
        frq.append(" \"YEAR:  ").append(WholeText(year, 4)).append("\"");
        if (firstTable)
            frq.append(" -  - ")
                .append(" \"Name of\" ")
                .append(" \"input\" ")
                .append(" \"file:\" ")
                .append(PathWithExtension(base, ".INP"));
        frq += CrLf;
    }
    frq.append(" \"Season: ")
        .append(WholeText(season, 3))
        .append("\"")
        .append(" - ")
        .append(" Duration: ")
        .append(" \"");
    frq.append(FixedText(st.Ts[season], 5, 1)).append("  months\"").append(CrLf);
    frq += "- - -            Cumulative \"frequency of\" \"soil salinity\"\r\n";
    frq += "- Salinity    -    20%       40%       60%       80%    \r\n";
    for (const TSlot& slot : Slots(st)) {
        if (!slot.Symbol)
            continue;
        const std::array<double, 4> pts = FrequencyPoints(rec.Area, slot.Value);
        frq.append("- ").append(" ").append(slot.Symbol).append("    ").append("    -");
        for (double p : pts)
            AppendNumberCell(frq, p);
        frq += CrLf;
    }
    if (season == rec.Ns)
        frq += " #\r\n";
    frq += CrLf;
}

void TFrequencyText::RunStarted(const TRunStart& start, const TInputRecord& rec, const TEngineState&)
{
    Start(start, rec, ".frq", 450, 500);
}

void TFrequencyText::SeasonDone(const TSeasonDone& done, const TInputRecord& rec, const TEngineState& st)
{
    AppendFrequencyTable(Out(), rec, st, done.Year, done.Season, Base());
}

} // namespace veltra
