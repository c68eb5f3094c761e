// The input editor driven through the fake shell operations: the guided entry of a
// new data set, the season and land-type layout of the panels, the cell test and the
// value tests, the General data group's selectors and fields, and Cancel.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "model/InputFile.h"
#include "shell/GuidedEntry.h"
#include "shell/TInputEditor.h"
#include "shell/UAlfaForm.h"
#include "support/ControlChecks.h"
#include "support/TestFiles.h"

namespace veltra {
namespace {

using namespace editortest;
using namespace test;

const std::string CellTest = "There are one or more empty cells or cells withnegative values. Please complete/adjust.";

std::vector<std::string> Captions(std::initializer_list<TGroupId> ids)
{
    std::vector<std::string> out;
    for (TGroupId id : ids)
        out.emplace_back(Group(id).Caption);
    return out;
}

std::vector<std::string> Confirmations(const std::vector<std::string>& captions)
{
    std::vector<std::string> out;
    for (const auto& caption : captions)
        for (const auto& g : InputGroups())
            if (caption == g.Caption)
                out.emplace_back(g.Confirmation);
    return out;
}

// An editor on its own record and window.
struct TEditorOnly {
    TInputRecord rec;
    TFakeShellOps ops;
    TInputEditor ed{rec, ops};
};

class NewDataSet : public ::testing::Test, protected TEditorOnly {};

TEST_F(NewDataSet, GuidedEntryOrderFollowsWellsDrainsAndUnirrigatedLand)
{
    using G = TGroupId;
    // Kp = 0, Kd = 0: no well or drainage group, the well and drainage selectors stay disabled.
    ed.StartGuidedEntry();
    EXPECT_EQ(ed.OpenGroup(), G::General);
    EXPECT_EQ(OfferedGroups(ops), Captions({G::General}));
    EXPECT_EQ(ops.GetControlText(ctl::DataGroupRadioGroup), "General data");
    ops.SetControlText("Kd_ComboBox", "no");
    ed.KdChanged();
    auto shown = WalkGuidedEntry(ed, ops, FieldClimate());
    const auto noWellsNoDrains = Captions(
        {G::General, G::SeasonDurations, G::IrrigatedAreas, G::RiceCropping, G::CanalLosses, G::IrrigationQuantity,
         G::ClimaticData, G::StorageEfficiency, G::SurfaceRunInOff, G::SurfaceDrainage, G::GroundWater,
         G::SoilThickness, G::SoilPorosity, G::LeachingEfficiency, G::SoilSalinity, G::WaterSalinity, G::WaterTable});
    EXPECT_EQ(shown, noWellsNoDrains);
    EXPECT_EQ(ops.Messages, Confirmations(noWellsNoDrains));
    EXPECT_EQ(OfferedGroups(ops), noWellsNoDrains);
    EXPECT_FALSE(ed.OpenGroup());
    EXPECT_FALSE(ed.GuidedEntryRunning());
    EXPECT_TRUE(ops.Controls[ctl::InputSave].Enabled);
    EXPECT_EQ(ops.GetControlText(ctl::DataGroupRadioGroup), "");
    EXPECT_EQ((std::vector<double>{rec.Cx0, rec.CxA0}), (std::vector<double>{10, 0})); // one salinity without drains

    // Kp = 1, Kd = 1: all 22 groups; the well and drainage selectors follow the keys
    // as soon as the General data group is saved.
    TEditorOnly second;
    auto& [rec2, ops2, ed2] = second;
    ed2.StartGuidedEntry();
    ops2.SetControlText("Kp_ComboBox", "yes");
    ed2.KpChanged();
    TypeIntoOpenGroup(ed2, ops2, {});
    ASSERT_TRUE(ed2.SaveGroup());
    EXPECT_EQ(OfferedGroups(ops2), Captions({G::General, G::SeasonDurations, G::PumpingWells, G::UseWellWater,
                                             G::DrainageSystem, G::DrainageControl, G::DrainageReuse}));
    shown = WalkGuidedEntry(ed2, ops2, FieldTyping());
    shown.insert(shown.begin(), "General data");
    const auto all = Captions({G::General,         G::SeasonDurations,    G::IrrigatedAreas, G::RiceCropping,
                               G::CanalLosses,     G::IrrigationQuantity, G::ClimaticData,   G::StorageEfficiency,
                               G::SurfaceRunInOff, G::SurfaceDrainage,    G::GroundWater,    G::PumpingWells,
                               G::UseWellWater,    G::SoilThickness,      G::SoilPorosity,   G::LeachingEfficiency,
                               G::DrainageSystem,  G::DrainageControl,    G::DrainageReuse,  G::SoilSalinity,
                               G::WaterSalinity,   G::WaterTable});
    EXPECT_EQ(shown, all);
    EXPECT_EQ(ops2.Messages, Confirmations(all));
    EXPECT_EQ(OfferedGroups(ops2), all);
    // With drains the single transition-zone salinity is not asked for.
    EXPECT_EQ((std::vector<double>{rec2.CxA0, rec2.CxB0, rec2.Cx0}), (std::vector<double>{8, 12, 0}));

    // A + B = 0.7 + 0.3 in every season leaves no unirrigated land: no run-in/off group,
    // no EpU, FsU or CU0 asked for.
    TEditorOnly third;
    auto& [rec3, ops3, ed3] = third;
    ed3.StartGuidedEntry();
    TTyping typing = FieldTyping();
    typing.insert({{"A1_Edit", "0.7"}, {"B1_Edit", "0.3"}, {"A2_Edit", "0,7"}, {"B2_Edit", "0,3"}});
    typing["EpU1_Edit"] = "x"; // disabled: neither typed nor read
    shown = WalkGuidedEntry(ed3, ops3, typing);
    EXPECT_EQ(std::count(shown.begin(), shown.end(), "Surface run-in/off"), 0);
    EXPECT_EQ(std::count(shown.begin(), shown.end(), "Surface drainage"), 1);
    EXPECT_EQ(ops3.GetControlText("EpU1_Edit"), "-1");
    ExpectEnabled(ops3, {"FsU2_Edit"}, false);
    ExpectVisible(ops3, {"CU0_Edit"}, false);
    EXPECT_EQ(rec3.EpU[1], 0);
}

TEST_F(NewDataSet, DefaultsAndSaveTimeCheck)
{
    // The fields start from the defaults. The fresh drain depth equals the root zone
    // depth: the Drainage system group, which comes after the soil layers, refuses it
    // with the message of the save-time check, and takes a depth inside the
    // transition zone (Dr < Dd < Dr + Dx).
    // (The defaults saved: the example's text compared below.)
    ed.StartGuidedEntry();
    EXPECT_EQ(ops.GetControlText("Ts3_Edit"), "n.a.");
    EXPECT_FALSE(ops.Controls["CaMax_Edit"].Visible); // Kf = 0
    WalkGuidedEntry(ed, ops, FieldClimate(), TGroupId::DrainageSystem);
    ASSERT_EQ(ed.OpenGroup(), TGroupId::DrainageSystem);
    ops.Messages.clear();
    EXPECT_FALSE(ed.SaveGroup());
    EXPECT_EQ(ops.Messages, std::vector<std::string>{"The drains must be in the transition zone:  Dr < Dd < Dr + Dx"});
    EXPECT_FALSE(ops.Controls[ctl::InputSave].Enabled);
    ops.SetControlText("Dd_Edit", "1.5");
    ASSERT_TRUE(ed.SaveGroup());
    EXPECT_EQ(ops.Messages.back(), "The drainage data were saved.");
    EXPECT_EQ(ed.OpenGroup(), TGroupId::DrainageControl);
    WalkGuidedEntry(ed, ops, FieldClimate());
    // With the drains at 1.5 m it is the bundled field example. With drains the editor
    // does not ask for the one transition-zone salinity of a data set without drains;
    // the example carries its default.
    rec.Cx0 = 10;
    rec.Title1 = "Veltra example: two seasons, subsurface drains, full rotation";
    rec.Title2 = "Editor defaults, drains at 1.5 m";
    EXPECT_EQ(InputFileText(rec), test::ReadFile(std::string(VELTRA_SOURCE_DIR) + "/examples/field.inp"));

    // Texts typed are kept when the Input page is shown again; the keys start afresh.
    ops.SetControlText("Area_Edit", "250");
    rec.Kd = 0;
    ed.StartGuidedEntry();
    EXPECT_EQ(ops.GetControlText("Area_Edit"), "250");
    EXPECT_EQ(rec.Kd, 1);
    EXPECT_EQ(OfferedGroups(ops), std::vector<std::string>{"General data"});
    EXPECT_FALSE(ops.Controls["GeneralData_Cancel_Button"].Enabled);
}

// An input file opened: every group can be chosen.
class OpenedFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        rec.Shell.FileName = std::string(VELTRA_SOURCE_DIR) + "/examples/field.inp";
        ReadInputFile(rec);
        ed.InputFileOpened();
        ops.Messages.clear();
    }
    bool Save(TGroupId id, const TTyping& typing)
    {
        ed.ShowGroup(id);
        TypeIntoOpenGroup(ed, ops, typing);
        return ed.SaveGroup();
    }
    std::string LastMessage() const { return ops.Messages.empty() ? std::string() : ops.Messages.back(); }
    // `text` put into a field or selector of General data, then `event`: the messages it gave.
    using TEvent = void (TInputEditor::*)();
    std::vector<std::string> Put(const char* control, const std::string& text, TEvent event)
    {
        ops.Messages.clear();
        ops.SetControlText(control, text);
        (ed.*event)();
        return ops.Messages;
    }

