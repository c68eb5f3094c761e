#include "results/ResultFile.h"

#include <optional>
#include <string_view>

#include "model/NumberText.h"
#include "results/FrequencyFile.h"
#include "results/RootZoneLayout.h"

namespace veltra {

namespace {

constexpr const char* CrLf = "\r\n";
constexpr double Present = 0.001; // a fraction counts when above it

constexpr std::size_t KrCell = 29;

// The labels of the cells, as SeasonCellSymbols orders them: the first of a line has
// 8 characters, the others 10; the Kr label 11 (its number takes 3 columns).
constexpr std::array<const char*, SeasonCellCount> Labels = {
    "  It  = ",   "    Is  = ", "    IaA = ", "    IaB = ", "  EfA = ",   "    EfB = ",  "    EfT = ", "    Io  = ",
    "  JsA = ",   "    JsB = ", "    EaU = ", "  LrA = ",   "    LrB = ", "    LrU = ",  "    LrT = ", "  RrA = ",
    "    RrB = ", "    RrU = ", "    RrT = ", "  Gd  = ",   "    Ga  = ", "    Gb  = ",  "  Gw  = ",   "    Dw  = ",
    "    Zs  = ", "  A   = ",   "    B   = ", "    U   = ", "  Uc  = ",   "    Kr   = ", "  CrA = ",   "    CrB = ",
    "    CrU = ", "    Cr4 = ", "  C0* = ",   "    C1* = ", "    C2* = ", "    C3* = ",  "  Cxf = ",   "    Cxa = ",
    "    Cxb = ", "    Cqf = ", "  Ci  = ",   "    Cd  = ", "    Cw  = "};

std::optional<double> Cell(double v, bool shown)
{
    return shown ? std::optional<double>(v) : std::nullopt;
}

} // namespace

TRootZoneCells RootZoneCells(const TEngineState& st)
{
    TRootZoneCells c;
    for (const TRootZoneEntry& entry : RootZoneLayout(st.Kr)) {
        if (!ShownInRecord(entry, st))
            continue;
        const double v = RootZoneValue(st, entry.Var);
        switch (entry.Symbol) {
        case TRootZoneSymbol::CrA: c.CrA = v; break;
        case TRootZoneSymbol::CrB: c.CrB = v; break;
        case TRootZoneSymbol::CrU: c.CrU = v; break;
        case TRootZoneSymbol::Cr4: c.Cr4 = v; break;
        case TRootZoneSymbol::C0: c.C0 = v; break;
        case TRootZoneSymbol::C1: c.C1 = v; break;
        case TRootZoneSymbol::C2: c.C2 = v; break;
        case TRootZoneSymbol::C3: c.C3 = v; break;
        }
    }
    return c;
}

// The header's texts and the records' labels.
// Texts are written exactly as users and their files know them, odd spellings included;
// do not correct them.
void AppendResultHeader(std::string& res, const TInputRecord& rec, const std::string& base)
{
    res += " VELTRA: A predictive computation method for soil and groundwater,\r\n";
    res += " salinity and the watertable depth in agricultural lands using\r\n";
    res += " varying hydrologic conditions and watermanagement options.\r\n";
    res += " Season by season it balances the water and the salt of the root zone,\r\n";
    res += " the transition zone and the aquifer, giving the depth of the water\r\n";
    res += " table, the drain and well discharges, the salinity of the soil moisture,\r\n";
    res += " the groundwater, the drainage and the well water, and how the salinity\r\n";
    res += " of the soil spreads over the area. Farmers may answer waterlogging and\r\n";
    res += " salinity by irrigating less land or by changing the crop rotation.\r\n";
    res += CrLf;
    res.append(" Name of this output (result) file: ").append(PathWithExtension(base, ".RES")).append(CrLf);
    res.append(" Name of input (data) file used   : ").append(PathWithExtension(base, ".INP")).append(CrLf);
    // The year-by-year procedure switches the farmers' responses off after this header
    // is written; the line tells what the run does.
    if (rec.Kf == 1 && rec.Ky != 1)
        res += rec.Krf == 1 ? " All farmers responses are on.\r\n"
                            : " Farmers responses are on, but not for rotation type.\r\n";
    else
        res += " Farmers responses are off.\r\n";
    res += rec.Ky == 1 ? " Calculations were done year by year.\r\n"
                       : " Calculations were done for all years in one go.\r\n";
}

const std::array<const char*, SeasonCellCount> SeasonCellSymbols = {
    "It",  "Is",  "IaA", "IaB", "EfA", "EfB", "EfT", "Io",  "JsA", "JsB", "EaU", "LrA", "LrB", "LrU", "LrT",
    "RrA", "RrB", "RrU", "RrT", "Gd",  "Ga",  "Gb",  "Gw",  "Dw",  "Zs",  "A",   "B",   "U",   "Uc",  "Kr",
    "CrA", "CrB", "CrU", "Cr4", "C0*", "C1*", "C2*", "C3*", "Cxf", "Cxa", "Cxb", "Cqf", "Ci",  "Cd",  "Cw"};

TSeasonCells SeasonRecordCells(const TInputRecord& rec, const TEngineState& st, const TSeasonDone& done)
{
    const int s = done.Season;
    const double A = st.A[s], B = st.B[s], U = st.U[s];
    const bool hasA = A > Present, hasB = B > Present, hasU = U > Present;
    const bool irrigated = hasA || hasB;
    const bool drains = rec.Kd == 1;
    const int kr = st.Kr;
    const bool showUc = kr == 0 || kr == 1 || kr == 6 || kr == 7 || kr == 10;
    const TRootZoneCells rz = RootZoneCells(st);
    const TSeasonResults& e = st.Season;
    TSeasonCells c;
    c.TotalLabelFfT = hasA;
    c.Values = {Cell(e.It, irrigated),
                Cell(e.Is, irrigated),
                Cell(st.IaA[s], hasA),
                Cell(st.IaB[s], hasB),
                Cell(e.EfA, hasA),
                Cell(e.EfB, hasB),
                Cell(e.Eft, irrigated),
                st.Io[s],
                Cell(e.JsA, hasA),
                Cell(e.JsB, hasB),
                Cell(e.EaU, hasU || !irrigated),
                Cell(e.LrA, hasA),
                Cell(e.LrB, hasB),
                Cell(e.LrU, hasU),
                e.LrT,
                Cell(e.RrA, hasA),
                Cell(e.RrB, hasB),
                Cell(e.RrU, hasU),
                e.RrT,
                Cell(e.Gd, drains),
                Cell(e.Ga, drains),
                Cell(e.Gb, drains),
                st.Gw[s],
                st.Dw,
                Cell(st.Zs, st.Zs > 0.001),
                A,
                B,
                U,
                Cell(done.UcShown, showUc),
                static_cast<double>(kr),
                rz.CrA,
                rz.CrB,
                rz.CrU,
                rz.Cr4,
                rz.C0,
                rz.C1,
                rz.C2,
                rz.C3,
                Cell(st.Cxf, !drains),
                Cell(st.Cxa, drains),
                Cell(st.Cxb, drains),
                st.Cqf,
                Cell(e.Ci, U < 1),
                Cell(e.Cd, drains),
                Cell(e.Cw, st.Gw[s] > 0.001)};
    return c;
}

void AppendSeasonRecord(std::string& res, const TInputRecord& rec, const TEngineState& st, const TSeasonDone& done,
                        const std::string& base)
{
    const int s = done.Season;
    const double duration = done.StepNr == 0 ? 0.0 : st.Ts[s];

    const std::string dur = FixedText(duration, 5, 1);
    res += CrLf;
    res.append("  YEAR: ").append(WholeText(done.Year, 4)).append("   Name of input (data) file used:");
    res.append(PathWithExtension(base, ".INP")).append(CrLf);
    res += "  **********\r\n";
    res.append("  Season:").append(WholeText(s, 3)).append("   Duration:").append(dur).append("  months.\r\n");
    res += CrLf;

    const TSeasonCells cells = SeasonRecordCells(rec, st, done);
    std::size_t k = 0;
    for (const std::size_t count : SeasonLineCells) {
        for (std::size_t n = 0; n < count; ++n, ++k) {
            res.append(k == 6 && cells.TotalLabelFfT ? "    FfT = " : Labels[k]);
            if (k == KrCell)
                res.append(WholeText(static_cast<long long>(*cells.Values[k]), 3));
            else if (cells.Values[k])
                AppendNumberCell(res, *cells.Values[k]);
            else
                res.append(AbsentCell, 10);
        }
        res += CrLf;
    }
    res += " #\r\n";

    AppendFrequencySection(res, rec, st);
    res += CrLf;
}

void TResultText::RunStarted(const TRunStart& start, const TInputRecord& rec, const TEngineState&)
{
    Start(start, rec, ".res", 1600, 2000); // about 1.5 kB a season record
    if (start.Header)
        AppendResultHeader(Out(), rec, Base());
}

void TResultText::SeasonDone(const TSeasonDone& done, const TInputRecord& rec, const TEngineState& st)
{
    AppendSeasonRecord(Out(), rec, st, done, Base());
}

} // namespace veltra
