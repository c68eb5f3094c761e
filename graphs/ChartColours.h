#pragma once
// The colours every chart shares: the page, the text boxes, the heading, the labels
// and the axes, so that a fit chart looks like the charts of the result groups.
#include "graphs/TCanvas.h"

namespace veltra::chart {

inline constexpr TColor White{255, 255, 255};
inline constexpr TColor TextBackground{250, 255, 245};
inline constexpr TColor HeadColour{0, 128, 128};
inline constexpr TColor LabelColour{128, 0, 0};
inline constexpr TColor AxisColour{0, 0, 255};

} // namespace veltra::chart
