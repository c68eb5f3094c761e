#include "qt/TChartView.h"

#include <QPainter>

namespace veltra {

TChartView::TChartView(const TQtCanvas& canvas, QWidget* parent) : QWidget(parent), canvas_(canvas)
{
    setFixedSize(ChartWidth, ChartHeight);
}

QSize TChartView::sizeHint() const
{
    return {ChartWidth, ChartHeight};
}

void TChartView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    // A loaded picture of another size is fitted into the same place.
    painter.drawImage(QRect(0, 0, ChartWidth, ChartHeight), canvas_.Image());
}

} // namespace veltra
