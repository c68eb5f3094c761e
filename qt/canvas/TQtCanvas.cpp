#include "qt/canvas/TQtCanvas.h"

#include <algorithm>

#include <QBuffer>
#include <QByteArray>
#include <QFontMetrics>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>
#include <QSvgGenerator>

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

const QRect WholeChart(0, 0, ChartWidth, ChartHeight);

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

void TQtCanvas::Record(TStep step)
{
    if (step.What == TStep::Kind::Fill && step.X1 <= 0 && step.Y1 <= 0 && step.X2 >= ChartWidth &&
        step.Y2 >= ChartHeight) {
        // A new picture: nothing drawn before shows any more. A loaded picture of
        // another size gives way to the chart's own.
        steps_.clear();
        loaded_ = QImage();
        if (image_.size() != WholeChart.size())
            image_ = QImage(ChartWidth, ChartHeight, QImage::Format_RGB32);
    }
    QPainter p(&image_);
    Paint(p, step, false);
    steps_.push_back(std::move(step));
}

void TQtCanvas::Paint(QPainter& p, const TStep& step, bool vector) const
{
    switch (step.What) {
    case TStep::Kind::Fill: {
        // Right and bottom edges are exclusive, so that adjacent bars do not overlap.
        const int l = std::min(step.X1, step.X2), r = std::max(step.X1, step.X2);
        const int t = std::min(step.Y1, step.Y2), b = std::max(step.Y1, step.Y2);
        if (r > l && b > t)
            p.fillRect(QRect(l, t, r - l, b - t), ToQColor(step.Colour));
        break;
    }
    case TStep::Kind::Line: {
        QPen pen(ToQColor(step.Colour));
        pen.setWidth(step.Width);
        pen.setStyle(step.Dotted ? Qt::DotLine : Qt::SolidLine);
        pen.setCapStyle(Qt::FlatCap);
        p.setPen(pen);
        const double shift = vector && step.Width % 2 == 1 ? 0.5 : 0.0;
        p.drawLine(QPointF(step.X1 + shift, step.Y1 + shift), QPointF(step.X2 + shift, step.Y2 + shift));
        break;
    }
    case TStep::Kind::Text: {
        const QFont& font = FontFor(step.Bold);
        p.setFont(font);
        const QFontMetrics fm(font);
        p.fillRect(QRect(step.X1, step.Y1, fm.horizontalAdvance(step.Str), fm.height()), ToQColor(step.Background));
        p.setPen(ToQColor(step.Colour));
        p.drawText(QPoint(step.X1, step.Y1 + fm.ascent()), step.Str);
        break;
    }
    case TStep::Kind::Image: p.drawImage(WholeChart, loaded_); break;
    }
}

void TQtCanvas::FillRect(int left, int top, int right, int bottom, TColor colour)
{
    TStep step;
    step.What = TStep::Kind::Fill;
    step.X1 = left, step.Y1 = top, step.X2 = right, step.Y2 = bottom, step.Colour = colour;
    Record(std::move(step));
}

void TQtCanvas::SetPen(TColor colour, int width, bool dotted)
{
    penColour_ = colour;
    penWidth_ = width;
    penDotted_ = dotted;
}

void TQtCanvas::Line(int x1, int y1, int x2, int y2)
{
    TStep step;
    step.What = TStep::Kind::Line;
    step.X1 = x1, step.Y1 = y1, step.X2 = x2, step.Y2 = y2;
    step.Colour = penColour_, step.Width = penWidth_, step.Dotted = penDotted_;
    Record(std::move(step));
}

void TQtCanvas::Text(int x, int y, const std::string& text, TColor colour, TColor background, bool bold)
{
    TStep step;
    step.What = TStep::Kind::Text;
    step.X1 = x, step.Y1 = y, step.Colour = colour, step.Background = background, step.Bold = bold;
    step.Str = QString::fromStdString(text);
    Record(std::move(step));
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
    if (format == "BMP" || format == "PNG")
        return EncodedImage(image_, format.c_str());
    if (format == "SVG" || format == "PDF")
        return EncodedVectors(format);
    return {};
}

std::string TQtCanvas::EncodedVectors(const std::string& format) const
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly))
        return {};
    const QString title = QStringLiteral("Veltra chart");
    auto paintAll = [this](QPaintDevice& device) {
        QPainter p;
        if (!p.begin(&device))
            return false;
        // What the image starts as: white where nothing was drawn.
        p.fillRect(WholeChart, Qt::white);
        for (const TStep& step : steps_)
            Paint(p, step, true);
        return p.end();
    };
    bool painted = false;
    if (format == "SVG") {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(WholeChart.size());
        svg.setViewBox(WholeChart);
        svg.setResolution(96); // 762 x 486 pixels on a screen of 96 dots an inch
        svg.setTitle(title);
        painted = paintAll(svg);
    } else {
        // One unit, one point: the page is the picture, 762 x 486 points.
        QPdfWriter pdf(&buffer);
        pdf.setResolution(72);
        pdf.setPageSize(QPageSize(QSizeF(ChartWidth, ChartHeight), QPageSize::Point));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setTitle(title);
        pdf.setCreator(QStringLiteral("Veltra"));
        painted = paintAll(pdf);
    }
    buffer.close();
    if (!painted || bytes.isEmpty())
        return {};
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

bool TQtCanvas::LoadFromFile(const std::string& path)
{
    QImage loaded;
    if (!loaded.load(QString::fromStdString(path)))
        return false;
    image_ = loaded.convertToFormat(QImage::Format_RGB32);
    loaded_ = image_;
    steps_.clear();
    TStep step;
    step.What = TStep::Kind::Image;
    steps_.push_back(std::move(step));
    return true;
}

} // namespace veltra
