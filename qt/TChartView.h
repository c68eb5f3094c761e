#pragma once
// The chart picture of the Graphics page: the 762 x 486 pixel image of the canvas,
// shown at that size in the window's own units, so that a high-resolution screen
// scales it up instead of showing it small. Where the page has less room it is
// shown smaller, keeping its shape: drawing a chart never makes the window larger.
// The image itself (what "Save graph" writes) keeps its pixels.
#include <QWidget>

#include "qt/canvas/TQtCanvas.h"

namespace veltra {

class TChartView final : public QWidget {
public:
    explicit TChartView(const TQtCanvas& canvas, QWidget* parent = nullptr);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // Where the chart is drawn in the view.
    QRect ChartRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const TQtCanvas& canvas_;
};

} // namespace veltra
