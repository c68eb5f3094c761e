// The main window: start, the pages, open an input file, save and run, print, exit.
#include "shell/UMainForm.h"

#include <atomic>
#include <cstdlib>
#include <filesystem>

#include <unistd.h>

#include "engine/UCalculate.h"
#include "model/ExampleInputs.h"
#include "model/InputCheck.h"
#include "model/InputFile.h"
#include "results/OutputFile.h"
#include "runs/RunCalculate.h"
#include "shell/UControls.h"
#include "shell/UMessages.h"

namespace veltra {

namespace fs = std::filesystem;

namespace {

std::string FolderOf(const std::string& path)
{
    return fs::path(path).parent_path().lexically_normal().string();
}

// The lines of a text with CR LF line ends.
std::vector<std::string> TextLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (std::size_t end; (end = text.find("\r\n", from)) != std::string::npos; from = end + 2)
        lines.push_back(text.substr(from, end - from));
    if (from < text.size())
        lines.push_back(text.substr(from));
    return lines;
}

constexpr TDialog AllDialogs[] = {TDialog::InputOpen, TDialog::InputSave, TDialog::OutputOpen, TDialog::GraphOpen,
                                  TDialog::GraphSave, TDialog::GroupOpen, TDialog::GroupSave,  TDialog::ExampleFolder};

} // namespace

std::string FileNamePart(const std::string& path)
{
    return fs::path(path).filename().string();
}

int DotsInFileName(const std::string& path)
{
    int dots = 0;
    for (char c : FileNamePart(path))
        dots += c == '.';
    return dots;
}

std::string UserStateFolder()
{
    fs::path base;
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state != nullptr && fs::path(state).is_absolute()) {
        base = state;
    } else {
        const char* home = std::getenv("HOME");
        base = fs::path(home != nullptr && *home != '\0' ? home : "/tmp") / ".local" / "state";
    }
    return (base / "veltra").string();
}

TMainFormLogic::TMainFormLogic(ShellOps& ops, TDataMod& dm, TEngineState& st, TAnnualCarry& carry,
                               TInputEditorHooks& editor, TFileSystem& files)
    : ops_(ops), dm_(dm), st_(st), carry_(carry), editor_(editor), files_(files)
{}

// ---------------------------------------------------------------- handling one event

void TMainFormLogic::Handle(const std::function<void()>& body) noexcept
{
    HandleUserEvent(body, [&](const std::string& text) {
        ops_.BusyHide();
        ops_.ShowMessage(text);
    });
}

// ---------------------------------------------------------------- start and pages

void TMainFormLogic::Start()
{
    Handle([&] {
        ops_.ShowPage(TPage::Intro);
        State.CurrentPage = TPage::Intro;
        ShowPageBehaviour(TPage::Intro);
        State.StartDir = files_.GetCurrentDir();
        State.CurrentDir = State.StartDir;
        SetAllDialogFolders(State.StartDir);
        ops_.DisableControl(ctl::InputSave);
        ops_.DisableControl(ctl::GraphSave);
        State.OutputPresent = false;
        State.GraphMade = false;
        ClearOneShotFlags(st_);
        State.NewRun = true;
    });
}

void TMainFormLogic::PageShown(TPage page)
{
    Handle([&] {
        State.CurrentPage = page;
        ShowPageBehaviour(page);
    });
}

void TMainFormLogic::BringToFront(TPage page)
{
    if (State.CurrentPage == page)
        return;
    ops_.ShowPage(page);
    State.CurrentPage = page;
    ShowPageBehaviour(page);
}

void TMainFormLogic::ShowPageBehaviour(TPage page)
{
    switch (page) {
    case TPage::Intro: IntroShown(); break;
    case TPage::Input: InputShown(); break;
    case TPage::Output: OutputShown(); break;
    case TPage::Graphics: GraphicsShown(); break;
    case TPage::Figure: FigureShown(); break;
    }
}

