// The main window's workflow with the real input editor behind its hooks: opening a
// file fills and offers the groups, " Save / run " waits while a panel is open,
// every save of the file notes Ns and Ny for the General data group, and a new data
// set entered, saved and run gives the files of the command line.
#include "WindowTestSupport.h"
#include "model/ExampleInputs.h"
#include "model/NumberText.h"
#include "shell/ControlNames.h"
#include "shell/GuidedEntry.h"
#include "wholerun/ReferenceCompare.h"

namespace veltra::test {
namespace {

// The window with the real input editor behind its hooks.
class WindowEditor : public WindowTest {
protected:
    WindowEditor() { hooks_ = &ed_; }
    void Open(const std::string& name, const std::string& text)
    {
        WriteFile(dir_ / name, text);
        Pick({Path(name)}, &TMainFormLogic::InputOpen);
    }
    // Types into the open group and saves it.
    bool SaveOpenGroup(const editortest::TTyping& typing)
    {
        editortest::TypeIntoOpenGroup(ed_, ops_, typing);
        return ed_.SaveGroup();
    }
    std::vector<std::string> Offered() { return editortest::OfferedGroups(ops_); }
    // " Save / run " as the user sees it: the action and the button both enabled.
    bool SaveRunAllowed() { return ops_.Controls[ctl::InputSave].Enabled && ops_.Controls[ctl::SaveRunButton].Enabled; }

