#include "model/InputCheck.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "model/InputFile.h"
#include "model/NumberText.h"
#include "model/TVeltraError.h"

namespace veltra {

// The check's texts: the heading of Error.lst, the rules' lines, the save-time refusals.
// Texts are written exactly as users and their files know them, odd spellings included;
// do not correct them.
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

double U(const TInputRecord& r, int s)
{
    return 1.0 - r.A[s] - r.B[s];
}

// A storage efficiency or a pore space: above 0, at most 1.
bool NotAFraction(double f)
{
    return f <= 0 || f > 1;
}

bool NotZeroOrOne(double index)
{
    return index != 0 && index != 1;
}

bool AnySeasonTooShort(const TInputRecord& r)
{
    for (int s = 1; s <= Seasons(r); ++s)
        if (r.Ts[s] < 0.5)
            return true;
    return false;
}

bool NegativeSalt(const TInputRecord& r)
{
    return r.Cx0 < 0 || r.Cq0 < 0 || r.Cic < 0 || r.Ch < 0 || r.Cp < 0 || r.CA0 < 0 || r.CB0 < 0 || r.CU0 < 0 ||
           (r.Kd == 1 && (r.CxA0 < 0 || r.CxB0 < 0));
}

using R = const TInputRecord&;
constexpr TRuleScope Once = TRuleScope::Record;
constexpr TRuleScope Pass = TRuleScope::Seasons;
constexpr TRuleScope Joins = TRuleScope::JoinsSeasons;

// The rules in the order of Error.lst. A season rule that joins the pass of the one
// before writes its line right after that rule's line of the same season.
constexpr TInputRule Rules[] = {
    {1, Once, [](R r, int) { return r.Ns < 1 || r.Ns > 4; }, " Number of seasons NS must be 1, 2, 3 or 4."},
    {2, Once, [](R r, int) { return r.Ny < 1 || r.Ny > 99; }, " Number of years Ny must be > 1 and < 100."},
    {3, Once, [](R r, int) { return !MonthsAddUp(r); }, " Total number of months must be 12."},
    {4, Once, [](R r, int) { return AnySeasonTooShort(r); }, " Season durations must be > 0.5 month."},
    {5, Pass, [](R r, int s) { return r.A[s] < 0 || r.A[s] > 1; }, " Irrigated area fraction A in season",
     " must be between 0 and 1."},
    {6, Joins, [](R r, int s) { return r.B[s] < 0 || r.B[s] > 1; }, " Irrigated area fraction B in season",
     " must be between 0 and 1."},
    {7, Joins, [](R r, int s) { return SumAbove1(r.A[s], r.B[s]); }, " Sum of area fractions A+B in season",
     " must not be greater than 1."},
    {8, Pass, [](R r, int s) { return r.A[s] > 0.001 && NotZeroOrOne(r.RcA[s]); }, " The rice crop index RcA in season",
     " must be 0 or 1."},
    {9, Joins, [](R r, int s) { return r.B[s] > 0.001 && NotZeroOrOne(r.RcB[s]); },
     " The rice crop index RcB in season", " must be 0 or 1."},
    {10, Pass, [](R r, int s) { return r.Lc[s] < 0 || r.Io[s] < 0; }, " Irrigation data Lc and Io in season",
     " must be > 0"},
    {11, Pass, [](R r, int s) { return r.A[s] > 0 && r.IaA[s] < 0; }, " Irrigation application IaA in season",
     " must be > 0."},
    {12, Pass, [](R r, int s) { return r.B[s] > 0 && r.IaB[s] < 0; }, " Irrigation application IaB in season",
     " must be > 0."},
    {13, Pass, [](R r, int s) { return r.Pp[s] < 0; }, " Rainfall in season", " must be > 0."},
    {14, Joins, [](R r, int s) { return r.A[s] > 0 && r.EpA[s] < 0; }, " Potential evaporation EpA in season",
     " must be > 0."},
    {15, Joins, [](R r, int s) { return r.B[s] > 0 && r.EpB[s] < 0; }, " Potential evaporation EpB in season",
     " must be > 0."},
    {16, Joins, [](R r, int s) { return r.EpU[s] <= 0 && r.A[s] + r.B[s] < 1.0 - FractionTolerance; },
     " Potential evaporation EpU in season", " must be > 0."},
    {17, Pass, [](R r, int s) { return r.A[s] > 0.001 && NotAFraction(r.FsA[s]); },
     " Storage efficiency FsA in season ", " must be > 0 and < 1."},
    {18, Joins, [](R r, int s) { return r.B[s] > 0.001 && NotAFraction(r.FsB[s]); },
     " Storage efficiency FsB in season ", " must be > 0 and < 1."},
    {19, Joins, [](R r, int s) { return U(r, s) > 0.001 && NotAFraction(r.FsU[s]); },
     " Storage efficiency FsU in season ", " must be > 0 and < 1."},
    // Farmers' responses may create U land later, so its efficiency matters even now.
    {20, Joins,
     [](R r, int s) { return std::fabs(U(r, s)) <= FractionTolerance && r.Kf == 1 && NotAFraction(r.FsU[s]); },
     " Storage efficiency FsU in season ", " must be > 0 and < 1."},
    {21, Pass, [](R r, int s) { return r.Gi[s] < 0; }, " Incoming groundwater flow Gi in season", " must be > 0."},
    {22, Joins, [](R r, int s) { return r.Go[s] < 0; }, " Incoming groundwater flow Gi in season", " must be > 0."},
    {23, Pass, [](R r, int s) { return r.Kp == 1 && r.Gw[s] < 0; }, " The pumping from wells must be >= 0."},
    {24, Joins, [](R r, int s) { return r.Kp == 1 && r.A[s] > 0 && r.Gw[s] > 0 && r.FAw[s] < 0; },
     " The use fraction of well water in Area A must be >= 0."},
    {25, Joins, [](R r, int s) { return r.Kp == 1 && r.B[s] > 0 && r.Gw[s] > 0 && r.FBw[s] < 0; },
     " The use fraction of well water in Area B must be >= 0."},
    {26, Joins,
     [](R r, int s) { return r.Kp == 1 && r.A[s] > 0 && r.B[s] > 0 && r.Gw[s] > 0 && r.FAw[s] + r.FBw[s] > 1; },
     " The sum of the use fractions of well water in Areas A and B must be <= 1."},
    {27, Once, [](R r, int) { return r.Dr < 0.1; }, " Rootzone thickness Dr must be greater than 0.1 m."},
    {28, Once, [](R r, int) { return NotAFraction(r.Ptr); }, " The porespace Ptr must be > 0 and < 1."},
    {29, Once, [](R r, int) { return r.Dx < 0.1; }, " Transition zone thickness Dx must be > 0.1."},
    {30, Once, [](R r, int) { return NotAFraction(r.Ptx); }, " The porespace Ptx must be > 0 and < 1."},
    {31, Once, [](R r, int) { return r.Dq < 0.1; }, " Aquifer thickness Dq must be > 0.1."},
    {32, Once, [](R r, int) { return NotAFraction(r.Ptq); }, " The porespace Ptq must be > 0 and < 1."},
    {33, Pass, [](R r, int s) { return r.Dq < 1 && (r.Gi[s] > 0.01 || r.Go[s] > 0.01); },
     " Aquifer thickness Dq and ground water flow Gi and/or Go in season", " are not in proportion."},
    {34, Once, [](R r, int) { return r.Per <= 0 || r.Per > r.Ptr; },
     " Drainable porosity Per must be < total pore space Ptr and > 0."},
    {35, Once, [](R r, int) { return r.Pex <= 0 || r.Pex > r.Ptx; },
     " Drainable porosity Pex must be < total pore space Ptx and > 0."},
    {36, Once, [](R r, int) { return r.Peq <= 0 || r.Peq > r.Ptq; },
     " Drainable porosity Peq must be < total pore space Ptq and > 0."},
    {37, Once, [](R r, int) { return r.Flr <= 0 || r.Flx <= 0 || r.Flq <= 0; },
     " Leaching efficiencies Flr, Flt, and Flq must be > 0."},
    {38, Once, [](R r, int) { return r.Dw0 > r.Dr + r.Dx + r.Dq; }, " The watertable must be above bottom of aquifer."},
    {39, Once, [](R r, int) { return r.Dc <= r.Dr; }, " Critical depth Dc must be > rootzone depth Dr."},
    {40, Once, [](R r, int) { return r.Kd == 1 && (r.Dd <= r.Dr || r.Dd > r.Dr + r.Dx); },
     " Drains must be in the transition zone: Dr < Dd < Dr+Dx"},
    {41, Pass, [](R r, int s) { return r.Kd == 1 && (r.Frd[s] < 0 || r.Frd[s] > 1); },
     " The drainage control factor Frd in season", " must be between 0 and 1."},
    // Negative reaction factors or concentrations make the balances take square
    // roots of negative numbers or drain water upwards.
    {42, Once, [](R r, int) { return r.Kd == 1 && (r.QH1 < 0 || r.QH2 < 0); },
     " The drainage reaction factors QH1 and QH2 must not be negative."},
    {43, Once, [](R r, int) { return NegativeSalt(r); }, " Salt concentrations must not be negative."},
    // A key outside its values would run as if it were 0, and the writer would drop
    // the groups it governs (the drains of Kd).
    {44, Once, [](R r, int) { return r.Kd > 1 || r.Kp > 1 || r.Kf > 1 || r.Krf > 1 || r.Ky > 1; },
     " The keys Kd, Kp, Kf, Krf and Ky must be 0 or 1."},
    {45, Once, [](R r, int) { return r.Kr > 7 && r.Kr != 10; }, " The rotation key Kr must be 0 to 7 or 10."},
};

// The line of a broken rule: its text, or its text, the season number right-aligned
// in 2 characters and the text after it.
std::string RuleLine(const TInputRule& rule, int season)
{
    if (rule.AfterSeason == nullptr)
        return rule.Text;
    return std::string(rule.Text) + WholeText(season, 2) + rule.AfterSeason;
}

} // namespace

std::span<const TInputRule> InputRules()
{
    return Rules;
}

std::vector<std::string> InputErrorLines(const TInputRecord& r)
{
    std::vector<std::string> out;
    const std::span<const TInputRule> rules = InputRules();
    for (std::size_t i = 0; i < rules.size(); ++i) {
        if (rules[i].Scope == TRuleScope::Record) {
            if (rules[i].Broken(r, 0))
                out.push_back(RuleLine(rules[i], 0));
            continue;
        }
        // One pass over the seasons for this rule and the rules that join it.
        std::size_t last = i;
        while (last + 1 < rules.size() && rules[last + 1].Scope == TRuleScope::JoinsSeasons)
            ++last;
        for (int s = 1; s <= Seasons(r); ++s)
            for (std::size_t k = i; k <= last; ++k)
                if (rules[k].Broken(r, s))
                    out.push_back(RuleLine(rules[k], s));
        i = last;
    }
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
    } catch (const TFileRefusal&) {
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