void TMainFormLogic::SetAllDialogFolders(const std::string& folder)
{
    for (TDialog d : AllDialogs)
        ops_.SetDialogFolder(d, folder);
}

bool TMainFormLogic::SeriesInProgress() const
{
    const TInputRecord& rec = dm_.Rec;
    return rec.AnnualMode == 1 && rec.YearNr >= 2 && rec.SeriesEnded == 0;
}

void TMainFormLogic::NoteInputInFile()
{
    State.GroupSavesInFile = editor_.GroupSaves();
    State.Title1InFile = ops_.GetControlText(ctl::Title1Edit);
    State.Title2InFile = ops_.GetControlText(ctl::Title2Edit);
}

bool TMainFormLogic::InputUnsaved()
{
    return editor_.GroupSaves() != State.GroupSavesInFile ||
           ops_.GetControlText(ctl::Title1Edit) != State.Title1InFile ||
           ops_.GetControlText(ctl::Title2Edit) != State.Title2InFile;
}

bool TMainFormLogic::MayLoseInput(const std::string& question)
{
    return !InputUnsaved() || ops_.AskYesNo(question);
}

// ---------------------------------------------------------------- file dialogues

std::optional<std::string> TMainFormLogic::ChooseFileToOpen(TDialog dialog, const std::string& nothingChosen)
{
    std::optional<std::string> chosen = ops_.ChooseOpenFile(dialog);
    if (!chosen)
        ops_.ShowMessage(nothingChosen);
    return chosen;
}

bool TMainFormLogic::FileThere(const std::string& path)
{
    if (files_.FileExists(path))
        return true;
    ops_.ShowMessage(msg::FileMissing);
    return false;
}

TMainFormLogic::TSaveChoice
TMainFormLogic::ChooseFileToSave(TDialog dialog, const std::function<std::string(const std::string&)>& fileName)
{
    for (;;) {
        const std::optional<std::string> chosen = ops_.ChooseSaveFile(dialog);
        if (!chosen)
            return {std::nullopt, true};
        const std::string path = fileName(*chosen);
        if (files_.FileExists(path) && !ops_.AskYesNo(msg::Overwrite))
            return {};
        // Dots of the file name only: a folder such as /home/j.smith is fine.
        if (DotsInFileName(path) < 2)
            return {path, false};
        ops_.ShowMessage(msg::TooManyDots);
    }
}

void TMainFormLogic::IntroShown()
{
    ops_.SetStatus(msg::IntroStatus);
    ops_.DisableControl(ctl::InputSave);
    // A series going on keeps its Ky: the next year is run from the Input page.
    if (!SeriesInProgress()) {
        dm_.Rec.Ky = 0;
        editor_.KeysReset();
    }
}

void TMainFormLogic::InputShown()
{
    TInputRecord& rec = dm_.Rec;
    ops_.SetStatus(msg::InputStatus);
    ops_.EnableControl(ctl::InputSave);
    // Ny and Ky as last saved: a discontinued series lowered Ny, the Intro page
    // cleared Ky. A new data set never saved has nothing to put back.
    if (State.OutputPresent && editor_.DataLoaded()) {
        rec.Ny = rec.SavedNy;
        rec.Ky = rec.SavedKy;
        rec.SeriesEnded = 0;
        if (rec.SavedKy == 1)
            rec.AnnualMode = 1;
    }
    // A loaded file offers its groups; a new data set goes on with (or starts) the
    // guided entry.
    editor_.InputPageShown();
    ops_.HideWindow(TWindow::Drain);
    ops_.HideWindow(TWindow::Alfa);
}

void TMainFormLogic::GraphicsShown()
{
    ops_.DisableControl(ctl::InputSave);
    ops_.SetStatus(msg::GraphicsStatus);
    if (!State.GraphMade) {
        ops_.HideControl(ctl::GraphImage);
        ops_.DisableControl(ctl::GraphSave);
        ops_.DisableControl(ctl::GraphSymbolsButton);
        ops_.ShowControl(ctl::GraphDecorImage);
    } else {
        ops_.HideControl(ctl::GraphDecorImage);
        ops_.ShowControl(ctl::GraphImage);
    }
}