    TInputEditor ed_{dm_.Rec, ops_};
};

TEST_F(WindowEditor, OpeningAFileFillsAndOffersTheGroups)
{
    logic_->PageShown(TPage::Input); // a new data set first: only General data offered
    EXPECT_EQ(Offered(), std::vector<std::string>{"General data"});

    Open("field.inp", FieldExampleText());
    ExpectTexts(ops_, {{"Kd_ComboBox", "yes"}, {"Ns_ComboBox", "2"}, {"Ny_Edit", "10"}});
    // Every group but the wells' (Kp = 0); the General data group open, so no
    // " Save / run " until it is saved or cancelled, even on the Input page shown again.
    EXPECT_EQ(Offered().size(), 20u);
    EXPECT_FALSE(ops_.Controls[RadioControl(Group(TGroupId::PumpingWells))].Enabled);
    EXPECT_EQ(ed_.OpenGroup(), TGroupId::General);
    EXPECT_FALSE(ops_.Controls[ctl::NoteLabel].Visible);
    EXPECT_FALSE(SaveRunAllowed());
    logic_->PageShown(TPage::Intro);
    logic_->PageShown(TPage::Input);
    EXPECT_FALSE(SaveRunAllowed());
    ed_.CancelGroup();
    EXPECT_TRUE(SaveRunAllowed());

    // A second file, with wells and four seasons: its groups and seasons follow.
    Open("wells.inp", WellsExampleText());
    EXPECT_EQ(Offered().size(), 19u); // Kd = 0: no drainage groups
    EXPECT_TRUE(ops_.Controls[RadioControl(Group(TGroupId::UseWellWater))].Enabled);
    ed_.ShowGroup(TGroupId::CanalLosses);
    EXPECT_TRUE(ops_.Controls["Lc4_Edit"].Enabled);
    EXPECT_EQ(ops_.GetControlText("Gw1_Edit"), PlainNumberText(dm_.Rec.Gw[1]));

    // A change saved in a group reaches the file " Save / run " writes.
    ASSERT_TRUE(SaveOpenGroup({{"Lc1_Edit", "0,25"}}));
    EXPECT_TRUE(SaveRunAllowed());
    // Not in a file yet: quitting asks first.
    Pick({}, &TMainFormLogic::ProgramExit, {false});
    EXPECT_EQ(ops_.Questions.back(), msg::QuitUnsaved);
    EXPECT_FALSE(ops_.VisibleWindows.count(TWindow::Close));
    SaveRun({Path("changed.inp")}, {false}); // saved, not run
    const TInputRecord saved = InputOf(Path("changed.INP"));
    EXPECT_EQ(saved.Lc[1], 0.25);
    EXPECT_EQ(saved.Ns, 4);
}

TEST_F(WindowEditor, EverySaveNotesNsAndNyForTheGeneralGroup)
{
    Open("field.inp", FieldExampleText());
    ed_.CancelGroup();
    // A raised Ny fills the pages again from the record: the unsaved text goes.
    ed_.ShowGroup(TGroupId::CanalLosses);
    ops_.SetControlText("Lc1_Edit", "0.3");
    ed_.ShowGroup(TGroupId::General);
    ASSERT_TRUE(SaveOpenGroup({{"Ny_Edit", "12"}}));
    EXPECT_EQ(ops_.GetControlText("Lc1_Edit"), "0.1");

    // Saved with Ny = 12: from now on 12 is the Ny of the file, and the same Ny
    // fills nothing.
    SaveRun({Path("field12.inp")}, {false});
    ASSERT_TRUE(fs::exists(dir_ / "field12.INP"));
    ops_.SetControlText("Lc1_Edit", "0.3");
    ed_.ShowGroup(TGroupId::General);
    ASSERT_TRUE(SaveOpenGroup({{"Ny_Edit", "12"}}));
    EXPECT_EQ(ops_.GetControlText("Lc1_Edit"), "0.3");
    // More seasons than the file had: filled again.
    ed_.ShowGroup(TGroupId::General);
    ops_.SetControlText("Ns_ComboBox", "3");
    ed_.NsChanged();
    ASSERT_TRUE(ed_.SaveGroup());
    EXPECT_EQ(ops_.GetControlText("Lc1_Edit"), "0.1");
}

TEST_F(WindowEditor, AfterARunTheInputPageShowsTheFilesNyAndKy)
{
    TInputRecord rec = FieldExampleRecord();
    rec.Ny = 2;
    rec.Ky = 1;
    Open("series.inp", InputFileText(rec));
    ed_.CancelGroup();
    SaveRun({Path("series.inp")}, {true, true, false}); // saved over itself, run the first year, stop the series
    ASSERT_TRUE(logic_->State.OutputPresent) << (ops_.Messages.empty() ? "" : ops_.Messages.back());
    logic_->PageShown(TPage::Input);
    ExpectTexts(ops_, {{"Ny_Edit", "2"}, {"Ky_ComboBox", "yes"}});
    EXPECT_TRUE(SaveRunAllowed());

    // Ny saved in the General data group stays through a look at another page.
    ed_.ShowGroup(TGroupId::General);
    ASSERT_TRUE(SaveOpenGroup({{"Ny_Edit", "5"}}));
    logic_->PageShown(TPage::Figure);
    logic_->PageShown(TPage::Input);
    EXPECT_EQ(dm_.Rec.Ny, 5);
    ExpectTexts(ops_, {{"Ny_Edit", "5"}, {"Ky_ComboBox", "yes"}});
}

// The whole window: a new data set of three seasons with wells and no drains, entered
// through the guided entry that the Input page starts, saved and run by " Save / run ",
// gives the files of `veltra run` of the saved file. Pages looked at during the entry
// leave it where it was, with the keys chosen, the groups confirmed and the texts
// typed; only the Intro page's rule (Ky back to no) applies. Back on the Input page
// after the run the data set is kept and every group it has is offered.
TEST_F(WindowEditor, ANewDataSetEnteredSavedAndRunGivesTheFilesOfTheCommandLine)
{
    const fs::path tool = dir_ / "tool";
    fs::create_directories(tool);
    logic_->PageShown(TPage::Input);
    ASSERT_EQ(ed_.OpenGroup(), TGroupId::General);
    EXPECT_TRUE(ed_.GuidedEntryRunning());
    EXPECT_FALSE(ops_.Controls[ctl::SaveRunButton].Enabled);

    for (const auto& [selector, item] : std::vector<std::pair<std::string, std::string>>{
             {"Kd_ComboBox", "no"}, {"Kp_ComboBox", "yes"}, {"Ns_ComboBox", "3"}, {"Ky_ComboBox", "yes"}}) {
        ops_.SetControlText(selector, item);
    }
    ed_.KdChanged();
    ed_.KpChanged();
    ed_.NsChanged();
    ed_.KyChanged();
    // Typed, not yet saved: kept through a look at the Intro page.
    ops_.SetControlText("Kr_ComboBox", "0");
    ops_.SetControlText("Ny_Edit", "6");
    logic_->PageShown(TPage::Intro);
    logic_->PageShown(TPage::Input);
    EXPECT_EQ(ed_.OpenGroup(), TGroupId::General);
    ExpectTexts(
        ops_,
        {{"Kd_ComboBox", "no"}, {"Ns_ComboBox", "3"}, {"Kr_ComboBox", "0"}, {"Ny_Edit", "6"}, {"Ky_ComboBox", "no"}});
    // Season 3 shows "n.a." until typed; the walk types season 2's values there.
    EXPECT_EQ(ops_.GetControlText("Lc3_Edit"), "n.a.");
    ASSERT_TRUE(SaveOpenGroup({{"Area_Edit", "250"}}));
    ASSERT_TRUE(SaveOpenGroup({{"Ts1_Edit", "4"}, {"Ts2_Edit", "4,5"}, {"Ts3_Edit", "3.5"}}));
    ASSERT_EQ(ed_.OpenGroup(), TGroupId::IrrigatedAreas);
    ops_.SetControlText("A1_Edit", "0.55");
    for (TPage page : {TPage::Figure, TPage::Output, TPage::Graphics, TPage::Intro}) {
        logic_->PageShown(page);
        logic_->PageShown(TPage::Input);
    }
    const TInputRecord& r = dm_.Rec;
    EXPECT_EQ((std::vector<int>{r.Ns, r.Kd, r.Kr, r.Ny}), (std::vector<int>{3, 0, 0, 6}));
    EXPECT_EQ(r.Ts[2], 4.5);
    // A group saved before may be chosen again, and cancelled.
    ed_.ShowGroup(TGroupId::SeasonDurations);
    EXPECT_TRUE(ops_.Controls[CancelButtonControl(Group(TGroupId::SeasonDurations))].Enabled);
    ed_.CancelGroup();
    ed_.ShowGroup(TGroupId::IrrigatedAreas);
    EXPECT_EQ(ops_.GetControlText("A1_Edit"), "0.55");

    // The entry goes on to its end from there; once ended, the Input page does not start it again.
    editortest::TTyping typing = editortest::FieldClimate();
    typing.insert({{"A3_Edit", "0.6"},
                   {"B3_Edit", "0.4"},
                   {"Gw1_Edit", "0.06"},
                   {"Gw2_Edit", "0.14"},
                   {"Gw3_Edit", "0"},
                   {"FAw1_Edit", "0.45"},
                   {"FBw1_Edit", "0.35"},
                   {"FAw2_Edit", "0.5"},
                   {"FBw2_Edit", "0.3"},
                   {"Pp3_Edit", "0.15"},
                   {"EpA3_Edit", "0.45"},
                   {"EpB3_Edit", "0.4"},
                   {"Dr_Edit", "1"},
                   {"Dx_Edit", "4"},
                   {"Dq_Edit", "15"},
                   {"Cx0_Edit", "6"}});
    const auto shown = editortest::WalkGuidedEntry(ed_, ops_, typing);
    ASSERT_EQ(shown.size(), 17u); // no drainage groups
    EXPECT_EQ(shown.front(), "Irrigated areas");
    EXPECT_EQ(ops_.GetControlText("EpU3_Edit"), "-1"); // A + B = 1 in season 3
    EXPECT_FALSE(ops_.Controls["FAw3_Edit"].Enabled);  // no pumping in season 3
    EXPECT_EQ(r.Gi[3], r.Gi[2]);
    EXPECT_EQ(r.Cx0, 6);
    ExpectEnabled(ops_, {ctl::SaveRunButton, ctl::InputSave});
    logic_->PageShown(TPage::Figure);
    logic_->PageShown(TPage::Input);
    EXPECT_TRUE(SaveRunAllowed());
    ops_.SetControlText(ctl::Title1Edit, "Entered in the window");
    ops_.SetControlText(ctl::Title2Edit, "three seasons, wells, no drains");

    SaveRun({Path("three.inp")}, {true});
    ASSERT_TRUE(logic_->State.OutputPresent) << ops_.Messages.back();
    ASSERT_TRUE(fs::exists(dir_ / "three.INP"));

    fs::copy_file(dir_ / "three.INP", tool / "three.INP");
    RunTool(tool, "three.INP");
    for (const char* file : {"three.res", "three.frq", "three.trf"}) {
        SCOPED_TRACE(file);
        EXPECT_EQ(wholerun::FirstDifference(ReadFile(tool / file), ReadFile(dir_ / file), false), "");
    }
    // Not a comparison of two empty files: a header and 6 years of three seasons.
    EXPECT_GT(fs::file_size(dir_ / "three.res"), 10000u);
    EXPECT_EQ(dm_.WarningLines, FileLines(tool / "warning.lst"));

    // Back to the Input page: the saved data set with its own keys, every group but
    // the drains' offered, no guided entry.
    logic_->PageShown(TPage::Input);
    EXPECT_EQ(dm_.Rec.Ns, 3);
    EXPECT_EQ(ops_.GetControlText("Ns_ComboBox"), "3");
    EXPECT_FALSE(ed_.GuidedEntryRunning());
    for (const auto& g : InputGroups())
        EXPECT_EQ(ops_.Controls[RadioControl(g)].Enabled, g.Condition != TGroupCondition::Drains) << g.Caption;
    EXPECT_TRUE(ops_.Controls[ctl::SaveRunButton].Enabled);
    ed_.ShowGroup(TGroupId::CanalLosses);
    EXPECT_TRUE(ops_.Controls["Lc3_Edit"].Enabled);
    EXPECT_TRUE(ops_.Controls[CancelButtonControl(Group(TGroupId::CanalLosses))].Enabled);
}

} // namespace
} // namespace veltra::test
