#include "shell/UAlfaForm.h"

#include <cmath>

#include "shell/InputGroups.h"
#include "shell/NumberEntry.h"

namespace veltra {

const char* const AlfaCaption = "Calculator rection factors drainage systm";
const char* const AlfaEquationLabel = "Drainage equation: Q = QH1 (Dd-Dw)  + QH2 (Dd-Dw)^2";
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

const char* AlfaLabel(TAlfaField field)
{
    switch (field) {
    case TAlfaField::Ka: return "Hydraulic conductivity above drain level (Ka in m/day)";
    case TAlfaField::Kb: return "Hydraulic conductivity below drain level (Kb in m/day)";
    case TAlfaField::D: return "Depth of soil layer below drain level (D = D1-Dd in m)";
    case TAlfaField::U: return "Wet perimeter of drain or ditch (U in m)";
    case TAlfaField::P: return "Drainable (effective) porosity of top soil (P in %)";
    case TAlfaField::L: break;
    }
    return "Drain spacing (L in m)";
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

std::string AlfaControl(TAlfaField field)
{
    return std::string("Alfa") + AlfaSymbol(field) + "_Edit";
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

std::vector<TControlInfo> AlfaControlList()
{
    const std::string panel = "Alfa_Panel";
    std::vector<TControlInfo> list{{panel, TControlKind::Panel, AlfaCaption, {}, "", 0, 0}};
    int row = 1;
    for (TAlfaField field : AlfaFields()) {
        list.push_back({std::string("Alfa") + AlfaSymbol(field) + "_Label", TControlKind::Label, AlfaLabel(field), {},
                        panel, row, 0});
        list.push_back({AlfaControl(field), TControlKind::Edit, "", {}, panel, row, 1});
        ++row;
    }
    list.push_back({"AlfaEquation_Label", TControlKind::Label, AlfaEquationLabel, {}, panel, row++, 0});
    struct TResultRow {
        const char* Stem;
        const char* Label;
        const char* Edit;
        const char* Unit;
    };
    const TResultRow results[] = {
        {"AlfaQH1", "QH1 =", ctl::AlfaQH1, "m/day per m: drain discharge, into the input"},
        {"AlfaQH2", "QH2 =", ctl::AlfaQH2, "m/day per m2: drain discharge, into the input"},
        {"AlfaQH1p", "QH1/p =", ctl::AlfaFallQH1, "m/day per m: fall of the water table, for information"},
        {"AlfaQH2p", "QH2/p =", ctl::AlfaFallQH2, "m/day per m2: fall of the water table, for information"},
    };
    for (const TResultRow& r : results) {
        list.push_back({std::string(r.Stem) + "_Label", TControlKind::Label, r.Label, {}, panel, row, 0});
        list.push_back({r.Edit, TControlKind::Edit, "", {}, panel, row, 1});
        list.push_back({std::string(r.Stem) + "Unit_Label", TControlKind::Label, r.Unit, {}, panel, row++, 2});
    }
    list.push_back({ctl::AlfaCalculate, TControlKind::Button, "Calculate", {}, panel, row, 1});
    return list;
}

TAlfaFormLogic::TAlfaFormLogic(TInputRecord& rec, ShellOps& ops) : rec_(rec), ops_(ops)
{
}

void TAlfaFormLogic::FieldLeft(TAlfaField field)
{
    const std::string control = AlfaControl(field);
    const std::string text = ops_.GetControlText(control);
    if (text.find_first_not_of(" \t") == std::string::npos)
        return; // nothing typed, nothing changes
    const auto value = ReadTypedNumber(text);
    if (!value) {
        ops_.ShowMessage(NotANumberMessage(text));
        return;
    }
    const std::string message = AlfaLeaveMessage(field, *value);
    In[field] = *value;
    if (message.empty())
        return;
    ops_.ShowMessage(message);
    ops_.SetControlText(control, "");
    // P and L keep the value read; the others start again from 0.
    if (field != TAlfaField::P && field != TAlfaField::L)
        In[field] = 0;
}

void TAlfaFormLogic::FieldChanged(TAlfaField)
{
    QH1 = 0;
    QH2 = 0;
    FallQH1 = 0;
    FallQH2 = 0;
    for (const char* control : {ctl::AlfaQH1, ctl::AlfaQH2, ctl::AlfaFallQH1, ctl::AlfaFallQH2})
        ops_.SetControlText(control, "");
}

bool TAlfaFormLogic::Calculate()
{
    const auto result = ComputeReactionFactors(In);
    if (!result) {
        ops_.ShowMessage(AlfaRefusal);
        return false;
    }
    QH1 = result->QH1;
    QH2 = result->QH2;
    FallQH1 = result->FallQH1;
    FallQH2 = result->FallQH2;
    const std::string qh1 = ReactionFactorText(QH1);
    const std::string qh2 = ReactionFactorText(QH2);
    ops_.SetControlText(ctl::AlfaQH1, qh1);
    ops_.SetControlText(ctl::AlfaQH2, qh2);
    ops_.SetControlText(ctl::AlfaFallQH1, ReactionFactorText(FallQH1));
    ops_.SetControlText(ctl::AlfaFallQH2, ReactionFactorText(FallQH2));
    const TGroupDef& drainage = Group(TGroupId::DrainageSystem);
    ops_.SetControlText(FieldControl(*drainage.Field("QH1")), qh1);
    ops_.SetControlText(FieldControl(*drainage.Field("QH2")), qh2);
    rec_.QH1 = QH1;
    rec_.QH2 = QH2;
    return true;
}

} // namespace veltra
