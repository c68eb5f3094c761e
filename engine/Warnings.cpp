#include "engine/Warnings.h"

namespace veltra {

std::string IntField(int value, int width)
{
    std::string s = std::to_string(value);
    if (static_cast<int>(s.size()) < width)
        s.insert(0, static_cast<std::size_t>(width) - s.size(), ' ');
    return s;
}

void TWarningList::Line(const std::string& text) { out_ << text << "\r\n"; }

void TWarningList::SurfaceCorrected(int year, int season, bool sda, bool sdb, bool sro)
{
    const std::string where = " in year :" + IntField(year, 3) + ", season :" + IntField(season, 2) + " is reduced.";
    if (sda)
        Line(" The excessive surface drainage SDA" + where);
    if (sdb)
        Line(" The excessive surface drainage SDB" + where);
    if (sro)
        Line(" The excessive surface runoff SRO" + where);
    Line("");
}

void TWarningList::ReuseReduced(int year, int season)
{
    Line("");
    Line(" The total drainage in year :" + IntField(year, 3) + ", season :" + IntField(season, 2) +
         " is less than the amount of drainage re-used.");
    Line(" The drainage re-use (DRR) is reduced to equal the drainage.");
    Line("");
}

void TWarningList::AquiferBottom(int year)
{
    Line("");
    Line(" The watertable drops below bottom of the aquifer in year:" + IntField(year, 3));
    Line(" Calculations are interrupted. Please revise the input data.");
    Line("");
}

void TWarningList::IterationDidNotConverge(int year, int season)
{
    Line("");
    Line(" The water table iteration did not converge in year:" + IntField(year, 3) + ", season:" +
         IntField(season, 2));
    Line(" Calculations are interrupted. Please revise the input data.");
    Line("");
}

void TWarningList::RootZoneIrrigationReduced()
{
    Line("");
    Line(" As the water table rises into the root zone,");
    Line(" the irrigation in areas A and B is reduced.");
    Line("");
}

void TWarningList::PumpingReduced()
{
    Line("");
    Line("   As the water table drops considerably,");
    Line("   the pumping from wells needs to be reduced.");
    Line("");
}

void TWarningList::RotationKeyChanged(int initialKey, int newKey)
{
    Line("");
    Line(" The initial rotation key Kr was changed from " + IntField(initialKey, 2) + "  to " + IntField(newKey, 2));
    Line("  Later it may or may not change again.");
    Line("");
}

void TWarningList::FarmersReducedA()
{
    Line("");
    Line(" The irrigated area A is reduced as a response");
    Line(" of the farmers to soil salinization.");
    Line("");
}

void TWarningList::FarmersReducedB()
{
    Line("");
    Line(" The irrigated area B is reduced as a response");
    Line(" of the farmers to soil salinization.");
    Line("");
}

} // namespace veltra