    TInputRecord rec;
    TFakeShellOps ops;
    TInputEditor ed{rec, ops};
};

TEST_F(OpenedFile, PagesShowTheRecord)
{
    EXPECT_EQ(ed.OpenGroup(), TGroupId::General);
    ExpectTexts(ops, {{"QH1_Edit", "0.003"}, {"EpA1_Edit", "1"}, {"RcA1_ComboBox", "no"}});
    EXPECT_TRUE(ops.Controls["GeneralData_Cancel_Button"].Enabled);

    // Kr = 10 in a file selects the item "10"; choosing the item stores 10.
    rec.Kr = 10;
    ed.InputFileOpened();
    EXPECT_EQ(ops.GetControlText("Kr_ComboBox"), "10");
    rec.Kr = 0;
    EXPECT_TRUE(ed.SaveGroup());
    EXPECT_EQ(rec.Kr, 10);
    EXPECT_EQ(LastMessage(), "The general data were saved.");
    EXPECT_FALSE(ed.OpenGroup());
}

TEST_F(OpenedFile, SeasonDurationsSumToTwelveWithinTheCheckTolerance)
{
    using G = TGroupId;
    EXPECT_TRUE(Save(G::SeasonDurations, {{"Ts1_Edit", "7"}, {"Ts2_Edit", "5"}}));
    EXPECT_FALSE(Save(G::SeasonDurations, {{"Ts1_Edit", "6.5"}, {"Ts2_Edit", "5"}}));
    EXPECT_EQ(LastMessage(), " Total number of months must be 12.");
    ops.SetControlText("Ns_ComboBox", "3");
    ed.NsChanged();
    EXPECT_FALSE(Save(G::SeasonDurations, {{"Ts1_Edit", "11.7"}, {"Ts2_Edit", "0.2"}, {"Ts3_Edit", "0.1"}}));
    EXPECT_EQ(LastMessage(), " Season durations must be > 0.5 month.");
    // 4.1 + 3.9 + 4 is not exactly 12 in binary; it passes, as in the input check.
    EXPECT_TRUE(Save(G::SeasonDurations, {{"Ts1_Edit", "4.1"}, {"Ts2_Edit", "3,9"}, {"Ts3_Edit", "4"}}));
    EXPECT_FALSE(Save(G::SeasonDurations, {{"Ts1_Edit", "4.00001"}, {"Ts2_Edit", "4"}, {"Ts3_Edit", "4"}}));
    EXPECT_EQ(LastMessage(), " Total number of months must be 12.");
}

