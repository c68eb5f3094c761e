#include "results/FrequencyFile.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "results/NumberCell.h"
#include "results/ResultFile.h"

namespace veltra {

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
    auto fill = [&](int i, const char* symbol, double v, bool when) {
        if (when)
            slots[static_cast<std::size_t>(i)] = {symbol, v};
    };
    const double t = 0.001;
    switch (st.Kr) {
    case 0:
    case 10:
        // A slot never titles a value the season record shows as absent, so presence
        // is that of the permanent fractions, as on line 10.
        fill(0, "CrA", st.CrA, st.Ac > t && st.CrA > t);
        fill(1, "CrB", st.CrB, st.Bc > t && st.CrB > t);
        fill(2, "CrU", st.CrU, st.Uc > t && st.CrU > t);
        if (st.Kr == 10)
            fill(3, "C0*", st.C0, st.Uc > t && st.C0 > t);
        break;
    case 1:
        fill(0, "C1*", st.CrA, st.CrA > t);
        fill(1, "CrU", st.CrU, st.CrU > t);
        break;
    case 2:
        fill(0, "CrA", st.CrA, st.CrA > t);
        fill(1, "C2*", st.CrB, st.CrB > t);
        break;
    case 3:
        fill(0, "C3*", st.CrA, st.CrA > t);
        fill(1, "CrB", st.CrB, st.CrB > t);
        break;
    case 4:
        fill(0, "Cr4", st.CrA, true);
        break;
    case 5:
        fill(0, "CrA", st.CrA, st.CrA > t);
        fill(1, "CrB", st.CrB, st.CrB > t);
        fill(2, "C1*", st.C0, st.C0 > t);
        break;
    case 6:
        fill(0, "CrA", st.CrA, st.CrA > t);
        fill(1, "CrU", st.CrU, st.CrU > t);
        fill(2, "C2*", st.C0, st.C0 > t);
        break;
    case 7:
        fill(0, "CrB", st.CrB, st.CrB > t);
        fill(1, "CrU", st.CrU, st.CrU > t);
        fill(2, "C3*", st.C0, st.C0 > t);
        break;
    default:
        break;
    }
    return slots;
}

std::string Fixed(const char* format, double v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, format, v);
    std::string s(buf);
    for (char& c : s)
        if (c == ',')
            c = '.';
    return s;
}

std::string Int(const char* format, int v)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, format, v);
    return buf;
}

} // namespace

double FrequencyPoint(double area, double v, double p)
{
    double a = 0.84, b = 0.25;
    if (area > 1000) {
        a = 0.69;
        b = 0.52;
    } else if (area > 100) {
        a = 0.81;
        b = 0.32;
    }
    return v * (a - b * std::log(-std::log(p)));
}

std::array<double, 4> FrequencyPoints(double area, double v)
{
    std::array<double, 4> pts{};
    for (std::size_t i = 0; i < 4; ++i)
        pts[i] = FrequencyPoint(area, v, Levels[i]);
    return pts;
}

void WriteFrequencyRecord(const TInputRecord& rec, const TEngineState& st, std::ostream& res,
                          std::ostream& frq, int year, int season)
{
    const std::array<TSlot, 4> slots = Slots(st);

    // Section of the result file: four slots of two lines each.
    for (const TSlot& slot : slots) {
        if (!slot.Symbol) {
            res << CrLf << CrLf;
            continue;
        }
        const std::array<double, 4> pts = FrequencyPoints(rec.Area, slot.Value);
        res << "Cumulative frequency distribution of " << slot.Symbol << CrLf;
        res << "  20%   " << NumberCell(pts[0]) << "  40%   " << NumberCell(pts[1]) << "  60%   "
            << NumberCell(pts[2]) << "  80%   " << NumberCell(pts[3]) << CrLf;
    }

    // Table of the frequency file, laid out for a spreadsheet import that splits at blanks.
    const bool firstTable = year == 0 && season == 1;
    if (firstTable) {
        frq << "  FREQUENCY DISTRIBUTION OF SOIL SALINITY" << CrLf;
        frq << "  \"(meant for\" spreadsheet use)" << CrLf;
        frq << CrLf;
    }
    if (season == 1) {
        frq << " \"YEAR:  " << Int("%4d", year) << "\"";
        if (firstTable)
            frq << " -  - " << " \"Name of\" " << " \"input\" " << " \"file:\" "
                << PathWithExtension(rec.FileName, ".INP");
        frq << CrLf;
    }
    frq << " \"Season: " << Int("%3d", season) << "\"" << " - " << " Duration: " << " \""
        << Fixed("%5.1f", st.Ts[season]) << "  months\"" << CrLf;
    frq << "- - - " << "           Cumulative" << " \"frequency of\"" << " \"soil salinity\"" << CrLf;
    frq << "-" << " Salinity   " << " -  " << "  20%   " << "    40%   " << "    60%   " << "    80%    "
        << CrLf;
    for (const TSlot& slot : slots) {
        if (!slot.Symbol)
            continue;
        const std::array<double, 4> pts = FrequencyPoints(rec.Area, slot.Value);
        frq << "- " << " " << slot.Symbol << "    " << "    -";
        for (double p : pts)
            frq << NumberCell(p);
        frq << CrLf;
    }
    if (season == rec.Ns)
        frq << " #" << CrLf;
    frq << CrLf;
}

} // namespace veltra
