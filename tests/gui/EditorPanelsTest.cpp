// The input editor's real panels and the calculator window on the offscreen
// platform, driven by keys and clicks: a group panel shows, a typed value saved
// with Enter reaches the record, a refused value shows its message and keeps the
// panel, Esc and "Cancel" put the record back, the guided entry of a new data set
// goes from group to group, and the calculator computes QH1 and QH2 into its own
// fields and the Drainage system group.
#include <QLabel>

#include "GuiTestSupport.h"
#include "qt/TAlfaForm.h"
#include "qt/TextForms.h"

namespace veltra::test {
namespace {

// The window shown and active, so that keys reach it.
class EditorPanels : public GuiTest {
protected:
    void SetUp() override
    {
        NewForm(answers_).show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form_.get()));
    }
    void OpenField()
    {
        form_->Logic().OpenInputFile(WriteField());
        form_->Pages->setCurrentIndex(1);
        Settle();
    }
};

TEST_F(EditorPanels, TypedValuesAreSavedRefusedOrPutBack)
{
    OpenField();
    TInputRecord& rec = form_->Data().Rec;

    // A seasonal panel: two seasons, seasons 3 and 4 at "-1" and disabled.
    Choose(TGroupId::CanalLosses);
    EXPECT_TRUE(PanelVisible(TGroupId::CanalLosses));
    EXPECT_FALSE(PanelVisible(TGroupId::General));
    EXPECT_EQ(Edit("Lc3_Edit")->text(), "-1");
    EXPECT_FALSE(Edit("Lc3_Edit")->isEnabled());

    // Typed with a decimal comma and saved with Enter.
    Type(Edit("Lc1_Edit"), "0,25");
    QTest::keyClick(Edit("Lc1_Edit"), Qt::Key_Return);
    EXPECT_EQ(rec.Lc[1], 0.25);
    EXPECT_FALSE(PanelVisible(TGroupId::CanalLosses));
    EXPECT_EQ(form_->EditorPanels->Choices->checkedButton(), nullptr); // selector cleared

    // Refused by "Save group": the panel stays open with what was typed.
    Choose(TGroupId::SeasonDurations);
    Type(Edit("Ts1_Edit"), "seven");
    Control<QPushButton>("SeasonDurations_Save_Button")->click();
    EXPECT_EQ(LastShown(), "message: seven is not a valid number");
    EXPECT_TRUE(PanelVisible(TGroupId::SeasonDurations));
    EXPECT_EQ(Edit("Ts1_Edit")->text(), "seven");
    Control<QPushButton>("SeasonDurations_Cancel_Button")->click();

    // A selector of the General data group reaches the editor when the user changes
    // it; Cancel shows the key put back. (The drainage groups that follow the key:
    // TInputEditorTest.)
    Choose(TGroupId::General);
    Control<QComboBox>("Kd_ComboBox")->setCurrentIndex(0);
    EXPECT_EQ(rec.Kd, 0);
    Control<QPushButton>("GeneralData_Cancel_Button")->click();
    EXPECT_EQ(Control<QComboBox>("Kd_ComboBox")->currentText(), "yes");

    // Leaving Ny with more than 99 years: 99.
    Choose(TGroupId::General);
    Type(Edit("Ny_Edit"), "150");
    QTest::keyClick(Edit("Ny_Edit"), Qt::Key_Tab);
    EXPECT_EQ(Edit("Ny_Edit")->text(), "99"); // (and in the record: TInputEditorTest)
}

