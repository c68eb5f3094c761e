// The real window on the offscreen platform: it starts with its pages, menus and
// windows, every page shows, and the bundled example runs through its widgets to
// a result on the Output page, a table in the grid and a chart on the Graphics page.
#include <clocale>
#include <deque>
#include <functional>
#include <memory>

#include <QClipboard>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTimer>

#include "GuiTestSupport.h"
#include "model/InputFile.h"
#include "qt/Pictures.h"
#include "qt/TAlfaForm.h"
#include "qt/TChartView.h"
#include "qt/TCloseForm.h"
#include "qt/TextForms.h"
#include "results/GroupFile.h"
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

// The text of a file as a memo shows it: lines joined by "\n".
QString AsMemo(const fs::path& path)
{
    std::string text = ReadFile(path);
    std::string out;
    for (char c : text)
        if (c != '\r')
            out += c;
    if (!out.empty() && out.back() == '\n')
        out.pop_back();
    return QString::fromStdString(out);
}

using MainForm = GuiTest;

TEST_F(MainForm, StartsWithItsPagesMenusAndWindows)
{
    TMainForm form(Scripted(answers_));
    form.show();
    Settle();
    EXPECT_EQ(form.windowTitle(), "VeltraM, modernized Agro-Hydro-Soil-Salinity Model");

    ASSERT_EQ(form.Pages->count(), 5);
    const char* captions[] = {" Intro ", " Input ", " Output ", " Graphics ", " Figure "};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(form.Pages->tabText(i), captions[i]);
    EXPECT_EQ(form.Pages->currentIndex(), 0);
    EXPECT_EQ(form.StatusLabel->text().toStdString(), msg::IntroStatus);

    // The menus: their actions in order, with their shortcuts; Ctrl+X stays with Cut.
    EXPECT_EQ(form.FileMenu->title(), "File");
    EXPECT_EQ(form.EditMenu->title(), "&Edit");
    const QList<QAction*> file = form.FileMenu->actions();
    const std::vector<std::pair<QAction*, const char*>> fileItems = {
        {form.InputOpen, "Ctrl+I"}, {form.OpenExample, ""},     {form.OutputOpen, "Ctrl+O"},
        {form.GraphOpen, "Ctrl+G"}, {form.FilePrint, "Ctrl+P"}, {form.ProgramExit, "Ctrl+Q"},
        {form.GroupOpen, "Ctrl+U"}};
    ASSERT_EQ(file.size(), 7);
    for (std::size_t i = 0; i < fileItems.size(); ++i) {
        EXPECT_EQ(file[static_cast<int>(i)], fileItems[i].first) << i;
        EXPECT_EQ(fileItems[i].first->shortcut(), QKeySequence(fileItems[i].second)) << i;
    }
    EXPECT_EQ(form.GraphSave->shortcut(), QKeySequence("Ctrl+R"));
    const QList<QAction*> edit = form.EditMenu->actions();
    const QKeySequence editKeys[] = {QKeySequence("Ctrl+X"), QKeySequence("Ctrl+C"), QKeySequence("Ctrl+V"),
                                     QKeySequence(Qt::Key_Delete)};
    ASSERT_EQ(edit.size(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(edit[i]->shortcut(), editKeys[i]) << i;
    EXPECT_FALSE(form.InputSave->isEnabled());
    EXPECT_FALSE(form.GraphSave->isEnabled());
    for (QAction* a : {form.InputOpen, form.OpenExample, form.OutputOpen, form.GraphOpen, form.FilePrint,
                       form.GroupSave, form.GroupOpen, form.ProgramExit})
        EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();

    // The auxiliary windows, created once at the start in their order.
    const QObjectList children = form.children();
    const QObject* order[] = {form.CloseForm,   form.HelpForm,  form.InputSymbolsForm, form.OutputSymbolsForm,
                              form.WarningForm, form.DrainForm, form.AlfaForm};
    for (std::size_t i = 1; i < std::size(order); ++i)
        EXPECT_LT(children.indexOf(order[i - 1]), children.indexOf(order[i])) << i;
    EXPECT_EQ(form.AlfaForm->windowTitle(), "Calculator rection factors drainage systm");
    EXPECT_EQ(form.WarningForm->windowTitle(), "Warning");
    EXPECT_EQ(form.DrainForm->windowTitle(), "Explanation subsurface drainage");
    EXPECT_EQ(form.HelpForm->KrMemo->toPlainText().toStdString(), RotationKeyHelpText());
    EXPECT_EQ(form.InputSymbolsForm->InputSymbolsMemo->toPlainText().toStdString(), InputSymbolsText());
    EXPECT_EQ(form.OutputSymbolsForm->OutputSymbolsMemo->toPlainText().toStdString(), OutputSymbolsText());
    std::string drain;
    for (const std::string& line : DrainExplanationLines())
        drain += (drain.empty() ? "" : "\n") + line;
    EXPECT_EQ(form.DrainForm->DrainMemo->toPlainText().toStdString(), drain);
    EXPECT_EQ(form.CloseForm->Status().toStdString(), msg::CloseStatus);
    EXPECT_TRUE(form.CloseForm->isModal());

    // Every page shows, with its status line (the Output page without output).
    const char* status[] = {msg::IntroStatus, msg::InputStatus, msg::NoOutputStatus, msg::GraphicsStatus,
                            msg::FigureStatus};
    for (int i : {1, 2, 3, 4, 0}) {
        form.Pages->setCurrentIndex(i);
        Settle();
        EXPECT_TRUE(form.Pages->widget(i)->isVisible()) << i;
        EXPECT_EQ(form.StatusLabel->text().toStdString(), status[i]) << i;
    }
    EXPECT_TRUE(answers_.Shown.empty()); // nothing asked on the way
    form.Pages->setCurrentIndex(3);
    Settle();
    EXPECT_FALSE(form.GraphImage->isVisible());
    EXPECT_TRUE(form.GraphDecor->isVisible());
    EXPECT_FALSE(form.GraphSaveButton->isEnabled());
    form.Pages->setCurrentIndex(4);
    Settle();
    EXPECT_TRUE(form.FigureImage->isVisible());

    // "Open example" in the File menu (what it writes and says: the window logic's tests).
    answers_.Files = {Path("examples")};
    form.OpenExample->trigger();
    Settle();
    EXPECT_EQ(form.OpenExample->text(), "Open example");
    EXPECT_EQ(form.FileNameLabel->text().toStdString(), Path("examples/field.inp"));
    EXPECT_EQ(form.Pages->currentIndex(), 1);
    EXPECT_TRUE(PanelVisible(form, TGroupId::General));
}

TEST_F(MainForm, RunsTheExampleThroughItsWidgets)
{
    answers_.Files = {WriteField(), Path("Field.inp")};
    TMainForm form(Scripted(answers_));
    form.show();
    Settle();

    form.InputOpen->trigger();
    EXPECT_EQ(form.FileNameLabel->text().toStdString(), Path("field.inp"));
    EXPECT_EQ(form.Title1Edit->text().toStdString(), FieldExampleRecord().Title1);
    form.Pages->setCurrentIndex(1);
    Settle();
    // The General data group is open after opening: " Save / run " once it is closed.
    EXPECT_FALSE(form.SaveRunButton->isEnabled());
    Click(form, "GeneralData_Cancel_Button");
    EXPECT_TRUE(form.SaveRunButton->isEnabled());
    form.SaveRunButton->click();
    Settle();

    EXPECT_EQ(answers_.Shown,
              (std::vector<std::string>{"open: Input files (*.inp *.INP)", "message: The input file is opened.",
                                        "message: Please determine file and folder name for saving the data",
                                        "save: Input files (*.inp *.INP)",
                                        "question: The data were saved in: Field.INP. Do you wish to do the "
                                        "calculations?",
                                        "message: " + msg::CalculationsDone(Path("Field.res")),
                                        "message: One or more runtime comments are given."}));
    // The Output page shows the result file, the warning window the warnings.
    ASSERT_EQ(form.Pages->currentIndex(), 2);
    EXPECT_TRUE(form.ResultMemo->isVisible());
    EXPECT_EQ(form.ResultMemo->toPlainText(), AsMemo(dir_ / "Field.res"));
    EXPECT_TRUE(form.WarningForm->isVisible());
    EXPECT_TRUE(form.WarningForm->WarningMemo->toPlainText().contains("drainage re-use"));
    EXPECT_FALSE(form.WaitMemo->isVisible());
    EXPECT_FALSE(form.OutputDecor->isVisible());
    EXPECT_EQ(ReadFile(dir_ / "Field.trf"), "2\r\n");

    // Output group 1: the table in the text view and the grid.
    form.GroupButton->click();
    EXPECT_TRUE(form.GroupsPanel->isVisible());
    form.GroupOptions->button(1)->setChecked(true);
    form.GoButton->click();
    Settle();
    ASSERT_TRUE(form.Grid->isVisible());
    EXPECT_EQ(form.Grid->columnCount(), 10);
    EXPECT_EQ(form.Grid->rowCount(), 23); // heads, years 0 to 10 of 2 seasons
    EXPECT_EQ(form.Grid->item(0, 0)->text(), " Year");
    EXPECT_EQ(form.Grid->item(0, 5)->text(), " Cr4");
    EXPECT_TRUE(form.ResultMemo->toPlainText().startsWith("\"Data from: " + QString::fromStdString(Path("Field.res"))));
    form.ClipButton->click();
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), ClipboardText(form.Logic().OutputData()));

    // Its chart on the Graphics page, saved as a picture of 762 x 486 pixels.
    form.SeeGraphButton->click();
    Settle();
    ASSERT_EQ(form.Pages->currentIndex(), 3);
    EXPECT_TRUE(form.GraphImage->isVisible());
    EXPECT_FALSE(form.GraphDecor->isVisible());
    EXPECT_TRUE(form.GraphSaveButton->isEnabled());
    const QImage& chart = form.Ops().Canvas().Image();
    int coloured = 0;
    for (int y = 0; y < chart.height(); ++y)
        for (int x = 0; x < chart.width(); ++x)
            coloured += chart.pixel(x, y) != qRgb(255, 255, 255);
    EXPECT_GT(coloured, 2000);
    answers_.Files = {Path("chart.png")};
    form.GraphSaveButton->click();
    QImage saved(QString::fromStdString(Path("chart.png")));
    EXPECT_EQ(saved.size(), QSize(762, 486));
    EXPECT_EQ(answers_.Shown.back(), "message: The graph was saved in  " + Path("chart.png"));

    // The group table as a group file.
    answers_.Files = {Path("salinity")};
    form.GroupSave->trigger();
    EXPECT_EQ(answers_.Shown.back(), "message: The group data are saved in " + Path("salinity.prn"));
    EXPECT_TRUE(fs::exists(dir_ / "salinity.prn"));

    // Close output: back to the Input page, ready for a new run.
    form.Pages->setCurrentIndex(2);
    Settle();
    form.CloseOutputButton->click();
    EXPECT_EQ(form.Pages->currentIndex(), 1);
    EXPECT_TRUE(form.Logic().State.NewRun);
}