TEST_F(OpenedFile, SeasonsBeyondNsAndLandWithoutAreaAreMinusOneAndNotStored)
{
    using G = TGroupId;
    // Ns = 2: seasons 3 and 4 disabled, labels too (their "-1": the widget tests);
    // saving reads seasons 1 and 2.
    rec.Lc[3] = 42;
    EXPECT_TRUE(Save(G::CanalLosses, {{"Lc1_Edit", "0.2"}}));
    ExpectEnabled(ops, {"Io4_Edit", "CanalLosses_Season3_Label"}, false);
    EXPECT_EQ((std::vector<double>{rec.Lc[1], rec.Lc[3]}), (std::vector<double>{0.2, 42}));

    // No A land in season 2, no B land anywhere.
    EXPECT_TRUE(Save(G::IrrigatedAreas, {{"A2_Edit", "0"}, {"B1_Edit", "0"}, {"B2_Edit", "0"}}));
    ExpectEnabled(ops, {"RcA2_ComboBox"}, false);
    const double marker = 123;
    rec.IaA[2] = rec.EpA[2] = rec.FsA[2] = rec.SoA[2] = marker;
    rec.CB0 = marker;
    ops.SetControlText("CB0_Edit", "not a number"); // hidden: not read
    const TTyping typing{{"IaA1_Edit", "0.45"}};
    for (G id : {G::IrrigationQuantity, G::ClimaticData, G::StorageEfficiency, G::SurfaceDrainage, G::SoilSalinity})
        EXPECT_TRUE(Save(id, typing)) << Group(id).Caption << ": " << LastMessage();
    for (const char* field : {"IaA2_Edit", "EpA2_Edit", "FsA2_Edit", "SoA2_Edit", "IaB1_Edit", "EpB2_Edit"}) {
        EXPECT_EQ(ops.GetControlText(field), "-1") << field;
        ExpectEnabled(ops, {field}, false);
    }
    ExpectEnabled(ops, {"IaA1_Edit", "RcA1_ComboBox", "CanalLosses_Season2_Label"});
    EXPECT_EQ((std::vector<double>{rec.IaA[1], rec.IaA[2], rec.EpA[2], rec.FsA[2], rec.SoA[2], rec.CB0}),
              (std::vector<double>{0.45, marker, marker, marker, marker, marker}));
    // A field that is not seasonal shows while its land has area in any season; with
    // drains the transition zone has its two salinities, not the single one.
    ExpectVisible(ops, {"CB0_Edit", "CB0_Label", "Cx0_Edit"}, false);
    ExpectVisible(ops, {"CA0_Edit", "CxA0_Edit"});

    // Well water is asked for only in the seasons with pumping, and on land with area.
    EXPECT_EQ(
        Put("Kp_ComboBox", "yes", &TInputEditor::KpChanged),
        std::vector<std::string>{"A system of pumped wells is present. Please check the well and water use data."});
    EXPECT_TRUE(Save(G::PumpingWells, {{"Gw1_Edit", "0.1"}, {"Gw2_Edit", "0"}}));
    rec.FAw[2] = marker;
    EXPECT_FALSE(Save(G::UseWellWater, {{"FAw1_Edit", "1.2"}}));
    EXPECT_EQ(LastMessage(), " The fraction of well water used for irrigation must be between 0 and 1.");
    ops.SetControlText("FAw1_Edit", "0.6");
    EXPECT_TRUE(ed.SaveGroup());
    ExpectTexts(ops, {{"FAw2_Edit", "-1"}, {"FBw1_Edit", "-1"}});
    EXPECT_EQ((std::vector<double>{rec.FAw[1], rec.FAw[2]}), (std::vector<double>{0.6, marker}));
}

