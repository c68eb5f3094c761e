#include "graphs/ChartAxis.h"

#include <cmath>

namespace veltra {

int RoundHalfEven(double x)
{
    // Absurd values (a damaged file) must not overflow the integer pixel maths.
    if (std::isnan(x))
        return 0;
    constexpr double limit = 1.0e9;
    if (x > limit)
        return static_cast<int>(limit);
    if (x < -limit)
        return -static_cast<int>(limit);
    const double low = std::floor(x);
    const double frac = x - low;
    double r = low;
    if (frac > 0.5 || (frac == 0.5 && std::fmod(low, 2.0) != 0.0))
        r = low + 1.0;
    return static_cast<int>(r);
}

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
    if (m >= 1.0 && m < 10.0) {
        a.Decimals = 1;
        a.Min = RoundHalfEven(minimum - 0.5);
        a.Max = RoundHalfEven(m + 1.0);
        a.Intervals = a.Max - a.Min;
        if (a.Intervals > 10)
            a.Intervals /= 2;
    } else {
        int step = 1000;
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
        a.Min = step * RoundHalfEven((minimum - half) / step);
        a.Max = step * RoundHalfEven((m + half) / step);
        a.Intervals = (a.Max - a.Min) / step;
    }
    if (a.Intervals > 10) {
        a.Intervals = 10;
        ++a.Decimals;
    } else if (a.Intervals < 4) {
        a.Intervals = 5;
        ++a.Decimals;
    }
    return a;
}

TChartAxis WaterLevelAxis(double minimum, double maximum)
{
    TChartAxis a;
    a.Decimals = 1;
    a.Min = RoundHalfEven(minimum - 0.5);
    a.Max = maximum <= 0.0 ? 0 : RoundHalfEven(maximum + 0.5);
    a.Intervals = a.Max - a.Min;
    if (a.Intervals < 4)
        a.Intervals = 4;
    if (a.Intervals > 10)
        a.Intervals = 10;
    return a;
}

TChartAxis PercentAxis()
{
    return TChartAxis{0, 120, 6, 0};
}

TChartAxis RotationKeyAxis(bool keyAboveFive)
{
    return TChartAxis{0, keyAboveFive ? 10 : 5, 5, 0};
}

} // namespace veltra
