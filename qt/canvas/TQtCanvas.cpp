#include "qt/canvas/TQtCanvas.h"

#include <algorithm>

#include <QBuffer>
#include <QByteArray>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QString>

namespace veltra {

namespace {

QColor ToQColor(TColor c)
{
    return QColor(c.R, c.G, c.B);
}

// A fixed face and pixel size, so that pictures look alike on every machine
// that has the DejaVu fonts.
QFont ChartFont(bool bold)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(11);
    f.setBold(bold);
    f.setStyleStrategy(QFont::NoAntialias);
    return f;
}

} // namespace

std::string EncodedImage(const QImage& image, const char* format)
{
    // Into memory: the file is written whole by the safe writer, so that a failed
    // write never leaves part of a picture.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, format))
        return {};
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

TQtCanvas::TQtCanvas()
    : image_(ChartWidth, ChartHeight, QImage::Format_RGB32), font_(ChartFont(false)), boldFont_(ChartFont(true))
{
    image_.fill(Qt::white);
}

void TQtCanvas::FillRect(int left, int top, int right, int bottom, TColor colour)
{
    // Right and bottom edges are exclusive, so that adjacent bars do not overlap.
    const int l = std::min(left, right), r = std::max(left, right);
    const int t = std::min(top, bottom), b = std::max(top, bottom);
    if (r <= l || b <= t)
        return;
    QPainter p(&image_);
    p.fillRect(QRect(l, t, r - l, b - t), ToQColor(colour));
}

void TQtCanvas::SetPen(TColor colour, int width, bool dotted)
{
    penColour_ = colour;
    penWidth_ = width;
    penDotted_ = dotted;
}

void TQtCanvas::Line(int x1, int y1, int x2, int y2)
{
    QPainter p(&image_);
    QPen pen(ToQColor(penColour_));
    pen.setWidth(penWidth_);
    pen.setStyle(penDotted_ ? Qt::DotLine : Qt::SolidLine);
    pen.setCapStyle(Qt::FlatCap);
    p.setPen(pen);
    p.drawLine(x1, y1, x2, y2);
}

void TQtCanvas::Text(int x, int y, const std::string& text, TColor colour, TColor background, bool bold)
{
    QPainter p(&image_);
    const QFont& font = FontFor(bold);
    p.setFont(font);
    const QString s = QString::fromStdString(text);
    const QFontMetrics fm(font);
    p.fillRect(QRect(x, y, fm.horizontalAdvance(s), fm.height()), ToQColor(background));
    p.setPen(ToQColor(colour));
    p.drawText(QPoint(x, y + fm.ascent()), s);
}

int TQtCanvas::TextWidth(const std::string& text, bool bold)
{
    return QFontMetrics(FontFor(bold)).horizontalAdvance(QString::fromStdString(text));
}

int TQtCanvas::TextHeight(bool bold)
{
    return QFontMetrics(FontFor(bold)).height();
}

std::string TQtCanvas::EncodedPicture(const std::string& format)
{
    if (format != "BMP" && format != "PNG")
        return {};
    return EncodedImage(image_, format.c_str());
}

bool TQtCanvas::LoadFromFile(const std::string& path)
{
    QImage loaded;
    if (!loaded.load(QString::fromStdString(path)))
        return false;
    image_ = loaded.convertToFormat(QImage::Format_RGB32);
    return true;
}

} // namespace veltra