void TMainFormLogic::FigureShown()
{
    ops_.SetStatus(msg::FigureStatus);
}

// ---------------------------------------------------------------- open an input file

void TMainFormLogic::InputOpen()
{
    Handle([&] {
        const std::optional<std::string> chosen = ChooseFileToOpen(TDialog::InputOpen, msg::NoInputFile);
        if (chosen)
            OpenInput(*chosen);
    });
}

void TMainFormLogic::OpenInputFile(const std::string& path)
{
    Handle([&] {
        std::error_code ec;
        const fs::path absolute = fs::absolute(path, ec);
        OpenInput(ec ? path : absolute.lexically_normal().string());
    });
}

void TMainFormLogic::OpenExample()
{
    Handle([&] {
        const std::optional<std::string> chosen = ops_.ChooseFolder(TDialog::ExampleFolder);
        if (!chosen) {
            ops_.ShowMessage(msg::NoExampleFolder);
            return;
        }
        const fs::path folder = fs::path(*chosen).lexically_normal();
        std::error_code ec;
        fs::create_directories(folder, ec);
        if (!fs::is_directory(folder, ec)) {
            ops_.ShowMessage(msg::FolderNotMade(folder.string()));
            return;
        }
        const std::vector<std::pair<std::string, std::string>> examples = {
            {(folder / "field.inp").string(), FieldExampleText()},
            {(folder / "wells.inp").string(), WellsExampleText()},
        };
        // A file of either name that is not the example is the user's: replaced only
        // after a yes. One that is the example already is left as it is.
        std::vector<std::pair<std::string, std::string>> toWrite;
        std::vector<std::string> users;
        for (const auto& [path, text] : examples) {
            if (!fs::exists(path, ec)) {
                toWrite.emplace_back(path, text);
                continue;
            }
            std::string there;
            try {
                there = ReadWholeFile(path, InputFileLimit, "an input file");
            } catch (const TVeltraError&) {
                there.clear(); // not readable as an example: the user's
            }
            if (there != text) {
                toWrite.emplace_back(path, text);
                users.push_back(FileNamePart(path));
            }
        }
        // Opening field.inp replaces the input being edited.
        if (!MayLoseInput(msg::OpenExampleUnsaved))
            return;
        if (!users.empty() && !ops_.AskYesNo(msg::ReplaceByExamples(folder.string(), users))) {
            ops_.ShowMessage(msg::ExamplesNotWritten);
            return;
        }
        // Both or neither: written in full beside their places, then put there.
        WriteWholeFiles(toWrite, files_);
        ops_.ShowMessage(msg::ExamplesWritten(folder.string()));
        OpenInput(examples.front().first, false);
    });
}

void TMainFormLogic::OpenInput(const std::string& path, bool askFirst)
{
    if (!FileThere(path))
        return;
    if (askFirst && !MayLoseInput(msg::OpenInputUnsaved))
        return;
    // Read into a copy: a file that cannot be read leaves the record as it was. The
    // file chosen, exactly: Field.INP beside Field.inp is another file.
    TInputRecord read = dm_.Rec;
    read.FileName = path;
    ReadNamedInputFile(path, read);
    // Ny and Ky of the file, whatever its layout (older ones hold no Ky).
    read.SavedNy = read.Ny;
    read.SavedKy = read.Ky;
    dm_.Rec = std::move(read);
    TInputRecord& rec = dm_.Rec;
    State.OutputPending = false;
    ops_.ShowMessage(msg::InputOpened);

    rec.AnnualMode = 0;
    st_.YearsDone = 0;
    carry_.YearsDone = 0;
    rec.YearNr = 0;
    rec.SeriesEnded = 0;
    State.SeriesWarnings.clear();
    State.NewRun = true;
    ops_.HideWindow(TWindow::Warning);

    ops_.SetControlText(ctl::FileNameLabel, rec.FileName);
    ops_.SetControlText(ctl::Title1Edit, rec.Title1);
    ops_.SetControlText(ctl::Title2Edit, rec.Title2);
    NoteInputInFile();

    State.CurrentDir = FolderOf(rec.FileName);
    SetAllDialogFolders(State.CurrentDir);
    ops_.EnableControl(ctl::InputSave);

    // The pages show the file, every group may be chosen, the General data group is open.
    editor_.InputFileOpened();
    ops_.HideControl(ctl::NoteLabel);
    ops_.HideWindow(TWindow::Drain);
    ops_.HideWindow(TWindow::Alfa);
    // Where the file can be seen and changed, from whatever page it was opened.
    BringToFront(TPage::Input);
    ops_.SetStatus(msg::InputOpenedStatus);
}

