#include "model/ValueTests.h"

#include <utility>

#include "model/InputCheck.h"

namespace veltra {

bool IsSingleValueRule(TRule rule)
{
    switch (rule) {
    case TRule::SumIs12:
    case TRule::SumAtMost1:
    case TRule::BelowHalfOf:
    case TRule::DrainDepth: return false;
    default: return true;
    }
}

bool PassesRule(TRule rule, double v)
{
    switch (rule) {
    case TRule::AtLeast0: return v >= 0;
    case TRule::Above0: return v > 0;
    case TRule::Between0And1: return v >= 0 && v <= 1;
    case TRule::Below1: return v < 1;
    case TRule::AboveHalf: return v > 0.5;
    case TRule::PorosityRange: return v > 0 && v < 0.9;
    case TRule::SumIs12:
    case TRule::SumAtMost1:
    case TRule::BelowHalfOf:
    case TRule::DrainDepth: break;
    }
    return true;
}

const char* RuleText(TRule rule)
{
    switch (rule) {
    case TRule::AtLeast0: return ">= 0";
    case TRule::Above0: return "> 0";
    case TRule::Between0And1: return "between 0 and 1";
    case TRule::Below1: return "< 1";
    case TRule::AboveHalf: return "> 0.5";
    case TRule::PorosityRange: return "> 0 and < 0.9";
    case TRule::SumIs12: return "the seasons add up to 12";
    case TRule::SumAtMost1: return "the sum per season at most 1";
    case TRule::BelowHalfOf: return "below half the total porosity";
    case TRule::DrainDepth: return "Dr < Dd < Dr + Dx";
    }
    return "";
}

// The groups' test messages.
// Texts are written exactly as users and their files know them, odd spellings included;
// do not correct them.
// A data table: one row per tested field.
const std::vector<std::pair<const char*, std::vector<TValueTest>>>&
AllEditorValueTests() // NOLINT(readability-function-size)
{
    static const std::vector<std::pair<const char*, std::vector<TValueTest>>> tests = {
        {"SeasonDurations",
         {{TRule::SumIs12, {"Ts"}, " Total number of months must be 12."},
          {TRule::AboveHalf, {"Ts"}, " Season durations must be > 0.5 month."}}},
        {"IrrigatedAreas",
         {{TRule::Between0And1, {"A"}, " Irrigated area fractions A must be between 0 and 1."},
          {TRule::Between0And1, {"B"}, " Irrigated area fractions B  must be between 0 and 1."},
          {TRule::SumAtMost1, {"A", "B"}, " The sum of area fractions A+B must not be greater than 1."}}},
        {"CanalLosses", {{TRule::AtLeast0, {"Lc", "Io"}, " Losses must zero or more."}}},
        {"IrrigationQuantity",
         {{TRule::AtLeast0, {"IaA"}, " Irrigation of area A must be zero or more."},
          {TRule::AtLeast0, {"IaB"}, " Irrigation of area B must be zero or more."}}},
        {"ClimaticData",
         {{TRule::AtLeast0, {"Pp"}, " The rainfall must be zero or more."},
          {TRule::AtLeast0, {"EpA"}, " The evaporation in area A must be zero or more."},
          {TRule::AtLeast0, {"EpB"}, " The evaporation in area B must be zero or more."},
          {TRule::AtLeast0, {"EpU"}, " The evaporation unirrigated land U must be zero or more."}}},
        {"StorageEfficiency",
         {{TRule::Above0, {"FsA", "FsB", "FsU"}, "The storage efficiency must be > 0"},
          {TRule::Below1, {"FsA"}, " The storage efficiency in area A must be between zero and one."},
          {TRule::Below1, {"FsB"}, " The storage efficiency in area B must be between zero and one."},
          {TRule::Below1, {"FsU"}, " The storage efficiency in unirrigated area U must be between zero and one."}}},
        {"SurfaceRunInOff",
         {{TRule::AtLeast0, {"SiU"}, " The surface run-in in area U must be zero or more."},
          {TRule::AtLeast0, {"SoU"}, " The surface run-off from area U must be zero or more."}}},
        {"SurfaceDrainage",
         {{TRule::AtLeast0, {"SoA"}, " The surface drainage from area A cannot be negative."},
          {TRule::AtLeast0, {"SoB"}, " The surface drainage from area B cannot be negative."}}},
        {"GroundWater",
         {{TRule::AtLeast0, {"Gi"}, " The ground water inflow cannot be negative."},
          {TRule::AtLeast0, {"Go"}, " The ground water ouflow cannot be negative."}}},
        {"PumpingWells", {{TRule::AtLeast0, {"Gw"}, " The pumping from wells cannot be negative."}}},
        {"UseWellWater",
         {{TRule::Between0And1,
           {"FAw", "FBw"},
           " The fraction of well water used for irrigation must be between 0 and 1."},
          {TRule::SumAtMost1, {"FAw", "FBw"}, " The sum of fractions for A and B areas must be between <=1"}}},
        {"SoilThickness",
         {{TRule::Above0, {"Dr"}, "The root zone depth must be > 0"},
          {TRule::Above0, {"Dx"}, "The transition zone depth must be > 0"},
          {TRule::Above0, {"Dq"}, "The aquifer depth must be > 0"}}},
        {"SoilPorosity",
         {{TRule::PorosityRange,
           {"Ptr", "Ptx", "Ptq", "Per", "Pex", "Peq"},
           "The porosity must be > 0 and less than 0.9"},
          {TRule::BelowHalfOf,
           {"Per", "Ptr"},
           "The  drainable (=effective) porosity must be less than half the total porosity"},
          {TRule::BelowHalfOf,
           {"Pex", "Ptx"},
           "The  drainable (=effective) porosity must be less than half the total porosity"},
          {TRule::BelowHalfOf,
           {"Peq", "Ptq"},
           "The  drainable (=effective) porosity must be less than half the total porosity"}}},
        {"LeachingEfficiency", {{TRule::Above0, {"Flr", "Flx", "Flq"}, "The leaching efficiency must > 0"}}},
        {"DrainageSystem", {{TRule::DrainDepth, {"Dd"}, DrainDepthMessage}}},
        {"DrainageControl",
         {{TRule::Between0And1, {"Frd"}, " The the drainage control factor must be between 0 and 1"}}},
        {"DrainageReuse", {{TRule::AtLeast0, {"DAu", "DBu"}, " The the reuse of drainage water cannot be negative."}}},
        {"SoilSalinity",
         {{TRule::Above0,
           {"CA0", "CB0", "CU0", "CxA0", "CxB0", "Cx0", "Cq0"},
           "The intial soil salinity must be > 0"}}},
        {"WaterSalinity", {{TRule::AtLeast0, {"Cic", "Ch", "Cp"}, " The water salinity values cannot be negative."}}},
    };
    return tests;
}

const std::vector<TValueTest>& EditorValueTests(std::string_view group)
{
    static const std::vector<TValueTest> none;
    for (const auto& [key, tests] : AllEditorValueTests())
        if (group == key)
            return tests;
    return none;
}

} // namespace veltra
