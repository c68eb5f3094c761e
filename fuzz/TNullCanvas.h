#pragma once
// A canvas that paints nothing, for drawing charts in the fuzz targets: the chart's
// arithmetic runs as `veltra chart` runs it, without the toolkit.
#include <string>

#include "graphs/TCanvas.h"

namespace veltra::fuzz {

class TNullCanvas final : public TCanvas {
public:
    void FillRect(int, int, int, int, TColor) override {}
    void SetPen(TColor, int, bool) override {}
    void Line(int, int, int, int) override {}
    void Text(int, int, const std::string&, TColor, TColor, bool) override {}
    int TextWidth(const std::string& text, bool) override { return 7 * static_cast<int>(text.size()); }
    int TextHeight(bool) override { return 13; }
    std::string EncodedPicture(const std::string&) override { return {}; }
    bool LoadFromFile(const std::string&) override { return false; }
};

// Stops the fuzzer with a message when a property of the program does not hold.
[[noreturn]] void Broken(const char* what);

} // namespace veltra::fuzz
