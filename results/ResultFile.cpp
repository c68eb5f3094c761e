#include "results/ResultFile.h"

#include <cstdio>
#include <filesystem>
#include <stdexcept>

namespace veltra {

namespace {

constexpr const char* CrLf = "\r\n";
constexpr double Present = 0.001; // a fraction counts when above it
constexpr double Whole = 0.999;   // ... and covers the area when above this

std::string Int(const char* format, int v)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, format, v);
    return buf;
}

std::string Cell(double v, bool shown) { return shown ? NumberCell(v) : std::string(AbsentCell); }

// One value line: the first item has an 8-character label, the others 10.
class TLine {
public:
    TLine(std::ostream& out, const char* label, const std::string& cell) : out_(out) { out_ << label << cell; }
    TLine& operator()(const char* label, const std::string& cell)
    {
        out_ << label << cell;
        return *this;
    }
    ~TLine() { out_ << CrLf; }

private:
    std::ostream& out_;
};

void ClipBelow(double& v)
{
    if (v < 0.001)
        v = 0;
}

// Percolation and capillary rise of one land type leave only their difference.
void Net(double& rr, double& lr, bool present)
{
    if (!present) {
        rr = lr = 0;
    } else if (rr >= lr) {
        rr = rr - lr;
        lr = 0;
    } else {
        lr = lr - rr;
        rr = 0;
    }
}

std::ofstream OpenOut(const std::string& path, bool append)
{
    // A replaced file is removed first rather than truncated: the file system would
    // otherwise write the truncated file's data out at once when it is closed, which
    // costs more than the whole run.
    std::error_code ec;
    if (!append && std::filesystem::is_regular_file(path, ec))
        std::filesystem::remove(path, ec);
    std::ofstream f(path, std::ios::binary | (append ? std::ios::app : std::ios::trunc));
    if (!f)
        throw std::runtime_error("The file \"" + path + "\" could not be opened for writing.");
    return f;
}

} // namespace

std::string PathWithExtension(const std::string& path, const std::string& ext)
{
    const std::size_t sep = path.find_last_of("/\\");
    const std::size_t dot = path.find_last_of('.');
    if (dot != std::string::npos && (sep == std::string::npos || dot > sep))
        return path.substr(0, dot) + ext;
    return path + ext;
}

void OpenResultFiles(TInputRecord& rec, TEngineState& st, TResultFiles& files, const std::string& workDir)
{
    files.WarnPath = (std::filesystem::path(workDir) / "warning.lst").string();
    files.Warn = OpenOut(files.WarnPath, false);
    if (!st.WarningHeaderWritten) {
        files.Warn << " THE FOLLOWING RUNTIME WARNINGS ARE GIVEN:" << CrLf;
        st.WarningHeaderWritten = true;
    }

    // A year-by-year series writes every year to the files of its first input file.
    const std::string base = rec.Ky == 1 && !st.RunFirstFileName.empty() ? st.RunFirstFileName : rec.FileName;
    const bool append = rec.Ky == 1 && st.YearsDone > 0;
    rec.FileName = PathWithExtension(base, ".res");
    files.ResPath = rec.FileName;
    files.Res = OpenOut(files.ResPath, append);
    rec.FileName = PathWithExtension(base, ".frq");
    files.FrqPath = rec.FileName;
    files.Frq = OpenOut(files.FrqPath, append);

    if (st.YearsDone != 0)
        return;
    std::ostream& res = files.Res;
    res << " VELTRA: A predictive computation method for soil and groundwater," << CrLf;
    res << " salinity and the watertable depth in agricultural lands using" << CrLf;
    res << " varying hydrologic conditions and watermanagement options." << CrLf;
    res << " Season by season it balances the water and the salt of the root zone," << CrLf;
    res << " the transition zone and the aquifer, giving the depth of the water" << CrLf;
    res << " table, the drain and well discharges, the salinity of the soil moisture," << CrLf;
    res << " the groundwater, the drainage and the well water, and how the salinity" << CrLf;
    res << " of the soil spreads over the area. Farmers may answer waterlogging and" << CrLf;
    res << " salinity by irrigating less land or by changing the crop rotation." << CrLf;
    res << CrLf;
    res << " Name of this output (result) file: " << PathWithExtension(base, ".RES") << CrLf;
    res << " Name of input (data) file used   : " << PathWithExtension(base, ".INP") << CrLf;
    // The year-by-year procedure switches the farmers' responses off after this header
    // is written; the line tells what the run does.
    if (rec.Kf == 1 && rec.Ky != 1)
        res << (rec.Krf == 1 ? " All farmers responses are on." : " Farmers responses are on, but not for rotation type.")
            << CrLf;
    else
        res << " Farmers responses are off." << CrLf;
    res << (rec.Ky == 1 ? " Calculations were done year by year." : " Calculations were done for all years in one go.")
        << CrLf;
}