// ---------------------------------------------------------------- save and run

bool TMainFormLogic::ChooseInputName(bool forceDialog)
{
    TInputRecord& rec = dm_.Rec;
    State.SaveCancelled = false;
    // The first year of a run, and a later year whose formed name was refused, ask
    // for the name; the later years of a series are named after the first file.
    if (forceDialog || rec.AnnualMode == 0 || rec.YearNr <= 1) {
        ops_.ShowMessage(msg::ChooseSaveName);
        const std::optional<std::string> chosen = ops_.ChooseSaveFile(TDialog::InputSave);
        if (!chosen) {
            State.SaveCancelled = true;
            return false;
        }
        // Field.inp already there is this data set's file, not a reason for a second
        // one called Field.INP: it is saved over (when the user agrees).
        rec.FileName = FileOfAnyExtensionCase(PathWithExtension(*chosen, ".INP"));
        return files_.FileExists(rec.FileName) ? ops_.AskYesNo(msg::Overwrite) : true;
    }
    rec.FileName = SeriesFileName(rec.FileName, rec.YearNr);
    return true;
}

void TMainFormLogic::InputSave()
{
    Handle([&] { SaveAndRun(); });
}

void TMainFormLogic::SaveAndRun()
{
    TInputRecord& rec = dm_.Rec;
    bool forceDialog = false;
    bool created = false; // this save created FileName (empty)
    for (;;) {
        const bool named = ChooseInputName(forceDialog);
        if (!named || State.SaveCancelled) {
            ops_.ShowMessage(msg::InputNotSaved);
            return;
        }
        rec.Title1 = ops_.GetControlText(ctl::Title1Edit);
        rec.Title2 = ops_.GetControlText(ctl::Title2Edit);
        editor_.SavingInput();
        const std::vector<std::string> refusals = ValidateBeforeSave(rec);
        if (!refusals.empty()) {
            for (const std::string& r : refusals)
                ops_.ShowMessage(r);
            return;
        }
        // Before anything is created: a refused name leaves nothing behind.
        if (DotsInFileName(rec.FileName) >= 2) {
            ops_.ShowMessage(msg::TooManyDots);
            forceDialog = true;
            continue;
        }
        created = !files_.FileExists(rec.FileName) && files_.CreateEmptyFile(rec.FileName);

        ops_.HideWindow(TWindow::Warning);
        if (rec.YearNr < 2)
            rec.AnnualStartFile = rec.FileName;
        if (rec.Ky == 1)
            rec.AnnualMode = 1;
        if (rec.AnnualMode == 1)
            rec.AnnualFileName = rec.FileName;
        State.CurrentDir = FolderOf(rec.FileName);
        if (rec.YearNr < 2)
            State.RunDir = State.CurrentDir;

        // The years of a series live in the first year's folder, beside its result file.
        const bool otherFolder = rec.AnnualStartFile != rec.FileName && rec.AnnualMode == 1 && rec.YearNr >= 2 &&
                                 FolderOf(rec.FileName) != FolderOf(rec.AnnualStartFile);
        if (otherFolder) {
            if (created)
                files_.Remove(rec.FileName);
            created = false;
            const std::string first = FolderOf(rec.AnnualStartFile);
            ops_.ShowMessage(msg::DataPathFixed(first));
            ops_.SetDialogFolder(TDialog::InputSave, first);
            forceDialog = true; // the formed name would be refused again
            continue;
        }
        break;
    }
    SetAllDialogFolders(State.CurrentDir);
    files_.SetCurrentDir(State.StartDir);

    try {
        WriteInputFile(rec, rec.FileName, files_);
    } catch (const TVeltraError& e) {
        if (created)
            files_.Remove(rec.FileName);
        ops_.ShowMessage(e.what());
        ops_.ShowMessage(msg::InputNotSaved);
        return;
    }
    // What the Input page puts back after a run: the values of this file.
    rec.SavedNy = rec.Ny;
    rec.SavedKy = rec.Ky;
    NoteInputInFile();
    // A new data set saved is a file like an opened one: the Input page shown again
    // offers its groups instead of starting the guided entry anew (which would put
    // the fresh keys back).
    editor_.InputSaved();
    // The run works on the values as the file holds them, so that the saved file
    // reproduces the results that carry its name.
    {
        TInputRecord asSaved = rec;
        ReadInputText(InputFileText(rec), rec.FileName, asSaved);
        asSaved.SavedKy = rec.SavedKy;
        asSaved.SavedNy = rec.SavedNy;
        asSaved.LineCount = rec.LineCount;
        asSaved.OldLine1Layout = rec.OldLine1Layout;
        rec = std::move(asSaved);
    }
    if (State.NewRun) {
        // A new run starts at year 0 with an empty carry.
        carry_ = TAnnualCarry{};
        StartNewRun(rec, st_, carry_, rec.FileName);
        State.NewRun = false;
        State.SeriesWarnings.clear();
    }
    ops_.SetControlText(ctl::FileNameLabel, rec.FileName);

    ops_.BusyShow();
    ops_.BusyClear();
    ops_.BusyAddLine(msg::SavingBusy);
    ops_.Pause(500);
    if (!ops_.AskYesNo(msg::DoCalculations(FileNamePart(rec.FileName)))) {
        ops_.BusyClear();
        ops_.BusyHide();
        // Nothing ran: the next save must not continue under this file's name.
        if (!SeriesInProgress())
            State.NewRun = true;
        return;
    }

    if (!CalculateStep())
        return;

    if (rec.AnnualMode == 1 && !st_.WaterTableStop && rec.SeriesEnded == 0)
        ConductSeries();
    // A stopped run's warnings say that the calculations were interrupted.
    if (rec.AnnualMode == 0 && rec.SeriesEnded == 0 && !st_.WaterTableStop)
        ops_.ShowMessage(msg::CalculationsDone(PathWithExtension(rec.FileName, ".res")));
    if (rec.AnnualMode == 0 || rec.SeriesEnded == 1 ||
        (st_.WaterTableStop && rec.AnnualMode == 1 && rec.SeriesEnded == 0)) {
        State.OutputPresent = true;
        ops_.HideControl(ctl::GroupSaveButton);
        ops_.HideControl(ctl::SeeGraphButton);
        BringToFront(TPage::Output);
    }
}

