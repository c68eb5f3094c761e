#pragma once
// The chart picture of the Graphics page: the 762 x 486 pixel image of the canvas,
// shown at that size in the window's own units, so that a high-resolution screen
// scales it up instead of showing it small. The image itself (what "Save graph"
// writes) keeps its pixels.
#include <QWidget>

#include "qt/canvas/TQtCanvas.h"

namespace veltra {

class TChartView final : public QWidget {
public:
    explicit TChartView(const TQtCanvas& canvas, QWidget* parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const TQtCanvas& canvas_;
};

} // namespace veltra
