#pragma once
// Scaling rules of the chart's value axis: series multipliers and axis ranges.
#include <string>

namespace veltra {

// The axis values are whole numbers held as doubles: a damaged or absurd result
// (values of 1e30) must give the rule's axis, not an integer overflow.
struct TChartAxis {
    double Min = 0;    // axis value at the bottom of the plot
    double Max = 0;    // axis value at the top of the plot
    int Intervals = 0; // number of labelled steps between them
    int Decimals = 0;  // decimals of the axis labels
    bool operator==(const TChartAxis&) const = default;
};

// Nearest whole number, halves to the even neighbour (independent of the FPU mode).
double RoundHalfEvenReal(double x);
// The same as a pixel coordinate, kept within +-1e9 so that pixel sums cannot overflow.
int RoundHalfEven(double x);

// An axis label: "%(decimals+2).(decimals)f", or for a text longer than 10
// characters the same number as "%.2E" (1.10E+12), so that it stays beside the axis.
std::string AxisLabel(double value, int decimals);

// Decimals that show every tick value of the axis as it is: the axis's own, or
// up to three more where its steps need them (0 .. -3 in 4 steps: -0.75, not -0.8).
int TickDecimals(const TChartAxis& axis);

// Multiplier (1, 10, 100 or 1000) that brings a series into a readable range;
// m is 1.1 times the series maximum.
int SeriesMultiplier(double m);

// Axis of a scaled series from its stretched maximum m (1.1 x max) and its
// minimum, both already multiplied by the series multiplier.
TChartAxis ScaledAxis(double m, double minimum);

// Axis of the water-table level: from the lowest level up to 0 (or just above
// the highest level when the water stands above the surface), 4 to 10 steps.
TChartAxis WaterLevelAxis(double minimum, double maximum);

// Fixed axes: percentages (0..120 in 6) and the rotation key (0..5 or 0..10 in 5).
TChartAxis PercentAxis();
TChartAxis RotationKeyAxis(bool keyAboveFive);

} // namespace veltra
