#include "runs/ReactionFactors.h"

#include <cmath>

#include "model/NumberText.h"

namespace veltra {

// The calculator's refusal and the messages of its fields.
// Texts are written exactly as users and their files know them, odd spellings included;
// do not correct them.
const char* const AlfaRefusal = "One or more data values are incorrect";

namespace {

// pi as the calculator has always written it, and the constants made from it.
constexpr double Pi = 3.142;
constexpr double TwoPi = 6.284;
constexpr double PiSquared = 9.872164;

} // namespace

double& TAlfaInputs::operator[](TAlfaField field)
{
    switch (field) {
    case TAlfaField::Ka: return Ka;
    case TAlfaField::Kb: return Kb;
    case TAlfaField::D: return D;
    case TAlfaField::U: return U;
    case TAlfaField::P: return P;
    case TAlfaField::L: break;
    }
    return L;
}

double TAlfaInputs::operator[](TAlfaField field) const
{
    return const_cast<TAlfaInputs&>(*this)[field];
}

const std::vector<TAlfaField>& AlfaFields()
{
    static const std::vector<TAlfaField> fields{TAlfaField::Ka, TAlfaField::Kb, TAlfaField::D,
                                                TAlfaField::U,  TAlfaField::P,  TAlfaField::L};
    return fields;
}

const char* AlfaSymbol(TAlfaField field)
{
    switch (field) {
    case TAlfaField::Ka: return "Ka";
    case TAlfaField::Kb: return "Kb";
    case TAlfaField::D: return "D";
    case TAlfaField::U: return "U";
    case TAlfaField::P: return "P";
    case TAlfaField::L: break;
    }
    return "L";
}

std::string AlfaLeaveMessage(TAlfaField field, double v)
{
    switch (field) {
    case TAlfaField::Ka: return v < 0 ? "Ka should be greater than zero" : "";
    case TAlfaField::Kb: return v < 0 ? "Kb should be greater than zero" : "";
    case TAlfaField::D: return v <= 0 ? "D should be greater than zero" : "";
    case TAlfaField::U: return v <= 0 ? "U should be greater than zero" : "";
    case TAlfaField::P:
        if (v <= 0)
            return "P should be greater than zero";
        if (v < 1)
            return "P should be greater than 1%";
        if (v > 30)
            return "P should be less than 30%";
        return "";
    case TAlfaField::L: break;
    }
    return v <= 0 ? "L should be greater than zero" : "";
}

bool AlfaInputsAccepted(const TAlfaInputs& in)
{
    return in.Ka > 0 && in.Kb >= 0 && in.D > 0 && in.U > 0 && in.P > 1 && in.P < 30 && in.L > 0;
}

std::optional<TReactionFactors> ComputeReactionFactors(const TAlfaInputs& in)
{
    if (!AlfaInputsAccepted(in))
        return std::nullopt;
    TReactionFactors r;
    r.QH2 = 4 * in.Ka / (in.L * in.L);
    r.X = TwoPi * in.D / in.L;
    if (r.X > 1) {
        const double e1 = std::exp(-2 * r.X);
        const double e3 = std::exp(-6 * r.X);
        const double e5 = std::exp(-10 * r.X);
        r.F = 4 * e1 / (1 - e1) + 4 * e3 / (3 * (1 - e3)) + 4 * e5 / (5 * (1 - e5));
    } else {
        r.F = std::log(0.5 * r.X / Pi) + PiSquared / (4 * r.X);
    }
    // A wet perimeter near the spacing would give an infinite or negative depth.
    const double denominator = std::log(in.L / in.U) + r.F;
    if (!(denominator > 0))
        return std::nullopt;
    r.De = (Pi * in.L / 8) / denominator;
    r.QH1 = 8 * in.Kb * r.De / (in.L * in.L);
    // The model applies the drainable porosity itself; divided by it, the factors
    // tell how fast the water table falls, which the window shows beside them.
    const double p = in.P / 100; // the porosity as a fraction
    r.FallQH1 = r.QH1 / p;
    r.FallQH2 = r.QH2 / p;
    if (!std::isfinite(r.QH1) || !std::isfinite(r.QH2) || !std::isfinite(r.FallQH1) || !std::isfinite(r.FallQH2))
        return std::nullopt;
    return r;
}

std::string ReactionFactorText(double value)
{
    return FixedText(value, 8, 5);
}

} // namespace veltra