TEST_F(OpenedFile, CellTestStopsTheSaveAndCancelPutsTheRecordBack)
{
    using G = TGroupId;
    // An empty Losses field: the cell test stops the save there; season 1 is stored.
    EXPECT_FALSE(Save(G::CanalLosses, {{"Lc1_Edit", "0.2"}, {"Io1_Edit", "0.15"}, {"Lc2_Edit", ""}}));
    EXPECT_EQ(ops.Messages, std::vector<std::string>{CellTest});
    EXPECT_EQ((std::vector<double>{rec.Lc[1], rec.Io[1], rec.Lc[2]}), (std::vector<double>{0.2, 0.15, 0.1}));
    EXPECT_EQ(ed.OpenGroup(), G::CanalLosses);
    // "-1" in any spelling is the empty mark; a text that is no number is refused by name.
    // A negative number is stored, then refused.
    for (const auto& [text, message, stored] :
         std::vector<std::tuple<const char*, std::string, double>>{{"-1", CellTest, 0.1},
                                                                   {"-1,0", CellTest, 0.1},
                                                                   {" -1.0 ", CellTest, 0.1},
                                                                   {"0.1O", "0.1O is not a valid number", 0.1},
                                                                   {"-0.5", " Losses must zero or more.", -0.5}}) {
        SCOPED_TRACE(text);
        ops.SetControlText("Lc2_Edit", text);
        EXPECT_FALSE(ed.SaveGroup());
        EXPECT_EQ(LastMessage(), message);
        EXPECT_EQ(rec.Lc[2], stored);
    }

    // Cancel: the record as it was when the panel was shown, the panel closed.
    ed.CancelGroup();
    EXPECT_EQ((std::vector<double>{rec.Lc[1], rec.Io[1], rec.Lc[2]}), (std::vector<double>{0.1, 0.1, 0.1}));
    EXPECT_FALSE(ed.OpenGroup());
    ExpectVisible(ops, {"CanalLosses_Panel"}, false);
    ExpectVisible(ops, {ctl::DataGroupPanel});
    ExpectEnabled(ops, {ctl::InputSave});
    EXPECT_EQ(ops.GetControlText(ctl::DataGroupRadioGroup), "");
    // The panel keeps its texts; a later save stores them.
    ed.ShowGroup(G::CanalLosses);
    EXPECT_EQ(ops.GetControlText("Lc2_Edit"), "-0.5");
}

