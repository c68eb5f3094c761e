#include "shell/TWindowCore.h"

#include <cstdlib>
#include <filesystem>

#include "shell/ControlNames.h"
#include "shell/WindowMessages.h"

namespace veltra {

namespace fs = std::filesystem;

namespace {

constexpr TDialog AllDialogs[] = {TDialog::InputOpen, TDialog::InputSave, TDialog::OutputOpen, TDialog::GraphOpen,
                                  TDialog::GraphSave, TDialog::GroupOpen, TDialog::GroupSave,  TDialog::ExampleFolder};

} // namespace

std::string FolderOf(const std::string& path)
{
    return fs::path(path).parent_path().lexically_normal().string();
}

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

TWindowCore::TWindowCore(TShellState& state, ShellOps& ops, TDataMod& dm, TEngineState& st, TAnnualCarry& carry,
                         TInputEditorHooks& editor, TFileSystem& files, TPageFront& front)
    : State(state), Ops(ops), Dm(dm), St(st), Carry(carry), Editor(editor), Files(files), front_(front)
{}

// ---------------------------------------------------------------- handling one event

void TWindowCore::Handle(const std::function<void()>& body) noexcept
{
    HandleUserEvent(body, [&](const std::string& text) {
        Ops.BusyHide();
        Ops.ShowMessage(text);
    });
}

bool TWindowCore::Attempt(const std::function<void()>& step) noexcept
{
    bool done = false;
    Handle([&] {
        step();
        done = true;
    });
    return done;
}

// ---------------------------------------------------------------- shared steps

void TWindowCore::SetAllDialogFolders(const std::string& folder)
{
    for (TDialog d : AllDialogs)
        Ops.SetDialogFolder(d, folder);
}

bool TWindowCore::SeriesInProgress() const
{
    const TInputRecord& rec = Dm.Rec;
    return rec.Shell.AnnualMode == 1 && rec.Shell.YearNr >= 2 && rec.Shell.SeriesEnded == 0;
}

void TWindowCore::NoteInputInFile()
{
    State.GroupSavesInFile = Editor.GroupSaves();
    State.Title1InFile = Ops.GetControlText(ctl::Title1Edit);
    State.Title2InFile = Ops.GetControlText(ctl::Title2Edit);
}

bool TWindowCore::InputUnsaved()
{
    return Editor.GroupSaves() != State.GroupSavesInFile || Ops.GetControlText(ctl::Title1Edit) != State.Title1InFile ||
           Ops.GetControlText(ctl::Title2Edit) != State.Title2InFile;
}

bool TWindowCore::MayLoseInput(const std::string& question)
{
    return !InputUnsaved() || Ops.AskYesNo(question);
}

// ---------------------------------------------------------------- file dialogues

std::optional<std::string> TWindowCore::ChooseFileToOpen(TDialog dialog, const std::string& nothingChosen)
{
    std::optional<std::string> chosen = Ops.ChooseOpenFile(dialog);
    if (!chosen)
        Ops.ShowMessage(nothingChosen);
    return chosen;
}

bool TWindowCore::FileThere(const std::string& path)
{
    if (Files.FileExists(path))
        return true;
    Ops.ShowMessage(msg::FileMissing);
    return false;
}

TWindowCore::TSaveChoice TWindowCore::ChooseFileToSave(TDialog dialog,
                                                       const std::function<std::string(const std::string&)>& fileName)
{
    for (;;) {
        const std::optional<std::string> chosen = Ops.ChooseSaveFile(dialog);
        if (!chosen)
            return {std::nullopt, true};
        const std::string path = fileName(*chosen);
        if (Files.FileExists(path) && !Ops.AskYesNo(msg::Overwrite))
            return {};
        // Dots of the file name only: a folder such as /home/j.smith is fine.
        if (DotsInFileName(path) < 2)
            return {path, false};
        Ops.ShowMessage(msg::TooManyDots);
    }
}

// ---------------------------------------------------------------- the Output page's text, the warnings

void TWindowCore::FillTextView(const std::vector<std::string>& lines)
{
    Ops.TextClear();
    for (const std::string& line : lines)
        Ops.TextAddLine(line);
    ShownText = lines; // what Print prints on this page
}

void TWindowCore::ShowTextLines(const std::vector<std::string>& lines)
{
    FillTextView(lines);
    Ops.TextShow();
}

void TWindowCore::ShowRunWarnings(const std::string& message)
{
    Ops.ShowMessage(message);
    std::string text = "\n";
    for (int i = 0; i < State.WarningCount && i < static_cast<int>(Dm.WarningLines.size()); ++i)
        text += Dm.WarningLines[static_cast<std::size_t>(i)] + "\n";
    Ops.SetControlText(ctl::WarningMemo, text);
    Ops.ShowWindow(TWindow::Warning);
    State.RuntimeWarnings = false;
}

} // namespace veltra