// A new data set: the guided entry goes from group to group, and on where it was
// after a look at another page, with the keys chosen and the groups confirmed.
TEST_F(EditorPanels, GuidedEntryGoesFromGroupToGroupAndOnAfterAnotherPage)
{
    form_->Pages->setCurrentIndex(1);
    Settle();
    QButtonGroup* choices = form_->EditorPanels->Choices;
    EXPECT_TRUE(PanelVisible(TGroupId::General));
    EXPECT_TRUE(choices->button(static_cast<int>(TGroupId::General))->isChecked());
    for (QAbstractButton* b : choices->buttons())
        EXPECT_EQ(b->isEnabled(), choices->id(b) == static_cast<int>(TGroupId::General)) << b->text().toStdString();
    EXPECT_FALSE(Control("GeneralData_Cancel_Button")->isEnabled());
    EXPECT_FALSE(form_->SaveRunButton->isEnabled());

    Control<QComboBox>("Ns_ComboBox")->setCurrentText("3"); // as the user chooses it: its event runs
    Control<QComboBox>("Kd_ComboBox")->setCurrentText("no");
    QTest::keyClick(Edit("Area_Edit"), Qt::Key_Return);
    EXPECT_TRUE(PanelVisible(TGroupId::SeasonDurations));
    EXPECT_EQ(QApplication::focusWidget(), Control("Ts1_Edit")); // the next group takes the focus

    // Tab goes along a row of seasons, past the disabled one, to "Save group".
    for (const char* ts : {"Ts1_Edit", "Ts2_Edit", "Ts3_Edit"})
        Edit(ts)->setText("4");
    Edit("Ts1_Edit")->setFocus(Qt::MouseFocusReason);
    for (const char* next : {"Ts2_Edit", "Ts3_Edit", "SeasonDurations_Save_Button"}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), Control(next)) << next;
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_TRUE(PanelVisible(TGroupId::IrrigatedAreas));

    form_->Pages->setCurrentIndex(4);
    Settle();
    form_->Pages->setCurrentIndex(1);
    Settle();
    EXPECT_TRUE(PanelVisible(TGroupId::IrrigatedAreas));
    EXPECT_FALSE(PanelVisible(TGroupId::General));
    EXPECT_EQ(Control<QComboBox>("Ns_ComboBox")->currentText(), "3");
    EXPECT_TRUE(Control("A3_Edit")->isEnabled());
    EXPECT_FALSE(form_->SaveRunButton->isEnabled());
}

TEST_F(EditorPanels, EnterAndEscActOnTheOpenPanelWhereverTheFocusIsAndAChosenGroupTakesIt)
{
    OpenField();
    TInputRecord& rec = form_->Data().Rec;
    // Where the focus is, the key, and whether it saves.
    const std::tuple<const char*, QWidget*, Qt::Key, bool> cases[] = {
        {"field of the panel", Edit("Lc1_Edit"), Qt::Key_Escape, false},
        {"title line", form_->Title1Edit, Qt::Key_Return, true},
        {"group selector", form_->EditorPanels->Choices->button(static_cast<int>(TGroupId::General)), Qt::Key_Enter,
         true},
        {"Kr Help", form_->KrHelpButton, Qt::Key_Escape, false},
        {"second title line", form_->Title2Edit, Qt::Key_Escape, false},
        {"page's tab", form_->Pages->tabBar(), Qt::Key_Return, true},
        // A message box took the focus from a panel that has gone since.
        {"nowhere", nullptr, Qt::Key_Escape, false},
    };
    int tenths = 3;
    for (const auto& [where, focus, key, saved] : cases) {
        SCOPED_TRACE(where);
        const double typed = tenths++ / 10.0;
        Choose(TGroupId::CanalLosses);
        Type(Edit("Lc1_Edit"), QString::number(typed));
        const double before = rec.Lc[1];
        if (focus != nullptr) {
            focus->setFocus(Qt::MouseFocusReason);
        } else if (QApplication::focusWidget() != nullptr) {
            QApplication::focusWidget()->clearFocus();
        }
        ASSERT_EQ(QApplication::focusWidget(), focus);
        QTest::keyClick(focus != nullptr ? focus : form_.get(), key);
        EXPECT_FALSE(PanelVisible(TGroupId::CanalLosses));
        EXPECT_EQ(rec.Lc[1], saved ? typed : before);
        if (saved) {
            EXPECT_EQ(LastShown(), "message: The data on canal losses and bypass were saved.");
        }
    }
    // A button of the panel does what it says.
    Choose(TGroupId::CanalLosses);
    Control("CanalLosses_Cancel_Button")->setFocus(Qt::TabFocusReason);
    const std::size_t shown = answers_.Shown.size();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(PanelVisible(TGroupId::CanalLosses));
    EXPECT_EQ(answers_.Shown.size(), shown); // cancelled, not saved

    // A chosen group takes the focus in its first field.
    const std::pair<TGroupId, const char*> firsts[] = {{TGroupId::ClimaticData, "Pp1_Edit"},
                                                       {TGroupId::General, "Area_Edit"},
                                                       {TGroupId::SoilThickness, "Dr_Edit"},
                                                       {TGroupId::RiceCropping, "RcA1_ComboBox"}};
    for (const auto& [id, first] : firsts) {
        Choose(id);
        EXPECT_EQ(QApplication::focusWidget(), Control(first)) << first;
    }
    // Opening a file shows its General data group with the focus in it, so that Esc
    // and Enter reach it at once.
    answers_.Files.push_back((dir_ / "field.inp").string());
    form_->InputOpen->trigger();
    Settle();
    ASSERT_TRUE(PanelVisible(TGroupId::General));
    EXPECT_EQ(QApplication::focusWidget(), Control("Area_Edit"));

    // Typing goes straight into it, over what it held.
    Choose(TGroupId::SoilThickness);
    QTest::keyClicks(QApplication::focusWidget(), "1.2");
    EXPECT_EQ(Edit("Dr_Edit")->text(), "1.2");
}

