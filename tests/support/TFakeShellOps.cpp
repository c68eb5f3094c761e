#include "support/TFakeShellOps.h"

#include <stdexcept>

namespace veltra {

bool TFakeShellOps::AskYesNo(const std::string& text)
{
    Record(Questions, "question: ", text);
    if (YesNoAnswers.empty())
        throw std::logic_error("unexpected question: " + text);
    const bool answer = YesNoAnswers.front();
    YesNoAnswers.pop_front();
    return answer;
}

std::optional<std::string> TFakeShellOps::NextFile(TDialog dialog, const char* kind)
{
    // A folder dialog has no filter: its caption tells it.
    const TDialogInfo info = DialogInfo(dialog);
    const std::string what = *info.Filter != '\0' ? info.Filter : info.Caption;
    Events.push_back(std::string(kind) + ": " + what);
    if (FileAnswers.empty())
        throw std::logic_error(std::string("unexpected ") + kind + " dialog: " + what);
    auto answer = FileAnswers.front();
    FileAnswers.pop_front();
    return answer;
}

std::string TFakeShellOps::GetControlText(const std::string& control)
{
    auto it = Controls.find(control);
    return it == Controls.end() ? std::string() : it->second.Text;
}

void TFakeShellOps::GridSetSize(int columns, int rows)
{
    GridColumns = columns;
    GridRows = rows;
    // Cells outside the new size are gone, as in a resized grid.
    std::erase_if(GridCells,
                  [&](const auto& cell) { return cell.first.first >= columns || cell.first.second >= rows; });
}

void TFakeShellOps::GridSetCell(int column, int row, const std::string& text)
{
    if (column < 0 || row < 0 || column >= GridColumns || row >= GridRows)
        throw std::out_of_range("grid cell (" + std::to_string(column) + ", " + std::to_string(row) +
                                ") outside the grid");
    GridCells[{column, row}] = text;
}

std::string TFakeShellOps::Cell(int column, int row) const
{
    auto it = GridCells.find({column, row});
    return it == GridCells.end() ? std::string() : it->second;
}

} // namespace veltra
