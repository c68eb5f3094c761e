// Charts drawn on a recording canvas: axes, labels, legends, curves, bars and steps
// by the pixel, and the refusals. (Pictures written by veltra chart: tests/cli/chart.sh.)
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "graphs/Chart.h"
#include "graphs/ChartAxis.h"
#include "graphs/FitChart.h"
#include "support/TRecordingCanvas.h"

namespace veltra {
namespace {

constexpr TColor White{255, 255, 255}, Axis{0, 0, 255};

// A run of 2 seasons (7 and 5 months) over 3 years: 8 records, years 0 to 3.
struct TChartCase {
    TGroupStore Store;
    TInputRecord Rec;
    TRecordingCanvas Canvas;

    TChartCase(const std::string& tag, int seriesCount)
    {
        Rec.Ns = 2, Rec.Ny = 3, Rec.Ts[1] = 7, Rec.Ts[2] = 5;
        Rec.Shell.FileName = "/data/runs/field.res";
        Store.GroupTag = tag;
        Store.SeriesCount = seriesCount;
        Store.RecordCount = 8;
        Store.TableHeads = {"", "\"Heading one\" ", "\"Heading two\" ", "cols"};
    }
    void Set(int slot, std::vector<double> v)
    {
        Store.SeriesPresent[slot] = std::any_of(v.begin(), v.end(), [](double x) { return x > 0; });
        Store.GroupSeries[slot] = std::move(v);
    }
    TChartOutcome Draw() { return DrawChart(Store, Rec, Canvas); }