TEST_F(OpenedFile, ValueTestsGiveTheirOwnMessages)
{
    using G = TGroupId;
    // One field typed; its message (the water salinity group adds a note to any failure).
    // (The messages for A, FsA and FsU alone: the Python module's refusals.)
    const std::string drainable = "The  drainable (=effective) porosity must be less than half the total porosity";
    const std::string drains = "The drains must be in the transition zone:  Dr < Dd < Dr + Dx";
    const std::vector<std::tuple<G, const char*, const char*, std::string>> cases{
        {G::IrrigatedAreas, "B2_Edit", "-0.2", " Irrigated area fractions B  must be between 0 and 1."},
        {G::IrrigatedAreas, "A1_Edit", "0.8", " The sum of area fractions A+B must not be greater than 1."},
        {G::IrrigationQuantity, "IaB2_Edit", "-0.1", " Irrigation of area B must be zero or more."},
        {G::ClimaticData, "EpU2_Edit", "-0.1", " The evaporation unirrigated land U must be zero or more."},
        {G::StorageEfficiency, "FsB2_Edit", "0", "The storage efficiency must be > 0"}, // one wording for A, B
        {G::StorageEfficiency, "FsU2_Edit", "1.5",
         " The storage efficiency in unirrigated area U must be between zero and one."},
        {G::SurfaceRunInOff, "SoU1_Edit", "-0.01", " The surface run-off from area U must be zero or more."},
        {G::SurfaceDrainage, "SoA2_Edit", "-0.01", " The surface drainage from area A cannot be negative."},
        {G::GroundWater, "Go1_Edit", "-0.01", " The ground water ouflow cannot be negative."},
        {G::SoilThickness, "Dq_Edit", "0", "The aquifer depth must be > 0"},
        {G::SoilPorosity, "Ptx_Edit", "0.9", "The porosity must be > 0 and less than 0.9"},
        {G::SoilPorosity, "Pex_Edit", "0.25", drainable},
        {G::LeachingEfficiency, "Flq_Edit", "0", "The leaching efficiency must > 0"},
        // The drains in the transition zone of the file (Dr = 0.8, Dx = 5): Dr < Dd < Dr + Dx.
        {G::DrainageSystem, "Dd_Edit", "0.8", drains},
        {G::DrainageSystem, "Dd_Edit", "5.8", drains},
        {G::DrainageSystem, "Dd_Edit", "0,3", drains},
        {G::DrainageControl, "Frd1_Edit", "1.5", " The the drainage control factor must be between 0 and 1"},
        {G::DrainageReuse, "DBu2_Edit", "-0.1", " The the reuse of drainage water cannot be negative."},
        {G::SoilSalinity, "CxB0_Edit", "0", "The intial soil salinity must be > 0"},
        {G::WaterSalinity, "Cp_Edit", "-0.5", " The water salinity values cannot be negative."},
        {G::WaterSalinity, "Ch_Edit", "", CellTest},
        {G::WaterSalinity, "Ch_Edit", "eight", "eight is not a valid number"},
        {G::WaterTable, "Dc_Edit", "", CellTest},
    };
    const TInputRecord original = rec;
    for (const auto& [id, field, typed, message] : cases) {
        SCOPED_TRACE(field);
        ops.Messages.clear();
        EXPECT_FALSE(Save(id, {{field, typed}}));
        std::vector<std::string> messages{message};
        if (id == G::WaterSalinity)
            messages.emplace_back("Some data are inorrect.");
        EXPECT_EQ(ops.Messages, messages);
        EXPECT_EQ(ed.OpenGroup(), id);
        ed.CancelGroup();
        EXPECT_EQ(InputFileText(rec), InputFileText(original)) << "Cancel";
        ed.FillFromRecord(); // the next case starts from the file's texts
    }

    // Drains just inside the transition zone pass; the bounds follow the layers as saved.
    EXPECT_TRUE(Save(G::DrainageSystem, {{"Dd_Edit", "0.81"}}));
    EXPECT_TRUE(Save(G::DrainageSystem, {{"Dd_Edit", "5.79"}}));
    ASSERT_TRUE(Save(G::SoilThickness, {{"Dr_Edit", "1"}, {"Dx_Edit", "2"}}));
    ops.Messages.clear();
    EXPECT_FALSE(Save(G::DrainageSystem, {{"Dd_Edit", "3"}}));
    EXPECT_EQ(ops.Messages, std::vector<std::string>{drains});
    EXPECT_TRUE(Save(G::DrainageSystem, {{"Dd_Edit", "2.9"}}));

    // The sum of the well water fractions, where both lands have area and wells pump.
    Put("Kp_ComboBox", "yes", &TInputEditor::KpChanged);
    ASSERT_TRUE(Save(G::PumpingWells, {{"Gw1_Edit", "0.1"}}));
    ops.Messages.clear();
    EXPECT_FALSE(Save(G::UseWellWater, {{"FAw1_Edit", "0.6"}, {"FBw1_Edit", "0,5"}}));
    EXPECT_EQ(ops.Messages, std::vector<std::string>{" The sum of fractions for A and B areas must be between <=1"});
}

