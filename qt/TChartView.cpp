#include "qt/TChartView.h"

#include <algorithm>

#include <QPainter>

namespace veltra {

TChartView::TChartView(const TQtCanvas& canvas, QWidget* parent) : QWidget(parent), canvas_(canvas)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

QSize TChartView::sizeHint() const
{
    return {ChartWidth, ChartHeight};
}

QSize TChartView::minimumSizeHint() const
{
    return QSize(ChartWidth, ChartHeight) / 4;
}

QRect TChartView::ChartRect() const
{
    const double scale =
        std::min({1.0, width() / static_cast<double>(ChartWidth), height() / static_cast<double>(ChartHeight)});
    return {0, 0, static_cast<int>(ChartWidth * scale), static_cast<int>(ChartHeight * scale)};
}

void TChartView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    // A loaded picture of another size is fitted into the same place.
    painter.drawImage(ChartRect(), canvas_.Image());
}

} // namespace veltra
