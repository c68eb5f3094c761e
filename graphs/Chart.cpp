#include "graphs/Chart.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "graphs/ChartAxis.h"

namespace veltra {

const char* const NoDataMessage = "No data present. Graph is not made";

namespace {

constexpr TColor White{255, 255, 255};
constexpr TColor TextBackground{250, 255, 245};
constexpr TColor HeadColour{0, 128, 128};
constexpr TColor LabelColour{128, 0, 0};
constexpr TColor AxisColour{0, 0, 255};
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

struct TGroupLayout {
    std::string Title;
    int TitleY = 55;
    TColor TitleColour = LabelColour;
    std::string Note; // empty: none
    int NoteX = 300;
    std::array<const char*, 9> Names{};
    std::array<TColor, 9> Colours{};
    int First = 1, Last = 0; // slots the chart may draw
    TAxisRule Axis = TAxisRule::Common;
};

const char* const NoteKr = "Only applicable values are shown depending on the value of rotation key Kr";
const char* const NoteKd = "Only applicable values are shown depending on the value of drainage key Kd";
const char* const NoteEmployed = "Only applicable values are shown depending on the parameter values employed";
const char* const NoteGiven = "Only applicable values are shown depending on the parameter values given";

int NameCount(const std::array<const char*, 9>& names)
{
    int n = 0;
    while (n < 8 && names[static_cast<std::size_t>(n + 1)] != nullptr)
        ++n;
    return n;
}

bool LayoutFor(const std::string& tag, int seriesCount, TGroupLayout& g)
{
    const std::array<TColor, 9> salinity{{{}, Blue, Green, Red, LightGreen, Grey, Fuchsia, Amber, Maroon}};
    const std::array<TColor, 9> discharge{{{}, Blue, Red, Green, Amber}};
    const std::array<TColor, 9> flows{{{}, Blue, Green, Red, LightGreen}};
    const std::array<TColor, 9> irrigation{{{}, Green, Fuchsia, Red, Blue, Maroon}};
    std::array<TColor, 9> single{};
    single.fill(Navy);

    auto multi = [&](const char* title, const char* note, int noteX, std::array<const char*, 9> names,
                     const std::array<TColor, 9>& colours, TAxisRule axis) {
        g.Title = title;
        g.Note = note;
        g.NoteX = noteX;
        g.Names = names;
        g.Colours = colours;
        g.Axis = axis;
        g.Last = std::clamp(seriesCount, 0, NameCount(names));
    };
    auto one = [&](const char* title, int slot, const char* name, TAxisRule axis) {
        g.Title = title;
        g.TitleColour = Navy;
        g.Names[static_cast<std::size_t>(slot)] = name;
        g.Colours = single;
        g.First = g.Last = slot;
        g.Axis = axis;
    };

    if (tag == "CrA")
        multi("Soil salinity, EC in dS/m", NoteKr, 300,
              {nullptr, "CrA", "CrB", "CrU", "Cr4", "C0*", "C1*", "C2*", "C3*"}, salinity, TAxisRule::Common);
    else if (tag == "Cxf")
        multi("Other salinities, EC in dS/m", NoteKd, 300, {nullptr, "Cxf", "CxA", "Cxb", "Cqf", "Ci", "Cd", "Cw"},
              salinity, TAxisRule::Common);
    else if (tag == "Gd") {
        multi("Drain/well discharge (m/season)", NoteEmployed, 293, {nullptr, "Gd", "Ga", "Gb", "Gw"}, discharge,
              TAxisRule::Common);
        g.Last = 4;
    } else if (tag == "A")
        multi("Area fractions (%)", NoteEmployed, 293, {nullptr, "A", "B", "U", "Uc"}, discharge, TAxisRule::Percent);
    else if (tag == "LrA")
        multi("Pecolation in m/season", NoteGiven, 300, {nullptr, "LrA", "LrB", "LrU", "LrAve"}, flows,
              TAxisRule::Common);
    else if (tag == "RrA")
        multi("Capillary rise in m/season", NoteGiven, 300, {nullptr, "RrA", "RrB", "RrU", "RrAve"}, flows,
              TAxisRule::Common);
    else if (tag == "It")
        multi("Irrigation data in m/season", NoteGiven, 300, {nullptr, "It", "Is", "Io", "IaA", "IaB"}, irrigation,
              TAxisRule::Common);
    else if (tag == "FfA")
        multi("Efficiency/sufficiency in %", NoteGiven, 300, {nullptr, "FfA", "FfB", "FfT", "JsA", "JsB"}, irrigation,
              TAxisRule::Percent);
    else if (tag == "Zs")
        one("Salt storage Zs in m.dS/m", 6, "Zs", TAxisRule::SingleSlot);
    else if (tag == "EaU")
        one("Actual evaporation from unirrigated land, m/season", 6, "EaU", TAxisRule::SingleSlot);
    else if (tag == "Dw") {
        one("Dw", 5, "Dw", TAxisRule::WaterLevel);
        g.TitleY = 50;
    } else if (tag == "Kr")
        one("Crop rotation index (-)", 5, "Kr", TAxisRule::RotationKey);
    else
        return false;
    return true;
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
        for (int s = 1; s <= ns_; ++s)
            ends_[static_cast<std::size_t>(s)] =
                ends_[static_cast<std::size_t>(s - 1)] + (rec.Ts[s] == 0.0 ? 12 / ns_ : rec.Ts[s]);
    }
    int Years() const { return years_; }
    // x of record k (0 = year 0, season 1), kept inside the plot whatever the durations.
    int End(long long k) const
    {
        const double months = 12.0 * static_cast<double>(k / ns_) + ends_[static_cast<std::size_t>(k % ns_ + 1)];
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
    const int widest = canvas.TextWidth(std::to_string(years - 1), true);
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
        const std::string name = "Season " + std::to_string(s);
        canvas.Text(x + swatch + 4, y, name, LabelColour, TextBackground, true);
        x += swatch + 4 + canvas.TextWidth(name, true) + 20;
    }
}

} // namespace

