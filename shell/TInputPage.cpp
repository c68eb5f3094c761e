#include "shell/TInputPage.h"

#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

#include "model/ExampleInputs.h"
#include "model/InputCheck.h"
#include "model/InputFile.h"
#include "model/TVeltraError.h"
#include "results/PathWithExtension.h"
#include "runs/Calculate.h"
#include "shell/ControlNames.h"
#include "shell/WindowMessages.h"

namespace veltra {

namespace fs = std::filesystem;

namespace {

// The bundled examples in `folder`, as "Open example" writes them.
struct TExampleFiles {
    std::vector<std::pair<std::string, std::string>> All;     // path, text; field.inp first
    std::vector<std::pair<std::string, std::string>> ToWrite; // not there as the example
    std::vector<std::string> Users;                           // names of the user's files among them
};

TExampleFiles ExampleFilesIn(const fs::path& folder)
{
    TExampleFiles files;
    files.All = {
        {(folder / "field.inp").string(), FieldExampleText()},
        {(folder / "wells.inp").string(), WellsExampleText()},
    };
    // A file of either name that is not the example is the user's: replaced only
    // after a yes. One that is the example already is left as it is.
    std::error_code ec;
    for (const auto& [path, text] : files.All) {
        if (!fs::exists(path, ec)) {
            files.ToWrite.emplace_back(path, text);
            continue;
        }
        std::string there;
        try {
            there = ReadWholeFile(path, InputFileLimit, "an input file");
        } catch (const TVeltraError&) {
            there.clear(); // not readable as an example: the user's
        }
        if (there != text) {
            files.ToWrite.emplace_back(path, text);
            files.Users.push_back(FileNamePart(path));
        }
    }
    return files;
}

} // namespace

// ---------------------------------------------------------------- the page shown

void TInputPage::Shown()
{
    TInputRecord& rec = w_.Dm.Rec;
    ShellOps& ops = w_.Ops;
    ops.SetStatus(msg::InputStatus);
    ops.EnableControl(ctl::InputSave);
    // Ny and Ky as last saved: a discontinued series lowered Ny, the Intro page
    // cleared Ky. A new data set never saved has nothing to put back.
    if (w_.State.OutputPresent && w_.Editor.DataLoaded()) {
        rec.Ny = rec.Shell.SavedNy;
        rec.Ky = rec.Shell.SavedKy;
        rec.Shell.SeriesEnded = 0;
        if (rec.Shell.SavedKy == 1)
            rec.Shell.AnnualMode = 1;
    }
    // A loaded file offers its groups; a new data set goes on with (or starts) the
    // guided entry.
    w_.Editor.InputPageShown();
    ops.HideWindow(TWindow::Drain);
    ops.HideWindow(TWindow::Alfa);
}

// ---------------------------------------------------------------- open an input file

void TInputPage::Open()
{
    const std::optional<std::string> chosen = w_.ChooseFileToOpen(TDialog::InputOpen, msg::NoInputFile);
    if (chosen)
        OpenInput(*chosen);
}

void TInputPage::OpenFile(const std::string& path)
{
    std::error_code ec;
    const fs::path absolute = fs::absolute(path, ec);
    OpenInput(ec ? path : absolute.lexically_normal().string());
}

void TInputPage::OpenExample()
{
    ShellOps& ops = w_.Ops;
    const std::optional<std::string> chosen = ops.ChooseFolder(TDialog::ExampleFolder);
    if (!chosen) {
        ops.ShowMessage(msg::NoExampleFolder);
        return;
    }
    const fs::path folder = fs::path(*chosen).lexically_normal();
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (!fs::is_directory(folder, ec)) {
        ops.ShowMessage(msg::FolderNotMade(folder.string()));
        return;
    }
    const TExampleFiles examples = ExampleFilesIn(folder);
    // Opening field.inp replaces the input being edited.
    if (!w_.MayLoseInput(msg::OpenExampleUnsaved))
        return;
    if (!examples.Users.empty() && !ops.AskYesNo(msg::ReplaceByExamples(folder.string(), examples.Users))) {
        ops.ShowMessage(msg::ExamplesNotWritten);
        return;
    }
    // Both or neither: written in full beside their places, then put there.
    WriteWholeFiles(examples.ToWrite, w_.Files);
    ops.ShowMessage(msg::ExamplesWritten(folder.string()));
    OpenInput(examples.All.front().first, false);
}

void TInputPage::OpenInput(const std::string& path, bool askFirst)
{
    if (!w_.FileThere(path))
        return;
    if (askFirst && !w_.MayLoseInput(msg::OpenInputUnsaved))
        return;
    // Read into a copy: a file that cannot be read leaves the record as it was. The
    // file chosen, exactly: Field.INP beside Field.inp is another file.
    TInputRecord read = w_.Dm.Rec;
    read.Shell.FileName = path;
    ReadNamedInputFile(path, read);
    // Ny and Ky of the file, whatever its layout (older ones hold no Ky).
    read.Shell.SavedNy = read.Ny;
    read.Shell.SavedKy = read.Ky;
    w_.Dm.Rec = std::move(read);
    w_.State.OutputPending = false;
    w_.Ops.ShowMessage(msg::InputOpened);
    ShowOpenedInput();
}

void TInputPage::ShowOpenedInput()
{
    TInputRecord& rec = w_.Dm.Rec;
    ShellOps& ops = w_.Ops;
    rec.Shell.AnnualMode = 0;
    w_.St.YearsDone = 0;
    w_.Carry.YearsDone = 0;
    rec.Shell.YearNr = 0;
    rec.Shell.SeriesEnded = 0;
    w_.State.SeriesWarnings.clear();
    w_.State.NewRun = true;
    ops.HideWindow(TWindow::Warning);

    ops.SetControlText(ctl::FileNameLabel, rec.Shell.FileName);
    ops.SetControlText(ctl::Title1Edit, rec.Title1);
    ops.SetControlText(ctl::Title2Edit, rec.Title2);
    w_.NoteInputInFile();

    w_.State.CurrentDir = FolderOf(rec.Shell.FileName);
    w_.SetAllDialogFolders(w_.State.CurrentDir);
    ops.EnableControl(ctl::InputSave);

    // The pages show the file, every group may be chosen, the General data group is open.
    w_.Editor.InputFileOpened();
    ops.HideControl(ctl::NoteLabel);
    ops.HideWindow(TWindow::Drain);
    ops.HideWindow(TWindow::Alfa);
    // Where the file can be seen and changed, from whatever page it was opened.
    w_.BringToFront(TPage::Input);
    ops.SetStatus(msg::InputOpenedStatus);
}

// ---------------------------------------------------------------- save and run

void TInputPage::SaveAndRun()
{
    bool created = false; // this save created FileName (empty)
    if (!NameTheFile(created))
        return;
    w_.SetAllDialogFolders(w_.State.CurrentDir);
    w_.Files.SetCurrentDir(w_.State.StartDir);
    if (!WriteTheFile(created))
        return;
    TakeTheSavedFile();
    if (!CalculationsWanted())
        return;
    if (!years_.CalculateStep())
        return;
    FollowTheRun();
}

bool TInputPage::ChooseInputName(bool forceDialog)
{
    TInputRecord& rec = w_.Dm.Rec;
    ShellOps& ops = w_.Ops;
    w_.State.SaveCancelled = false;
    // The first year of a run, and a later year whose formed name was refused, ask
    // for the name; the later years of a series are named after the first file.
    if (forceDialog || rec.Shell.AnnualMode == 0 || rec.Shell.YearNr <= 1) {
        ops.ShowMessage(msg::ChooseSaveName);
        const std::optional<std::string> chosen = ops.ChooseSaveFile(TDialog::InputSave);
        if (!chosen) {
            w_.State.SaveCancelled = true;
            return false;
        }
        // Field.inp already there is this data set's file, not a reason for a second
        // one called Field.INP: it is saved over (when the user agrees).
        rec.Shell.FileName = FileOfAnyExtensionCase(PathWithExtension(*chosen, ".INP"));
        return w_.Files.FileExists(rec.Shell.FileName) ? ops.AskYesNo(msg::Overwrite) : true;
    }
    rec.Shell.FileName = SeriesFileName(rec.Shell.FileName, rec.Shell.YearNr);
    return true;
}

bool TInputPage::NameTheFile(bool& created)
{
    bool forceDialog = false;
    TNaming step = TNaming::AskAgain;
    // A refused name asks with the dialogue: a formed name would be refused again.
    while ((step = NameOnce(forceDialog, created)) == TNaming::AskAgain)
        forceDialog = true;
    return step == TNaming::Named;
}

TInputPage::TNaming TInputPage::NameOnce(bool forceDialog, bool& created)
{
    TInputRecord& rec = w_.Dm.Rec;
    ShellOps& ops = w_.Ops;
    if (!ChooseInputName(forceDialog) || w_.State.SaveCancelled) {
        ops.ShowMessage(msg::InputNotSaved);
        return TNaming::Stopped;
    }
    rec.Title1 = ops.GetControlText(ctl::Title1Edit);
    rec.Title2 = ops.GetControlText(ctl::Title2Edit);
    w_.Editor.SavingInput();
    const std::vector<std::string> refusals = ValidateBeforeSave(rec);
    if (!refusals.empty()) {
        for (const std::string& r : refusals)
            ops.ShowMessage(r);
        return TNaming::Stopped;
    }
    // Before anything is created: a refused name leaves nothing behind.
    if (DotsInFileName(rec.Shell.FileName) >= 2) {
        ops.ShowMessage(msg::TooManyDots);
        return TNaming::AskAgain;
    }
    created = !w_.Files.FileExists(rec.Shell.FileName) && w_.Files.CreateEmptyFile(rec.Shell.FileName);
    NoteRunFiles();
    return RefusedByDataPath(created) ? TNaming::AskAgain : TNaming::Named;
}

void TInputPage::NoteRunFiles()
{
    TInputRecord& rec = w_.Dm.Rec;
    TShellState& state = w_.State;
    w_.Ops.HideWindow(TWindow::Warning);
    if (rec.Shell.YearNr < 2)
        rec.Shell.AnnualStartFile = rec.Shell.FileName;
    if (rec.Ky == 1)
        rec.Shell.AnnualMode = 1;
    if (rec.Shell.AnnualMode == 1)
        rec.Shell.AnnualFileName = rec.Shell.FileName;
    state.CurrentDir = FolderOf(rec.Shell.FileName);
    if (rec.Shell.YearNr < 2)
        state.RunDir = state.CurrentDir;
}

bool TInputPage::RefusedByDataPath(bool& created)
{
    const TInputRecord& rec = w_.Dm.Rec;
    // The years of a series live in the first year's folder, beside its result file.
    const bool otherFolder = rec.Shell.AnnualStartFile != rec.Shell.FileName && rec.Shell.AnnualMode == 1 &&
                             rec.Shell.YearNr >= 2 &&
                             FolderOf(rec.Shell.FileName) != FolderOf(rec.Shell.AnnualStartFile);
    if (!otherFolder)
        return false;
    if (created)
        w_.Files.Remove(rec.Shell.FileName);
    created = false;
    const std::string first = FolderOf(rec.Shell.AnnualStartFile);
    w_.Ops.ShowMessage(msg::DataPathFixed(first));
    w_.Ops.SetDialogFolder(TDialog::InputSave, first);
    return true;
}

bool TInputPage::WriteTheFile(bool created)
{
    const TInputRecord& rec = w_.Dm.Rec;
    try {
        WriteInputFile(rec, rec.Shell.FileName, w_.Files);
    } catch (const TVeltraError& e) {
        // Not saved: the empty file this save made goes again, the message says why.
        if (created)
            w_.Files.Remove(rec.Shell.FileName);
        w_.Ops.ShowMessage(e.what());
        w_.Ops.ShowMessage(msg::InputNotSaved);
        return false;
    }
    return true;
}

void TInputPage::TakeTheSavedFile()
{
    TInputRecord& rec = w_.Dm.Rec;
    // What the Input page puts back after a run: the values of this file.
    rec.Shell.SavedNy = rec.Ny;
    rec.Shell.SavedKy = rec.Ky;
    w_.NoteInputInFile();
    // A new data set saved is a file like an opened one: the Input page shown again
    // offers its groups instead of starting the guided entry anew (which would put
    // the fresh keys back).
    w_.Editor.InputSaved();
    // The run works on the values as the file holds them, so that the saved file
    // reproduces the results that carry its name.
    TInputRecord asSaved = rec;
    ReadInputText(InputFileText(rec), rec.Shell.FileName, asSaved);
    asSaved.Shell.SavedKy = rec.Shell.SavedKy;
    asSaved.Shell.SavedNy = rec.Shell.SavedNy;
    asSaved.Shell.LineCount = rec.Shell.LineCount;
    asSaved.Shell.OldLine1Layout = rec.Shell.OldLine1Layout;
    rec = std::move(asSaved);
    if (w_.State.NewRun) {
        // A new run starts at year 0 with an empty carry.
        w_.Carry = TAnnualCarry{};
        StartNewRun(rec, w_.St, w_.Carry, rec.Shell.FileName);
        w_.State.NewRun = false;
        w_.State.SeriesWarnings.clear();
    }
    w_.Ops.SetControlText(ctl::FileNameLabel, rec.Shell.FileName);
}

bool TInputPage::CalculationsWanted()
{
    ShellOps& ops = w_.Ops;
    ops.BusyShow();
    ops.BusyClear();
    ops.BusyAddLine(msg::SavingBusy);
    ops.Pause(500);
    if (ops.AskYesNo(msg::DoCalculations(FileNamePart(w_.Dm.Rec.Shell.FileName))))
        return true;
    ops.BusyClear();
    ops.BusyHide();
    // Nothing ran: the next save must not continue under this file's name.
    if (!w_.SeriesInProgress())
        w_.State.NewRun = true;
    return false;
}

void TInputPage::FollowTheRun()
{
    const TInputRecord& rec = w_.Dm.Rec;
    if (rec.Shell.AnnualMode == 1 && !w_.St.WaterTableStop && rec.Shell.SeriesEnded == 0)
        years_.ConductSeries();
    // A stopped run's warnings say that the calculations were interrupted.
    if (rec.Shell.AnnualMode == 0 && rec.Shell.SeriesEnded == 0 && !w_.St.WaterTableStop)
        w_.Ops.ShowMessage(msg::CalculationsDone(PathWithExtension(rec.Shell.FileName, ".res")));
    if (rec.Shell.AnnualMode == 0 || rec.Shell.SeriesEnded == 1 ||
        (w_.St.WaterTableStop && rec.Shell.AnnualMode == 1 && rec.Shell.SeriesEnded == 0)) {
        w_.State.OutputPresent = true;
        w_.Ops.HideControl(ctl::GroupSaveButton);
        w_.Ops.HideControl(ctl::SeeGraphButton);
        w_.BringToFront(TPage::Output);
    }
}

} // namespace veltra
