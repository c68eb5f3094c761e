#include "shell/UAlfaForm.h"

#include <cmath>

#include "model/NumberEntry.h"
#include "shell/InputGroups.h"

namespace veltra {

// The calculator window's caption, labels and units.
// Texts are written exactly as users and their files know them, odd spellings included;
// do not correct them.
const char* const AlfaCaption = "Calculator rection factors drainage systm";
const char* const AlfaEquationLabel = "Drainage equation: Q = QH1 (Dd-Dw)  + QH2 (Dd-Dw)^2";

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

std::string AlfaControl(TAlfaField field)
{
    return std::string("Alfa") + AlfaSymbol(field) + "_Edit";
}

std::vector<TControlInfo> AlfaControlList()
{
    const std::string panel = "Alfa_Panel";
    std::vector<TControlInfo> list{{panel, TControlKind::Panel, AlfaCaption, {}, "", 0, 0}};
    int row = 1;
    for (TAlfaField field : AlfaFields()) {
        list.push_back({std::string("Alfa") + AlfaSymbol(field) + "_Label",
                        TControlKind::Label,
                        AlfaLabel(field),
                        {},
                        panel,
                        row,
                        0});
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

TAlfaFormLogic::TAlfaFormLogic(TInputRecord& rec, ShellOps& ops) : rec_(rec), ops_(ops) {}

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
