#include "graphs/FitChart.h"

#include <algorithm>
#include <cmath>

#include "graphs/ChartAxis.h"
#include "graphs/ChartColours.h"
#include "model/NumberText.h"

namespace veltra {

namespace {

using namespace chart;
constexpr TColor LineColour{0, 0, 255};
constexpr TColor PointColour{255, 0, 0};

constexpr int PlotLeft = 70;
constexpr int PlotRight = 670;
constexpr int PlotTop = 90;
constexpr int PlotBottom = 370;

// Where records stand: at the end of their season, the years 0 .. Y across the plot.
class TTime {
public:
    TTime(const TFitChartData& d, int years) : ns_(std::clamp(d.Ns, 1, 4)), years_(std::max(years, 1))
    {
        for (int s = 1; s <= ns_; ++s) {
            const double ts = d.Ts[static_cast<std::size_t>(s)];
            ends_[static_cast<std::size_t>(s)] = ends_[static_cast<std::size_t>(s - 1)] + (ts > 0 ? ts : 12.0 / ns_);
        }
    }
    int X(int year, int season) const
    {
        const double months = 12.0 * year + ends_[static_cast<std::size_t>(std::clamp(season, 1, ns_))];
        return std::clamp(PlotLeft + RoundHalfEven(months * (PlotRight - PlotLeft) / (12.0 * years_)), PlotLeft,
                          PlotRight);
    }
    int Years() const { return years_; }
    int Seasons() const { return ns_; }

private:
    int ns_;
    int years_;
    std::array<double, 5> ends_{};
};

// A step of 1, 2 or 5 times a power of ten that cuts the range in about five.
double NiceStep(double range)
{
    const double raw = range / 5;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0})
        if (m * power >= raw)
            return m * power;
    return 10 * power;
}

// The value axis: steps of NiceStep from a floor of the lowest value to just over the highest.
struct TValueAxis {
    double Step;
    double Min;
    double Max;
    int Intervals;
    int Decimals;

    int Y(double v) const
    {
        return std::clamp(PlotBottom - RoundHalfEven((v - Min) * (PlotBottom - PlotTop) / (Max - Min)), PlotTop,
                          PlotBottom);
    }
};

// None when there is nothing to draw: no value at all, or no simulated record.
std::optional<TValueAxis> ValueAxisOf(const TFitChartData& d)
{
    std::optional<double> lo, hi;
    auto widen = [&](double v) {
        lo = std::min(lo.value_or(v), v);
        hi = std::max(hi.value_or(v), v);
    };
    for (const auto& v : d.Simulated)
        if (v)
            widen(*v);
    for (const TFitChartPoint& p : d.Observed)
        widen(p.Value);
    if (!lo || d.Simulated.empty())
        return std::nullopt;
    // The axis starts at 0 for values that do not go below it.
    double low = std::min(*lo, 0.0), high = *hi;
    if (high <= low)
        high = low + 1;
    const double step = NiceStep(high - low);
    const double axisMin = std::floor(low / step) * step;
    const double axisMax = std::ceil(high * (high > 0 ? 1.05 : 0.95) / step) * step;
    const int intervals = std::max(1, static_cast<int>(std::lround((axisMax - axisMin) / step)));
    const int decimals = std::clamp(static_cast<int>(-std::floor(std::log10(step))), 0, 6);
    return TValueAxis{step, axisMin, axisMax, intervals, decimals};
}

// The value axis with a label at every step.
void DrawValueAxis(const TValueAxis& axis, TCanvas& canvas)
{
    canvas.SetPen(AxisColour, 1, false);
    const int textHeight = canvas.TextHeight(true);
    for (int j = 0; j <= axis.Intervals; ++j) {
        const double value = axis.Min + axis.Step * j;
        const int yj = axis.Y(value);
        canvas.Line(PlotLeft, yj, PlotLeft - 4, yj);
        const std::string label = AxisLabel(value, axis.Decimals);
        canvas.Text(64 - canvas.TextWidth(label, true), yj - textHeight / 2, label, LabelColour, TextBackground, true);
    }
}

// The years under the time axis, as many as fit.
void DrawYearAxis(const TTime& time, TCanvas& canvas)
{
    canvas.Text(625, 395, "Year", LabelColour, TextBackground, true);
    const int widest = canvas.TextWidth(WholeText(time.Years()), true);
    int labelStep = 1;
    while (labelStep < time.Years() && (PlotRight - PlotLeft) * labelStep < 3 * widest * time.Years())
        labelStep = labelStep == 1 ? 2 : labelStep == 2 ? 5 : labelStep * 2;
    for (int year = 0; year < time.Years(); ++year) {
        const int x = time.X(year, time.Seasons());
        canvas.Line(x, PlotBottom, x, PlotBottom + 6);
        if (year % labelStep == 0) {
            const std::string label = WholeText(year);
            canvas.Text(x - canvas.TextWidth(label, true) / 2, 380, label, LabelColour, TextBackground, true);
        }
    }
}

void DrawLegend(TCanvas& canvas)
{
    canvas.SetPen(LineColour, 2, false);
    canvas.Line(85, 76, 105, 76);
    canvas.Text(110, 70, "simulated", LineColour, TextBackground, true);
    canvas.FillRect(192, 73, 199, 80, PointColour);
    canvas.Text(205, 70, "observed", PointColour, TextBackground, true);
}

// The simulated line, broken where the record shows "-", then the observed points.
void DrawSeries(const TFitChartData& d, const TValueAxis& axis, const TTime& time, int ns, TCanvas& canvas)
{
    canvas.SetPen(LineColour, 2, false);
    for (std::size_t k = 1; k < d.Simulated.size(); ++k) {
        const auto& a = d.Simulated[k - 1];
        const auto& b = d.Simulated[k];
        if (!a || !b)
            continue;
        const int ka = static_cast<int>(k - 1), kb = static_cast<int>(k);
        canvas.Line(time.X(ka / ns, ka % ns + 1), axis.Y(*a), time.X(kb / ns, kb % ns + 1), axis.Y(*b));
    }
    for (const TFitChartPoint& p : d.Observed) {
        const int x = time.X(p.Year, p.Season), yp = axis.Y(p.Value);
        canvas.FillRect(x - 3, yp - 3, x + 4, yp + 4, PointColour);
    }
}

} // namespace

bool DrawFitChart(const TFitChartData& d, TCanvas& canvas)
{
    const std::optional<TValueAxis> axis = ValueAxisOf(d);
    if (!axis)
        return false;
    const int ns = std::clamp(d.Ns, 1, 4);
    const TTime time(
        d, static_cast<int>((d.Simulated.size() + static_cast<std::size_t>(ns) - 1) / static_cast<std::size_t>(ns)));

    canvas.FillRect(0, 0, ChartWidth, ChartHeight, White);
    canvas.Text(120, 15, d.Symbol + ": simulated (line) and observed (points)", HeadColour, TextBackground, true);
    canvas.Text(120, 30, d.Heading, HeadColour, TextBackground, true);
    DrawValueAxis(*axis, canvas);
    DrawYearAxis(time, canvas);
    DrawLegend(canvas);
    DrawSeries(d, *axis, time, ns, canvas);

    canvas.SetPen(AxisColour, 1, false);
    canvas.Line(PlotLeft, PlotBottom + 4, PlotLeft, PlotTop);
    canvas.Line(PlotLeft, PlotBottom, PlotRight, PlotBottom);
    canvas.Text(70, 415, "Veltra fit: " + d.Footer, LabelColour, TextBackground, true);
    return true;
}

} // namespace veltra
