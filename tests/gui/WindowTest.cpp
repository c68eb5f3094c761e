// The window's fit and manners on the offscreen platform: a message stands over the
// window it concerns; the bundled example runs through the widgets while the fields
// keep their room in the smallest window and the window keeps its size; its first
// size fits a 1366 x 768 screen; its captions and labels read whole; its pictures
// show no number that could pass for a result.
#include <algorithm>
#include <regex>
#include <string>
#include <vector>

#include <QBuffer>
#include <QClipboard>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSvgGenerator>
#include <QTableWidget>
#include <QTextLayout>

#include "GuiTestSupport.h"
#include "model/InputFile.h"
#include "qt/Pictures.h"
#include "qt/TAlfaForm.h"
#include "qt/TChartView.h"
#include "qt/TDecorColumn.h"
#include "qt/TextForms.h"
#include "results/GroupFile.h"
#include "shell/HelpTexts.h"
#include "shell/WindowMessages.h"

namespace veltra::test {
namespace {

// A screen of 1366 x 768 with a panel of 32, and the title bar and borders a window
// manager puts around a window.
const QSize SmallScreen(1366, 768 - 32);
const QSize Frame(16, 48);

using Window = GuiTest;

TEST_F(Window, MessagesStandOverTheWindowTheyConcern)
{
    TMainForm form; // real boxes
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    TModalAnswers modal;
    const auto& boxes = modal.Boxes;

    // A refused field of the calculator: over the calculator, which stays in front.
    form.Ops().ShowWindow(TWindow::Alfa);
    QApplication::setActiveWindow(form.AlfaForm);
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.AlfaForm));
    Type(form.AlfaForm->Field(TAlfaField::Ka), "-1");
    QTest::keyClick(form.AlfaForm->Field(TAlfaField::Ka), Qt::Key_Tab);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Over, form.AlfaForm);
    form.Ops().HideWindow(TWindow::Alfa);

    // The warnings of a run shown: what follows stands over them, not behind them.
    form.Ops().ShowWindow(TWindow::Warning);
    form.Ops().ShowMessage(msg::WaterTableAtBottom);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].Over, form.WarningForm);

    // The user turns to the main window: its messages stand over it again.
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    EXPECT_FALSE(form.Ops().AskYesNo("question?")); // closing the box is no
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[2].Over, &form);

    // The helper windows belong to the main window: a window manager keeps them in
    // front of it (a dialogue's place), also when the user clicks the main window.
    for (QWidget* helper : {static_cast<QWidget*>(form.AlfaForm), static_cast<QWidget*>(form.DrainForm),
                            static_cast<QWidget*>(form.WarningForm)}) {
        EXPECT_EQ(helper->windowType(), Qt::Dialog) << helper->windowTitle().toStdString();
        EXPECT_EQ(helper->parentWidget(), &form);
        EXPECT_FALSE(helper->isModal());
    }

    // Every box is wide enough for its whole caption: a window manager draws it in a
    // larger bold font, beside an icon and three buttons.
    QFont caption = form.font();
    caption.setBold(true);
    for (const auto& box : boxes) {
        EXPECT_EQ(box.Title, "Agro-Hydro-Soil-Salinity model");
        EXPECT_GE(box.Width, QFontMetrics(caption).horizontalAdvance(box.Title) + 100) << box.Text;
    }
}

