#pragma once
// The drawable picture of the Graphics page: 762 x 486 pixels, colours as RGB.
// qt/ draws it onto a QImage; tests record the calls. The canvas only encodes its
// picture: files are written by the safe writer, as every file Veltra writes.
#include <cstdint>
#include <string>

namespace veltra {

struct TColor {
    std::uint8_t R = 0, G = 0, B = 0;
    bool operator==(const TColor&) const = default;
};

constexpr int ChartWidth = 762;
constexpr int ChartHeight = 486;

class TCanvas {
public:
    virtual ~TCanvas() = default;
    virtual void FillRect(int left, int top, int right, int bottom, TColor colour) = 0;
    virtual void SetPen(TColor colour, int width, bool dotted) = 0;
    virtual void Line(int x1, int y1, int x2, int y2) = 0;
    // Text with its top-left corner at (x, y), on the given background colour.
    virtual void Text(int x, int y, const std::string& text, TColor colour, TColor background, bool bold) = 0;
    virtual int TextWidth(const std::string& text, bool bold) = 0;
    virtual int TextHeight(bool bold) = 0;
    // The picture as a file of `format` holds it, encoded in memory: "BMP" or "PNG"
    // pixels, or "SVG" or "PDF", the same drawing as vectors; empty when it cannot be
    // encoded. SaveChartPicture (graphs/ChartPicture.h) writes it.
    virtual std::string EncodedPicture(const std::string& format) = 0;
    virtual bool LoadFromFile(const std::string& path) = 0;
};

} // namespace veltra
