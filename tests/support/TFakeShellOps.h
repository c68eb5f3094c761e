#pragma once
// Scripted shell operations for tests: answers come from queues, everything
// shown is recorded, file-system operations act on the real file system and
// pauses are recorded without waiting. A question or file dialog that the test
// did not queue an answer for throws, so an unplanned dialog fails loudly.
#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "support/TRecordingCanvas.h"
#include "shell/ShellOps.h"

namespace veltra {

struct TFakeControl {
    bool Visible = true;
    bool Enabled = true;
    std::string Text;
};

class TFakeShellOps final : public ShellOps {
public:
    // Queued answers.
    std::deque<bool> YesNoAnswers;
    std::deque<std::optional<std::string>> FileAnswers;

    // What was shown, in order.
    std::vector<std::string> Messages;
    std::vector<std::string> Questions;
    std::vector<TDialog> FileDialogs;
    std::map<TDialog, std::string> DialogFolders;
    std::vector<std::string> StatusTexts;
    std::vector<TPage> ShownPages;
    std::vector<int> Pauses;
    std::vector<std::string> PrintedFiles;
    std::string ClipboardText;
    // Every message, question, status text and busy-box text in one list,
    // each prefixed by its kind ("message: ", "question: ", "status: ", "busy: ").
    std::vector<std::string> Events;

    // Present state.
    bool BusyVisible = false;
    std::vector<std::string> BusyLines;
    std::map<std::string, TFakeControl> Controls;
    bool TextVisible = false;
    std::vector<std::string> TextLines;
    bool GridVisible = false;
    int GridColumns = 0;
    int GridRows = 0;
    std::map<std::pair<int, int>, std::string> GridCells; // (column, row)
    std::set<TWindow> VisibleWindows;
    TRecordingCanvas Canvas;

    void ShowMessage(const std::string& text) override;
    bool AskYesNo(const std::string& text) override;
    std::optional<std::string> ChooseOpenFile(TDialog dialog) override;
    std::optional<std::string> ChooseSaveFile(TDialog dialog) override;
    void SetDialogFolder(TDialog dialog, const std::string& folder) override;
    void SetStatus(const std::string& text) override;

    void BusyShow() override;
    void BusyClear() override;
    void BusyAddLine(const std::string& line) override;
    void BusyReplaceText(const std::string& text) override;
    void BusyHide() override;
    void Pause(int milliseconds) override;

    void ShowPage(TPage page) override;

    void ShowControl(const std::string& control) override;
    void HideControl(const std::string& control) override;
    void EnableControl(const std::string& control) override;
    void DisableControl(const std::string& control) override;
    void SetControlText(const std::string& control, const std::string& text) override;
    std::string GetControlText(const std::string& control) override;

    void TextClear() override;
    void TextAddLine(const std::string& line) override;
    void TextShow() override;
    void TextHide() override;

    void GridSetSize(int columns, int rows) override;
    void GridSetCell(int column, int row, const std::string& text) override;
    void GridShow() override;
    void GridHide() override;

    void ShowWindow(TWindow window) override;
    void HideWindow(TWindow window) override;

    bool FileExists(const std::string& path) override;
    bool DeleteFile(const std::string& path) override;
    bool CreateEmptyFile(const std::string& path) override;
    std::string GetCurrentDir() override;
    bool SetCurrentDir(const std::string& path) override;

    void PrintFile(const std::string& path) override;
    void SetClipboardText(const std::string& text) override;

    TCanvas& Picture() override { return Canvas; }

    // The text of a grid cell, empty when never set.
    std::string Cell(int column, int row) const;

private:
    std::optional<std::string> NextFile(TDialog dialog, const char* kind);
};

} // namespace veltra
