// The real window on the offscreen platform: it starts with its pages, menus and
// windows, every page shows, the exit window ends the program, and unsaved input is
// not given up without a question. (The example run through the widgets: WindowTest.)
#include <clocale>
#include <memory>

#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>

#include "GuiTestSupport.h"
#include "qt/Pictures.h"
#include "qt/TAlfaForm.h"
#include "qt/TChartView.h"
#include "qt/TCloseForm.h"
#include "qt/TextForms.h"
#include "shell/DrainExplanation.h"
#include "shell/HelpTexts.h"
#include "shell/WindowMessages.h"

namespace veltra::test {
namespace {

class TWidgetEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app_ = std::make_unique<QApplication>(argc_, argv_);
        NameApplication();           // as veltra-gui does
        std::setlocale(LC_ALL, "C"); // as veltra-gui does after Qt took the user's locale
    }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[16] = "veltra_gui";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};
[[maybe_unused]] auto* const WidgetEnvironment = ::testing::AddGlobalTestEnvironment(new TWidgetEnvironment);

using MainForm = GuiTest;

// The window from its start, through every page and "Open example", to its exit window.
TEST_F(MainForm, StartsWithItsPagesMenusAndWindows)
{
    TMainForm& form = NewForm(answers_);
    form.show();
    Settle();
    ASSERT_EQ(form.Pages->count(), 5);
    const char* captions[] = {" Intro ", " Input ", " Output ", " Graphics ", " Figure "};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(form.Pages->tabText(i), captions[i]);
    EXPECT_EQ(form.Pages->currentIndex(), 0);
    EXPECT_EQ(form.StatusLabel->text().toStdString(), msg::IntroStatus);

    // The menus: their actions in order, with their shortcuts; Ctrl+X stays with Cut.
    EXPECT_EQ(form.FileMenu->title(), "File");
    EXPECT_EQ(form.EditMenu->title(), "&Edit");
    EXPECT_EQ(form.FileMenu->actions(),
              (QList<QAction*>{form.InputOpen, form.OpenExample, form.OutputOpen, form.GraphOpen, form.FilePrint,
                               form.ProgramExit, form.GroupOpen}));
    QStringList keys;
    for (QAction* a : form.FileMenu->actions() + form.EditMenu->actions() + QList<QAction*>{form.GraphSave})
        keys << a->shortcut().toString();
    EXPECT_EQ(keys.join(' ').toStdString(),
              "Ctrl+I  Ctrl+O Ctrl+G Ctrl+P Ctrl+Q Ctrl+U Ctrl+X Ctrl+C Ctrl+V Del Ctrl+R");
    EXPECT_FALSE(form.InputSave->isEnabled());
    EXPECT_FALSE(form.GraphSave->isEnabled());
    for (QAction* a : {form.InputOpen, form.OpenExample, form.OutputOpen, form.GraphOpen, form.FilePrint,
                       form.GroupSave, form.GroupOpen, form.ProgramExit})
        EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();

    // The auxiliary windows with their captions and texts.
    EXPECT_EQ(
        QStringList({form.AlfaForm->windowTitle(), form.WarningForm->windowTitle(), form.DrainForm->windowTitle()}),
        QStringList({"Calculator rection factors drainage systm", "Warning", "Explanation subsurface drainage"}));
    EXPECT_EQ(form.HelpForm->KrMemo->toPlainText().toStdString(), RotationKeyHelpText());
    EXPECT_EQ(form.InputSymbolsForm->InputSymbolsMemo->toPlainText().toStdString(), InputSymbolsText());
    EXPECT_EQ(form.OutputSymbolsForm->OutputSymbolsMemo->toPlainText().toStdString(), OutputSymbolsText());
    EXPECT_EQ(form.DrainForm->DrainMemo->toPlainText() + "\n",
              QString::fromStdString(Joined(DrainExplanationLines())).remove('\r'));
    EXPECT_EQ(form.CloseForm->Status().toStdString(), msg::CloseStatus);

    // Every page shows, with its status line (the Output page without output) and its
    // picture; the Graphics page's, as no chart was made yet.
    const char* status[] = {msg::IntroStatus, msg::InputStatus, msg::NoOutputStatus, msg::GraphicsStatus,
                            msg::FigureStatus};
    QWidget* const shows[] = {form.Pages->widget(0), form.Pages->widget(1), form.Pages->widget(2), form.GraphDecor,
                              form.FigureImage};
    for (int i : {1, 2, 4, 0, 3}) {
        form.Pages->setCurrentIndex(i);
        Settle();
        EXPECT_TRUE(shows[i]->isVisible()) << i;
        EXPECT_EQ(form.StatusLabel->text().toStdString(), status[i]) << i;
    }
    EXPECT_TRUE(answers_.Shown.empty()); // nothing asked on the way
    EXPECT_FALSE(form.GraphImage->isVisible());
    EXPECT_FALSE(form.GraphSaveButton->isEnabled());

    // "Open example" in the File menu (what it writes and says: the window logic's tests).
    answers_.Files = {Path("examples")};
    form.OpenExample->trigger();
    Settle();
    EXPECT_EQ(form.OpenExample->text(), "Open example");
    EXPECT_EQ(form.FileNameLabel->text().toStdString(), Path("examples/field.inp"));
    EXPECT_EQ(form.Pages->currentIndex(), 1);

    // "Exit", with nothing unsaved, shows the modal exit window; closing it ends the
    // program. (Closing the main window and "Finish": QuittingAsksFirstWhenTheInputIsUnsaved.)
    int ended = 0;
    form.EndProgram = [&ended] { ++ended; };
    TModalAnswers modal;
    modal.Steps = {[&form](QWidget* exit) {
        EXPECT_EQ(exit, form.CloseForm);
        exit->close();
    }};
    form.ProgramExit->trigger();
    EXPECT_EQ(ended, 1);
}

// With unsaved input, Ctrl+Q and the window's close ask first; Esc or closing the
// question goes back to the window; Yes goes on to the exit window. The real boxes.
TEST_F(MainForm, QuittingAsksFirstWhenTheInputIsUnsaved)
{
    TMainForm form;
    int ended = 0;
    form.EndProgram = [&ended] { ++ended; };
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    form.Title1Edit->setText("A title not yet saved");
    TModalAnswers modal;
    modal.Steps = {[](QWidget* box) { QTest::keyClick(box, Qt::Key_Escape); }};
    QTest::keyClick(&form, Qt::Key_Q, Qt::ControlModifier);
    ASSERT_EQ(modal.Boxes.size(), 1u);
    EXPECT_EQ(modal.Boxes[0].Text, msg::QuitUnsaved);
    modal.Steps = {[](QWidget* box) { box->close(); }};
    form.close();
    EXPECT_EQ(modal.Boxes.size(), 2u); // (an unanswered exit window would never return)
    EXPECT_EQ(ended, 0);
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(form.CloseForm->isVisible());

    modal.Steps = {[](QWidget* box) { qobject_cast<QMessageBox*>(box)->button(QMessageBox::Yes)->click(); },
                   [&form](QWidget* exit) {
                       EXPECT_EQ(exit, form.CloseForm);
                       form.CloseForm->FinishButton->click();
                   }};
    form.close();
    EXPECT_EQ(modal.Boxes.size(), 3u);
    EXPECT_EQ(ended, 1);
}

} // namespace
} // namespace veltra::test
