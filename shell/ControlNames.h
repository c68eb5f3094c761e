#pragma once
// Names of the controls and actions that the window logic drives through the
// shell operations (ShowControl, EnableControl, SetControlText, ...). The Qt
// window registers its widgets under these names.

namespace veltra::ctl {

// ---- Actions
inline constexpr const char* InputSave = "InputSave";
inline constexpr const char* GraphSave = "GraphSave"; // also the button "Save graph"

// ---- Input page
inline constexpr const char* FileNameLabel = "FileName_Label";
inline constexpr const char* Title1Edit = "Title1_Edit";
inline constexpr const char* Title2Edit = "Title2_Edit";
inline constexpr const char* SaveRunButton = "SaveRun_Button";
inline constexpr const char* NoteLabel = "Note_Label";
// The input editor: "Select data group" and its choice (the text is the caption of
// the chosen group, "" when none is chosen); the group panels, their fields and
// buttons are named after the groups (InputGroups.h).
inline constexpr const char* DataGroupPanel = "DataGroup_Panel";
inline constexpr const char* DataGroupRadioGroup = "DataGroup_RadioGroup";
inline constexpr const char* DrainageEquationButton = "DrainageEquation_Button";
inline constexpr const char* DrainageCalculationsButton = "DrainageCalculations_Button";

// ---- Calculator window (TAlfaForm): the results and "Calculate"; the six inputs
// are named after their symbols (AlfaControl in UAlfaForm.h)
inline constexpr const char* AlfaQH1 = "AlfaQH1_Edit";
inline constexpr const char* AlfaQH2 = "AlfaQH2_Edit";
// The rates of fall of the water table, QH1/p and QH2/p, shown for information.
inline constexpr const char* AlfaFallQH1 = "AlfaQH1p_Edit";
inline constexpr const char* AlfaFallQH2 = "AlfaQH2p_Edit";
inline constexpr const char* AlfaCalculate = "Calculate_Button";

// ---- Output page (the result text and the grid have their own operations)
inline constexpr const char* OutputOpenButton = "OutputOpen_Button";
inline constexpr const char* OutputSymbolsButton = "OutputSymbols_Button";
inline constexpr const char* GroupButton = "Group_Button";
inline constexpr const char* GroupSaveButton = "GroupSave_Button";
inline constexpr const char* GroupOpenButton = "GroupOpen_Button";
inline constexpr const char* SeeGraphButton = "SeeGraph_Button";
inline constexpr const char* CloseOutputButton = "CloseOutput_Button";
inline constexpr const char* ClipButton = "Clip_Button";
inline constexpr const char* ClipNoteLabel = "ClipNote_Label";
inline constexpr const char* GroupsPanel = "Groups_Panel";
// Its text is the number (1..13) of the chosen output group, empty when none is chosen.
inline constexpr const char* GroupOption = "Group_RadioGroup";
inline constexpr const char* OutputDecorImage = "OutputDecor_Image";

// ---- Graphics page
inline constexpr const char* GraphImage = "Graph_Image";
inline constexpr const char* GraphDecorImage = "GraphDecor_Image";
inline constexpr const char* GraphSymbolsButton = "GraphSymbols_Button";

// ---- Warning window
inline constexpr const char* WarningMemo = "WarningMemo";

} // namespace veltra::ctl
