#include "engine/TWarningList.h"

#include "model/NumberText.h"

namespace veltra {

// The blocks of warning.lst.
// Texts are written exactly as users and their files know them, odd spellings included;
// do not correct them.
void TWarningList::SurfaceCorrected(int year, int season, bool sda, bool sdb, bool sro)
{
    const std::string where = " in year :" + WholeText(year, 3) + ", season :" + WholeText(season, 2) + " is reduced.";
    std::vector<std::string> lines;
    if (sda)
        lines.push_back(" The excessive surface drainage SDA" + where);
    if (sdb)
        lines.push_back(" The excessive surface drainage SDB" + where);
    if (sro)
        lines.push_back(" The excessive surface runoff SRO" + where);
    lines.emplace_back();
    Give(lines);
}

void TWarningList::ReuseReduced(int year, int season)
{
    Give({"",
          " The total drainage in year :" + WholeText(year, 3) + ", season :" + WholeText(season, 2) +
              " is less than the amount of drainage re-used.",
          " The drainage re-use (DRR) is reduced to equal the drainage.", ""});
}

void TWarningList::AquiferBottom(int year)
{
    Give({"", " The watertable drops below bottom of the aquifer in year:" + WholeText(year, 3),
          " Calculations are interrupted. Please revise the input data.", ""});
}

void TWarningList::IterationDidNotConverge(int year, int season)
{
    Give({"",
          " The water table iteration did not converge in year:" + WholeText(year, 3) +
              ", season:" + WholeText(season, 2),
          " Calculations are interrupted. Please revise the input data.", ""});
}

void TWarningList::ValueOutOfRange(int year, int season)
{
    Give({"",
          " The calculations gave a value out of range in year:" + WholeText(year, 3) +
              ", season:" + WholeText(season, 2),
          " Calculations are interrupted. Please revise the input data.", ""});
}

void TWarningList::RootZoneIrrigationReduced()
{
    Give({"", " As the water table rises into the root zone,", " the irrigation in areas A and B is reduced.", ""});
}

void TWarningList::PumpingReduced()
{
    Give({"", "   As the water table drops considerably,", "   the pumping from wells needs to be reduced.", ""});
}

void TWarningList::RotationKeyChanged(int initialKey, int newKey)
{
    Give({"",
          " The initial rotation key Kr was changed from " + WholeText(initialKey, 2) + "  to " + WholeText(newKey, 2),
          "  Later it may or may not change again.", ""});
}

void TWarningList::FarmersReducedA()
{
    Give({"", " The irrigated area A is reduced as a response", " of the farmers to soil salinization.", ""});
}

void TWarningList::FarmersReducedB()
{
    Give({"", " The irrigated area B is reduced as a response", " of the farmers to soil salinization.", ""});
}

} // namespace veltra