    // The lines drawn with a pen of this colour, each with its pen's colour, width and dots.
    std::vector<TCanvasCall> Lines(TColor colour) const
    {
        std::vector<TCanvasCall> out;
        TCanvasCall pen;
        for (const auto& call : Canvas.Calls) {
            if (call.What == TCanvasCall::Kind::Pen)
                pen = call;
            else if (call.What == TCanvasCall::Kind::Line && pen.Colour == colour) {
                out.push_back(call);
                out.back().Colour = pen.Colour, out.back().Width = pen.Width, out.back().Dotted = pen.Dotted;
            }
        }
        return out;
    }
    bool HasLine(TColor colour, int x1, int y1, int x2, int y2) const
    {
        const auto all = Lines(colour);
        return std::any_of(all.begin(), all.end(),
                           [&](const TCanvasCall& l) { return l.X1 == x1 && l.Y1 == y1 && l.X2 == x2 && l.Y2 == y2; });
    }
    TCanvasCall Text(const std::string& s) const // X1 and Y1 -1 when not drawn
    {
        for (const auto& call : Canvas.Calls)
            if (call.What == TCanvasCall::Kind::Text && call.Str == s)
                return call;
        return {.X1 = -1, .Y1 = -1};
    }
    std::vector<TCanvasCall> Fills() const
    {
        std::vector<TCanvasCall> out;
        std::copy_if(Canvas.Calls.begin(), Canvas.Calls.end(), std::back_inserter(out),
                     [](const TCanvasCall& c) { return c.What == TCanvasCall::Kind::Fill; });
        return out;
    }
    // The bars: the fills of the plot area, below the headings and above the axis texts.
    std::vector<TCanvasCall> Bars() const
    {
        std::vector<TCanvasCall> out;
        for (const auto& f : Fills())
            if (f.Y1 >= 45 && f.Y2 <= 380 && !(f.X1 == 0 && f.Y1 == 0))
                out.push_back(f);
        return out;
    }
};

int Width(const TCanvasCall& text) // as the recording canvas measures it
{
    return 7 * static_cast<int>(text.Str.size());
}

TCanvasCall Fill(int left, int top, int right, int bottom, TColor colour)
{
    return {.What = TCanvasCall::Kind::Fill, .X1 = left, .Y1 = top, .X2 = right, .Y2 = bottom, .Colour = colour};
}

// x of record k: the season ends 7, 12, 19, 24, ... months on the axis of years 0
// to 3, 48 months.
int XOf(int k)
{
    return 70 + RoundHalfEven((12 * (k / 2) + (k % 2 == 0 ? 7 : 12)) * 600 / 48.0);
}

TEST(ChartAxis, RoundingMultipliersAndRanges)
{
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(-1.5), -2);
    EXPECT_EQ(SeriesMultiplier(1.1 * 0.95), 1); // 10, 100, 1000: the legend names
    EXPECT_EQ(ScaledAxis(6.93, 3.0), (TChartAxis{2, 8, 6, 1}));
    EXPECT_EQ(ScaledAxis(5.5, 0.0), (TChartAxis{0, 6, 6, 1})); // 0.05 x 100: Round(6.5) = 6
    EXPECT_EQ(ScaledAxis(1.5, 0.0), (TChartAxis{0, 2, 5, 2})); // too few steps: 5, one more decimal
    EXPECT_EQ(ScaledAxis(9.5, -9.0), (TChartAxis{-10, 10, 10, 1}));
    EXPECT_EQ(ScaledAxis(200.0, 0.0), (TChartAxis{0, 200, 8, 0}));
    EXPECT_EQ(ScaledAxis(1500.0, 0.0), (TChartAxis{0, 2000, 5, 1}));
    EXPECT_EQ(WaterLevelAxis(-20.0, 0.3), (TChartAxis{-20, 1, 10, 1}));
    // Label decimals: enough for every tick's value.
    EXPECT_EQ(TickDecimals(TChartAxis{-2, 0, 4, 1}), 1);  // -0.5
    EXPECT_EQ(TickDecimals(TChartAxis{0, 7, 4, 1}), 2);   // 1.75
    EXPECT_EQ(TickDecimals(TChartAxis{0, 120, 6, 0}), 0); // percent
    EXPECT_EQ(TickDecimals(TChartAxis{0, 1, 3, 0}), 3);   // thirds: three more at most
    EXPECT_EQ(TickDecimals(TChartAxis{0, 1.1e12, 10, 1}), 1);
}

// Results far beyond an int (a damaged or absurd run) get the rule's axis in
// floating point: labels that are the rule's numbers, beside the axis, and the curve.
TEST(Chart, HugeValuesGetTheRuleAxisAndTheirCurve)
{
    EXPECT_EQ(ScaledAxis(1.1e12, 5e11), (TChartAxis{5e11, 1.1e12, 10, 1}));
    EXPECT_EQ(WaterLevelAxis(-1e30, 0.0), (TChartAxis{-1e30, 0, 10, 1}));
    EXPECT_EQ(RoundHalfEven(1e30), 1000000000); // a pixel stays an int

    // The largest value, the label of the axis maximum and of the next tick down.
    for (const auto& [m, topLabel, nextLabel] :
         {std::tuple{1e6, "1100000.0", "990000.0"}, std::tuple{1e12, "1.10E+12", "9.90E+11"},
          std::tuple{1e30, "1.10E+30", "9.90E+29"}}) {
        SCOPED_TRACE(m);
        TChartCase c("It", 5);
        c.Set(1, {-1, m / 2, m, m / 2, m / 4, m / 2, m, m}); // -1: not applicable, raised to 0
        ASSERT_EQ(c.Draw(), TChartOutcome::Drawn);
        for (const char* label : {topLabel, nextLabel}) {
            const auto& text = c.Text(label);
            EXPECT_EQ(text.X1 + Width(text), 64) << label; // beside the axis, inside the picture
        }
        EXPECT_EQ(c.Text(topLabel).Y1, 70 - 6);
        // The curve: a gap from the bottom point 0, then point to point up to the last
        // record, the maximum 1/1.1 up the axis.
        const auto curve = c.Lines(TColor{0, 128, 0});
        ASSERT_EQ(curve.size(), 6u);
        const int half = 370 - RoundHalfEven(150 / 1.1);
        const int top = 370 - RoundHalfEven(300 / 1.1);
        EXPECT_TRUE(c.HasLine(White, XOf(0), half, XOf(1), half));
        EXPECT_TRUE(c.HasLine(TColor{0, 128, 0}, XOf(1), half, XOf(2), top));
        EXPECT_TRUE(c.HasLine(TColor{0, 128, 0}, XOf(6), top, XOf(7), top));
        for (const TCanvasCall& l : curve)
            EXPECT_TRUE(l.Y1 >= 70 && l.Y1 <= 370 && l.Y2 >= 70 && l.Y2 <= 370);
    }
}

TEST(Chart, SalinityLayoutLabelsGapsAndTimeAxis)
{
    TChartCase c("CrA", 8);
    c.Set(1, {2.0, 0.0, 4.0, 0.0, 6.3, 0.0, 5.0, 0.0}); // not applicable in season 2
    c.Set(2, std::vector<double>(8, -1.0));
    c.Set(4, {1.0, 2.0, 3.0, 4.0, 5.0, 6.0, 5.5, 5.0});
    ASSERT_EQ(c.Draw(), TChartOutcome::Drawn);
    EXPECT_EQ(c.Canvas.Calls.front(), Fill(0, 0, 762, 486, White));
    const auto& head = c.Text("\"Heading one\" ");
    EXPECT_EQ((std::vector<int>{head.X1, head.Y1}), (std::vector<int>{120, 15}));
    EXPECT_EQ(head.Colour, (TColor{0, 128, 128}));

    // Axis 0..8 in 8 steps: labels right-aligned at 64 and centred on their ticks; none at the bottom.
    for (int j = 0; j < 8; ++j) {
        const auto& label = c.Text(std::to_string(8 - j) + ".0");
        EXPECT_EQ(label.X1 + 7 * 3, 64) << j;
        EXPECT_EQ(label.Y1, RoundHalfEven(70 + 37.5 * j) - 6) << j;
        EXPECT_EQ(label.Colour, (TColor{128, 0, 0}));
        EXPECT_TRUE(c.HasLine(Axis, 70, RoundHalfEven(70 + 37.5 * j), 66, RoundHalfEven(70 + 37.5 * j)));
    }
    EXPECT_EQ(c.Text("0.0").X1, -1);
    const auto& note = c.Text("Only applicable values are shown depending on the value of rotation key Kr");
    EXPECT_EQ((std::vector<int>{note.X1, note.Y1, note.Bold}), (std::vector<int>{300, 45, 0}));
    EXPECT_EQ(c.Text("CrB").X1, -1); // absent: not in the legend (its places and colours: the legend table)

    // CrA never has two applicable points in a row: only gaps, dotted in the background colour.
    auto y = [](double v) { return 370 - RoundHalfEven(v * 300 / 8.0); };
    const auto crA = c.Lines(Axis);
    EXPECT_TRUE(std::none_of(crA.begin(), crA.end(), [](const TCanvasCall& l) { return l.Width == 2; }));
    const auto gaps = c.Lines(White);
    ASSERT_EQ(gaps.size(), 7u); // from record 0 to the last one
    EXPECT_TRUE(std::all_of(gaps.begin(), gaps.end(), [](auto& g) { return g.Dotted && g.Width == 1; }));
    // The bottom point 1 takes its predecessor's height, and towards point 2 its
    // successor's; the last record is at the end of year 3.
    EXPECT_EQ((std::vector<int>{gaps[0].Y1, gaps[1].Y1, gaps[6].X2}), (std::vector<int>{y(2.0), y(4.0), 670}));
    // Cr4: joined point to point from record 0 to the last, each at the end of its season.
    const auto cr4 = c.Lines(TColor{0, 170, 0});
    ASSERT_EQ(cr4.size(), 7u);
    EXPECT_TRUE(c.HasLine(TColor{0, 170, 0}, XOf(0), y(1.0), XOf(1), y(2.0)));
    EXPECT_TRUE(c.HasLine(TColor{0, 170, 0}, XOf(6), y(5.5), XOf(7), y(5.0)));

    // Time axis: a tick per season end, longer at a year's end (the year numbers: the
    // long runs' table, with their ticks); years 0 to 3 fill the axis; the frame.
    EXPECT_TRUE(c.HasLine(Axis, XOf(0), 370, XOf(0), 374));
    EXPECT_TRUE(c.HasLine(Axis, 70, 374, 70, 70));
    EXPECT_TRUE(c.HasLine(Axis, 70, 370, 670, 370));
    EXPECT_EQ((std::vector<int>{c.Text("Veltra: field.res").X1, c.Text("Veltra: field.res").Y1}),
              (std::vector<int>{70, 415}));
}

// Year numbers never run into each other: long runs label every 2nd, 5th, 10th or
// 20th year, each number centred on its year's end.
TEST(Chart, YearLabelsKeepApartOnLongRuns)
{
    // The years on the axis, year 0 included, and the step of their labels.
    for (const auto& [years, step] :
         {std::pair{4, 1}, std::pair{11, 1}, std::pair{21, 2}, std::pair{51, 5}, std::pair{100, 10}}) {
        SCOPED_TRACE(years);
        TChartCase c("Kr", 1);
        c.Store.RecordCount = 2 * years;
        c.Rec.Ny = years - 1;
        c.Set(5, std::vector<double>(static_cast<std::size_t>(2 * years), 4.0));
        ASSERT_EQ(c.Draw(), TChartOutcome::Drawn);
        EXPECT_EQ(c.Text(" 5").Y1, 64);  // keys up to 5: the axis 0 .. 5
        std::vector<TCanvasCall> labels; // the texts on the row of the year numbers, left to right
        std::copy_if(c.Canvas.Calls.begin(), c.Canvas.Calls.end(), std::back_inserter(labels),
                     [](const TCanvasCall& t) { return t.What == TCanvasCall::Kind::Text && t.Y1 == 380; });
        std::ranges::sort(labels, {}, &TCanvasCall::X1);
        ASSERT_EQ(labels.size(), static_cast<std::size_t>((years - 1) / step + 1));
        for (std::size_t i = 0; i < labels.size(); ++i) {
            const int year = static_cast<int>(i) * step;
            EXPECT_EQ(labels[i].Str, std::to_string(year));
            const int yearEnd = 70 + RoundHalfEven(12.0 * (year + 1) * 600 / (12.0 * years));
            EXPECT_EQ(labels[i].X1, yearEnd - Width(labels[i]) / 2) << year;
            EXPECT_TRUE(c.HasLine(TColor{0, 0, 255}, yearEnd, 370, yearEnd, 376)) << year;
            if (i > 0) { // at least one and a half label widths between neighbours
                EXPECT_GE(labels[i].X1 - (labels[i - 1].X1 + Width(labels[i - 1])), Width(labels[i - 1]) * 3 / 2);
            }
        }
        // A season tick only where each season has 4 pixels: none on the 100 years.
        const auto seasonTicks = std::ranges::count_if(c.Canvas.Calls, [](const TCanvasCall& t) {
            return t.What == TCanvasCall::Kind::Line && t.Y1 == 370 && t.Y2 == 374 && t.X1 == t.X2;
        });
        EXPECT_EQ(seasonTicks, 600 >= 8 * years ? years : 0);
        // Each record's bar fills its season, inside the plot.
        const auto bars = c.Bars();
        ASSERT_EQ(bars.size(), static_cast<std::size_t>(2 * years));
        EXPECT_EQ(bars.front().X1, 70);
        EXPECT_EQ(bars.back().X2, 670);
    }
}

// Each series small enough is drawn times 10, 100 or 1000 and named so; the store
// keeps its values. Legend names stand 50 pixels apart, or further where a name with
// its multiplier is longer: never one over the next. Every series colour shows on white.
TEST(Chart, LegendsNameMultipliersKeepApartInColoursThatShow)
{
    struct TCase {
        const char* Tag;
        std::vector<double> Maxima; // per slot from 1; 0: absent
        const char* Names;
        std::vector<TColor> Colours;
    };
    const TColor blue{0, 0, 255}, green{0, 128, 0}, red{255, 0, 0}, lightGreen{0, 170, 0}, grey{120, 120, 120},
        fuchsia{255, 0, 255}, amber{200, 140, 0}, maroon{128, 0, 0};
    const TCase cases[] = {
        {"Gd", {0.05, 0.005, 0.05, 0.5}, "Gd*100 Ga*1000 Gb*100 Gw*10", {blue, red, green, amber}},
        {"CrA",
         {5, 0.5, 0.05, 0.005, 5, 5, 5, 5},
         "CrA CrB*10 CrU*100 Cr4*1000 C0* C1* C2* C3*",
         {blue, green, red, lightGreen, grey, fuchsia, amber, maroon}},
        {"LrA", {1, 2, 3, 0.5}, "LrA LrB LrU LrAve*10", {blue, green, red, lightGreen}},
        {"A", {50, 30, 20, 10}, "A B U Uc", {blue, red, green, amber}},
    };
    for (const TCase& t : cases) {
        SCOPED_TRACE(t.Tag);
        TChartCase c(t.Tag, static_cast<int>(t.Maxima.size()));
        for (std::size_t k = 0; k < t.Maxima.size(); ++k)
            c.Set(static_cast<int>(k + 1), {t.Maxima[k] / 2, t.Maxima[k], t.Maxima[k] / 2, t.Maxima[k], t.Maxima[k],
                                            t.Maxima[k], t.Maxima[k], t.Maxima[k]});
        const auto before = c.Store.GroupSeries;
        ASSERT_EQ(c.Draw(), TChartOutcome::Drawn);
        EXPECT_EQ(c.Store.GroupSeries, before);
        std::vector<TCanvasCall> legend;
        std::string names;
        for (const auto& call : c.Canvas.Calls)
            if (call.What == TCanvasCall::Kind::Text && call.Y1 == 70) {
                legend.push_back(call);
                names += (names.empty() ? "" : " ") + call.Str;
            }
        EXPECT_EQ(names, t.Names);
        ASSERT_EQ(legend.size(), t.Colours.size());
        EXPECT_EQ(legend[0].X1, 85);
        for (std::size_t k = 0; k < legend.size(); ++k) {
            EXPECT_EQ(legend[k].Colour, t.Colours[k]) << legend[k].Str;
            if (k > 0) {
                EXPECT_EQ(legend[k].X1, legend[k - 1].X1 + std::max(50, Width(legend[k - 1]) + 10)) << legend[k].Str;
            }
        }
    }
}

TEST(Chart, WaterTableAndRotationKeyBarsBySeason)
{
    TChartCase dw("Dw", 1);
    dw.Store.GroupSeries[5] = {-0.8, -0.8, -1.1, -1.27, -1.5, -2.3, -1.9, -1.2};
    dw.Store.SeriesPresent[5] = true;
    ASSERT_EQ(dw.Draw(), TChartOutcome::Drawn);
    // Axis -3 .. 0 in 4 steps, both ends labelled: each label is its tick's value.
    const char* const labels[] = {"0.00", "-0.75", "-1.50", "-2.25", "-3.00"};
    for (int j = 0; j < 5; ++j) {
        EXPECT_EQ(dw.Text(labels[j]).Y1, 70 + 75 * j - 6) << labels[j];
        EXPECT_EQ(dw.Text(labels[j]).X1 + Width(dw.Text(labels[j])), 64) << labels[j];
    }
    EXPECT_EQ(dw.Text("-0.8").X1, -1);
    EXPECT_EQ(dw.Text("\"Heading two\" ").Y1, 25);
    // Every record's bar fills its own season, from the level 0 down, by season.
    const auto bars = dw.Bars();
    ASSERT_EQ(bars.size(), 8u);
    const TColor olive{128, 128, 0}, silver{192, 192, 192};
    EXPECT_EQ(bars[0], Fill(70, 70, XOf(0), 150, olive));
    EXPECT_EQ(bars[1], Fill(XOf(0), 70, XOf(1), 150, silver));
    EXPECT_EQ(bars[7], Fill(XOf(6), 70, 670, 370 - 180, silver));
    // The season colours' legend under the plot, one entry after the other.
    EXPECT_EQ(dw.Fills()[1].Colour, olive);
    EXPECT_EQ(dw.Fills()[2].Colour, silver);
    const auto& first = dw.Text("Season 1");
    const auto& second = dw.Text("Season 2");
    EXPECT_GT(first.Y1, 415);
    EXPECT_EQ(first.Y1, second.Y1);
    EXPECT_GT(second.X1, first.X1 + Width(first) + 10);
    EXPECT_EQ(dw.Fills()[2].X1, second.X1 - 15);

    // Four seasons: one colour each, season 3 a gold that shows on white.
    TChartCase four("Kr", 1);
    four.Rec.Ns = 4;
    four.Rec.Ts.Fill(3.0);
    four.Set(5, std::vector<double>(8, 2.0));
    ASSERT_EQ(four.Draw(), TChartOutcome::Drawn);
    const std::vector<TColor> seasons{olive, silver, TColor{230, 180, 0}, TColor{255, 0, 0}};
    for (std::size_t k = 0; k < 8; ++k)
        EXPECT_EQ(four.Bars()[k].Colour, seasons[k % 4]) << k;
    EXPECT_EQ(four.Text("Season 4").Colour, (TColor{128, 0, 0}));
    // A key above 5 gives the axis 0 .. 10; one above 10 ends at the top of the plot.
    TChartCase high("Kr", 1);
    high.Set(5, {4, 4, 6, 6, 12, 6, 6, 6});
    ASSERT_EQ(high.Draw(), TChartOutcome::Drawn);
    EXPECT_EQ(high.Text("10").Y1, 64);
    const auto highBars = high.Bars();
    ASSERT_EQ(highBars.size(), 8u);
    EXPECT_EQ(highBars[2], Fill(XOf(1), 190, XOf(2), 370, olive));
    EXPECT_EQ(highBars[4], Fill(XOf(3), 70, XOf(4), 370, olive));
}

// Bars and steps stay inside the plot, x 70 to 670 and y 70 to 370.
TEST(Chart, WaterQualitiesAreStepsInsideThePlot)
{
    TChartCase c("Cxf", 7);
    c.Set(1, std::vector<double>(8, 1.0));
    c.Set(5, {2, 0, 4, 0, 4, 0, 4, 0}); // Ci reaches highest: M = 4.4 -> 0..5
    ASSERT_EQ(c.Draw(), TChartOutcome::Drawn);
    EXPECT_EQ(c.Text("5.0").X1, 64 - 21);
    const TColor grey{120, 120, 120};
    const auto steps = c.Lines(grey);
    ASSERT_EQ(steps.size(), 8u + 7u);                               // a flat for each record, a rise between them
    EXPECT_TRUE(c.HasLine(grey, 70, 370 - 120, XOf(0), 370 - 120)); // record 0 over its season
    EXPECT_TRUE(c.HasLine(grey, XOf(0), 370 - 120, XOf(0), 370));   // down to the bottom: no gaps
    EXPECT_TRUE(c.HasLine(grey, XOf(0), 370, XOf(1), 370));
    EXPECT_TRUE(c.HasLine(grey, XOf(6), 370, 670, 370)); // the last record ends with the axis
    for (const TCanvasCall& l : steps)
        EXPECT_TRUE(std::min(l.X1, l.X2) >= 70 && std::max(l.X1, l.X2) <= 670 && std::min(l.Y1, l.Y2) >= 70 &&
                    std::max(l.Y1, l.Y2) <= 370);
    EXPECT_TRUE(c.Lines(White).empty());
}

// Without its own series a chart is refused and the picture left alone.
TEST(Chart, RefusalsLeaveThePictureAloneAndOnlyTheOwnSeriesCount)
{
    TChartCase cr("CrA", 8);
    cr.Set(1, std::vector<double>(8, -1.0));
    EXPECT_EQ(cr.Draw(), TChartOutcome::NoData);
    EXPECT_TRUE(cr.Canvas.Calls.empty());
    TChartCase zs("Zs", 1);
    zs.Set(5, std::vector<double>(8, 1.0)); // only slot 6 counts for Zs
    EXPECT_EQ(zs.Draw(), TChartOutcome::NoData);
    EXPECT_EQ(TChartCase("XYZ", 1).Draw(), TChartOutcome::NoData);
    zs.Set(6, {0, 0.002, 0.004, 0, 0, 0, 0, 0});
    ASSERT_EQ(zs.Draw(), TChartOutcome::Drawn);
    EXPECT_EQ(zs.Text("Zs*1000").Colour, (TColor{0, 0, 128}));
    EXPECT_EQ(zs.Lines(TColor{0, 0, 128}).size(), 7u); // joined over all records, no gaps

    TChartCase area("A", 4);
    area.Set(4, std::vector<double>(8, 10.0)); // Uc alone is no area chart
    EXPECT_EQ(area.Draw(), TChartOutcome::NoData);
    area.Set(3, std::vector<double>(8, 50.0));
    area.Rec.Ts[2] = 0; // a missing duration counts as 12 div Ns, in the drawing only
    ASSERT_EQ(area.Draw(), TChartOutcome::Drawn);
    EXPECT_EQ(area.Rec.Ts[2], 0.0);
    const int thirteenMonths = 70 + RoundHalfEven(13 * 600 / 48.0);
    EXPECT_TRUE(area.HasLine(TColor{0, 128, 0}, XOf(0), 370 - 125, thirteenMonths, 370 - 125));
    EXPECT_EQ(area.Text("100").Y1, 120 - 6);
    EXPECT_EQ(area.Text("120").X1, -1); // no top label on the percent axis
}

// The chart of a fitted symbol, measured on the recording canvas: the observations are
// squares centred where their season ends, the simulated line joins the records it has
// and breaks where a record shows "-", and the value axis holds both.
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
