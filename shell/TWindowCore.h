#pragma once
// What the pages of the main window share: the window's run flags and folders, the
// records, the shell operations, the editor and the file system, and the steps that
// several pages take (the file dialogues, the question before unsaved input is
// lost, the text view of the Output page, the warning window). TMainFormLogic
// (UMainForm.h) owns it and hands it to each page by reference.
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

// Brings a page of the main window to the front, which runs the page's page-shown
// behaviour: the window does it, for the page of any workflow.
class TPageFront {
public:
    virtual ~TPageFront() = default;
    virtual void BringToFront(TPage page) = 0;
};

// The records, operations and flags every page works on, and the steps pages share.
class TWindowCore {
public:
    TWindowCore(TShellState& state, ShellOps& ops, TDataMod& dm, TEngineState& st, TAnnualCarry& carry,
                TInputEditorHooks& editor, TFileSystem& files, TPageFront& front);

    TShellState& State;
    ShellOps& Ops;
    // The input record being edited and run, with the error and warning lines.
    TDataMod& Dm;
    // The output side: the result, group or frequency file read last, its group
    // store and table, and its own copy of the run's shape (Ns, Ny, Ts), so that
    // reading output never changes the input being edited.
    TDataMod Out;
    TEngineState& St;
    TAnnualCarry& Carry;
    TInputEditorHooks& Editor;
    // Every file operation of the window goes through it.
    TFileSystem& Files;
    std::vector<std::string> ShownText; // the text of the Output page, for Print

    // Runs one user event to its end (HandleUserEvent); a failure hides the busy box
    // before it is shown.
    void Handle(const std::function<void()>& body) noexcept;
    // Runs a step of an event as an event is run; the event goes on after a failure
    // of the step, which was shown: false.
    bool Attempt(const std::function<void()>& step) noexcept;

    void BringToFront(TPage page) { front_.BringToFront(page); }
    void SetAllDialogFolders(const std::string& folder);
    bool SeriesInProgress() const;

    // The input was read from or written to a file: nothing of it is unsaved.
    void NoteInputInFile();
    // True when nothing unsaved would be lost, or the user agrees to lose it. Unsaved:
    // since the input was in a file a group was saved with "Save group" or a title
    // changed (values a run writes back do not count).
    bool MayLoseInput(const std::string& question);

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

    // The text view of the Output page filled with `lines`, which Print prints there;
    // ShowTextLines shows it too.
    void FillTextView(const std::vector<std::string>& lines);
    void ShowTextLines(const std::vector<std::string>& lines);
    // `message`, then the warnings of the last run (or series) in the warning window.
    void ShowRunWarnings(const std::string& message);

private:
    bool InputUnsaved();

    TPageFront& front_;
};

// The folder for Error.lst and warning.lst when the start folder cannot be written:
// $XDG_STATE_HOME/veltra, by default ~/.local/state/veltra.
std::string UserStateFolder();

// The folder of a path, the file-name part of a path, and the number of dots in it
// (folders not counted).
std::string FolderOf(const std::string& path);
std::string FileNamePart(const std::string& path);
int DotsInFileName(const std::string& path);

} // namespace veltra
