#pragma once
// The window's shell operations with its dialogues answered from a script, for
// `veltra-gui --screenshots` and the window's own tests: the real window runs, but
// no modal box, file dialog or print dialog comes up. Messages are collected (and
// passed to Log) with the caption of the window each would stand over, questions
// take the queued answers and then DefaultYes, file and folder dialogs take the
// queued paths and then report a cancel, printing is noted. Everything else is the
// window's own.
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "qt/TQtShellOps.h"
#include "shell/ShellOps.h"

namespace veltra {

struct TAutoAnswers {
    std::deque<std::optional<std::string>> Files;
    std::deque<bool> YesNo;
    bool DefaultYes = true;
    // "message: ...", "question: ...", "open: ...", "save: ...", "folder: ...",
    // "print: ...", in order.
    std::vector<std::string> Shown;
    // Beside each line of Shown: the caption of the window the box would stand over.
    std::vector<std::string> Over;
    std::function<void(const std::string&)> Log;

    void Record(const std::string& line)
    {
        Shown.push_back(line);
        if (Log)
            Log(line);
    }
    bool NextYesNo()
    {
        if (YesNo.empty())
            return DefaultYes;
        const bool answer = YesNo.front();
        YesNo.pop_front();
        return answer;
    }
    std::optional<std::string> NextFile()
    {
        if (Files.empty())
            return std::nullopt;
        std::optional<std::string> file = Files.front();
        Files.pop_front();
        return file;
    }
};

class TScriptedShellOps final : public ShellOps {
public:
    TScriptedShellOps(TQtShellOps& window, TAutoAnswers& answers) : window_(window), answers_(answers) {}

    // ---- Answered from the script
    void ShowMessage(const std::string& text) override;
    bool AskYesNo(const std::string& text) override;
    std::optional<std::string> ChooseOpenFile(TDialog dialog) override;
    std::optional<std::string> ChooseSaveFile(TDialog dialog) override;
    std::optional<std::string> ChooseFolder(TDialog dialog) override;
    void PrintFile(const std::string& path) override;
    void PrintText(const std::string& title, const std::vector<std::string>& lines) override;
    void PrintPicture(const std::string& title) override;

    // ---- The window's own
    void SetDialogFolder(TDialog dialog, const std::string& folder) override
    {
        window_.SetDialogFolder(dialog, folder);
    }
    void SetStatus(const std::string& text) override { window_.SetStatus(text); }
    void BusyShow() override { window_.BusyShow(); }
    void BusyClear() override { window_.BusyClear(); }
    void BusyAddLine(const std::string& line) override { window_.BusyAddLine(line); }
    void BusyReplaceText(const std::string& text) override { window_.BusyReplaceText(text); }
    void BusyHide() override { window_.BusyHide(); }
    void Pause(int milliseconds) override { window_.Pause(milliseconds); }
    void ShowPage(TPage page) override { window_.ShowPage(page); }
    void ShowControl(const std::string& control) override { window_.ShowControl(control); }
    void HideControl(const std::string& control) override { window_.HideControl(control); }
    void EnableControl(const std::string& control) override { window_.EnableControl(control); }
    void DisableControl(const std::string& control) override { window_.DisableControl(control); }
    void SetControlText(const std::string& control, const std::string& text) override
    {
        window_.SetControlText(control, text);
    }
    std::string GetControlText(const std::string& control) override { return window_.GetControlText(control); }
    void TextClear() override { window_.TextClear(); }
    void TextAddLine(const std::string& line) override { window_.TextAddLine(line); }
    void TextShow() override { window_.TextShow(); }
    void TextHide() override { window_.TextHide(); }
    void GridSetSize(int columns, int rows) override { window_.GridSetSize(columns, rows); }
    void GridSetCell(int column, int row, const std::string& text) override { window_.GridSetCell(column, row, text); }
    void GridShow() override { window_.GridShow(); }
    void GridHide() override { window_.GridHide(); }
    void ShowWindow(TWindow window) override { window_.ShowWindow(window); }
    void HideWindow(TWindow window) override { window_.HideWindow(window); }
    void SetClipboardText(const std::string& text) override { window_.SetClipboardText(text); }
    TCanvas& Picture() override { return window_.Picture(); }

private:
    // Notes `line`, and the window the box or dialog would stand over.
    void Record(const std::string& line);
    std::optional<std::string> ChooseFile(TDialog dialog);

    TQtShellOps& window_;
    TAutoAnswers& answers_;
};

// For TMainForm: the window's shell operations with the dialogues answered by
// `answers`, which outlives the window.
TShellOpsDecorator Scripted(TAutoAnswers& answers);

} // namespace veltra
