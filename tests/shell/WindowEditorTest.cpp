// The main window's workflow with the real input editor behind its hooks: opening a
// file fills and offers the groups, " Save / run " waits while a panel is open, and
// every save of the file notes Ns and Ny for the General data group.
#include "model/ExampleInputs.h"
#include "shell/GuidedEntry.h"
#include "shell/NumberEntry.h"
#include "shell/TInputEditorLink.h"
#include "shell/UControls.h"
#include "WindowTestSupport.h"

namespace veltra::test {
namespace {

// The window with the real input editor behind its hooks.
class WindowEditor : public WindowTest {
protected:
    WindowEditor() { hooks_ = &link_; }
    void Open(const std::string& name, const std::string& text)
    {
        WriteFile(dir_ / name, text);
        ops_.FileAnswers.push_back(Path(name));
        logic_->InputOpen();
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
    TInputEditorLink link_{ed_};
};

TEST_F(WindowEditor, OpeningAFileFillsAndOffersTheGroups)
{
    logic_->PageShown(TPage::Input); // a new data set first: only General data offered
    EXPECT_EQ(Offered(), std::vector<std::string>{"General data"});

    Open("field.inp", FieldExampleText());
    EXPECT_EQ(ops_.Messages.back(), "The input file is opened.");
    const TInputRecord& rec = dm_.Rec;
    EXPECT_EQ(ops_.GetControlText("Dd_Edit"), "1.5");
    EXPECT_EQ(ops_.GetControlText("IaA1_Edit"), PlainNumberText(rec.IaA[1]));
    EXPECT_EQ(ops_.GetControlText("Kd_ComboBox"), "yes");
    EXPECT_EQ(ops_.GetControlText("Ns_ComboBox"), "2");
    EXPECT_EQ(ops_.GetControlText("Ny_Edit"), "10");
    EXPECT_FALSE(ops_.Controls["CaMax_Edit"].Visible); // Kf = 0
    // Every group but the wells' (Kp = 0); the General data group open, so no
    // " Save / run " until it is saved or cancelled, even on the Input page shown again.
    EXPECT_EQ(Offered().size(), 20u);
    EXPECT_FALSE(ops_.Controls[RadioControl(Group(TGroupId::PumpingWells))].Enabled);
    EXPECT_EQ(ed_.OpenGroup(), TGroupId::General);
    EXPECT_EQ(ops_.GetControlText(ctl::DataGroupRadioGroup), "General data");
    EXPECT_FALSE(ops_.Controls[ctl::NoteLabel].Visible);
    EXPECT_FALSE(SaveRunAllowed());
    logic_->PageShown(TPage::Intro);
    logic_->PageShown(TPage::Input);
    EXPECT_FALSE(SaveRunAllowed());
    ed_.CancelGroup();
    EXPECT_TRUE(SaveRunAllowed());
    for (const auto& g : InputGroups())
        EXPECT_FALSE(ops_.Controls[PanelControl(g)].Visible) << g.Caption;

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
    ops_.FileAnswers.push_back(Path("changed.inp"));
    ops_.YesNoAnswers.push_back(false); // saved, not run
    logic_->InputSave();
    TInputRecord saved;
    saved.FileName = Path("changed.INP");
    ReadInputFile(saved);
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
    ops_.FileAnswers.push_back(Path("field12.inp"));
    ops_.YesNoAnswers.push_back(false);
    logic_->InputSave();
    ASSERT_TRUE(fs::exists(dir_ / "field12.INP"));
    EXPECT_EQ(logic_->State.OpenedNy, 12);
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
    ops_.FileAnswers.push_back(Path("series.inp"));
    ops_.YesNoAnswers = {true, false}; // run the first year, then stop the series
    logic_->InputSave();
    ASSERT_TRUE(logic_->State.OutputPresent) << (ops_.Messages.empty() ? "" : ops_.Messages.back());
    logic_->PageShown(TPage::Input);
    EXPECT_EQ(ops_.GetControlText("Ny_Edit"), "2");
    EXPECT_EQ(ops_.GetControlText("Ky_ComboBox"), "yes");
    EXPECT_TRUE(SaveRunAllowed());
}

} // namespace
} // namespace veltra::test