TEST_F(Window, WaterTableStopLeavesTheWarningsInFront)
{
    // The example year by year, with an outflow that empties the aquifer in year 1.
    TInputRecord rec = FieldExampleRecord();
    rec.Ky = 1;
    rec.Ny = 3;
    rec.Go[1] = rec.Go[2] = 2.0;
    WriteInputFile(rec, Path("deep.inp"));
    answers_.Files = {Path("deep.inp"), Path("deep.inp")};
    TMainForm& form = NewForm(answers_);
    form.show();
    Settle();
    form.InputOpen->trigger();
    form.Pages->setCurrentIndex(1);
    Settle();
    Click(CancelButtonControl(Group(TGroupId::General)));
    form.SaveRunButton->click();
    Settle();

    const auto shown = [&](const char* message) { // the caption of the window it stood over
        const auto at = std::find(answers_.Shown.begin(), answers_.Shown.end(), "message: " + std::string(message));
        return at == answers_.Shown.end() ? std::string("not shown") : answers_.Over[at - answers_.Shown.begin()];
    };
    EXPECT_EQ(shown(msg::RuntimeCommentsGiven), form.windowTitle().toStdString());
    EXPECT_EQ(shown(msg::WaterTableAtBottom), "Warning");
    EXPECT_TRUE(form.WarningForm->isVisible());
}

