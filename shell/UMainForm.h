#pragma once
// The main window's logic without a toolkit: its state and every workflow of the
// window (start, the pages, open, save and run, the year-by-year dialogue, the
// outcome of a run, the Output and Graphics page actions, print, exit), all
// through the shell operations. The Qt window (qt/TMainForm) calls one public
// member per user event; tests call them with scripted operations.
//
// The members are defined in several files: UMainForm.cpp (start, pages, open,
// save and run, print, exit), UYearDialogue.cpp (the year-by-year dialogue),
// UOutputDisplay.cpp (the outcome of a run, opening and closing a result file),
// UOutputPage.cpp (output groups, group files, clipboard, drawing) and
// UGraphicsPage.cpp (saving and opening a graph).
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/SafeFile.h"
#include "model/TEngineState.h"
#include "model/UDataMod.h"
#include "shell/ShellOps.h"
#include "shell/TInputEditorHooks.h"

namespace veltra {

// What the text view of the Output page holds, which decides what "Save group" saves.
enum class TOutputView {
    None,
    Result,    // a result file
    Errors,    // the input errors of a run
    Table,     // the table of an output group ("Go", options 1 to 12)
    Frequency, // the frequency file ("Go", option 13): saved as shown
    GroupFile, // a group file read back: saved as read
    Text       // a file that is not a group file, shown as text
};

// The window's run flags and folders.
struct TShellState {
    bool SaveCancelled = false;   // the last file-name question of a save was cancelled
    bool OutputPresent = false;   // a run left output that the Output page may show
    bool GraphMade = false;       // a graph was drawn or opened since the Output page was shown
    bool InputErrors = false;     // the last input check found errors
    bool RuntimeWarnings = false; // the last run left warnings to be shown
    bool NewRun = true;           // the next save starts a new run
    bool OutputPending = false;   // a run passed its check; the Output page has not shown it yet
    std::string StartDir;         // working folder at the start
    std::string RunDir;           // folder of the first input file of the current run
    std::string CurrentDir;       // folder of the last file chosen; all dialogs open there
    int ErrorCount = 0;           // lines of the error list as last read
    int WarningCount = 0;         // lines of the warning list as last read
    // The input as last read from or written to a file: the groups saved by then and
    // the titles. The input is unsaved when either differs now.
    int GroupSavesInFile = 0;
    std::string Title1InFile;
    std::string Title2InFile;
    TPage CurrentPage = TPage::Intro;
    TOutputView View = TOutputView::None;
    // The result file of the run on screen (after a run or "Open output file"): "Go"
    // reads it, whatever group file was opened since.
    std::string ResultFile;
    // The warning list of a year-by-year series: the warnings of every year so far.
    std::vector<std::string> SeriesWarnings;
    // Where Error.lst and warning.lst went at the last run: the start folder, or the
    // per-user state folder when the start folder cannot be written.
    std::string ListFolder;
};

class TMainFormLogic {
public:
    // `dm`, `st` and `carry` live as long as the window; every file operation of the
    // window goes through `files` (tests make it fail).
    TMainFormLogic(ShellOps& ops, TDataMod& dm, TEngineState& st, TAnnualCarry& carry, TInputEditorHooks& editor,
                   TFileSystem& files = RealFileSystem());

    // The window was created: the Intro page in front, the start folder noted.
    void Start();
    // The user brought a page to the front (a tab click).
    void PageShown(TPage page);

    // ---- File menu and Input page
    void InputOpen();                            // "Open input file"
    void OpenInputFile(const std::string& path); // a file named at the start, as if chosen
    // "Open example": the bundled examples field.inp and wells.inp written into a
    // folder the user picks (a different file of either name replaced only after a
    // yes), then field.inp opened.
    void OpenExample();
    void InputSave(); // " Save / run "
    void FilePrint();
    void ProgramExit();
    void KrHelp();
    void InputSymbols(); // "Symbols" of the Input page, "Symbols list" of the Figure page

    // ---- Output page
    void OutputOpen();    // "Open output file", "Output file"
    void CloseOutput();   // "Close output"
    void OutputGroups();  // "Output groups"
    void Go();            // "Go"
    void GroupSave();     // "Save group"
    void GroupOpen();     // "Group file"
    void ToClipboard();   // "to Clipboard"
    void SeeGraph();      // "See graph"
    void OutputSymbols(); // "Symbols" of the Output and Graphics pages