TEST_F(OpenedFile, GeneralDataSelectorsFieldsAndCancel)
{
    using TSaid = std::vector<std::string>;
    // Cancel of General data puts the keys back.
    const TInputRecord original = rec;
    // Switching wells on fills the pages again, the selectors among them: each choice
    // is made just before its event.
    Put("Kp_ComboBox", "yes", &TInputEditor::KpChanged);
    Put("Kd_ComboBox", "no", &TInputEditor::KdChanged);
    Put("Ky_ComboBox", "yes", &TInputEditor::KyChanged);
    Put("Ns_ComboBox", "4", &TInputEditor::NsChanged);
    ops.SetControlText("Ny_Edit", "150");
    EXPECT_FALSE(ed.SaveGroup()); // Ny := 99, then refused
    EXPECT_EQ((std::vector<int>{rec.Kd, rec.Ns, rec.Ny}), (std::vector<int>{0, 4, 99}));
    ed.CancelGroup();
    EXPECT_EQ(InputFileText(rec), InputFileText(original));
    EXPECT_EQ(rec.Shell.AnnualMode, 0);
    ExpectTexts(ops, {{"Kd_ComboBox", "yes"}, {"Kp_ComboBox", "no"}, {"Ns_ComboBox", "2"}});
    ExpectEnabled(ops, {"DrainageSystem_RadioButton"});
    ExpectEnabled(ops, {"PumpingWells_RadioButton"}, false);
    ed.ShowGroup(TGroupId::General);

    // Ny: above 99 becomes 99; not a whole number is refused; empty or below 1 stores 0.
    const std::string over = "The number of years (Ny) for calculations must be less than 100";
    for (const auto& [typed, said, ny, shown] : std::vector<std::tuple<const char*, TSaid, int, const char*>>{
             {"150", {over}, 99, "99"},
             {"abc", {"abc is not a valid number"}, 99, "abc"},
             {"12.5", {"12.5 is not a valid number"}, 99, "12.5"},
             {" 42 ", {}, 42, " 42 "},
             {"", {}, 0, ""},
             {"-3", {}, 0, "-3"}}) {
        EXPECT_EQ(Put("Ny_Edit", typed, &TInputEditor::NyLeft), said) << typed;
        EXPECT_EQ(rec.Ny, ny) << typed;
        EXPECT_EQ(ops.GetControlText("Ny_Edit"), shown) << typed;
    }
    // Typed and saved without leaving: the save applies the rule.
    ops.SetControlText("Ny_Edit", "150");
    ops.Messages.clear();
    EXPECT_FALSE(ed.SaveGroup());
    EXPECT_EQ(ops.Messages, TSaid{over});
    EXPECT_EQ(ops.GetControlText("Ny_Edit"), "99");

    // Kf shows and hides Krf, CaMax and CbMax.
    Put("Kf_ComboBox", "yes", &TInputEditor::KfChanged);
    ExpectVisible(ops, {"Krf_ComboBox", "CaMax_Edit", "CbMax_Edit", "CaMax_Label"});
    // CaMax and CbMax have their own rule: the field becomes "8".
    const std::string negative = "The maximum salinity cannot be negative";
    for (const auto& [typed, said, shown] :
         std::vector<std::tuple<const char*, TSaid, const char*>>{{"7,5", {}, "7.5"},
                                                                  {"x", {"x is not a valid real"}, "8"},
                                                                  {"-2", {negative}, "8"},
                                                                  {"", {negative}, "8"},
                                                                  {"12.0", {}, "12"}}) {
        EXPECT_EQ(Put("CbMax_Edit", typed, &TInputEditor::CbMaxLeft), said) << typed;
        EXPECT_EQ(ops.GetControlText("CbMax_Edit"), shown) << typed;
    }
    Put("CaMax_Edit", "7.5", &TInputEditor::CaMaxLeft);
    ops.SetControlText("Ny_Edit", "20");
    EXPECT_TRUE(ed.SaveGroup());
    EXPECT_EQ((std::vector<double>{rec.CAmax, rec.CBmax, double(rec.Ny), double(rec.Kf)}),
              (std::vector<double>{7.5, 12, 20, 1}));
    ed.ShowGroup(TGroupId::General);
    Put("Kf_ComboBox", "no", &TInputEditor::KfLeft);
    EXPECT_EQ((std::vector<int>{ops.Controls["CbMax_Edit"].Visible, rec.Kf}), (std::vector<int>{false, 0}));

    // Ky: the message of each direction, and the year-by-year mode with it.
    EXPECT_EQ(Put("Ky_ComboBox", "yes", &TInputEditor::KyChanged),
              TSaid{" The program will temporarily halt after each year of calculations to provide the option to "
                    "make input changes."});
    EXPECT_EQ((std::vector<int>{rec.Ky, rec.Shell.AnnualMode}), (std::vector<int>{1, 1}));
    EXPECT_EQ(Put("Ky_ComboBox", "no", &TInputEditor::KyChanged), TSaid{" The program will run uniterruptedly."});
    EXPECT_EQ((std::vector<int>{rec.Ky, rec.Shell.AnnualMode}), (std::vector<int>{0, 0}));

    // Kd: the drainage groups follow at once; switching drains on announces it and
    // fills the pages again from the record.
    Put("Kd_ComboBox", "no", &TInputEditor::KdChanged);
    ExpectEnabled(ops, {"DrainageSystem_RadioButton", "DrainageReuse_RadioButton"}, false);
    rec.Dd = 1.25;
    EXPECT_EQ(Put("Kd_ComboBox", "yes", &TInputEditor::KdChanged),
              TSaid{"A drainage system will be installed. Please check the drainage data."});
    ExpectEnabled(ops, {"DrainageControl_RadioButton"});
    EXPECT_EQ(ops.GetControlText("Dd_Edit"), "1.25");

    // Ns: applied when the selector is left; the season columns follow.
    Put("Ns_ComboBox", "3", &TInputEditor::NsLeft);
    EXPECT_EQ((std::vector<int>{rec.Ns, ops.Controls["Ts3_Edit"].Enabled}), (std::vector<int>{3, true}));
}