// The bundled example run through the widgets, in the smallest window and in the first
// size on a small screen: both fit the screen, frame and all; in the smallest every
// field keeps its room and the picture gives its room up; on the small screen every data
// group can be chosen without scrolling beside the picture. The result shows on the
// Output page, a table in the grid and a chart on the Graphics page, and the window
// keeps its size whatever it shows. Its first size fits the screen it starts on.
TEST_F(Window, RunsTheExampleAndKeepsItsSizeAndTheFieldsTheirRoom)
{
    EXPECT_EQ(DefaultWindowSize(QSize(1920, 1050), QSize(900, 600)), QSize(1280, 820));
    EXPECT_EQ(DefaultWindowSize(QSize(800, 600), QSize(900, 500)), QSize(900, 552)); // the frame's 48 left free
    for (const bool smallest : {true, false}) {
        SCOPED_TRACE(smallest ? "smallest" : "small screen");
        fs::remove(dir_ / "Field.INP"); // the first walk's: no overwrite question
        answers_.Files = {WriteField(), Path("Field.inp")};
        TMainForm& form = NewForm(answers_);
        EXPECT_EQ(form.size(), DefaultWindowSize(form.screen()->availableGeometry().size(), form.minimumSizeHint()));
        const QSize size = smallest ? form.minimumSizeHint() : DefaultWindowSize(SmallScreen, form.minimumSizeHint());
        EXPECT_EQ((size + Frame).boundedTo(SmallScreen), size + Frame);
        form.resize(size);
        form.show();
        Settle();

        EXPECT_EQ(form.InputDecor->Caption(), ""); // the Input page's picture names the file edited
        form.InputOpen->trigger();
        EXPECT_EQ(form.InputDecor->Caption(), "field.inp");
        form.Pages->setCurrentIndex(1);
        Settle();
        EXPECT_FALSE(form.SaveRunButton->isEnabled()); // until the open group is closed
        auto* scroll = form.findChild<QScrollArea*>("InputEditor_Scroll");
        ASSERT_NE(scroll, nullptr);
        EXPECT_TRUE(smallest || scroll->verticalScrollBar()->maximum() == 0);
        for (const TGroupDef& g : InputGroups()) {
            if (!form.EditorPanels->Choices->button(static_cast<int>(g.Id))->isEnabled())
                continue;
            Choose(g.Id);
            for (const TFieldDef& f : g.Fields)
                for (int s = f.IsSeasonal() ? 1 : 0; smallest && s <= (f.IsSeasonal() ? 4 : 0); ++s) {
                    QWidget* field = Control(FieldControl(f, s));
                    if (field == nullptr || !field->isVisible())
                        continue; // CaMax and CbMax without farmers' responses
                    const QRect where(field->mapTo(scroll->viewport(), QPoint(0, 0)), field->size());
                    EXPECT_GE(field->width(), 80) << FieldControl(f, s);
                    EXPECT_GE(where.left(), 0) << FieldControl(f, s);
                    EXPECT_LE(where.right(), scroll->viewport()->width()) << FieldControl(f, s);
                }
        }
        EXPECT_EQ(form.InputDecorColumn->ContentShown(), !smallest);
        Click(CancelButtonControl(Group(TGroupId::WaterTable)));
        EXPECT_TRUE(form.SaveRunButton->isEnabled());
        // A long path in the file's label is cut, not allowed to widen the window.
        form.Ops().SetControlText(ctl::FileNameLabel, std::string(300, 'x') + "/field.inp");
        Settle();
        EXPECT_EQ(form.size(), size);

        form.SaveRunButton->click();
        Settle();
        // The Output page shows the result file, the warning window the warnings.
        ASSERT_EQ(form.Pages->currentIndex(), 2);
        EXPECT_TRUE(form.ResultMemo->isVisible());
        EXPECT_EQ(form.ResultMemo->toPlainText() + "\n",
                  QString::fromStdString(ReadFile(dir_ / "Field.res")).remove('\r'));
        EXPECT_TRUE(form.WarningForm->isVisible());
        EXPECT_TRUE(form.WarningForm->WarningMemo->toPlainText().contains("drainage re-use"));

        // Output group 1: the table in the text view and the grid.
        form.GroupButton->click();
        form.GroupOptions->button(1)->setChecked(true);
        form.GoButton->click();
        Settle();
        ASSERT_TRUE(form.Grid->isVisible());
        EXPECT_EQ(QSize(form.Grid->columnCount(), form.Grid->rowCount()), QSize(10, 23)); // heads, years 0 to 10
        EXPECT_EQ(form.Grid->item(0, 5)->text(), " Cr4");
        form.ClipButton->click();
        EXPECT_EQ(QApplication::clipboard()->text().toStdString(), ClipboardText(form.Logic().OutputData()));

        // The chart: at its own size where the page has room, smaller where it has not;
        // saved as a picture of 762 x 486 pixels.
        form.SeeGraphButton->click();
        Settle();
        ASSERT_EQ(form.Pages->currentIndex(), 3);
        EXPECT_TRUE(form.GraphImage->isVisible());
        const QRect chart = form.GraphImage->ChartRect();
        EXPECT_LE(chart.width(), form.GraphImage->width());
        EXPECT_LE(chart.height(), form.GraphImage->height());
        EXPECT_NEAR(chart.width() * 486.0 / 762, chart.height(), 1.0); // its shape kept
        EXPECT_TRUE(smallest || chart.size() == QSize(762, 486));
        EXPECT_EQ(form.Ops().Canvas().Image().pixel(70, 300), qRgb(0, 0, 255)); // the value axis drawn
        ASSERT_TRUE(form.GraphSaveButton->isEnabled());
        answers_.Files = {Path("chart.png")};
        form.GraphSaveButton->click();
        EXPECT_EQ(QImage(QString::fromStdString(Path("chart.png"))).size(), QSize(762, 486));
        // The group table as a group file.
        answers_.Files = {Path("salinity")};
        form.GroupSave->trigger();
        EXPECT_TRUE(fs::exists(dir_ / "salinity.prn"));

        for (int page : {0, 4, 2})
            form.Pages->setCurrentIndex(page);
        Settle();
        EXPECT_EQ(form.size(), size); // a window grown for what it showed stays grown: none did
        // Close output: back to the Input page.
        form.CloseOutputButton->click();
        EXPECT_EQ(form.Pages->currentIndex(), 1);
    }
}

