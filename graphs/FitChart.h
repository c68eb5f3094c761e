#pragma once
// The chart of one observed quantity of a fit: the simulated values of every season
// as a line, the observations as points, on a canvas of 762 x 486 pixels.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "graphs/TCanvas.h"

namespace veltra {

struct TFitChartPoint {
    int Year = 0;   // 1..
    int Season = 0; // 1..Ns
    double Value = 0;
};

struct TFitChartData {
    std::string Symbol;         // "Cr4"
    std::string Heading;        // the line above the chart ("RMSE 0.12, bias ...")
    std::string Footer;         // the file the line comes from
    int Ns = 1;                 // seasons a year
    std::array<double, 5> Ts{}; // durations of seasons 1..Ns in months
    // Record k is year k / Ns, season k % Ns + 1 (year 0 first); none: not shown.
    std::vector<std::optional<double>> Simulated;
    std::vector<TFitChartPoint> Observed;
};

// False, the canvas untouched, when there is nothing to draw (no value at all).
bool DrawFitChart(const TFitChartData& data, TCanvas& canvas);

} // namespace veltra
