#include "shell/DrainExplanation.h"

namespace veltra {

const char* const DrainFormCaption = "Explanation subsurface drainage";

const std::vector<std::string>& DrainExplanationLines()
{
    static const std::vector<std::string> lines{
        "Subsurface drainage after Hooghoudt",
        "",
        "Parallel drains (pipes or ditches) at a spacing L keep the water table down.",
        "Midway between two drains the water table stands at a height h above drain level.",
        "In a steady state the drains discharge the water that recharges the soil at the rate q:",
        "",
        "    q = (8*Kb*d*h + 4*Ka*h*h) / (L*L)",
        "",
        "  q   drain discharge (m/day)",
        "  h   height of the water table above drain level, midway between the drains (m)",
        "  L   spacing of the drains (m)",
        "  Ka  hydraulic conductivity of the soil above drain level (m/day)",
        "  Kb  hydraulic conductivity of the soil below drain level (m/day)",
        "  d   equivalent depth of the soil layer below drain level (m); it is smaller than the",
        "      real depth D because the flow lines converge near the drains",
        "",
        "The discharge has two parts, q = q1 + q2:",
        "  q1 = 8*Kb*d*h / (L*L)   the flow below drain level, proportional to h",
        "  q2 = 4*Ka*h*h / (L*L)   the flow above drain level, proportional to h squared",
        "",
        "The model writes the drain discharge as Q = QH1*(Dd-Dw) + QH2*(Dd-Dw)^2, where Dd is the",
        "drain depth and Dw the depth of the water table, so that Dd-Dw plays the part of h.",
        "The reaction factors are the two parts of the discharge for h = 1 m:",
        "",
        "    QH1 = 8*Kb*d/(L*L)   (m/day per m)",
        "    QH2 = 4*Ka/(L*L)     (m/day per m2)",
        "",
        "\"Drainage calculations\" computes QH1 and QH2 from Ka, Kb, the depth D of the soil",
        "layer below drain level, the wet perimeter U of the drain and the spacing L, and",
        "writes them, as the discharges above, into the Drainage system group: the model",
        "uses them so. Beside them it shows QH1/p and QH2/p, the factors divided by the",
        "drainable porosity P of the top soil (p = P/100): the speeds at which the water",
        "table falls, in m/day per m and per m2 of h. They are for information only; the",
        "model applies the drainable porosity of the soil layers itself.",
    };
    return lines;
}

} // namespace veltra
