#pragma once
// A canvas that records every drawing call instead of painting pixels, so that
// tests can check coordinates and colours without fonts or a display.
#include <string>
#include <vector>

#include "graphs/TCanvas.h"

namespace veltra {

struct TCanvasCall {
    enum class Kind { Fill, Pen, Line, Text } What = Kind::Line;
    int X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
    TColor Colour{};
    TColor Background{};
    int Width = 0;
    bool Dotted = false;
    bool Bold = false;
    std::string Str{};
    bool operator==(const TCanvasCall&) const = default;
};

class TRecordingCanvas final : public TCanvas {
public:
    std::vector<TCanvasCall> Calls;
    std::string Picture = "picture"; // what EncodedPicture gives
    std::string EncodedFormat;       // the format last asked for
    std::string LoadedPath;
    bool SaveFails = false; // the picture cannot be encoded

    void FillRect(int left, int top, int right, int bottom, TColor colour) override
    {
        Calls.push_back(
            {.What = TCanvasCall::Kind::Fill, .X1 = left, .Y1 = top, .X2 = right, .Y2 = bottom, .Colour = colour});
    }
    void SetPen(TColor colour, int width, bool dotted) override
    {
        Calls.push_back({.What = TCanvasCall::Kind::Pen, .Colour = colour, .Width = width, .Dotted = dotted});
    }
    void Line(int x1, int y1, int x2, int y2) override
    {
        Calls.push_back({.What = TCanvasCall::Kind::Line, .X1 = x1, .Y1 = y1, .X2 = x2, .Y2 = y2});
    }
    void Text(int x, int y, const std::string& text, TColor colour, TColor background, bool bold) override
    {
        Calls.push_back({.What = TCanvasCall::Kind::Text,
                         .X1 = x,
                         .Y1 = y,
                         .Colour = colour,
                         .Background = background,
                         .Bold = bold,
                         .Str = text});
    }
    // A fixed-pitch estimate: 7 pixels a character, 13 pixels high.
    int TextWidth(const std::string& text, bool) override { return 7 * static_cast<int>(text.size()); }
    int TextHeight(bool) override { return 13; }
    std::string EncodedPicture(const std::string& format) override
    {
        EncodedFormat = format;
        return SaveFails ? std::string() : Picture;
    }
    bool LoadFromFile(const std::string& path) override
    {
        LoadedPath = path;
        return true;
    }
};

} // namespace veltra
