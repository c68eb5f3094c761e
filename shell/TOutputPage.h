#pragma once
// The Output page's actions: output groups and their tables, group files, the
// clipboard and drawing a group on the Graphics page.
#include "shell/TGraphicsPage.h"
#include "shell/TWindowCore.h"

namespace veltra {

class TOutputPage {
public:
    TOutputPage(TWindowCore& w, TGraphicsPage& graphics) : w_(w), graphics_(graphics) {}

    void ShowGroups();    // "Output groups"
    void Go();            // "Go"
    void SaveGroup();     // "Save group"
    void OpenGroupFile(); // "Group file"
    void ToClipboard();   // "to Clipboard"
    void DrawGraph();     // "See graph"

private:
    // The table of the output group in the grid.
    void FillGrid();
    // The output group `number` (1 to 13) read from the result file on screen.
    void RunGroup(int number);

    TWindowCore& w_;
    TGraphicsPage& graphics_;
};

} // namespace veltra
