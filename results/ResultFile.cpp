#include "results/ResultFile.h"

#include <optional>
#include <string_view>

#include "model/NumberText.h"
#include "results/FrequencyFile.h"

namespace veltra {

namespace {

constexpr const char* CrLf = "\r\n";
constexpr double Present = 0.001; // a fraction counts when above it
constexpr double Whole = 0.999;   // ... and covers the area when above this

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
    // Which variable each symbol prints depends on the rotation key.
    TRootZoneCells c;
    switch (st.Kr) {
    case 0:
    case 10:
        if (st.Ac > Present)
            c.CrA = st.CrA;
        if (st.Bc > Present)
            c.CrB = st.CrB;
        if (st.Uc > Present)
            c.CrU = st.CrU;
        if (st.Ac + st.Bc + st.Uc <= Whole)
            c.C0 = st.C0;
        break;
    case 1:
        c.CrU = st.CrU;
        if (st.Uc < Whole)
            c.C1 = st.CrA;
        break;
    case 2:
        c.CrA = st.CrA;
        if (st.Ac < Whole)
            c.C2 = st.CrB;
        break;
    case 3:
        c.CrB = st.CrB;
        if (st.Bc < Whole)
            c.C3 = st.CrA;
        break;
    case 4: c.Cr4 = st.CrA; break;
    case 5:
        c.CrA = st.CrA;
        c.CrB = st.CrB;
        if (st.Ac + st.Bc < Whole)
            c.C1 = st.C0;
        break;
    case 6:
        c.CrA = st.CrA;
        c.CrU = st.CrU;
        if (st.Ac + st.Uc < Whole)
            c.C2 = st.C0;
        break;
    case 7:
        c.CrB = st.CrB;
        c.CrU = st.CrU;
        if (st.Bc + st.Uc < Whole)
            c.C3 = st.C0;
        break;
    default: break;
    }
    return c;
}

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

    TLine(res, "  It  = ", Cell(st.It, irrigated))("    Is  = ", Cell(st.Is, irrigated))(
        "    IaA = ", Cell(st.IaA[s], hasA))("    IaB = ", Cell(st.IaB[s], hasB));
    TLine(res, "  EfA = ", Cell(st.EfA, hasA))("    EfB = ", Cell(st.EfB, hasB))(
        hasA ? "    FfT = " : "    EfT = ", Cell(st.Eft, irrigated))("    Io  = ", Shown(st.Io[s]));
    TLine(res, "  JsA = ", Cell(st.JsA, hasA))("    JsB = ", Cell(st.JsB, hasB))("    EaU = ",
                                                                                 Cell(st.EaU, hasU || !irrigated));

    TLine(res, "  LrA = ", Cell(st.LrA, hasA))("    LrB = ", Cell(st.LrB, hasB))("    LrU = ", Cell(st.LrU, hasU))(
        "    LrT = ", Shown(st.LrT));
    TLine(res, "  RrA = ", Cell(st.RrA, hasA))("    RrB = ", Cell(st.RrB, hasB))("    RrU = ", Cell(st.RrU, hasU))(
        "    RrT = ", Shown(st.RrT));

    const bool drains = rec.Kd == 1;
    TLine(res, "  Gd  = ", Cell(st.Gd, drains))("    Ga  = ", Cell(st.Ga, drains))("    Gb  = ", Cell(st.Gb, drains));
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
    TLine(res, "  Ci  = ", Cell(st.Ci, U < 1))("    Cd  = ", Cell(st.Cd, drains))("    Cw  = ",
                                                                                  Cell(st.Cw, st.Gw[s] > 0.001));
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
