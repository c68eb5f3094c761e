#include "qt/TScriptedShellOps.h"

#include <filesystem>

#include <QWidget>

#include "results/TextLists.h"

namespace veltra {

void TScriptedShellOps::Record(const std::string& line)
{
    answers_.Over.push_back(window_.FrontWindow()->windowTitle().toStdString());
    answers_.Record(line);
}

void TScriptedShellOps::ShowMessage(const std::string& text)
{
    Record("message: " + text);
}

bool TScriptedShellOps::AskYesNo(const std::string& text)
{
    Record("question: " + text);
    return answers_.NextYesNo();
}

std::optional<std::string> TScriptedShellOps::ChooseFile(TDialog dialog)
{
    const TDialogInfo info = DialogInfo(dialog);
    Record(std::string(info.Save ? "save: " : "open: ") + info.Filter);
    return answers_.NextFile();
}

std::optional<std::string> TScriptedShellOps::ChooseOpenFile(TDialog dialog)
{
    return ChooseFile(dialog);
}

std::optional<std::string> TScriptedShellOps::ChooseSaveFile(TDialog dialog)
{
    return ChooseFile(dialog);
}

std::optional<std::string> TScriptedShellOps::ChooseFolder(TDialog dialog)
{
    Record(std::string("folder: ") + DialogInfo(dialog).Caption);
    return answers_.NextFile();
}

void TScriptedShellOps::PrintFile(const std::string& path)
{
    // Read as the window reads it: a file that cannot be read fails the same way.
    std::vector<std::string> lines;
    ReadTextLines(path, lines);
    PrintText(std::filesystem::path(path).filename().string(), lines);
}

void TScriptedShellOps::PrintText(const std::string& title, const std::vector<std::string>&)
{
    Record("print: " + title);
}

void TScriptedShellOps::PrintPicture(const std::string& title)
{
    Record("print: " + title);
}

TShellOpsDecorator Scripted(TAutoAnswers& answers)
{
    return [&answers](TQtShellOps& window) { return std::make_unique<TScriptedShellOps>(window, answers); };
}

} // namespace veltra