bool TMainFormLogic::CalculateStep()
{
    TInputRecord& rec = dm_.Rec;
    ops_.BusyShow();
    ops_.BusyClear();
    ops_.BusyAddLine(msg::CalculatingBusy);

    TCalculateOptions options;
    options.Files = &files_;
    const TCalculateResult result = Calculate(dm_, st_, carry_, ListFolder(), ops_, options);
    State.OutputPending = true;
    if (result.InputErrors || !result.Refusal.empty()) {
        if (!result.InputErrors)
            dm_.ErrorLines = ErrorListLines({" " + result.Refusal});
        State.InputErrors = true;
        State.ErrorCount = static_cast<int>(dm_.ErrorLines.size());
        ops_.ShowMessage(msg::InputErrorsFound);
        State.OutputPresent = false;
        ops_.HideControl(ctl::GroupOpenButton);
        ops_.HideControl(ctl::CloseOutputButton);
        ops_.HideControl(ctl::OutputSymbolsButton);
        BringToFront(TPage::Output);
        ops_.BusyHide();
        return false;
    }
    State.InputErrors = false;
    ops_.HideWindow(TWindow::Warning);
    State.RuntimeWarnings = false;
    if (rec.Ky == 0) {
        State.RuntimeWarnings = result.RuntimeWarnings;
        State.WarningCount = static_cast<int>(dm_.WarningLines.size());
    } else {
        TakeSeriesWarnings();
    }
    ops_.ShowControl(ctl::GroupOpenButton);
    ops_.ShowControl(ctl::CloseOutputButton);
    ops_.ShowControl(ctl::OutputSymbolsButton);
    // The engine's changes (IaA, Io, Gw, ...) are to be seen and saved.
    editor_.RunFinished();
    ops_.BusyAddLine(msg::FinalizingBusy);
    ops_.Pause(500);
    ops_.BusyHide();
    return true;
}

