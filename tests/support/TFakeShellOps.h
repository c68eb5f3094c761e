#pragma once
// Scripted shell operations for tests: answers come from queues, everything
// shown is recorded and pauses are recorded without waiting. A question or file dialog that the test
// did not queue an answer for throws, so an unplanned dialog fails loudly.
#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "shell/ShellOps.h"
#include "support/TRecordingCanvas.h"

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
    std::map<TDialog, std::string> DialogFolders;
    std::vector<std::string> StatusTexts;
    std::vector<TPage> ShownPages;
    std::vector<int> Pauses;
    std::vector<std::string> PrintedFiles;
    std::vector<std::pair<std::string, std::vector<std::string>>> PrintedTexts; // title, lines
    std::vector<std::string> PrintedPictures;                                   // titles
    std::string ClipboardText;
    // Every message, question, status text and busy-box text in one list,
    // each prefixed by its kind ("message: ", "question: ", "status: ", "busy: ").
    std::vector<std::string> Events;

    // Present state.
    bool BusyVisible = false;
    std::map<std::string, TFakeControl> Controls;
    bool TextVisible = false;
    std::vector<std::string> TextLines;
    bool GridVisible = false;
    int GridColumns = 0;
    int GridRows = 0;
    std::map<std::pair<int, int>, std::string> GridCells; // (column, row)
    std::set<TWindow> VisibleWindows;
    TRecordingCanvas Canvas;

    void ShowMessage(const std::string& text) override { Record(Messages, "message: ", text); }
    bool AskYesNo(const std::string& text) override;
    std::optional<std::string> ChooseOpenFile(TDialog dialog) override { return NextFile(dialog, "open"); }
    std::optional<std::string> ChooseSaveFile(TDialog dialog) override { return NextFile(dialog, "save"); }
    void SetDialogFolder(TDialog dialog, const std::string& folder) override { DialogFolders[dialog] = folder; }
    std::optional<std::string> ChooseFolder(TDialog dialog) override { return NextFile(dialog, "folder"); }
    void SetStatus(const std::string& text) override { Record(StatusTexts, "status: ", text); }

    void BusyShow() override { BusyVisible = true; }
    void BusyClear() override {}
    void BusyAddLine(const std::string& line) override { Events.push_back("busy: " + line); }
    void BusyReplaceText(const std::string& text) override { BusyAddLine(text); }
    void BusyHide() override { BusyVisible = false; }
    void Pause(int milliseconds) override { Pauses.push_back(milliseconds); }

    void ShowPage(TPage page) override { ShownPages.push_back(page); }

    void ShowControl(const std::string& control) override { Controls[control].Visible = true; }
    void HideControl(const std::string& control) override { Controls[control].Visible = false; }
    void EnableControl(const std::string& control) override { Controls[control].Enabled = true; }
    void DisableControl(const std::string& control) override { Controls[control].Enabled = false; }
    void SetControlText(const std::string& control, const std::string& text) override { Controls[control].Text = text; }
    std::string GetControlText(const std::string& control) override;

    void TextClear() override { TextLines.clear(); }
    void TextAddLine(const std::string& line) override { TextLines.push_back(line); }
    void TextShow() override { TextVisible = true; }
    void TextHide() override { TextVisible = false; }

    void GridSetSize(int columns, int rows) override;
    void GridSetCell(int column, int row, const std::string& text) override;
    void GridShow() override { GridVisible = true; }
    void GridHide() override { GridVisible = false; }

    void ShowWindow(TWindow window) override { VisibleWindows.insert(window); }
    void HideWindow(TWindow window) override { VisibleWindows.erase(window); }

    void PrintFile(const std::string& path) override { PrintedFiles.push_back(path); }
    void PrintText(const std::string& title, const std::vector<std::string>& lines) override
    {
        PrintedTexts.emplace_back(title, lines);
    }
    void PrintPicture(const std::string& title) override { PrintedPictures.push_back(title); }
    void SetClipboardText(const std::string& text) override { ClipboardText = text; }

    TCanvas& Picture() override { return Canvas; }

    // The text of a grid cell, empty when never set.
    std::string Cell(int column, int row) const;

private:
    // Shown: kept in its own list and, prefixed by its kind, among the events.
    void Record(std::vector<std::string>& list, const char* kind, const std::string& text)
    {
        list.push_back(text);
        Events.push_back(kind + text);
    }
    std::optional<std::string> NextFile(TDialog dialog, const char* kind);
};

} // namespace veltra
