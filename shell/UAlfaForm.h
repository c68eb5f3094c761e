#pragma once
// The drainage reaction-factor calculator (window TAlfaForm): QH1 and QH2 of the
// input from the soil and drain properties, by Hooghoudt's drain-spacing equation
// with the equivalent depth of van der Molen and Wesseling. The formulas are
// free functions, shared with `veltra calc`; TAlfaFormLogic is the window's logic
// (the Qt window, qt/TAlfaForm.h, calls one member per user event).
#include <optional>
#include <string>
#include <vector>

#include "model/UDataMod.h"
#include "runs/ReactionFactors.h"
#include "shell/InputGroups.h"
#include "shell/ShellOps.h"

namespace veltra {

extern const char* const AlfaCaption;
extern const char* const AlfaEquationLabel;

// The window label of an input field.
const char* AlfaLabel(TAlfaField field);

// Control names of the calculator window.
std::string AlfaControl(TAlfaField field); // AlfaKa_Edit, ...
// Every control of the calculator window (the panel "Alfa_Panel"): each input with its
// label (AlfaKa_Label, ...) in rows 1 to 6, the equation label, the two results and
// the two rates of fall with their labels and units, "Calculate".
std::vector<TControlInfo> AlfaControlList();

class TAlfaFormLogic {
public:
    TAlfaFormLogic(TInputRecord& rec, ShellOps& ops);

    // The six inputs (0 at creation; set when a field is left) and the results.
    TAlfaInputs In;
    double QH1 = 0;
    double QH2 = 0;
    double FallQH1 = 0;
    double FallQH2 = 0;

    // An input field was left: its text is read and tested.
    void FieldLeft(TAlfaField field);
    // The user typed in an input field: the results and the rates of fall are cleared.
    void FieldChanged(TAlfaField field);
    // "Calculate": true when QH1 and QH2 were computed, shown here and in the
    // Drainage system group's QH1 and QH2 fields, and stored in the record; the rates
    // of fall QH1/p and QH2/p are shown beside them, for information only.
    bool Calculate();

private:
    TInputRecord& rec_;
    ShellOps& ops_;
};

} // namespace veltra
