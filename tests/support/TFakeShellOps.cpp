#include "support/TFakeShellOps.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <system_error>

namespace veltra {

namespace fs = std::filesystem;

void TFakeShellOps::ShowMessage(const std::string& text)
{
    Messages.push_back(text);
    Events.push_back("message: " + text);
}

bool TFakeShellOps::AskYesNo(const std::string& text)
{
    Questions.push_back(text);
    Events.push_back("question: " + text);
    if (YesNoAnswers.empty())
        throw std::logic_error("unexpected question: " + text);
    const bool answer = YesNoAnswers.front();
    YesNoAnswers.pop_front();
    return answer;
}

std::optional<std::string> TFakeShellOps::NextFile(TDialog dialog, const char* kind)
{
    FileDialogs.push_back(dialog);
    Events.push_back(std::string(kind) + ": " + DialogInfo(dialog).Filter);
    if (FileAnswers.empty())
        throw std::logic_error(std::string("unexpected ") + kind + " dialog: " + DialogInfo(dialog).Filter);
    auto answer = FileAnswers.front();
    FileAnswers.pop_front();
    return answer;
}

std::optional<std::string> TFakeShellOps::ChooseOpenFile(TDialog dialog)
{
    return NextFile(dialog, "open");
}

std::optional<std::string> TFakeShellOps::ChooseSaveFile(TDialog dialog)
{
    return NextFile(dialog, "save");
}

void TFakeShellOps::SetDialogFolder(TDialog dialog, const std::string& folder)
{
    DialogFolders[dialog] = folder;
}

void TFakeShellOps::SetStatus(const std::string& text)
{
    StatusTexts.push_back(text);
    Events.push_back("status: " + text);
}

void TFakeShellOps::BusyShow()
{
    BusyVisible = true;
}

void TFakeShellOps::BusyClear()
{
    BusyLines.clear();
}

void TFakeShellOps::BusyAddLine(const std::string& line)
{
    BusyLines.push_back(line);
    Events.push_back("busy: " + line);
}

void TFakeShellOps::BusyReplaceText(const std::string& text)
{
    BusyLines.assign(1, text);
    Events.push_back("busy: " + text);
}

void TFakeShellOps::BusyHide()
{
    BusyVisible = false;
}

void TFakeShellOps::Pause(int milliseconds)
{
    Pauses.push_back(milliseconds);
}

void TFakeShellOps::ShowPage(TPage page)
{
    ShownPages.push_back(page);
}

void TFakeShellOps::ShowControl(const std::string& control)
{
    Controls[control].Visible = true;
}

void TFakeShellOps::HideControl(const std::string& control)
{
    Controls[control].Visible = false;
}

void TFakeShellOps::EnableControl(const std::string& control)
{
    Controls[control].Enabled = true;
}

void TFakeShellOps::DisableControl(const std::string& control)
{
    Controls[control].Enabled = false;
}

void TFakeShellOps::SetControlText(const std::string& control, const std::string& text)
{
    Controls[control].Text = text;
}

std::string TFakeShellOps::GetControlText(const std::string& control)
{
    auto it = Controls.find(control);
    return it == Controls.end() ? std::string() : it->second.Text;
}

void TFakeShellOps::TextClear()
{
    TextLines.clear();
}

void TFakeShellOps::TextAddLine(const std::string& line)
{
    TextLines.push_back(line);
}

void TFakeShellOps::TextShow()
{
    TextVisible = true;
}

void TFakeShellOps::TextHide()
{
    TextVisible = false;
}

void TFakeShellOps::GridSetSize(int columns, int rows)
{
    GridColumns = columns;
    GridRows = rows;
    // Cells outside the new size are gone, as in a resized grid.
    for (auto it = GridCells.begin(); it != GridCells.end();) {
        if (it->first.first >= columns || it->first.second >= rows)
            it = GridCells.erase(it);
        else
            ++it;
    }
}

void TFakeShellOps::GridSetCell(int column, int row, const std::string& text)
{
    if (column < 0 || row < 0 || column >= GridColumns || row >= GridRows)
        throw std::out_of_range("grid cell (" + std::to_string(column) + ", " + std::to_string(row) +
                                ") outside the grid");
    GridCells[{column, row}] = text;
}

void TFakeShellOps::GridShow()
{
    GridVisible = true;
}

void TFakeShellOps::GridHide()
{
    GridVisible = false;
}

void TFakeShellOps::ShowWindow(TWindow window)
{
    VisibleWindows.insert(window);
}

void TFakeShellOps::HideWindow(TWindow window)
{
    VisibleWindows.erase(window);
}

bool TFakeShellOps::FileExists(const std::string& path)
{
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

bool TFakeShellOps::DeleteFile(const std::string& path)
{
    std::error_code ec;
    return fs::remove(path, ec) && !ec;
}

bool TFakeShellOps::CreateEmptyFile(const std::string& path)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    return static_cast<bool>(out);
}

std::string TFakeShellOps::GetCurrentDir()
{
    std::error_code ec;
    return fs::current_path(ec).string();
}

bool TFakeShellOps::SetCurrentDir(const std::string& path)
{
    std::error_code ec;
    fs::current_path(path, ec);
    return !ec;
}

void TFakeShellOps::PrintFile(const std::string& path)
{
    PrintedFiles.push_back(path);
}

void TFakeShellOps::SetClipboardText(const std::string& text)
{
    ClipboardText = text;
}

std::string TFakeShellOps::Cell(int column, int row) const
{
    auto it = GridCells.find({column, row});
    return it == GridCells.end() ? std::string() : it->second;
}

} // namespace veltra