TEST_F(EditorPanels, CalculatorFillsTheDrainageGroup)
{
    OpenField();
    TAlfaForm& alfa = *form_->AlfaForm;
    Choose(TGroupId::DrainageSystem);
    Control<QPushButton>("DrainageEquation_Button")->click();
    EXPECT_TRUE(form_->DrainForm->isVisible());
    Control<QPushButton>("DrainageCalculations_Button")->click();
    ASSERT_TRUE(alfa.isVisible());
    EXPECT_FALSE(form_->DrainForm->isVisible());
    QApplication::setActiveWindow(&alfa); // as a click into the window makes it
    ASSERT_TRUE(QTest::qWaitForWindowActive(&alfa));

    // Each field is tested when it is left (its refusals: the calculator's own tests).
    const std::pair<TAlfaField, const char*> typed[] = {{TAlfaField::Ka, "0.5"}, {TAlfaField::Kb, "1,0"},
                                                        {TAlfaField::D, "2"},    {TAlfaField::U, "0.3"},
                                                        {TAlfaField::P, "5"},    {TAlfaField::L, "40"}};
    for (const auto& [field, text] : typed) {
        Type(alfa.Field(field), text);
        QTest::keyClick(alfa.Field(field), Qt::Key_Tab);
    }
    alfa.CalculateButton->click();
    // The factors of the model go into the group (and the record: AlfaFormTest's
    // CalculateShowsAndStores); beside them, read only, the rates of fall of the water
    // table, the factors divided by P = 5 %.
    EXPECT_EQ(
        QStringList({alfa.QH1Edit->text(), alfa.QH2Edit->text(), alfa.FallQH1Edit->text(), alfa.FallQH2Edit->text()}),
        QStringList({" 0.00805", " 0.00125", " 0.16109", " 0.02500"}));
    EXPECT_TRUE(alfa.QH1Edit->isReadOnly() && alfa.FallQH1Edit->isReadOnly() && alfa.FallQH2Edit->isReadOnly());
    EXPECT_EQ(Edit("QH1_Edit")->text(), " 0.00805");
    EXPECT_EQ(Edit("QH2_Edit")->text(), " 0.00125");
    EXPECT_TRUE(alfa.findChild<QLabel*>("AlfaQH1pUnit_Label")->isVisible());

    // Typing in an input field clears the results and the rates, not the group's fields.
    QTest::keyClicks(alfa.Field(TAlfaField::L), "0");
    for (const QLineEdit* result : {alfa.QH1Edit, alfa.QH2Edit, alfa.FallQH1Edit, alfa.FallQH2Edit})
        EXPECT_EQ(result->text(), "");
    EXPECT_EQ(Edit("QH1_Edit")->text(), " 0.00805");

    // Cancel of the group hides the calculator (what it keeps: the editor's own tests).
    Control<QPushButton>("DrainageSystem_Cancel_Button")->click();
    EXPECT_FALSE(alfa.isVisible());
}

} // namespace
} // namespace veltra::test