TEST_F(OpenedFile, DrainageSystemWithTheCalculator)
{
    using G = TGroupId;
    TAlfaFormLogic alfa{rec, ops};
    ed.ShowGroup(G::DrainageSystem);
    ed.DrainageCalculationsClicked();

    // A save that stores Dd, QH1 and QH2 and then is refused (drains above the root zone).
    TypeIntoOpenGroup(ed, ops, {{"Dd_Edit", "0.5"}, {"QH1_Edit", "0.005"}, {"QH2_Edit", "0.002"}});
    EXPECT_FALSE(ed.SaveGroup());
    EXPECT_EQ((std::vector<double>{rec.Dd, rec.QH1, rec.QH2}), (std::vector<double>{0.5, 0.005, 0.002}));
    ops.SetControlText("Dd_Edit", "1.2");
    // The calculator fills the group's fields and the record.
    using F = TAlfaField;
    const std::pair<F, const char*> typed[] = {{F::Ka, "1"},  {F::Kb, "0.5"}, {F::D, "2"},
                                               {F::U, "0.3"}, {F::P, "10"},   {F::L, "20"}};
    for (const auto& [field, text] : typed) {
        ops.SetControlText(AlfaControl(field), text);
        alfa.FieldLeft(field);
    }
    ASSERT_TRUE(alfa.Calculate());
    ExpectTexts(ops, {{"QH1_Edit", " 0.01349"}, {"QH2_Edit", " 0.01000"}});
    const double qh1 = rec.QH1;
    EXPECT_NEAR(qh1, 0.0134858583, 1e-10);
    // Cancel puts back Dd; the calculator's QH1 and QH2 stay, though the failed save stored others; both windows close.
    ed.CancelGroup();
    EXPECT_EQ((std::vector<double>{rec.Dd, rec.QH1, rec.QH2}), (std::vector<double>{1.5, qh1, 0.01}));
    EXPECT_TRUE(ops.VisibleWindows.empty());
    // Saving the group stores the values as the fields show them.
    ed.ShowGroup(G::DrainageSystem);
    ed.DrainageEquationClicked();
    EXPECT_TRUE(ed.SaveGroup());
    EXPECT_EQ((std::vector<double>{rec.QH1, rec.Dd}), (std::vector<double>{0.01349, 1.2}));
    EXPECT_TRUE(ops.VisibleWindows.empty());
    EXPECT_EQ(LastMessage(), "The drainage data were saved.");
}

} // namespace
} // namespace veltra