TChartOutcome DrawChart(const TGroupStore& store, const TInputRecord& rec, TCanvas& canvas)
{
    TGroupLayout g;
    if (!LayoutFor(store.GroupTag, store.SeriesCount, g))
        return TChartOutcome::NoData;
    const int ns = rec.Ns;
    const int n = store.RecordCount;
    if (ns < 1 || ns > 4 || n < 1 || !HasDataToDraw(store, g))
        return TChartOutcome::NoData;

    const bool levels = g.Axis == TAxisRule::WaterLevel;
    const bool bars = levels || g.Axis == TAxisRule::RotationKey;

    // Working copies of the drawn series: the store keeps its values.
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

    TChartAxis axis;
    for (auto& cs : series) {
        for (double v : cs.V) {
            cs.Max = std::max(cs.Max, v);
            cs.Min = std::min(cs.Min, v);
        }
        if (!levels && cs.Min < 0.0)
            cs.Min = 0.0;
        switch (g.Axis) {
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
            cs.Axis = g.Axis == TAxisRule::Percent ? PercentAxis() : ScaledAxis(m, cs.Min);
        }
        }
    }
    if (g.Axis == TAxisRule::Common) {
        // The series that reaches highest gives the steps; the lowest minimum the bottom.
        const TChartSeries* top = &series.front();
        double lowest = top->Axis.Min;
        for (const auto& cs : series) {
            if (cs.Axis.Max > top->Axis.Max)
                top = &cs;
            lowest = std::min(lowest, cs.Axis.Min);
        }
        axis = top->Axis;
        axis.Min = lowest;
    } else if (g.Axis == TAxisRule::Percent) {
        axis = PercentAxis();
    } else {
        axis = series.front().Axis;
    }
    if (!levels)
        for (auto& cs : series)
            for (double& v : cs.V)
                v = std::max(v, 0.0);

    const TTimeAxis time(rec, n);
    const double span = axis.Max > axis.Min ? axis.Max - axis.Min : 1.0;
    // Heights stay inside the plot: a rotation key above the axis, say, ends at its top.
    auto Y = [&](double v) {
        return std::clamp(PlotBottom - RoundHalfEven((v - axis.Min) * PlotHeight / span), PlotTop, PlotBottom);
    };

    canvas.FillRect(0, 0, ChartWidth, ChartHeight, White);
    canvas.Text(120, levels ? 10 : 15, store.TableHeads[1], HeadColour, TextBackground, true);
    canvas.Text(120, levels ? 25 : 30, store.TableHeads[2], HeadColour, TextBackground, true);

    // Value axis: ticks and labels from the top down, each label the value of its tick.
    canvas.SetPen(AxisColour, 1, false);
    const int steps = axis.Intervals;
    const int decimals = TickDecimals(axis);
    const int textHeight = canvas.TextHeight(true);
    for (int j = g.Axis == TAxisRule::Percent ? 1 : 0; j <= steps; ++j) {
        const int yj = RoundHalfEven(PlotTop + static_cast<double>(PlotHeight) * j / steps);
        canvas.Line(PlotLeft, yj, PlotLeft - 4, yj);
        if (j < steps || levels) {
            const double value = axis.Max - (static_cast<double>(j) / steps) * (axis.Max - axis.Min);
            const std::string label = AxisLabel(value, decimals);
            canvas.Text(64 - canvas.TextWidth(label, true), yj - textHeight / 2, label, LabelColour, TextBackground,
                        true);
        }
    }

    // Time axis: a tick at every season end, a longer one at a year's end, and the
    // year's number centred under the end of the year. Ticks closer than 4 pixels
    // would run together: then only the labelled years keep theirs.
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
            const std::string label = std::to_string(year);
            canvas.Text(x - canvas.TextWidth(label, true) / 2, 380, label, LabelColour, TextBackground, true);
        }
    }

    canvas.Text(80, g.TitleY, g.Title, g.TitleColour, TextBackground, true);
    if (!g.Note.empty())
        canvas.Text(g.NoteX, 45, g.Note, LabelColour, TextBackground, false);

    // Legend: the present series side by side with their multipliers, each name
    // clear of the one before however long it is.
    if (!levels) {
        int x = 85;
        for (const auto& cs : series) {
            std::string name = g.Names[static_cast<std::size_t>(cs.Slot)];
            if (cs.Multiplier > 1)
                name.append("*").append(std::to_string(cs.Multiplier));
            canvas.Text(x, 70, name, g.Colours[static_cast<std::size_t>(cs.Slot)], TextBackground, true);
            x += std::max(50, canvas.TextWidth(name, true) + 10);
        }
    }
    if (bars)
        DrawSeasonLegend(canvas, ns);

    for (const auto& cs : series) {
        const TColor colour = g.Colours[static_cast<std::size_t>(cs.Slot)];
        auto yAt = [&](int k) { return Y(cs.V[static_cast<std::size_t>(k)]); };
        if (bars) {
            // Each record's bar fills its own season.
            const int zero = Y(0.0);
            for (int k = 0; k < n; ++k) {
                const int yk = yAt(k);
                canvas.FillRect(time.Start(k), std::min(zero, yk), time.End(k), std::max(zero, yk),
                                SeasonColours[static_cast<std::size_t>(k % ns + 1)]);
            }
            continue;
        }
        TLinePen pen(canvas, colour);
        pen.Series();
        if (g.Axis == TAxisRule::SingleSlot) {
            for (int k = 1; k < n; ++k)
                canvas.Line(time.End(k - 1), yAt(k - 1), time.End(k), yAt(k));
            continue;
        }
        if (store.GroupTag == "Cxf" && cs.Slot >= 5) {
            // The water qualities change at a season's start: steps, each value over its season.
            for (int k = 0; k < n; ++k) {
                const int x0 = time.Start(k);
                const int after = yAt(k);
                if (k > 0)
                    canvas.Line(x0, yAt(k - 1), x0, after);
                canvas.Line(x0, after, time.End(k), after);
            }
            continue;
        }
        // Values on the bottom line are "not applicable": leave gaps there.
        int prevY = yAt(0);
        bool prevBottom = prevY == PlotBottom;
        for (int k = 1; k < n; ++k) {
            const int y = yAt(k);
            if (y == PlotBottom) {
                pen.Gap();
                canvas.Line(time.End(k - 1), prevY, time.End(k), prevY);
                prevBottom = true;
            } else if (prevBottom) {
                pen.Gap();
                canvas.Line(time.End(k - 1), y, time.End(k), y);
                prevBottom = false;
                prevY = y;
            } else {
                pen.Series();
                canvas.Line(time.End(k - 1), prevY, time.End(k), y);
                prevY = y;
            }
        }
    }

    canvas.SetPen(AxisColour, 1, false);
    canvas.Line(PlotLeft, PlotBottom + 4, PlotLeft, PlotTop);
    canvas.Line(PlotLeft, PlotBottom, PlotRight, PlotBottom);
    std::string footer = "Veltra: ";
    footer += FilePart(rec.FileName);
    canvas.Text(70, 415, footer, LabelColour, TextBackground, true);
    return TChartOutcome::Drawn;
}

} // namespace veltra
