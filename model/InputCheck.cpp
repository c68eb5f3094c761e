#include "model/InputCheck.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "model/InputFile.h"
#include "model/NumberText.h"
#include "model/TVeltraError.h"

namespace veltra {

const char* const ErrorListHeading = " THE FOLLOWING ERRORS WERE FOUND IN THE INPUT FILE:";

namespace {

// Sums of typed decimals are compared with a tolerance, so that what the user
// typed counts, not the floating-point rounding of the sum.
constexpr double MonthsTolerance = 1e-6;
constexpr double FractionTolerance = 1e-9;

int Seasons(const TInputRecord& r)
{
    return std::min<int>(r.Ns, 4);
}

double MonthsSum(const TInputRecord& r)
{
    double sum = 0;
    for (int s = 1; s <= Seasons(r); ++s)
        sum += r.Ts[s];
    return sum;
}

bool MonthsAddUp(const TInputRecord& r)
{
    return std::fabs(MonthsSum(r) - 12.0) <= MonthsTolerance;
}

bool SumAbove1(double a, double b)
{
    return a + b > 1.0 + FractionTolerance;
}

bool SumBelow0(double a, double b)
{
    return a + b < -FractionTolerance;
}

// First text, the season number right-aligned in 2 characters, second text.
std::string SeasonLine(const char* first, int season, const char* second)
{
    return std::string(first) + WholeText(season, 2) + second;
}

} // namespace

std::vector<std::string> InputErrorLines(const TInputRecord& r)
{
    std::vector<std::string> out;
    auto add = [&](std::string line) { out.push_back(std::move(line)); };
    const int ns = Seasons(r);

    if (r.Ns < 1 || r.Ns > 4)
        add(" Number of seasons NS must be 1, 2, 3 or 4.");
    if (r.Ny < 1 || r.Ny > 99)
        add(" Number of years Ny must be > 1 and < 100.");
    if (!MonthsAddUp(r))
        add(" Total number of months must be 12.");
    for (int s = 1; s <= ns; ++s) {
        if (r.Ts[s] < 0.5) {
            add(" Season durations must be > 0.5 month.");
            break;
        }
    }

    for (int s = 1; s <= ns; ++s) {
        if (r.A[s] < 0 || r.A[s] > 1)
            add(SeasonLine(" Irrigated area fraction A in season", s, " must be between 0 and 1."));
        if (r.B[s] < 0 || r.B[s] > 1)
            add(SeasonLine(" Irrigated area fraction B in season", s, " must be between 0 and 1."));
        if (SumAbove1(r.A[s], r.B[s]))
            add(SeasonLine(" Sum of area fractions A+B in season", s, " must not be greater than 1."));
    }
    for (int s = 1; s <= ns; ++s) {
        if (r.A[s] > 0.001 && r.RcA[s] != 0 && r.RcA[s] != 1)
            add(SeasonLine(" The rice crop index RcA in season", s, " must be 0 or 1."));
        if (r.B[s] > 0.001 && r.RcB[s] != 0 && r.RcB[s] != 1)
            add(SeasonLine(" The rice crop index RcB in season", s, " must be 0 or 1."));
    }
    for (int s = 1; s <= ns; ++s)
        if (r.Lc[s] < 0 || r.Io[s] < 0)
            add(SeasonLine(" Irrigation data Lc and Io in season", s, " must be > 0"));
    for (int s = 1; s <= ns; ++s)
        if (r.A[s] > 0 && r.IaA[s] < 0)
            add(SeasonLine(" Irrigation application IaA in season", s, " must be > 0."));
    for (int s = 1; s <= ns; ++s)
        if (r.B[s] > 0 && r.IaB[s] < 0)
            add(SeasonLine(" Irrigation application IaB in season", s, " must be > 0."));
    for (int s = 1; s <= ns; ++s) {
        if (r.Pp[s] < 0)
            add(SeasonLine(" Rainfall in season", s, " must be > 0."));
        if (r.A[s] > 0 && r.EpA[s] < 0)
            add(SeasonLine(" Potential evaporation EpA in season", s, " must be > 0."));
        if (r.B[s] > 0 && r.EpB[s] < 0)
            add(SeasonLine(" Potential evaporation EpB in season", s, " must be > 0."));
        if (r.EpU[s] <= 0 && r.A[s] + r.B[s] < 1.0 - FractionTolerance)
            add(SeasonLine(" Potential evaporation EpU in season", s, " must be > 0."));
    }
    for (int s = 1; s <= ns; ++s) {
        const double u = 1.0 - r.A[s] - r.B[s];
        if (r.A[s] > 0.001 && (r.FsA[s] <= 0 || r.FsA[s] > 1))
            add(SeasonLine(" Storage efficiency FsA in season ", s, " must be > 0 and < 1."));
        if (r.B[s] > 0.001 && (r.FsB[s] <= 0 || r.FsB[s] > 1))
            add(SeasonLine(" Storage efficiency FsB in season ", s, " must be > 0 and < 1."));
        const bool badFsU = r.FsU[s] <= 0 || r.FsU[s] > 1;
        if (u > 0.001 && badFsU)
            add(SeasonLine(" Storage efficiency FsU in season ", s, " must be > 0 and < 1."));
        // Farmers' responses may create U land later, so its efficiency matters even now.
        if (std::fabs(u) <= FractionTolerance && r.Kf == 1 && badFsU)
            add(SeasonLine(" Storage efficiency FsU in season ", s, " must be > 0 and < 1."));
    }
    for (int s = 1; s <= ns; ++s) {
        if (r.Gi[s] < 0)
            add(SeasonLine(" Incoming groundwater flow Gi in season", s, " must be > 0."));
        if (r.Go[s] < 0)
            add(SeasonLine(" Incoming groundwater flow Gi in season", s, " must be > 0."));
    }
    if (r.Kp == 1) {
        for (int s = 1; s <= ns; ++s) {
            if (r.Gw[s] < 0)
                add(" The pumping from wells must be >= 0.");
            if (r.A[s] > 0 && r.Gw[s] > 0 && r.FAw[s] < 0)
                add(" The use fraction of well water in Area A must be >= 0.");
            if (r.B[s] > 0 && r.Gw[s] > 0 && r.FBw[s] < 0)
                add(" The use fraction of well water in Area B must be >= 0.");
            if (r.A[s] > 0 && r.B[s] > 0 && r.Gw[s] > 0 && r.FAw[s] + r.FBw[s] > 1)
                add(" The sum of the use fractions of well water in Areas A and B must be <= 1.");
        }
    }
    if (r.Dr < 0.1)
        add(" Rootzone thickness Dr must be greater than 0.1 m.");
    if (r.Ptr <= 0 || r.Ptr > 1)
        add(" The porespace Ptr must be > 0 and < 1.");
    if (r.Dx < 0.1)
        add(" Transition zone thickness Dx must be > 0.1.");
    if (r.Ptx <= 0 || r.Ptx > 1)
        add(" The porespace Ptx must be > 0 and < 1.");
    if (r.Dq < 0.1)
        add(" Aquifer thickness Dq must be > 0.1.");
    if (r.Ptq <= 0 || r.Ptq > 1)
        add(" The porespace Ptq must be > 0 and < 1.");
    for (int s = 1; s <= ns; ++s)
        if (r.Dq < 1 && (r.Gi[s] > 0.01 || r.Go[s] > 0.01))
            add(SeasonLine(" Aquifer thickness Dq and ground water flow Gi and/or Go in season", s,
                           " are not in proportion."));
    if (r.Per <= 0 || r.Per > r.Ptr)
        add(" Drainable porosity Per must be < total pore space Ptr and > 0.");
    if (r.Pex <= 0 || r.Pex > r.Ptx)
        add(" Drainable porosity Pex must be < total pore space Ptx and > 0.");
    if (r.Peq <= 0 || r.Peq > r.Ptq)
        add(" Drainable porosity Peq must be < total pore space Ptq and > 0.");
    if (r.Flr <= 0 || r.Flx <= 0 || r.Flq <= 0)
        add(" Leaching efficiencies Flr, Flt, and Flq must be > 0.");
    if (r.Dw0 > r.Dr + r.Dx + r.Dq)
        add(" The watertable must be above bottom of aquifer.");
    if (r.Dc <= r.Dr)
        add(" Critical depth Dc must be > rootzone depth Dr.");
    if (r.Kd == 1 && (r.Dd <= r.Dr || r.Dd > r.Dr + r.Dx))
        add(" Drains must be in the transition zone: Dr < Dd < Dr+Dx");
    if (r.Kd == 1)
        for (int s = 1; s <= ns; ++s)
            if (r.Frd[s] < 0 || r.Frd[s] > 1)
                add(SeasonLine(" The drainage control factor Frd in season", s, " must be between 0 and 1."));
    // Negative reaction factors or concentrations make the balances take square
    // roots of negative numbers or drain water upwards.
    if (r.Kd == 1 && (r.QH1 < 0 || r.QH2 < 0))
        add(" The drainage reaction factors QH1 and QH2 must not be negative.");
    const bool negativeSalt = r.Cx0 < 0 || r.Cq0 < 0 || r.Cic < 0 || r.Ch < 0 || r.Cp < 0 || r.CA0 < 0 || r.CB0 < 0 ||
                              r.CU0 < 0 || (r.Kd == 1 && (r.CxA0 < 0 || r.CxB0 < 0));
    if (negativeSalt)
        add(" Salt concentrations must not be negative.");
    // A key outside its values would run as if it were 0, and the writer would drop
    // the groups it governs (the drains of Kd).
    if (r.Kd > 1 || r.Kp > 1 || r.Kf > 1 || r.Krf > 1 || r.Ky > 1)
        add(" The keys Kd, Kp, Kf, Krf and Ky must be 0 or 1.");
    if (r.Kr > 7 && r.Kr != 10)
        add(" The rotation key Kr must be 0 to 7 or 10.");
    return out;
}

std::vector<std::string> ErrorListLines(const std::vector<std::string>& errors)
{
    std::vector<std::string> lines{ErrorListHeading, ""};
    lines.insert(lines.end(), errors.begin(), errors.end());
    return lines;
}

void WriteErrorList(const std::vector<std::string>& errors, const std::string& folder, TFileSystem& fs)
{
    const std::string path = (std::filesystem::path(folder) / "Error.lst").string();
    std::string text;
    for (const std::string& line : ErrorListLines(errors))
        text.append(line).append("\r\n");
    try {
        WriteWholeFile(path, text, fs);
    } catch (const TFolderError&) {
        throw;
    } catch (const TVeltraError&) {
        throw TVeltraError(TErrorKind::File, WriteFailureMessage(path));
    }
}

std::vector<std::string> CheckInput(const TInputRecord& rec, const std::string& folder, TFileSystem& fs)
{
    std::vector<std::string> errors = InputErrorLines(rec);
    WriteErrorList(errors, folder, fs);
    return errors;
}

std::vector<std::string> ValidateBeforeSave(const TInputRecord& r)
{
    if (!MonthsAddUp(r))
        return {"The sum of season durations must be 12"};
    std::vector<std::string> areas;
    for (int s = 1; s <= Seasons(r); ++s)
        if (SumBelow0(r.A[s], r.B[s]) || SumAbove1(r.A[s], r.B[s]))
            areas.push_back("The sum of areas A and B in season " + std::to_string(s) + " must >= 0 and <= 1");
    if (!areas.empty())
        return areas;
    if (!DrainDepthAccepted(r))
        return {DrainDepthMessage};
    return {};
}

const char* const DrainDepthMessage = "The drains must be in the transition zone:  Dr < Dd < Dr + Dx";

bool DrainDepthAccepted(const TInputRecord& r)
{
    return r.Kd != 1 || (r.Dr < r.Dd && r.Dd < r.Dr + r.Dx);
}

} // namespace veltra
