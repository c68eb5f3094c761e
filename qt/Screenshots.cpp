#include "qt/Screenshots.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <functional>
#include <ostream>

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>

#include "model/ExampleInputs.h"
#include "model/InputFile.h"
#include "model/SafeFile.h"
#include "model/TVeltraError.h"
#include "qt/TAlfaForm.h"
#include "qt/TChartView.h"
#include "qt/TCloseForm.h"
#include "qt/TInputEditorPanels.h"
#include "qt/TMainForm.h"
#include "qt/TScriptedShellOps.h"
#include "qt/TextForms.h"
#include "qt/canvas/TQtCanvas.h"
#include "shell/InputGroups.h"

namespace veltra {

namespace fs = std::filesystem;

namespace {

// Lets the window lay itself out and paint.
void Settle()
{
    for (int k = 0; k < 5; ++k)
        QCoreApplication::processEvents();
}

// A picture of the widget, or of the part `area` of it.
void Shot(QWidget& widget, const fs::path& path, std::ostream& log, QRect area = QRect(QPoint(0, 0), QSize(-1, -1)))
{
    widget.show();
    widget.raise();
    Settle();
    const std::string picture = EncodedImage(widget.grab(area).toImage(), "PNG");
    if (picture.empty())
        throw TVeltraError(TErrorKind::File, CannotWriteMessage(path.string()));
    WriteWholeFile(path.string(), picture);
    log << "picture: " << path.string() << "\n";
}

void ShowPage(TMainForm& form, TPage page)
{
    form.Pages->setCurrentIndex(static_cast<int>(page));
    Settle();
}

// "GeneralData" -> "general-data".
std::string FileStem(const char* key)
{
    std::string stem;
    for (const char* c = key; *c != '\0'; ++c) {
        if (std::isupper(static_cast<unsigned char>(*c)) && !stem.empty())
            stem += '-';
        stem += static_cast<char>(std::tolower(static_cast<unsigned char>(*c)));
    }
    return stem;
}

QPushButton* PanelButton(TMainForm& form, const std::string& name)
{
    return qobject_cast<QPushButton*>(form.EditorPanels->Control(name));
}

// Chooses the group in "Select data group" as the user does, takes the picture of
// the selector and the panel, and leaves the panel with "Cancel".
void ShootGroup(TMainForm& form, TGroupId id, const fs::path& path, std::ostream& log,
                const std::function<void()>& before = {})
{
    form.EditorPanels->Choices->button(static_cast<int>(id))->click();
    if (before)
        before();
    // Down to the end of the selector or of the panel, whichever is lower.
    TInputEditorPanels& panels = *form.EditorPanels;
    Settle();
    const QGroupBox* panel = panels.Panels.at(id);
    const int bottom = std::max(panels.Selector->mapTo(&panels, QPoint(0, panels.Selector->height())).y(),
                                panel->mapTo(&panels, QPoint(0, panel->height())).y());
    Shot(panels, path, log, QRect(0, 0, panels.width(), bottom + 6));
    PanelButton(form, CancelButtonControl(Group(id)))->click();
}

// The worked example of the user guide typed into the calculator, field by field.
void CalculateExample(TMainForm& form)
{
    const std::pair<TAlfaField, const char*> typed[] = {{TAlfaField::Ka, "0.5"}, {TAlfaField::Kb, "1.0"},
                                                        {TAlfaField::D, "2"},    {TAlfaField::U, "0.3"},
                                                        {TAlfaField::P, "5"},    {TAlfaField::L, "40"}};
    for (const auto& [field, text] : typed) {
        QLineEdit* edit = form.AlfaForm->Field(field);
        edit->setText(text);
        emit edit->textEdited(text);
        form.AlfaForm->Logic().FieldLeft(field);
    }
    form.AlfaForm->CalculateButton->click();
}

// Opens `input`, saves and runs it as the user does, and takes the chart of output
// option `option` as the Graphics page shows it. False, with the reason on `log`,
// when the run or the chart did not come.
bool RunAndChart(TMainForm& form, TAutoAnswers& answers, const fs::path& input, int option, const fs::path& picture,
                 std::ostream& log)
{
    answers.Files = {input.string(), input.string()};
    form.InputOpen->trigger();
    Settle();
    PanelButton(form, CancelButtonControl(Group(TGroupId::General)))->click();
    Settle();
    form.SaveRunButton->click();
    Settle();
    fs::path results = input;
    results.replace_extension(".res");
    if (!fs::exists(results) || form.Pages->currentIndex() != static_cast<int>(TPage::Output)) {
        log << "veltra-gui: " << input.filename().string() << " gave no output\n";
        return false;
    }
    form.GroupButton->click();
    form.GroupOptions->button(option)->setChecked(true);
    form.GoButton->click();
    Settle();
    form.SeeGraphButton->click();
    Settle();
    if (form.Pages->currentIndex() != static_cast<int>(TPage::Graphics)) {
        log << "veltra-gui: the chart of output group " << option << " of " << input.filename().string()
            << " was not drawn\n";
        return false;
    }
    Shot(*form.GraphImage, picture, log);
    return true;
}

// The example run through the window: the pages as a new data set, the opened
// file, its output, its warnings, output group 1 and its chart, and the figure.
// False, with the reason on `log`, when the run or the chart did not come.
bool ShootExampleRun(TMainForm& form, const fs::path& dir, std::ostream& log)
{
    ShowPage(form, TPage::Intro);
    Shot(form, dir / "intro.png", log);

    // A new data set: the guided entry starts with the General data group.
    ShowPage(form, TPage::Input);
    Shot(form, dir / "input-new.png", log);

    // The example opened: its General data group is shown; "Cancel" closes it
    // and " Save / run " saves and runs the file.
    ShowPage(form, TPage::Intro);
    form.InputOpen->trigger();
    ShowPage(form, TPage::Input);
    Shot(form, dir / "input.png", log);
    PanelButton(form, CancelButtonControl(Group(TGroupId::General)))->click();
    Settle();
    form.SaveRunButton->click();
    Settle();
    if (!form.Logic().State.OutputPresent || form.Pages->currentIndex() != static_cast<int>(TPage::Output) ||
        form.ResultMemo->toPlainText().isEmpty()) {
        log << "veltra-gui: the example gave no output\n";
        return false;
    }
    Shot(form, dir / "output.png", log);
    Shot(*form.WarningForm, dir / "warning.png", log);

    form.GroupButton->click();
    form.GroupOptions->button(1)->setChecked(true);
    form.GoButton->click();
    Settle();
    Shot(form, dir / "output-group.png", log);
    form.SeeGraphButton->click();
    Settle();
    if (form.Pages->currentIndex() != static_cast<int>(TPage::Graphics)) {
        log << "veltra-gui: the chart of output group 1 was not drawn\n";
        return false;
    }
    Shot(form, dir / "graphics.png", log);
    ShowPage(form, TPage::Figure);
    Shot(form, dir / "figure.png", log);
    return true;
}

// Every group panel of the example; the calculator with the guide's example,
// after the run, so that the run used the example's own QH1 and QH2; the
// explanation of drainage.
void ShootExamplePanels(TMainForm& form, const fs::path& dir, std::ostream& log)
{
    ShowPage(form, TPage::Input);
    for (const TGroupDef& g : InputGroups()) {
        if (g.Condition == TGroupCondition::Wells)
            continue;
        ShootGroup(form, g.Id, dir / ("group-" + FileStem(g.Key) + ".png"), log);
    }
    ShootGroup(form, TGroupId::DrainageSystem, dir / "group-drainage-system-calculated.png", log, [&] {
        PanelButton(form, ctl::DrainageCalculationsButton)->click();
        CalculateExample(form);
        Shot(*form.AlfaForm, dir / "calculator.png", log);
    });
    PanelButton(form, ctl::DrainageEquationButton)->click();
    Shot(*form.DrainForm, dir / "drain.png", log);
    form.DrainForm->hide();
}

// The window as it opens on a screen of 1366 x 768 with a panel of 32, and at its
// smallest, with a panel of season columns open: the fields keep their room. It
// is `large` again afterwards.
void ShootWindowSizes(TMainForm& form, const QSize& large, const fs::path& dir, std::ostream& log)
{
    form.EditorPanels->Choices->button(static_cast<int>(TGroupId::ClimaticData))->click();
    form.resize(DefaultWindowSize(QSize(1366, 768 - 32), form.minimumSizeHint()));
    Shot(form, dir / "window-1366x768.png", log);
    form.resize(form.minimumSizeHint());
    Shot(form, dir / "window-minimum.png", log);
    form.resize(large);
    PanelButton(form, CancelButtonControl(Group(TGroupId::ClimaticData)))->click();
    Settle();
}

// The wells example (written as `wells`) opened for the groups of pumped wells and,
// with farmers' responses chosen, the General data group with their fields.
void ShootWellsPanels(TMainForm& form, TAutoAnswers& answers, const fs::path& wells, std::ostream& log)
{
    const fs::path dir = wells.parent_path();
    WriteWholeFile(wells.string(), WellsExampleText());
    answers.Files = {wells.string()};
    form.InputOpen->trigger();
    Settle();
    PanelButton(form, CancelButtonControl(Group(TGroupId::General)))->click();
    for (TGroupId id : {TGroupId::PumpingWells, TGroupId::UseWellWater})
        ShootGroup(form, id, dir / ("group-" + FileStem(Group(id).Key) + ".png"), log);
    ShootGroup(form, TGroupId::General, dir / "group-general-data-farmers.png", log, [&] {
        auto* kf = qobject_cast<QComboBox*>(form.EditorPanels->Control("Kf_ComboBox"));
        kf->setCurrentIndex(1); // "yes"
    });
}

// Charts that long runs and four seasons make: the field example over 99 years
// (root-zone salinity), the wells example's water table by season. False, with
// the reason on `log`, when one did not come.
bool ShootLongAndSeasonalCharts(TMainForm& form, TAutoAnswers& answers, const fs::path& wells, std::ostream& log)
{
    const fs::path dir = wells.parent_path();
    TInputRecord longRun = FieldExampleRecord();
    longRun.Ny = 99;
    const fs::path years99 = dir / "years99.inp";
    WriteWholeFile(years99.string(), InputFileText(longRun));
    return RunAndChart(form, answers, years99, 1, dir / "chart-99-years.png", log) &&
           RunAndChart(form, answers, wells, 5, dir / "chart-4-seasons.png", log);
}

void ShootHelperWindows(TMainForm& form, const fs::path& dir, std::ostream& log)
{
    Shot(*form.HelpForm, dir / "help.png", log);
    Shot(*form.InputSymbolsForm, dir / "input-symbols.png", log);
    Shot(*form.OutputSymbolsForm, dir / "output-symbols.png", log);
    Shot(*form.CloseForm, dir / "close.png", log);
    form.CloseForm->hide();
}

} // namespace

int TakeScreenshots(const std::string& folder, std::ostream& log)
{
    try {
        fs::create_directories(folder);
        const fs::path dir = fs::canonical(folder);
        const fs::path input = dir / "field.inp";
        WriteWholeFile(input.string(), FieldExampleText());
        // The window works in its start folder: Error.lst and warning.lst go there.
        fs::current_path(dir);

        TAutoAnswers answers;
        answers.Files = {input.string(), (dir / "field.inp").string()};
        answers.Log = [&log](const std::string& line) { log << line << "\n"; };
        TMainForm form(Scripted(answers));
        // The pictures of the user guide show the window at the size it takes on a
        // large screen, whatever the offscreen screen is.
        const QSize large(1280, 820);
        form.resize(large);
        form.show();
        Settle();
        if (!ShootExampleRun(form, dir, log))
            return 1;
        ShootExamplePanels(form, dir, log);
        ShootWindowSizes(form, large, dir, log);
        const fs::path wells = dir / "wells.inp";
        ShootWellsPanels(form, answers, wells, log);
        if (!ShootLongAndSeasonalCharts(form, answers, wells, log))
            return 1;
        ShootHelperWindows(form, dir, log);
        return 0;
    } catch (const std::exception& e) {
        log << "veltra-gui: " << e.what() << "\n";
        return 1;
    }
}

} // namespace veltra
