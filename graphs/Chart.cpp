#include "graphs/Chart.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "graphs/ChartAxis.h"
#include "graphs/ChartColours.h"
#include "model/NumberText.h"

namespace veltra {

const char* const NoDataMessage = "No data present. Graph is not made";

namespace {

using namespace chart;
constexpr TColor Navy{0, 0, 128};
// Series colours that stand out on white: a light green, grey or sand line would
// barely show, so these are darker.
constexpr TColor Blue{0, 0, 255}, Green{0, 128, 0}, Red{255, 0, 0}, LightGreen{0, 170, 0}, Grey{120, 120, 120},
    Fuchsia{255, 0, 255}, Amber{200, 140, 0}, Maroon{128, 0, 0};
// Bars of the water table and rotation key are coloured by the season of the year
// (filled areas: silver shows well enough there, a light yellow did not).
constexpr TColor Olive{128, 128, 0}, Silver{192, 192, 192}, Gold{230, 180, 0};
constexpr std::array<TColor, 5> SeasonColours{{{}, Olive, Silver, Gold, Red}};

constexpr int PlotLeft = 70;
constexpr int PlotRight = 670;
constexpr int PlotTop = 70;
constexpr int PlotBottom = 370;
constexpr int PlotWidth = PlotRight - PlotLeft;
constexpr int PlotHeight = PlotBottom - PlotTop;

enum class TAxisRule { Common, SingleSlot, Percent, WaterLevel, RotationKey };

using TNames = std::array<const char*, 9>;
using TColours = std::array<TColor, 9>;

// How a group is drawn: title, note, series names and colours by slot, the slots
// drawn and the rule of the value axis.
struct TGroupLayout {
    const char* Tag;
    const char* Title;
    int TitleY;
    TColor TitleColour;
    const char* Note; // nullptr: none
    int NoteX;
    TNames Names;
    TColours Colours;
    int First, Last; // slots the chart may draw; Last 0: as many as the group has and names
    TAxisRule Axis;
};

// The charts' titles, notes and series names.
// Texts are written exactly as users and their files know them, odd spellings included;
// do not correct them.
constexpr const char* NoteKr = "Only applicable values are shown depending on the value of rotation key Kr";
constexpr const char* NoteKd = "Only applicable values are shown depending on the value of drainage key Kd";
constexpr const char* NoteEmployed = "Only applicable values are shown depending on the parameter values employed";
constexpr const char* NoteGiven = "Only applicable values are shown depending on the parameter values given";

constexpr TColours Salinity{{{}, Blue, Green, Red, LightGreen, Grey, Fuchsia, Amber, Maroon}};
constexpr TColours Discharge{{{}, Blue, Red, Green, Amber}};
constexpr TColours Flows{{{}, Blue, Green, Red, LightGreen}};
constexpr TColours Irrigation{{{}, Green, Fuchsia, Red, Blue, Maroon}};
constexpr TColours AllNavy{{Navy, Navy, Navy, Navy, Navy, Navy, Navy, Navy, Navy}};

constexpr TGroupLayout Layouts[] = {
    {"CrA", "Soil salinity, EC in dS/m", 55, LabelColour, NoteKr, 300,
     TNames{nullptr, "CrA", "CrB", "CrU", "Cr4", "C0*", "C1*", "C2*", "C3*"}, Salinity, 1, 0, TAxisRule::Common},
    {"Cxf", "Other salinities, EC in dS/m", 55, LabelColour, NoteKd, 300,
     TNames{nullptr, "Cxf", "CxA", "Cxb", "Cqf", "Ci", "Cd", "Cw"}, Salinity, 1, 0, TAxisRule::Common},
    {"Gd", "Drain/well discharge (m/season)", 55, LabelColour, NoteEmployed, 293,
     TNames{nullptr, "Gd", "Ga", "Gb", "Gw"}, Discharge, 1, 4, TAxisRule::Common},
    {"A", "Area fractions (%)", 55, LabelColour, NoteEmployed, 293, TNames{nullptr, "A", "B", "U", "Uc"}, Discharge, 1,
     0, TAxisRule::Percent},
    {"LrA", "Pecolation in m/season", 55, LabelColour, NoteGiven, 300, TNames{nullptr, "LrA", "LrB", "LrU", "LrAve"},
     Flows, 1, 0, TAxisRule::Common},
    {"RrA", "Capillary rise in m/season", 55, LabelColour, NoteGiven, 300,
     TNames{nullptr, "RrA", "RrB", "RrU", "RrAve"}, Flows, 1, 0, TAxisRule::Common},
    {"It", "Irrigation data in m/season", 55, LabelColour, NoteGiven, 300,
     TNames{nullptr, "It", "Is", "Io", "IaA", "IaB"}, Irrigation, 1, 0, TAxisRule::Common},
    {"FfA", "Efficiency/sufficiency in %", 55, LabelColour, NoteGiven, 300,
     TNames{nullptr, "FfA", "FfB", "FfT", "JsA", "JsB"}, Irrigation, 1, 0, TAxisRule::Percent},
    {"Zs", "Salt storage Zs in m.dS/m", 55, Navy, nullptr, 300,
     TNames{nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, "Zs"}, AllNavy, 6, 6, TAxisRule::SingleSlot},
    {"EaU", "Actual evaporation from unirrigated land, m/season", 55, Navy, nullptr, 300,
     TNames{nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, "EaU"}, AllNavy, 6, 6, TAxisRule::SingleSlot},
    {"Dw", "Dw", 50, Navy, nullptr, 300, TNames{nullptr, nullptr, nullptr, nullptr, nullptr, "Dw"}, AllNavy, 5, 5,
     TAxisRule::WaterLevel},
    {"Kr", "Crop rotation index (-)", 55, Navy, nullptr, 300, TNames{nullptr, nullptr, nullptr, nullptr, nullptr, "Kr"},
     AllNavy, 5, 5, TAxisRule::RotationKey},
};

int NameCount(const TNames& names)
{
    int n = 0;
    while (n < 8 && names[static_cast<std::size_t>(n) + 1] != nullptr)
        ++n;
    return n;
}

// The layout of the group with this tag, its last slot resolved; none for another tag.
std::optional<TGroupLayout> LayoutFor(const std::string& tag, int seriesCount)
{
    for (const TGroupLayout& layout : Layouts) {
        if (tag != layout.Tag)
            continue;
        TGroupLayout g = layout;
        if (g.Last == 0)
            g.Last = std::clamp(seriesCount, 0, NameCount(g.Names));
        return g;
    }
    return std::nullopt;
}

struct TChartSeries {
    int Slot = 0;
    std::vector<double> V; // a working copy, scaled for the drawing
    double Max = -1.0e6;
    double Min = 1.0e6;
    int Multiplier = 1;
    TChartAxis Axis;
};

bool HasDataToDraw(const TGroupStore& store, const TGroupLayout& g)
{
    auto present = [&](int s) { return s >= 1 && s <= 8 && store.SeriesPresent[static_cast<std::size_t>(s)]; };
    switch (g.Axis) {
    case TAxisRule::WaterLevel:
    case TAxisRule::RotationKey: return true;
    case TAxisRule::Percent:
        // The last column (Uc, JsB) alone does not make a chart.
        for (int s = 1; s < store.SeriesCount && s <= 8; ++s)
            if (present(s))
                return true;
        return false;
    case TAxisRule::Common:
    case TAxisRule::SingleSlot:
        for (int s = g.First; s <= g.Last; ++s)
            if (present(s))
                return true;
        return false;
    }
    return false;
}

std::string FilePart(const std::string& path)
{
    const auto cut = path.find_last_of("/\\");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

// Pen of the series lines: the series colour, or the background for the gaps.
class TLinePen {
public:
    TLinePen(TCanvas& canvas, TColor colour) : canvas_(canvas), colour_(colour) {}
    void Series() { Use(false); }
    void Gap() { Use(true); }

private:
    void Use(bool gap)
    {
        if (state_ == (gap ? 2 : 1))
            return;
        state_ = gap ? 2 : 1;
        if (gap)
            canvas_.SetPen(White, 1, true);
        else
            canvas_.SetPen(colour_, 2, false);
    }
    TCanvas& canvas_;
    TColor colour_;
    int state_ = 0;
};

// The time axis holds years 0 .. Y, Y + 1 years; the record of year y, season s
// stands at the end of its season, 12 y + E(s) months from the start, E(s) the end
// of season s within the year.
class TTimeAxis {
public:
    TTimeAxis(const TInputRecord& rec, int records) : ns_(rec.Ns), years_((records + rec.Ns - 1) / rec.Ns)
    {
        // A missing duration counts as an equal share of the year, here only:
        // drawing does not change the input.
        const int equalShare = 12 / ns_; // whole months
        for (int s = 1; s <= ns_; ++s)
            ends_[static_cast<std::size_t>(s)] =
                ends_[static_cast<std::size_t>(s - 1)] + (rec.Ts[s] == 0.0 ? equalShare : rec.Ts[s]);
    }
    int Years() const { return years_; }
    // x of record k (0 = year 0, season 1), kept inside the plot whatever the durations.
    int End(long long k) const
    {
        const long long year = k / ns_;
        const double months = 12.0 * static_cast<double>(year) + ends_[static_cast<std::size_t>(k % ns_ + 1)];
        return std::clamp(PlotLeft + RoundHalfEven(months * PlotWidth / (12.0 * years_)), PlotLeft, PlotRight);
    }
    // x where the season of record k begins: the end of the one before.
    int Start(long long k) const { return k == 0 ? PlotLeft : End(k - 1); }

private:
    int ns_;
    int years_;
    std::array<double, 5> ends_{};
};

// Every how many years a year is labelled: the smallest of 1, 2, 5, 10, 20, 50, ...
// that leaves at least one and a half label widths between neighbouring labels.
long long YearLabelStep(TCanvas& canvas, int years)
{
    const double perYear = static_cast<double>(PlotWidth) / years;
    const int widest = canvas.TextWidth(WholeText(years - 1), true);
    for (long long scale = 1;; scale *= 10)
        for (long long m : {1, 2, 5})
            if (m * scale >= years || 2.0 * static_cast<double>(m * scale) * perYear >= 5.0 * widest)
                return m * scale;
}

// The colour of each season's bars, as the Dw and Kr charts fill them, under the plot.
void DrawSeasonLegend(TCanvas& canvas, int ns)
{
    constexpr int y = 440;
    constexpr int swatch = 11;
    const int textHeight = canvas.TextHeight(true);
    int x = PlotLeft;
    for (int s = 1; s <= ns; ++s) {
        const int top = y + (textHeight - swatch) / 2;
        canvas.FillRect(x, top, x + swatch, top + swatch, SeasonColours[static_cast<std::size_t>(s)]);
        const std::string name = "Season " + WholeText(s);
        canvas.Text(x + swatch + 4, y, name, LabelColour, TextBackground, true);
        x += swatch + 4 + canvas.TextWidth(name, true) + 20;
    }
}

// Working copies of the drawn series: the store keeps its values.
std::vector<TChartSeries> WorkingSeries(const TGroupStore& store, const TGroupLayout& g, int n, bool bars)
{
    std::vector<TChartSeries> series;
    for (int s = g.First; s <= g.Last; ++s) {
        if (!bars && !store.SeriesPresent[static_cast<std::size_t>(s)])
            continue;
        TChartSeries cs;
        cs.Slot = s;
        const auto& src = store.GroupSeries[static_cast<std::size_t>(s)];
        cs.V.assign(static_cast<std::size_t>(n), 0.0);
        std::copy_n(src.begin(), std::min<std::size_t>(src.size(), cs.V.size()), cs.V.begin());
        series.push_back(std::move(cs));
    }
    return series;
}

// Each series' extremes, multiplier (its values multiplied by it) and axis.
void ScaleSeries(std::vector<TChartSeries>& series, TAxisRule rule)
{
    const bool levels = rule == TAxisRule::WaterLevel;
    for (auto& cs : series) {
        for (double v : cs.V) {
            cs.Max = std::max(cs.Max, v);
            cs.Min = std::min(cs.Min, v);
        }
        if (!levels && cs.Min < 0.0)
            cs.Min = 0.0;
        switch (rule) {
        case TAxisRule::WaterLevel: cs.Axis = WaterLevelAxis(cs.Min, cs.Max); break;
        case TAxisRule::RotationKey: cs.Axis = RotationKeyAxis(cs.Max > 5.0); break;
        default: {
            double m = 1.1 * cs.Max;
            cs.Multiplier = SeriesMultiplier(m);
            if (cs.Multiplier > 1) {
                for (double& v : cs.V)
                    v *= cs.Multiplier;
                cs.Min *= cs.Multiplier;
                m *= cs.Multiplier;
            }
            cs.Axis = rule == TAxisRule::Percent ? PercentAxis() : ScaledAxis(m, cs.Min);
        }
        }
    }
}

// The value axis of the chart: for a common axis, the series that reaches highest
// gives the steps and the lowest minimum the bottom.
TChartAxis ChartValueAxis(const std::vector<TChartSeries>& series, TAxisRule rule)
{
    if (rule == TAxisRule::Percent)
        return PercentAxis();
    if (rule != TAxisRule::Common)
        return series.front().Axis;
    const TChartSeries* top = &series.front();
    double lowest = top->Axis.Min;
    for (const auto& cs : series) {
        if (cs.Axis.Max > top->Axis.Max)
            top = &cs;
        lowest = std::min(lowest, cs.Axis.Min);
    }
    TChartAxis axis = top->Axis;
    axis.Min = lowest;
    return axis;
}

// Where values and records stand on the picture.
struct TPlot {
    TTimeAxis Time;
    TChartAxis Axis;
    double Span;

    TPlot(const TInputRecord& rec, int records, const TChartAxis& axis)
        : Time(rec, records), Axis(axis), Span(axis.Max > axis.Min ? axis.Max - axis.Min : 1.0)
    {}
    // Heights stay inside the plot: a rotation key above the axis, say, ends at its top.
    int Y(double v) const
    {
        return std::clamp(PlotBottom - RoundHalfEven((v - Axis.Min) * PlotHeight / Span), PlotTop, PlotBottom);
    }
};

void DrawBackgroundAndHeadings(TCanvas& canvas, const TGroupStore& store, bool levels)
{
    canvas.FillRect(0, 0, ChartWidth, ChartHeight, White);
    canvas.Text(120, levels ? 10 : 15, store.TableHeads[1], HeadColour, TextBackground, true);
    canvas.Text(120, levels ? 25 : 30, store.TableHeads[2], HeadColour, TextBackground, true);
}

// Ticks and labels from the top down, each label the value of its tick; the
// percent axis has no tick at its top, and only the water level a label at its bottom.
void DrawValueAxis(TCanvas& canvas, const TChartAxis& axis, TAxisRule rule)
{
    canvas.SetPen(AxisColour, 1, false);
    const int steps = axis.Intervals;
    const int decimals = TickDecimals(axis);
    const int textHeight = canvas.TextHeight(true);
    for (int j = rule == TAxisRule::Percent ? 1 : 0; j <= steps; ++j) {
        const int yj = RoundHalfEven(PlotTop + static_cast<double>(PlotHeight) * j / steps);
        canvas.Line(PlotLeft, yj, PlotLeft - 4, yj);
        if (j < steps || rule == TAxisRule::WaterLevel) {
            const double value = axis.Max - (static_cast<double>(j) / steps) * (axis.Max - axis.Min);
            const std::string label = AxisLabel(value, decimals);
            canvas.Text(64 - canvas.TextWidth(label, true), yj - textHeight / 2, label, LabelColour, TextBackground,
                        true);
        }
    }
}

// A tick at every season end, a longer one at a year's end, and the year's number
// centred under the end of the year. Ticks closer than 4 pixels would run together:
// then only the labelled years keep theirs.
void DrawTimeAxis(TCanvas& canvas, const TTimeAxis& time, int ns)
{
    canvas.Text(625, 395, "Year", LabelColour, TextBackground, true);
    const int years = time.Years();
    const long long labelStep = YearLabelStep(canvas, years);
    const bool seasonTicks = PlotWidth >= 4LL * years * ns;
    const bool yearTicks = PlotWidth >= 4LL * years;
    for (long long k = 0; k < static_cast<long long>(years) * ns; ++k) {
        const int x = time.End(k);
        const long long year = k / ns;
        if ((k + 1) % ns != 0) {
            if (seasonTicks)
                canvas.Line(x, PlotBottom, x, PlotBottom + 4);
            continue;
        }
        const bool labelled = year % labelStep == 0;
        if (yearTicks || labelled)
            canvas.Line(x, PlotBottom, x, PlotBottom + 6);
        if (labelled) {
            const std::string label = WholeText(year);
            canvas.Text(x - canvas.TextWidth(label, true) / 2, 380, label, LabelColour, TextBackground, true);
        }
    }
}

// The title and note of the group, and its present series side by side with their
// multipliers, each name clear of the one before however long it is.
void DrawTitleAndLegend(TCanvas& canvas, const TGroupLayout& g, const std::vector<TChartSeries>& series)
{
    canvas.Text(80, g.TitleY, g.Title, g.TitleColour, TextBackground, true);
    if (g.Note)
        canvas.Text(g.NoteX, 45, g.Note, LabelColour, TextBackground, false);
    if (g.Axis == TAxisRule::WaterLevel)
        return;
    int x = 85;
    for (const auto& cs : series) {
        std::string name = g.Names[static_cast<std::size_t>(cs.Slot)];
        if (cs.Multiplier > 1)
            name.append("*").append(WholeText(cs.Multiplier));
        canvas.Text(x, 70, name, g.Colours[static_cast<std::size_t>(cs.Slot)], TextBackground, true);
        x += std::max(50, canvas.TextWidth(name, true) + 10);
    }
}

// Each record's bar fills its own season, from the value 0.
void DrawBars(TCanvas& canvas, const TPlot& plot, const TChartSeries& cs, int ns)
{
    const int zero = plot.Y(0.0);
    for (std::size_t k = 0; k < cs.V.size(); ++k) {
        const int yk = plot.Y(cs.V[k]);
        const auto record = static_cast<long long>(k);
        canvas.FillRect(plot.Time.Start(record), std::min(zero, yk), plot.Time.End(record), std::max(zero, yk),
                        SeasonColours[static_cast<std::size_t>(record % ns + 1)]);
    }
}

// Each point joined to the next.
void DrawPlainLine(TCanvas& canvas, const TPlot& plot, const TChartSeries& cs)
{
    for (std::size_t k = 1; k < cs.V.size(); ++k) {
        const auto record = static_cast<long long>(k);
        canvas.Line(plot.Time.End(record - 1), plot.Y(cs.V[k - 1]), plot.Time.End(record), plot.Y(cs.V[k]));
    }
}

// The water qualities change at a season's start: steps, each value over its season.
void DrawSteps(TCanvas& canvas, const TPlot& plot, const TChartSeries& cs)
{
    for (std::size_t k = 0; k < cs.V.size(); ++k) {
        const auto record = static_cast<long long>(k);
        const int x0 = plot.Time.Start(record);
        const int after = plot.Y(cs.V[k]);
        if (k > 0)
            canvas.Line(x0, plot.Y(cs.V[k - 1]), x0, after);
        canvas.Line(x0, after, plot.Time.End(record), after);
    }
}

// Values on the bottom line are "not applicable": the line leaves gaps there, drawn
// in the background colour at the height of the last point above it.
void DrawLineWithGaps(TCanvas& canvas, const TPlot& plot, const TChartSeries& cs, TLinePen& pen)
{
    int prevY = plot.Y(cs.V[0]);
    bool prevBottom = prevY == PlotBottom;
    for (std::size_t k = 1; k < cs.V.size(); ++k) {
        const auto record = static_cast<long long>(k);
        const int y = plot.Y(cs.V[k]);
        if (y == PlotBottom) {
            pen.Gap();
            canvas.Line(plot.Time.End(record - 1), prevY, plot.Time.End(record), prevY);
            prevBottom = true;
        } else if (prevBottom) {
            pen.Gap();
            canvas.Line(plot.Time.End(record - 1), y, plot.Time.End(record), y);
            prevBottom = false;
            prevY = y;
        } else {
            pen.Series();
            canvas.Line(plot.Time.End(record - 1), prevY, plot.Time.End(record), y);
            prevY = y;
        }
    }
}

void DrawSeries(TCanvas& canvas, const TPlot& plot, const TGroupLayout& g, const TChartSeries& cs, int ns)
{
    if (g.Axis == TAxisRule::WaterLevel || g.Axis == TAxisRule::RotationKey) {
        DrawBars(canvas, plot, cs, ns);
        return;
    }
    TLinePen pen(canvas, g.Colours[static_cast<std::size_t>(cs.Slot)]);
    pen.Series();
    if (g.Axis == TAxisRule::SingleSlot)
        DrawPlainLine(canvas, plot, cs);
    else if (std::string_view(g.Tag) == "Cxf" && cs.Slot >= 5)
        DrawSteps(canvas, plot, cs);
    else
        DrawLineWithGaps(canvas, plot, cs, pen);
}

void DrawFrameAndFooter(TCanvas& canvas, const TInputRecord& rec)
{
    canvas.SetPen(AxisColour, 1, false);
    canvas.Line(PlotLeft, PlotBottom + 4, PlotLeft, PlotTop);
    canvas.Line(PlotLeft, PlotBottom, PlotRight, PlotBottom);
    std::string footer = "Veltra: ";
    footer += FilePart(rec.Shell.FileName);
    canvas.Text(70, 415, footer, LabelColour, TextBackground, true);
}

} // namespace

TChartOutcome DrawChart(const TGroupStore& store, const TInputRecord& rec, TCanvas& canvas)
{
    const std::optional<TGroupLayout> layout = LayoutFor(store.GroupTag, store.SeriesCount);
    if (!layout)
        return TChartOutcome::NoData;
    const TGroupLayout& g = *layout;
    const int ns = rec.Ns;
    const int n = store.RecordCount;
    if (ns < 1 || ns > 4 || n < 1 || !HasDataToDraw(store, g))
        return TChartOutcome::NoData;

    const bool levels = g.Axis == TAxisRule::WaterLevel;
    const bool bars = levels || g.Axis == TAxisRule::RotationKey;
    std::vector<TChartSeries> series = WorkingSeries(store, g, n, bars);
    ScaleSeries(series, g.Axis);
    const TChartAxis axis = ChartValueAxis(series, g.Axis);
    if (!levels)
        for (auto& cs : series)
            for (double& v : cs.V)
                v = std::max(v, 0.0);

    const TPlot plot(rec, n, axis);
    DrawBackgroundAndHeadings(canvas, store, levels);
    DrawValueAxis(canvas, axis, g.Axis);
    DrawTimeAxis(canvas, plot.Time, ns);
    DrawTitleAndLegend(canvas, g, series);
    if (bars)
        DrawSeasonLegend(canvas, ns);
    for (const auto& cs : series)
        DrawSeries(canvas, plot, g, cs, ns);
    DrawFrameAndFooter(canvas, rec);
    return TChartOutcome::Drawn;
}

} // namespace veltra
