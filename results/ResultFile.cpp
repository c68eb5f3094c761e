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

// A cell to write: its value, or the absent cell.
struct TCell {
    double Value = 0;
    bool Shown = false;
};
constexpr TCell Absent{};
TCell Cell(double v, bool shown)
{
    return {v, shown};
}
TCell Shown(double v)
{
    return {v, true};
}
TCell Cell(const std::optional<double>& v)
{
    return {v.value_or(0), v.has_value()};
}

void AppendCell(std::string& out, TCell cell)
{
    if (cell.Shown)
        AppendNumberCell(out, cell.Value);
    else
        out.append(AbsentCell, 10);
}

// One value line: the first item has an 8-character label, the others 10. Written
// straight into the text: a run writes tens of thousands of cells.
class TLine {
public:
    TLine(std::string& out, std::string_view label, TCell cell) : out_(out) { (*this)(label, cell); }
    TLine& operator()(std::string_view label, TCell cell)
    {
        out_.append(label);
        AppendCell(out_, cell);
        return *this;
    }
    ~TLine() { out_ += CrLf; }

private:
    std::string& out_;
};

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

    const double A = st.A[s], B = st.B[s], U = st.U[s];
    const bool hasA = A > Present, hasB = B > Present, hasU = U > Present;
    const bool irrigated = hasA || hasB;

    TLine(res, "  It  = ", Cell(st.Season.It, irrigated))("    Is  = ", Cell(st.Season.Is, irrigated))(
        "    IaA = ", Cell(st.IaA[s], hasA))("    IaB = ", Cell(st.IaB[s], hasB));
    TLine(res, "  EfA = ", Cell(st.Season.EfA, hasA))("    EfB = ", Cell(st.Season.EfB, hasB))(
        hasA ? "    FfT = " : "    EfT = ", Cell(st.Season.Eft, irrigated))("    Io  = ", Shown(st.Io[s]));
    TLine(res, "  JsA = ", Cell(st.Season.JsA, hasA))("    JsB = ", Cell(st.Season.JsB, hasB))(
        "    EaU = ", Cell(st.Season.EaU, hasU || !irrigated));

    TLine(res, "  LrA = ", Cell(st.Season.LrA, hasA))("    LrB = ", Cell(st.Season.LrB, hasB))(
        "    LrU = ", Cell(st.Season.LrU, hasU))("    LrT = ", Shown(st.Season.LrT));
    TLine(res, "  RrA = ", Cell(st.Season.RrA, hasA))("    RrB = ", Cell(st.Season.RrB, hasB))(
        "    RrU = ", Cell(st.Season.RrU, hasU))("    RrT = ", Shown(st.Season.RrT));

    const bool drains = rec.Kd == 1;
    TLine(res, "  Gd  = ", Cell(st.Season.Gd, drains))("    Ga  = ", Cell(st.Season.Ga, drains))(
        "    Gb  = ", Cell(st.Season.Gb, drains));
    TLine(res, "  Gw  = ", Shown(st.Gw[s]))("    Dw  = ", Shown(st.Dw))("    Zs  = ", Cell(st.Zs, st.Zs > 0.001));
    TLine(res, "  A   = ", Shown(A))("    B   = ", Shown(B))("    U   = ", Shown(U));
    const int kr = st.Kr;
    const bool showUc = kr == 0 || kr == 1 || kr == 6 || kr == 7 || kr == 10;
    // The Kr item is an 11-character label and an integer in 3 columns.
    res.append("  Uc  = ");
    AppendCell(res, Cell(done.UcShown, showUc));
    res.append("    Kr   = ").append(WholeText(kr, 3)).append(CrLf);

    // Lines 10 and 11.
    const TRootZoneCells rz = RootZoneCells(st);
    TLine(res, "  CrA = ", Cell(rz.CrA))("    CrB = ", Cell(rz.CrB))("    CrU = ", Cell(rz.CrU))("    Cr4 = ",
                                                                                                 Cell(rz.Cr4));
    TLine(res, "  C0* = ", Cell(rz.C0))("    C1* = ", Cell(rz.C1))("    C2* = ", Cell(rz.C2))("    C3* = ",
                                                                                              Cell(rz.C3));

    if (drains)
        TLine(res, "  Cxf = ", Absent)("    Cxa = ", Shown(st.Cxa))("    Cxb = ", Shown(st.Cxb))("    Cqf = ",
                                                                                                 Shown(st.Cqf));
    else
        TLine(res, "  Cxf = ", Shown(st.Cxf))("    Cxa = ", Absent)("    Cxb = ", Absent)("    Cqf = ", Shown(st.Cqf));
    TLine(res, "  Ci  = ", Cell(st.Season.Ci, U < 1))("    Cd  = ", Cell(st.Season.Cd, drains))(
        "    Cw  = ", Cell(st.Season.Cw, st.Gw[s] > 0.001));
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
