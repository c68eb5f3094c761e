#pragma once
// The Graphics page: the page shown, the chart picture shown after it was drawn or
// opened, saving the picture and opening a saved one.
#include "shell/TWindowCore.h"

namespace veltra {

class TGraphicsPage {
public:
    explicit TGraphicsPage(TWindowCore& w) : w_(w) {}

    void Shown();
    // The picture holds a graph: it is shown on the page, which comes to the front.
    void ShowPicture();
    void SaveGraph(); // "Save graph"
    void OpenGraph(); // "Open graph "

private:
    TWindowCore& w_;
};

} // namespace veltra