std::string TMainFormLogic::ListFolder()
{
    static std::atomic<unsigned> probes{0};
    const std::string start = State.StartDir.empty() ? files_.GetCurrentDir() : State.StartDir;
    const std::string probe =
        (fs::path(start) / (".veltra-probe-" + std::to_string(::getpid()) + "-" + std::to_string(probes++))).string();
    try {
        files_.WriteNewFile(probe, "");
        files_.Remove(probe);
        State.ListFolder = start;
    } catch (const TVeltraError&) {
        // A program started from a desktop menu may start in a folder it cannot write.
        const std::string folder = UserStateFolder();
        std::error_code ec;
        fs::create_directories(folder, ec);
        ops_.SetStatus(msg::ListsElsewhere(folder, start));
        State.ListFolder = folder;
    }
    return State.ListFolder;
}

// ---------------------------------------------------------------- print, exit, help windows

void TMainFormLogic::FilePrint()
{
    Handle([&] {
        switch (State.CurrentPage) {
        case TPage::Input:
            // The input as the page has it, saved or not, with the titles as typed.
            if (editor_.DataLoaded() || editor_.GroupSaves() > 0) {
                TInputRecord shown = dm_.Rec;
                shown.Title1 = ops_.GetControlText(ctl::Title1Edit);
                shown.Title2 = ops_.GetControlText(ctl::Title2Edit);
                const std::string file = ops_.GetControlText(ctl::FileNameLabel);
                ops_.PrintText(file.empty() ? "New data set" : FileNamePart(file), TextLines(InputFileText(shown)));
                return;
            }
            break;
        case TPage::Output:
            if (State.View == TOutputView::Result && !State.ResultFile.empty() && files_.FileExists(State.ResultFile)) {
                ops_.PrintFile(State.ResultFile);
                return;
            }
            if (!shownText_.empty()) {
                ops_.PrintText(State.View == TOutputView::Errors ? "Input errors" : FileNamePart(out_.Rec.FileName),
                               shownText_);
                return;
            }
            break;
        case TPage::Graphics:
            if (State.GraphMade) {
                ops_.PrintPicture("Graph");
                return;
            }
            break;
        case TPage::Intro:
        case TPage::Figure: break;
        }
        ops_.ShowMessage(msg::NothingToPrint);
    });
}

void TMainFormLogic::ProgramExit()
{
    Handle([&] {
        // No: back to the window, the input as it is.
        if (MayLoseInput(msg::QuitUnsaved))
            ops_.ShowWindow(TWindow::Close);
    });
}

void TMainFormLogic::KrHelp()
{
    Handle([&] { ops_.ShowWindow(TWindow::Help); });
}

void TMainFormLogic::InputSymbols()
{
    Handle([&] { ops_.ShowWindow(TWindow::InputSymbols); });
}

void TMainFormLogic::OutputSymbols()
{
    Handle([&] { ops_.ShowWindow(TWindow::OutputSymbols); });
}

} // namespace veltra
