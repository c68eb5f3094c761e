#pragma once
// The chart picture on a QImage of 762 x 486 pixels, painted with QPainter. The
// canvas also keeps the drawing itself, so that the same chart can be written as
// vectors (SVG, PDF) for reports. Needs a QGuiApplication (the offscreen platform
// is enough); no window.
#include <string>
#include <vector>

#include <QFont>
#include <QImage>
#include <QString>

#include "graphs/TCanvas.h"

class QPainter;
class QPaintDevice;

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
    // "BMP" or "PNG" of the image; "SVG" or "PDF" of the drawing, 762 x 486 units
    // (a PDF page of 762 x 486 points); another format gives "".
    std::string EncodedPicture(const std::string& format) override;
    // A loaded picture replaces the drawing; as vectors it is that picture, embedded.
    bool LoadFromFile(const std::string& path) override;

    const QImage& Image() const { return image_; }

private:
    // One drawing call, kept to be painted again on a vector device.
    struct TStep {
        enum class Kind { Fill, Line, Text, Image } What = Kind::Line;
        int X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
        TColor Colour, Background;
        int Width = 1;
        bool Dotted = false;
        bool Bold = false;
        QString Str;
    };

    const QFont& FontFor(bool bold) const { return bold ? boldFont_ : font_; }
    // Paints `step` with `painter`; `vector`: on an SVG or PDF device, where lines of
    // odd widths are moved half a unit to cover the pixels they cover in the image.
    void Paint(QPainter& painter, const TStep& step, bool vector) const;
    void Record(TStep step);
    std::string EncodedVectors(const std::string& format) const;

    QImage image_;
    QFont font_;
    QFont boldFont_;
    TColor penColour_;
    int penWidth_ = 1;
    bool penDotted_ = false;
    std::vector<TStep> steps_;
    QImage loaded_; // the picture of the last LoadFromFile, for its Image step
};

} // namespace veltra
