#pragma once
// The 22 data groups of the Input page as data: what each panel holds, which
// record field each field stores into, the land type or season it belongs to, the
// tests of "Save group" with their messages, the confirmation, and where the guided
// entry of a new data set goes next. The editor logic (TInputEditor.h) and the
// window's panels are both built from this table, and so is the list of control
// names (EditorControlList) through which the logic reaches the panels.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/UDataMod.h"
#include "model/ValueTests.h"
#include "shell/ControlNames.h"

namespace veltra {

// In the order of the guided entry.
enum class TGroupId : int {
    General,
    SeasonDurations,
    IrrigatedAreas,
    RiceCropping,
    CanalLosses,
    IrrigationQuantity,
    ClimaticData,
    StorageEfficiency,
    SurfaceRunInOff,
    SurfaceDrainage,
    GroundWater,
    PumpingWells,
    UseWellWater,
    SoilThickness,
    SoilPorosity,
    LeachingEfficiency,
    DrainageSystem,
    DrainageControl,
    DrainageReuse,
    SoilSalinity,
    WaterSalinity,
    WaterTable,
};
constexpr int GroupCount = 22;

// The land type a field describes: it applies in a season only where that land
// has area. A non-seasonal field of a land type is shown when the land has area
// in any season.
enum class TLand : std::uint8_t { Any, A, B, U };

// Number: a text field read by the number entry rule. Whole: a whole number (Ny).
// Selector: a list of items (TItems); the control's text is the chosen item.
enum class TFieldKind : std::uint8_t { Number, Whole, Selector };
enum class TItems : std::uint8_t { None, NoYes, Seasons, RotationKeys };

// Fields that belong to one drainage situation only (the transition zone's
// initial salinity: above and below the drains, or one value without drains).
enum class TKdRule : std::uint8_t { Always, Drains, NoDrains };

// When a group takes part: always, only with pumped wells (Kp = 1), only with
// drains (Kd = 1), or (guided entry only) when the areas leave unirrigated land.
enum class TGroupCondition : std::uint8_t { Always, Wells, Drains, Unirrigated };

struct TFieldDef {
    const char* Symbol; // control stem: "Lc" gives Lc1_Edit .. Lc4_Edit, "Dr" gives Dr_Edit
    const char* Label;  // the row's label on the panel
    TFieldKind Kind = TFieldKind::Number;
    // Where the value is stored: exactly one of the three.
    double TInputRecord::*Scalar = nullptr;
    TSeasonal TInputRecord::*Seasonal = nullptr;
    std::uint8_t TInputRecord::*Key = nullptr;
    TLand Land = TLand::Any;
    TKdRule Kd = TKdRule::Always;
    bool OnlyWithPumping = false; // applies only in the seasons with Gw > 0
    TItems Items = TItems::None;
    // Text before any file is opened: of the field, or of seasons 1 and 2 (Default2
    // null: as season 1); seasons 3 and 4 show "n.a." (selectors their first item).
    const char* Default1 = "";
    const char* Default2 = nullptr;

    bool IsSeasonal() const { return Seasonal != nullptr; }
};

struct TGroupDef {
    TGroupId Id;
    const char* Key;     // control stem: Key_Panel, Key_RadioButton, Key_Save_Button, ...
    const char* Caption; // as the group selector lists it
    TGroupCondition Condition;
    std::vector<TFieldDef> Fields;
    std::vector<TValueTest> Tests;
    const char* Confirmation;
    const char* FailureNote; // shown after any failure of the group's save, or null

    bool IsSeasonal() const;
    const TFieldDef* Field(const std::string& symbol) const;
};

// All groups, in the order of TGroupId (the guided order).
const std::vector<TGroupDef>& InputGroups();
const TGroupDef& Group(TGroupId id);

// A field's text before any file is opened (season 0 for a field that is not seasonal).
std::string DefaultText(const TFieldDef& f, int season);

// The items of a selector.
const std::vector<std::string>& SelectorItems(TItems items);

// The group the guided entry shows after a successful save of `id`; nothing after
// the last. `unirrigatedTotal` is the sum of 1 - A - B over the seasons, taken by
// the last save of the Irrigated areas group.
std::optional<TGroupId> NextGuidedGroup(TGroupId id, const TInputRecord& rec, double unirrigatedTotal);

// Land presence: a fraction counts when it exceeds 1e-9, so that 0.7 + 0.3 leaves
// no unirrigated land behind.
bool LandPresent(const TInputRecord& rec, TLand land, int season);
bool LandPresentInAnySeason(const TInputRecord& rec, TLand land);

// ---- Control names (the window builds its panels with these names; the fixed
// ones are in ControlNames.h) ----

std::string PanelControl(const TGroupDef& g);                   // Key_Panel
std::string RadioControl(const TGroupDef& g);                   // Key_RadioButton: the group's entry in the selector
std::string SaveButtonControl(const TGroupDef& g);              // Key_Save_Button, "Save group"
std::string CancelButtonControl(const TGroupDef& g);            // Key_Cancel_Button, "Cancel"
std::string SeasonLabelControl(const TGroupDef& g, int season); // Key_Season<s>_Label
// Symbol<s>_Edit or Symbol<s>_ComboBox for a seasonal field; Symbol_Edit or
// Symbol_ComboBox otherwise (season ignored).
std::string FieldControl(const TFieldDef& f, int season = 0);
// Symbol_Label: the field's row label, shown and hidden with a field that is not seasonal.
std::string FieldLabelControl(const TFieldDef& f);

enum class TControlKind : std::uint8_t { Panel, RadioGroup, RadioButton, Label, Edit, ComboBox, Button };

// One control of the editor: its name, kind, text (the caption of a panel, label,
// button or radio button; the default text of a field: its text before any file is
// opened), items, the panel it sits on, and its place there: the row of the field
// (of the buttons below the fields), and the column: 0 for labels, 1..4 for the
// seasons (a field that is not seasonal sits in column 1).
struct TControlInfo {
    std::string Name;
    TControlKind Kind;
    std::string Text;
    std::vector<std::string> Items;
    std::string Panel;
    int Row = 0;
    int Column = 0;
};

// Every control the editor logic names, in panel order: first the window's own
// (" Save / run ", no panel), then the group selector and the group panels.
std::vector<TControlInfo> EditorControlList();

} // namespace veltra
