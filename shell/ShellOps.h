#pragma once
// The operations through which all window logic reaches the windowing toolkit
// and the print service (the file system it reaches through the TFileSystem it is
// given, model/SafeFile.h). qt/ implements them; tests use TFakeShellOps
// (tests/support/), whose answers are queued and which records what is shown.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/TRunProgress.h"
#include "graphs/TCanvas.h"

namespace veltra {

// ExampleFolder is a folder dialog ("Open example").
enum class TDialog { InputOpen, InputSave, OutputOpen, GraphOpen, GraphSave, GroupOpen, GroupSave, ExampleFolder };
enum class TPage { Intro, Input, Output, Graphics, Figure };
enum class TWindow { Help, InputSymbols, OutputSymbols, Warning, Drain, Alfa, Close };

// Filter and default extension of each file dialog. The filter is a description
// followed by its patterns in parentheses: "Input files (*.inp *.INP)".
struct TDialogInfo {
    const char* Caption;
    const char* Filter;
    const char* DefaultExt;
    bool Save;
};
TDialogInfo DialogInfo(TDialog dialog);

class ShellOps : public TRunProgress {
public:
    ~ShellOps() override = default;

    // Modal boxes.
    virtual void ShowMessage(const std::string& text) = 0;
    virtual bool AskYesNo(const std::string& text) = 0;

    // File dialogs: a full path, or nothing when cancelled.
    virtual std::optional<std::string> ChooseOpenFile(TDialog dialog) = 0;
    virtual std::optional<std::string> ChooseSaveFile(TDialog dialog) = 0;
    virtual void SetDialogFolder(TDialog dialog, const std::string& folder) = 0;
    // A folder dialog: a full path, or nothing when cancelled.
    virtual std::optional<std::string> ChooseFolder(TDialog dialog) = 0;

    // Status line of a window (the main window unless named).
    virtual void SetStatus(const std::string& text) = 0;

    // Busy box of the Input page (WaitMemo); BusyReplaceText and Pause come from TRunProgress.
    virtual void BusyShow() = 0;
    virtual void BusyClear() = 0;
    virtual void BusyAddLine(const std::string& line) = 0;
    virtual void BusyHide() = 0;

    virtual void ShowPage(TPage page) = 0;

    // Plain control state, controls named by their role (Go_Button, ...).
    virtual void ShowControl(const std::string& control) = 0;
    virtual void HideControl(const std::string& control) = 0;
    virtual void EnableControl(const std::string& control) = 0;
    virtual void DisableControl(const std::string& control) = 0;
    virtual void SetControlText(const std::string& control, const std::string& text) = 0;
    virtual std::string GetControlText(const std::string& control) = 0;

    // Result text view of the Output page.
    virtual void TextClear() = 0;
    virtual void TextAddLine(const std::string& line) = 0;
    virtual void TextShow() = 0;
    virtual void TextHide() = 0;

    // Group table grid of the Output page.
    virtual void GridSetSize(int columns, int rows) = 0;
    virtual void GridSetCell(int column, int row, const std::string& text) = 0;
    virtual void GridShow() = 0;
    virtual void GridHide() = 0;

    virtual void ShowWindow(TWindow window) = 0;
    virtual void HideWindow(TWindow window) = 0;

    virtual void PrintFile(const std::string& path) = 0;
    // What a page shows, to the print service: lines of text under a title (the
    // input, the Output page's text), and the chart picture of the Graphics page.
    virtual void PrintText(const std::string& title, const std::vector<std::string>& lines) = 0;
    virtual void PrintPicture(const std::string& title) = 0;
    virtual void SetClipboardText(const std::string& text) = 0;

    // The chart picture of the Graphics page.
    virtual TCanvas& Picture() = 0;
};

// Runs one event of the user to its end: a failure escaping `body` is handed to
// `report` as the text the user reads (an error of the user's data or files as it
// stands, anything else as an internal error); nothing is thrown past the event, not
// even by `report`.
void HandleUserEvent(const std::function<void()>& body, const std::function<void(const std::string&)>& report) noexcept;

} // namespace veltra
