#include "graphs/ChartAxis.h"

#include <algorithm>
#include <cmath>

#include "model/NumberText.h"

namespace veltra {

double RoundHalfEvenReal(double x)
{
    if (!std::isfinite(x))
        return std::isnan(x) ? 0.0 : x;
    const double low = std::floor(x);
    const double frac = x - low;
    if (frac > 0.5 || (frac == 0.5 && std::fmod(low, 2.0) != 0.0))
        return low + 1.0;
    return low;
}

int RoundHalfEven(double x)
{
    // Absurd values (a damaged file) must not overflow the integer pixel maths.
    constexpr double limit = 1.0e9;
    const double r = RoundHalfEvenReal(std::clamp(x, -limit, limit));
    return static_cast<int>(r);
}

std::string AxisLabel(double value, int decimals)
{
    std::string label = FixedText(value, decimals + 2, decimals);
    if (label.size() > 10)
        label = ScientificText(value, 2);
    return label;
}

int TickDecimals(const TChartAxis& axis)
{
    if (axis.Intervals < 1)
        return axis.Decimals;
    constexpr int extra = 3;
    for (int d = axis.Decimals; d < axis.Decimals + extra; ++d) {
        const double scale = std::pow(10.0, d);
        bool exact = true;
        for (int j = 0; j <= axis.Intervals && exact; ++j) {
            const double v = (axis.Max - (static_cast<double>(j) / axis.Intervals) * (axis.Max - axis.Min)) * scale;
            exact = std::abs(v - std::round(v)) <= 1e-6 * std::max(1.0, std::abs(v));
        }
        if (exact)
            return d;
    }
    return axis.Decimals + extra;
}

namespace {

// Intervals counted as a double, then the rule's bounds: above 10 gives 10 and one
// decimal more, below 4 gives 5 and one decimal more.
void SetIntervals(TChartAxis& a, double intervals)
{
    if (intervals > 10) {
        a.Intervals = 10;
        ++a.Decimals;
    } else if (intervals < 4) {
        a.Intervals = 5;
        ++a.Decimals;
    } else {
        a.Intervals = static_cast<int>(intervals);
    }
}

} // namespace

int SeriesMultiplier(double m)
{
    if (m < 0.01)
        return 1000;
    if (m < 0.1)
        return 100;
    if (m < 1.0)
        return 10;
    return 1;
}

TChartAxis ScaledAxis(double m, double minimum)
{
    TChartAxis a;
    double intervals = 0;
    if (m >= 1.0 && m < 10.0) {
        a.Decimals = 1;
        a.Min = RoundHalfEvenReal(minimum - 0.5);
        a.Max = RoundHalfEvenReal(m + 1.0);
        intervals = a.Max - a.Min;
        if (intervals > 10)
            intervals = std::trunc(intervals / 2);
    } else {
        double step = 1000;
        if (m < 25.0)
            step = 4, a.Decimals = 1;
        else if (m < 50.0)
            step = 5, a.Decimals = 1;
        else if (m < 125.0)
            step = 10;
        else if (m < 250.0)
            step = 25;
        else if (m < 500.0)
            step = 50;
        else if (m < 1000.0)
            step = 100;
        const double half = step / 2.0;
        a.Min = step * RoundHalfEvenReal((minimum - half) / step);
        a.Max = step * RoundHalfEvenReal((m + half) / step);
        intervals = std::trunc((a.Max - a.Min) / step);
    }
    SetIntervals(a, intervals);
    return a;
}

TChartAxis WaterLevelAxis(double minimum, double maximum)
{
    TChartAxis a;
    a.Decimals = 1;
    a.Min = RoundHalfEvenReal(minimum - 0.5);
    a.Max = maximum <= 0.0 ? 0 : RoundHalfEvenReal(maximum + 0.5);
    a.Intervals = static_cast<int>(std::clamp(a.Max - a.Min, 4.0, 10.0));
    return a;
}

TChartAxis PercentAxis()
{
    return TChartAxis{0, 120, 6, 0};
}

TChartAxis RotationKeyAxis(bool keyAboveFive)
{
    return TChartAxis{0, keyAboveFive ? 10.0 : 5.0, 5, 0};
}

} // namespace veltra