TEST_F(MainForm, ExitWindowIsModalAndEndsTheProgram)
{
    // Closing the main window shows the exit window instead; "Finish" ends the program.
    // "Exit" shows it too, and closing it ends the program as well.
    for (const bool finish : {true, false}) {
        SCOPED_TRACE(finish ? "Finish" : "closed");
        TMainForm form(Scripted(answers_));
        int ended = 0;
        form.EndProgram = [&ended] { ++ended; };
        form.show();
        Settle();
        QTimer::singleShot(0, form.CloseForm, [&form, finish] {
            EXPECT_TRUE(form.CloseForm->isVisible());
            EXPECT_EQ(QApplication::activeModalWidget(), form.CloseForm);
            if (finish)
                form.CloseForm->FinishButton->click();
            else
                form.CloseForm->close();
        });
        if (finish)
            form.close();
        else
            form.ProgramExit->trigger();
        EXPECT_EQ(ended, 1);
    }
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

    // Answers whatever modal window is up, one step at a time.
    std::vector<std::string> asked;
    std::deque<std::function<void(QWidget*)>> steps;
    QTimer responder;
    responder.setInterval(10);
    QObject::connect(&responder, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || steps.empty())
            return;
        if (auto* box = qobject_cast<QMessageBox*>(modal))
            asked.push_back(box->text().toStdString());
        auto step = steps.front();
        steps.pop_front();
        step(modal);
    });
    responder.start();
    const auto esc = [](QWidget* box) { QTest::keyClick(box, Qt::Key_Escape); };
    const auto close = [](QWidget* box) { box->close(); };

    steps = {esc};
    QTest::keyClick(&form, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(asked, std::vector<std::string>{msg::QuitUnsaved});
    steps = {close};
    form.close();
    EXPECT_EQ(asked.size(), 2u);
    EXPECT_TRUE(steps.empty());
    EXPECT_EQ(ended, 0);
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(form.CloseForm->isVisible());

    steps = {[](QWidget* box) { qobject_cast<QMessageBox*>(box)->button(QMessageBox::Yes)->click(); },
             [&form](QWidget* exit) {
                 EXPECT_EQ(exit, form.CloseForm);
                 form.CloseForm->FinishButton->click();
             }};
    form.close();
    EXPECT_EQ(asked.size(), 3u);
    EXPECT_TRUE(steps.empty());
    EXPECT_EQ(ended, 1);
}

} // namespace
} // namespace veltra::test
