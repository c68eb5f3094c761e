#include "results/FrequencyFile.h"

#include <cmath>
#include <string>

#include "model/NumberText.h"
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