    // ---- Graphics page
    void GraphSave(); // "Save graph"
    void GraphOpen(); // "Open graph "

    TShellState State;
    // The input record being edited and run, with the error and warning lines.
    TDataMod& Data() { return dm_; }
    // The output side: the result, group or frequency file read last, its group
    // store and table, and its own copy of the run's shape (Ns, Ny, Ts), so that
    // reading output never changes the input being edited.
    const TDataMod& OutputData() const { return out_; }

private:
    // Runs one user event to its end (HandleUserEvent); a failure hides the busy box
    // before it is shown.
    void Handle(const std::function<void()>& body) noexcept;

    void BringToFront(TPage page);
    void ShowPageBehaviour(TPage page);
    void SetAllDialogFolders(const std::string& folder);
    bool SeriesInProgress() const;
    // The input was read from or written to a file: nothing of it is unsaved.
    void NoteInputInFile();
    // Since then a group was saved with "Save group" or a title changed (values a run
    // writes back do not count).
    bool InputUnsaved();
    // True when nothing unsaved would be lost, or the user agrees to lose it.
    bool MayLoseInput(const std::string& question);

    // The steps of the file dialogues that the pages share (UMainForm.cpp).
    // The file chosen in the Open dialogue `dialog`; nothing, after saying
    // `nothingChosen`, when the dialogue was cancelled.
    std::optional<std::string> ChooseFileToOpen(TDialog dialog, const std::string& nothingChosen);
    // True when the file `path` is there; otherwise says that it is missing.
    bool FileThere(const std::string& path);
    // The file a Save dialogue chose: the choice made a file name by `fileName`,
    // asked for again while that has more than one dot in its name. Nothing when the
    // dialogue was cancelled (Cancelled) or the user keeps the file already there.
    struct TSaveChoice {
        std::optional<std::string> Path;
        bool Cancelled = false;
    };
    TSaveChoice ChooseFileToSave(TDialog dialog, const std::function<std::string(const std::string&)>& fileName);

    // UMainForm.cpp
    void IntroShown();
    void InputShown();
    void GraphicsShown();
    void FigureShown();
    // `askFirst`: unsaved input is not given up without the user's yes.
    void OpenInput(const std::string& path, bool askFirst = true);
    bool ChooseInputName(bool forceDialog);
    void SaveAndRun();
    // One check and run, its outcome noted for the Output page; false when the
    // input had errors (the Output page lists them).
    bool CalculateStep();
    std::string ListFolder();

    // UYearDialogue.cpp
    enum class TYearStep { RunNextAtOnce, WaitForInput, SeriesOver };
    void ConductSeries();
    TYearStep YearDialogue();
    void TakeSeriesWarnings();
    void FinishSeriesWarnings();
    void EndSeriesNow();

    // UOutputDisplay.cpp
    void OutputShown();
    void OpenOutput();
    void FillWarningMemo();

    // UOutputPage.cpp
    // The text view of the Output page filled (and shown) with `lines`.
    void FillTextView(const std::vector<std::string>& lines);
    void ShowTextLines(const std::vector<std::string>& lines);
    void FillGrid();
    void SaveGroupAs();
    void OpenGroupFile();
    void DrawGraph();

    // UGraphicsPage.cpp
    void SaveGraphAs();
    void OpenGraph();

    ShellOps& ops_;
    TDataMod& dm_;
    TDataMod out_;
    TEngineState& st_;
    TAnnualCarry& carry_;
    TInputEditorHooks& editor_;
    TFileSystem& files_;
    std::vector<std::string> shownText_; // the text of the Output page, for Print
};

// The folder for Error.lst and warning.lst when the start folder cannot be written:
// $XDG_STATE_HOME/veltra, by default ~/.local/state/veltra.
std::string UserStateFolder();

// The file-name part of a path, and the number of dots in it (folders not counted).
std::string FileNamePart(const std::string& path);
int DotsInFileName(const std::string& path);

} // namespace veltra