TEST_F(Window, CaptionsAndLabelsReadWhole)
{
    TMainForm& form = NewForm(answers_);
    // The window system adds the application's display name to a caption that does
    // not end with it; the caption holds the application's title already.
    const QString title = form.windowTitle();
    const QString name = QGuiApplication::applicationDisplayName();
    const QString shown = title.endsWith(name) ? title : title + " - " + name;
    EXPECT_EQ(title, "VeltraM, modernized Agro-Hydro-Soil-Salinity Model");
    EXPECT_EQ(shown.count("Agro-Hydro-Soil-Salinity", Qt::CaseInsensitive), 1) << shown.toStdString();

    // Canal losses shows its symbols and units like the other groups, after its own words.
    const std::pair<const char*, const char*> canal[] = {{"Losses", "Lc"}, {"Bypass", "Io"}};
    for (const auto& [words, symbol] : canal) {
        const QString text = Control<QLabel>(FieldLabelControl(*Group(TGroupId::CanalLosses).Field(symbol)))
                                 ->text()
                                 .remove(QChar(0x2060));
        EXPECT_EQ(text, QString("%1 (%2, m/season)").arg(words, symbol));
    }

    // A label wraps between words: no unit is split at its "/".
    for (const TGroupDef& g : InputGroups())
        for (const TFieldDef& f : g.Fields) {
            QLabel* label = Control<QLabel>(FieldLabelControl(f));
            QTextLayout layout(label->text(), label->font());
            QTextOption option;
            option.setWrapMode(QTextOption::WordWrap);
            layout.setTextOption(option);
            layout.beginLayout();
            for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
                line.setLineWidth(label->contentsRect().width());
                const QString part =
                    label->text().mid(line.textStart(), line.textLength()).remove(QChar(0x2060)).trimmed();
                EXPECT_FALSE(part.endsWith('/') || part.startsWith('/')) << f.Symbol << ": " << part.toStdString();
            }
            layout.endLayout();
        }

    // The Intro page says where the bundled examples are installed and how to get them.
    const std::string cmake = ReadFile(fs::path(VELTRA_SOURCE_DIR) / "cmake" / "Packaging.cmake");
    std::smatch install;
    ASSERT_TRUE(std::regex_search(cmake, install, std::regex(R"(install\(FILES examples/\S+ .*DESTINATION (\S+)\))")));
    EXPECT_NE(IntroText().find(install[1].str()), std::string::npos) << install[1].str();
    EXPECT_NE(IntroText().find("\"Open example\""), std::string::npos);
    EXPECT_TRUE(fs::exists(fs::path(VELTRA_SOURCE_DIR) / "examples" / "field.inp"));
}

// The texts a picture draws, one after the other: drawn as SVG, where each is a text.
QString DrawnTexts(TPictureKind kind, const QString& caption = {})
{
    QBuffer out;
    QSvgGenerator svg;
    svg.setOutputDevice(&out);
    svg.setSize(QSize(1200, 800));
    {
        QPainter painter(&svg);
        DrawPicture(painter, kind, caption);
    }
    QString texts;
    static const QRegularExpression text("<text[^>]*>([^<]*)</text>");
    for (const QRegularExpressionMatch& m : text.globalMatch(QString::fromUtf8(out.data())))
        texts += " " + m.captured(1);
    return texts;
}

TEST_F(Window, PicturesShowNoResultsAndNameTheFile)
{
    // Words and symbols, but no number that could be taken for a result.
    for (TPictureKind kind :
         {TPictureKind::Logo, TPictureKind::InputPage, TPictureKind::OutputPage, TPictureKind::GraphicsPage}) {
        const QString texts = DrawnTexts(kind);
        EXPECT_FALSE(texts.trimmed().isEmpty()) << static_cast<int>(kind);
        for (const QString& word : texts.split(' ', Qt::SkipEmptyParts)) {
            bool number = false;
            word.toDouble(&number);
            EXPECT_FALSE(number) << static_cast<int>(kind) << ": " << word.toStdString();
        }
    }
    EXPECT_TRUE(DrawnTexts(TPictureKind::InputPage).contains("new data set"));
    EXPECT_TRUE(DrawnTexts(TPictureKind::InputPage, "field.inp").contains("field.inp"));
    EXPECT_FALSE(DrawnTexts(TPictureKind::InputPage, "field.inp").contains("new data set"));
}

} // namespace
} // namespace veltra::test
