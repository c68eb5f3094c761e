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

TRecordCell Shown(double v)
{
    return {v, true};
}
TRecordCell Cell(double v, bool shown)
{
    return {v, shown};
}
TRecordCell Cell(const std::optional<double>& v)
{
    return {v.value_or(0), v.has_value()};
}
constexpr TRecordCell Absent{};

void AppendCell(std::string& out, const TRecordCell& cell)
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
    TLine(std::string& out, std::string_view label, const TRecordCell& cell) : out_(out) { (*this)(label, cell); }
    TLine& operator()(std::string_view label, const TRecordCell& cell)
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

std::optional<TRecordSymbol> RecordSymbolNamed(std::string_view name)
{
    for (std::size_t i = 0; i < RecordSymbolCount; ++i)
        if (RecordSymbolNames[i] == name)
            return static_cast<TRecordSymbol>(i);
    return std::nullopt;
}

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
    return {Cell(st.Season.It, irrigated),
            Cell(st.Season.Is, irrigated),
            Cell(st.IaA[s], hasA),
            Cell(st.IaB[s], hasB),
            Cell(st.Season.EfA, hasA),
            Cell(st.Season.EfB, hasB),
            Cell(st.Season.Eft, irrigated),
            Shown(st.Io[s]),
            Cell(st.Season.JsA, hasA),
            Cell(st.Season.JsB, hasB),
            Cell(st.Season.EaU, hasU || !irrigated),
            Cell(st.Season.LrA, hasA),
            Cell(st.Season.LrB, hasB),
            Cell(st.Season.LrU, hasU),
            Shown(st.Season.LrT),
            Cell(st.Season.RrA, hasA),
            Cell(st.Season.RrB, hasB),
            Cell(st.Season.RrU, hasU),
            Shown(st.Season.RrT),
            Cell(st.Season.Gd, drains),
            Cell(st.Season.Ga, drains),
            Cell(st.Season.Gb, drains),
            Shown(st.Gw[s]),
            Shown(st.Dw),
            Cell(st.Zs, st.Zs > 0.001),
            Shown(A),
            Shown(B),
            Shown(U),
            Cell(done.UcShown, showUc),
            Shown(kr),
            Cell(rz.CrA),
            Cell(rz.CrB),
            Cell(rz.CrU),
            Cell(rz.Cr4),
            Cell(rz.C0),
            Cell(rz.C1),
            Cell(rz.C2),
            Cell(rz.C3),
            drains ? Absent : Shown(st.Cxf),
            drains ? Shown(st.Cxa) : Absent,
            drains ? Shown(st.Cxb) : Absent,
            Shown(st.Cqf),
            Cell(st.Season.Ci, U < 1),
            Cell(st.Season.Cd, drains),
            Cell(st.Season.Cw, st.Gw[s] > 0.001)};
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

    const TSeasonCells cells = SeasonRecordCells(rec, st, done);
    auto c = [&cells](TRecordSymbol symbol) -> const TRecordCell& { return CellOf(cells, symbol); };
    using enum TRecordSymbol;
    TLine(res, "  It  = ", c(It))("    Is  = ", c(Is))("    IaA = ", c(IaA))("    IaB = ", c(IaB));
    TLine(res, "  EfA = ", c(EfA))("    EfB = ", c(EfB))(st.A[s] > Present ? "    FfT = " : "    EfT = ",
                                                         c(EfT))("    Io  = ", c(Io));
    TLine(res, "  JsA = ", c(JsA))("    JsB = ", c(JsB))("    EaU = ", c(EaU));
    TLine(res, "  LrA = ", c(LrA))("    LrB = ", c(LrB))("    LrU = ", c(LrU))("    LrT = ", c(LrT));
    TLine(res, "  RrA = ", c(RrA))("    RrB = ", c(RrB))("    RrU = ", c(RrU))("    RrT = ", c(RrT));
    TLine(res, "  Gd  = ", c(Gd))("    Ga  = ", c(Ga))("    Gb  = ", c(Gb));
    TLine(res, "  Gw  = ", c(Gw))("    Dw  = ", c(Dw))("    Zs  = ", c(Zs));
    TLine(res, "  A   = ", c(A))("    B   = ", c(B))("    U   = ", c(U));
    // The Kr item is an 11-character label and an integer in 3 columns.
    res.append("  Uc  = ");
    AppendCell(res, c(Uc));
    res.append("    Kr   = ").append(WholeText(st.Kr, 3)).append(CrLf);
    TLine(res, "  CrA = ", c(CrA))("    CrB = ", c(CrB))("    CrU = ", c(CrU))("    Cr4 = ", c(Cr4));
    TLine(res, "  C0* = ", c(C0))("    C1* = ", c(C1))("    C2* = ", c(C2))("    C3* = ", c(C3));
    TLine(res, "  Cxf = ", c(Cxf))("    Cxa = ", c(Cxa))("    Cxb = ", c(Cxb))("    Cqf = ", c(Cqf));
    TLine(res, "  Ci  = ", c(Ci))("    Cd  = ", c(Cd))("    Cw  = ", c(Cw));
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
