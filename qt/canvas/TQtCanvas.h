#pragma once
// The chart picture on a QImage of 762 x 486 pixels, painted with QPainter.
// Needs a QGuiApplication (the offscreen platform is enough); no window.
#include <string>

#include <QFont>
#include <QImage>

#include "graphs/TCanvas.h"

namespace veltra {

// The bytes of `image` in a file format Qt writes ("PNG", "BMP"); "" when it cannot.
std::string EncodedImage(const QImage& image, const char* format);

class TQtCanvas final : public TCanvas {
public:
    TQtCanvas();

    void FillRect(int left, int top, int right, int bottom, TColor colour) override;
    void SetPen(TColor colour, int width, bool dotted) override;
    void Line(int x1, int y1, int x2, int y2) override;
    void Text(int x, int y, const std::string& text, TColor colour, TColor background, bool bold) override;
    int TextWidth(const std::string& text, bool bold) override;
    int TextHeight(bool bold) override;
    // "BMP" or "PNG"; another format gives "".
    std::string EncodedPicture(const std::string& format) override;
    bool LoadFromFile(const std::string& path) override;

    const QImage& Image() const { return image_; }

private:
    const QFont& FontFor(bool bold) const { return bold ? boldFont_ : font_; }

    QImage image_;
    QFont font_;
    QFont boldFont_;
    TColor penColour_;
    int penWidth_ = 1;
    bool penDotted_ = false;
};

} // namespace veltra