void WriteSeasonRecord(TInputRecord& rec, TEngineState& st, std::ostream& res, std::ostream& frq)
{
    const int s = st.SeasonNr;
    const int ns = rec.Ns;
    const int year = (st.StepNr + ns - 1) / ns + st.YearsDone;
    const double duration = st.StepNr == 0 ? 0.0 : st.Ts[s];

    char dur[32];
    std::snprintf(dur, sizeof dur, "%5.1f", duration);
    for (char* c = dur; *c; ++c)
        if (*c == ',')
            *c = '.';
    res << CrLf;
    res << "  YEAR: " << Int("%4d", year) << "   Name of input (data) file used:"
        << PathWithExtension(rec.FileName, ".INP") << CrLf;
    res << "  **********" << CrLf;
    res << "  Season:" << Int("%3d", s) << "   Duration:" << dur << "  months." << CrLf;
    res << CrLf;

    if (rec.Ky == 1 && s == ns)
        st.YearsDone += 1;
    if (st.StepNr == 0)
        st.YearsDone = 0;

    const double A = st.A[s], B = st.B[s], U = st.U[s];
    if (st.StepNr == 0)
        st.It = A * st.IaA[s] + B * st.IaB[s] + st.Lc[s] + st.DAu[s] + st.DBu[s] + (st.FAw[s] + st.FBw[s]) * st.Gw[s];
    if (st.IaA[s] + st.IaB[s] < 0.001) {
        st.It = 0;
        st.Is = 0;
    }

    const bool hasA = A > Present, hasB = B > Present, hasU = U > Present;
    const bool irrigated = hasA || hasB;

    TLine(res, "  It  = ", Cell(st.It, irrigated))("    Is  = ", Cell(st.Is, irrigated))(
        "    IaA = ", Cell(st.IaA[s], hasA))("    IaB = ", Cell(st.IaB[s], hasB));
    TLine(res, "  EfA = ", Cell(st.EfA, hasA))("    EfB = ", Cell(st.EfB, hasB))(
        hasA ? "    FfT = " : "    EfT = ", Cell(st.Eft, irrigated))("    Io  = ", NumberCell(st.Io[s]));
    TLine(res, "  JsA = ", Cell(st.JsA, hasA))("    JsB = ", Cell(st.JsB, hasB))(
        "    EaU = ", Cell(st.EaU, hasU || !irrigated));

    Net(st.RrA, st.LrA, hasA);
    Net(st.RrB, st.LrB, hasB);
    Net(st.RrU, st.LrU, hasU);
    st.LrT = A * st.LrA + B * st.LrB + U * st.LrU;
    st.RrT = A * st.RrA + B * st.RrB + U * st.RrU;
    for (double* v : {&st.LrA, &st.LrB, &st.LrU, &st.LrT, &st.RrA, &st.RrB, &st.RrU, &st.RrT})
        ClipBelow(*v);
    TLine(res, "  LrA = ", Cell(st.LrA, hasA))("    LrB = ", Cell(st.LrB, hasB))("    LrU = ", Cell(st.LrU, hasU))(
        "    LrT = ", NumberCell(st.LrT));
    TLine(res, "  RrA = ", Cell(st.RrA, hasA))("    RrB = ", Cell(st.RrB, hasB))("    RrU = ", Cell(st.RrU, hasU))(
        "    RrT = ", NumberCell(st.RrT));

    ClipBelow(st.Gd);
    ClipBelow(st.Ga);
    ClipBelow(st.Gb);
    const bool drains = rec.Kd == 1;
    TLine(res, "  Gd  = ", Cell(st.Gd, drains))("    Ga  = ", Cell(st.Ga, drains))("    Gb  = ", Cell(st.Gb, drains));
    TLine(res, "  Gw  = ", NumberCell(st.Gw[s]))("    Dw  = ", NumberCell(st.Dw))("    Zs  = ", Cell(st.Zs, st.Zs > 0.001));
    TLine(res, "  A   = ", NumberCell(A))("    B   = ", NumberCell(B))("    U   = ", NumberCell(U));
    const int kr = st.Kr;
    const bool showUc = kr == 0 || kr == 1 || kr == 6 || kr == 7 || kr == 10;
    res << "  Uc  = " << Cell(st.Uc, showUc) << "    Kr   = " << Int("%3d", kr) << CrLf;

    ClipBelow(st.CrA);
    ClipBelow(st.CrB);
    ClipBelow(st.CrU);
    ClipBelow(st.Uc);
    // Lines 10 and 11: which variable each symbol prints depends on the rotation key.
    std::string crA = AbsentCell, crB = AbsentCell, crU = AbsentCell, cr4 = AbsentCell;
    std::string c0 = AbsentCell, c1 = AbsentCell, c2 = AbsentCell, c3 = AbsentCell;
    switch (kr) {
    case 0:
    case 10:
        crA = Cell(st.CrA, st.Ac > Present);
        crB = Cell(st.CrB, st.Bc > Present);
        crU = Cell(st.CrU, st.Uc > Present);
        if (st.Ac + st.Bc + st.Uc <= Whole)
            c0 = NumberCell(st.C0);
        break;
    case 1:
        crU = NumberCell(st.CrU);
        if (st.Uc < Whole)
            c1 = NumberCell(st.CrA);
        break;
    case 2:
        crA = NumberCell(st.CrA);
        if (st.Ac < Whole)
            c2 = NumberCell(st.CrB);
        break;
    case 3:
        crB = NumberCell(st.CrB);
        if (st.Bc < Whole)
            c3 = NumberCell(st.CrA);
        break;
    case 4:
        cr4 = NumberCell(st.CrA);
        break;
    case 5:
        crA = NumberCell(st.CrA);
        crB = NumberCell(st.CrB);
        if (st.Ac + st.Bc < Whole)
            c1 = NumberCell(st.C0);
        break;
    case 6:
        crA = NumberCell(st.CrA);
        crU = NumberCell(st.CrU);
        if (st.Ac + st.Uc < Whole)
            c2 = NumberCell(st.C0);
        break;
    case 7:
        crB = NumberCell(st.CrB);
        crU = NumberCell(st.CrU);
        if (st.Bc + st.Uc < Whole)
            c3 = NumberCell(st.C0);
        break;
    default:
        break;
    }
    TLine(res, "  CrA = ", crA)("    CrB = ", crB)("    CrU = ", crU)("    Cr4 = ", cr4);
    TLine(res, "  C0* = ", c0)("    C1* = ", c1)("    C2* = ", c2)("    C3* = ", c3);

    if (drains)
        TLine(res, "  Cxf = ", AbsentCell)("    Cxa = ", NumberCell(st.Cxa))("    Cxb = ", NumberCell(st.Cxb))(
            "    Cqf = ", NumberCell(st.Cqf));
    else
        TLine(res, "  Cxf = ", NumberCell(st.Cxf))("    Cxa = ", AbsentCell)("    Cxb = ", AbsentCell)(
            "    Cqf = ", NumberCell(st.Cqf));
    TLine(res, "  Ci  = ", Cell(st.Ci, U < 1))("    Cd  = ", Cell(st.Cd, drains))("    Cw  = ",
                                                                           Cell(st.Cw, st.Gw[s] > 0.001));
    res << " #" << CrLf;

    WriteFrequencyRecord(rec, st, res, frq, year, s);
    res << CrLf;
}

} // namespace veltra
