// The chart of a fitted symbol, measured on the recording canvas: the observations are
// squares centred where their season ends, the simulated line joins the records it has
// and breaks where a record shows "-", and the value axis holds both.
#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "graphs/FitChart.h"
#include "support/TRecordingCanvas.h"

namespace veltra {
namespace {

constexpr TColor Red{255, 0, 0};

// Two seasons of 6 months; years 0 to 2; record 3 (year 1, season 2) shows "-".
TFitChartData Data()
{
    TFitChartData d;
    d.Symbol = "Cr4";
    d.Heading = "n = 2";
    d.Footer = "fitted.inp";
    d.Ns = 2;
    d.Ts = {0, 6, 6, 0, 0};
    d.Simulated = {2.0, 4.0, 6.0, std::nullopt, 8.0, 10.0};
    d.Observed = {{1, 1, 5.0}, {2, 2, 11.0}};
    return d;
}

// x of the end of a season: 70 + months * 600 / 36 over 3 years; y on the axis 0 .. 15.
int X(int year, int season)
{
    return 70 + (12 * year + 6 * season) * 600 / 36;
}
int Y(double v)
{
    return 370 - static_cast<int>(v * 280 / 15 + 0.5);
}

bool HasLine(const TRecordingCanvas& c, int x1, int y1, int x2, int y2)
{
    const TCanvasCall line{.X1 = x1, .Y1 = y1, .X2 = x2, .Y2 = y2};
    return std::any_of(c.Calls.begin(), c.Calls.end(), [&](const TCanvasCall& k) { return k == line; });
}

TEST(FitChart, PointsLineAndAxisWhereTheyBelongAndNothingToDrawLeavesTheCanvasAlone)
{
    TRecordingCanvas canvas;
    ASSERT_TRUE(DrawFitChart(Data(), canvas));
    // Record k is year k / 2, season k % 2 + 1.
    EXPECT_TRUE(HasLine(canvas, X(0, 1), Y(2), X(0, 2), Y(4)));
    EXPECT_TRUE(HasLine(canvas, X(0, 2), Y(4), X(1, 1), Y(6)));
    EXPECT_TRUE(HasLine(canvas, X(2, 1), Y(8), X(2, 2), Y(10)));
    // No line into or out of the record that shows "-".
    EXPECT_FALSE(HasLine(canvas, X(1, 1), Y(6), X(1, 2), Y(0)));
    EXPECT_FALSE(HasLine(canvas, X(1, 1), Y(6), X(2, 1), Y(8)));
    std::vector<TCanvasCall> squares;
    for (const TCanvasCall& k : canvas.Calls)
        if (k.What == TCanvasCall::Kind::Fill && k.Colour == Red && k.X2 - k.X1 == 7)
            squares.push_back(k);
    ASSERT_EQ(squares.size(), 3u); // the legend's and the two observations
    EXPECT_EQ((std::vector<int>{squares[1].X1, squares[1].Y1, squares[2].X1, squares[2].Y1}),
              (std::vector<int>{X(1, 1) - 3, Y(5) - 3, X(2, 2) - 3, Y(11) - 3}));
    // The axis reaches past the highest observation (11): 0 to 15 in steps of 5.
    std::vector<std::string> labels;
    for (const TCanvasCall& k : canvas.Calls)
        if (k.What == TCanvasCall::Kind::Text && k.X1 < 70)
            labels.push_back(k.Str);
    EXPECT_EQ(labels, (std::vector<std::string>{" 0", " 5", "10", "15"}));

    // Nothing to draw: the canvas is left alone.
    TFitChartData none = Data();
    none.Simulated.assign(6, std::nullopt);
    none.Observed.clear();
    TRecordingCanvas untouched;
    EXPECT_FALSE(DrawFitChart(none, untouched));
    EXPECT_TRUE(untouched.Calls.empty());
}

} // namespace
} // namespace veltra
