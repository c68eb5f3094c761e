#pragma once
// The drainage reaction factors QH1 and QH2 of the input from the soil and drain
// properties, by Hooghoudt's drain-spacing equation with the equivalent depth of
// van der Molen and Wesseling: the calculator window's formulas, and `veltra calc`'s.
#include <optional>
#include <string>
#include <vector>

namespace veltra {

enum class TAlfaField { Ka, Kb, D, U, P, L };

struct TAlfaInputs {
    double Ka = 0; // m/day, hydraulic conductivity above drain level
    double Kb = 0; // m/day, hydraulic conductivity below drain level
    double D = 0;  // m, depth of the soil layer below drain level
    double U = 0;  // m, wet perimeter of the drain or ditch
    double P = 0;  // %, drainable porosity of the top soil
    double L = 0;  // m, drain spacing

    double& operator[](TAlfaField field);
    double operator[](TAlfaField field) const;
};

// QH1 and QH2 are the discharges of Hooghoudt's equation for a head of 1 m, as the
// model's drain discharge uses them; FallQH1 and FallQH2, the same divided by the
// drainable porosity, are the speeds at which they make the water table fall.
struct TReactionFactors {
    double QH1 = 0;     // m/day per m
    double QH2 = 0;     // m/day per m2
    double FallQH1 = 0; // QH1/p, m/day per m
    double FallQH2 = 0; // QH2/p, m/day per m2
    double X = 0;       // 2 pi D / L
    double F = 0;       // the equivalent-depth function of x
    double De = 0;      // m, equivalent depth
};

extern const char* const AlfaRefusal; // "One or more data values are incorrect"

// The symbol the command line and the messages use: "Ka", "Kb", "D", "U", "P", "L".
const char* AlfaSymbol(TAlfaField field);
const std::vector<TAlfaField>& AlfaFields();

// What leaving a field with this value tells the user; empty when accepted.
std::string AlfaLeaveMessage(TAlfaField field, double value);

// The check of "Calculate": Ka > 0, Kb >= 0, D > 0, U > 0, 1 < P < 30, L > 0.
bool AlfaInputsAccepted(const TAlfaInputs& in);

// QH1 and QH2, with pi taken as 3.142; nothing when the check refuses the inputs
// or the wet perimeter is so large against the spacing that the equivalent depth
// would be infinite or negative.
std::optional<TReactionFactors> ComputeReactionFactors(const TAlfaInputs& in);

// A result as the calculator shows it: "%8.5f".
std::string ReactionFactorText(double value);

} // namespace veltra
