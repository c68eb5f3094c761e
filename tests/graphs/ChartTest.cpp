#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "graphs/Chart.h"
#include "graphs/ChartAxis.h"
#include "graphs/TRecordingCanvas.h"

namespace veltra {
namespace {

constexpr TColor White{255, 255, 255};

// A line together with the pen it was drawn with.
struct TPenLine {
    int X1, Y1, X2, Y2;
    TColor Colour;
    int Width;
    bool Dotted;
};

std::vector<TPenLine> PenLines(const TRecordingCanvas& c)
{
    std::vector<TPenLine> out;
    TCanvasCall pen;
    for (const auto& call : c.Calls) {
        if (call.What == TCanvasCall::Kind::Pen)
            pen = call;
        else if (call.What == TCanvasCall::Kind::Line)
            out.push_back({call.X1, call.Y1, call.X2, call.Y2, pen.Colour, pen.Width, pen.Dotted});
    }
    return out;
}

std::vector<TPenLine> LinesIn(const TRecordingCanvas& c, TColor colour)
{
    auto all = PenLines(c);
    std::erase_if(all, [&](const TPenLine& l) { return !(l.Colour == colour); });
    return all;
}

const TCanvasCall* FindText(const TRecordingCanvas& c, const std::string& s)
{
    for (const auto& call : c.Calls)
        if (call.What == TCanvasCall::Kind::Text && call.Str == s)
            return &call;
    return nullptr;
}

std::vector<TCanvasCall> Fills(const TRecordingCanvas& c)
{
    std::vector<TCanvasCall> out;
    for (const auto& call : c.Calls)
        if (call.What == TCanvasCall::Kind::Fill)
            out.push_back(call);
    return out;
}

// A run of 2 seasons (7 and 5 months) over 3 years: 8 records with year 0.
struct TChartCase {
    TGroupStore Store;
    TInputRecord Rec;
    TRecordingCanvas Canvas;

    TChartCase(const std::string& tag, int seriesCount)
    {
        Rec.Ns = 2;
        Rec.Ny = 3;
        Rec.Ts[1] = 7;
        Rec.Ts[2] = 5;
        Rec.FileName = "/data/runs/field.res";
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
};

// x of point k for Ts = {7, 5}, Ny = 3: season ends 7, 12, 19, 24, ... months.
int XOf(int k)
{
    const double ends[] = {7, 12, 19, 24, 31, 36, 43, 48, 55};
    return 70 + RoundHalfEven(ends[k] * 600 / 36.0);
}

TEST(ChartAxis, RoundingMultipliersAndRanges)
{
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(-0.5), 0);
    EXPECT_EQ(RoundHalfEven(-1.5), -2);
    EXPECT_EQ(RoundHalfEven(-2.7), -3);

    EXPECT_EQ(SeriesMultiplier(1.1 * 0.05), 100);
    EXPECT_EQ(SeriesMultiplier(1.1 * 0.95), 1);
    EXPECT_EQ(SeriesMultiplier(1.1 * 0.5), 10);
    EXPECT_EQ(SeriesMultiplier(1.1 * 0.005), 1000);

    // Salinities up to 6.3: axis 0 to 8 in 8 steps, one decimal.
    EXPECT_EQ(ScaledAxis(6.93, 0.0), (TChartAxis{0, 8, 8, 1}));
    EXPECT_EQ(ScaledAxis(6.93, 3.0), (TChartAxis{2, 8, 6, 1}));
    // 0.05 scaled by 100: M = 5.5, top Round(6.5) = 6.
    EXPECT_EQ(ScaledAxis(5.5, 0.0), (TChartAxis{0, 6, 6, 1}));
    // Too few steps become 5 with one more decimal; too many become 10.
    EXPECT_EQ(ScaledAxis(1.5, 0.0), (TChartAxis{0, 2, 5, 2}));
    EXPECT_EQ(ScaledAxis(9.5, -9.0), (TChartAxis{-10, 10, 10, 1}));
    EXPECT_EQ(ScaledAxis(30.0, 0.0), (TChartAxis{0, 30, 6, 1}));
    EXPECT_EQ(ScaledAxis(200.0, 0.0), (TChartAxis{0, 200, 8, 0}));
    EXPECT_EQ(ScaledAxis(1500.0, 0.0), (TChartAxis{0, 2000, 5, 1}));
    EXPECT_EQ(ScaledAxis(0.55, 0.0), (TChartAxis{0, 4, 5, 2}));

    // Water table below the surface: the axis ends at 0.
    EXPECT_EQ(WaterLevelAxis(-2.3, -0.8), (TChartAxis{-3, 0, 4, 1}));
    EXPECT_EQ(WaterLevelAxis(-20.0, 0.3), (TChartAxis{-20, 1, 10, 1}));
    EXPECT_EQ(WaterLevelAxis(-5.2, -1.0), (TChartAxis{-6, 0, 6, 1}));
}

TEST(Chart, SalinitiesLayoutLabelsGapsAndFooter)
{
    TChartCase c("CrA", 8);
    // CrA is 0 (not applicable) in the second season of every year.
    c.Set(1, {2.0, 0.0, 4.0, 0.0, 6.3, 0.0, 5.0, 0.0});
    c.Set(4, {1.0, 2.0, 3.0, 4.0, 5.0, 6.0, 5.5, 5.0});
    c.Set(2, {-1, -1, -1, -1, -1, -1, -1, -1});
    ASSERT_EQ(c.Draw(), TChartOutcome::Drawn);
    const auto& calls = c.Canvas.Calls;

    EXPECT_EQ(calls.front().What, TCanvasCall::Kind::Fill);
    EXPECT_EQ(calls.front().X2, 762);
    EXPECT_EQ(calls.front().Y2, 486);
    EXPECT_EQ(calls.front().Colour, White);
    const auto* head = FindText(c.Canvas, "\"Heading one\" ");
    ASSERT_NE(head, nullptr);
    EXPECT_EQ(head->X1, 120);
    EXPECT_EQ(head->Y1, 15);
    EXPECT_EQ(head->Colour, (TColor{0, 128, 128}));
    EXPECT_EQ(head->Background, (TColor{250, 255, 245}));

    // Axis 0..8 in 8 steps: labels right-aligned at 64, centred on their ticks.
    for (int j = 0; j < 8; ++j) {
        char text[8];
        std::snprintf(text, sizeof text, "%3.1f", 8.0 - j);
        const auto* label = FindText(c.Canvas, text);
        ASSERT_NE(label, nullptr) << text;
        EXPECT_EQ(label->X1 + 7 * 3, 64);
        EXPECT_EQ(label->Y1, RoundHalfEven(70 + 300.0 * j / 8) - 6);
        EXPECT_EQ(label->Colour, (TColor{128, 0, 0}));
    }
    EXPECT_EQ(FindText(c.Canvas, "0.0"), nullptr); // the bottom carries no label

    const auto* title = FindText(c.Canvas, "Soil salinity, EC in dS/m");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->X1, 80);
    EXPECT_EQ(title->Y1, 55);
    const auto* note =
        FindText(c.Canvas, "Only applicable values are shown depending on the value of rotation key Kr");
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->X1, 300);
    EXPECT_EQ(note->Y1, 45);
    EXPECT_FALSE(note->Bold);

    // Legend: the present series side by side in their colours; CrB (absent) is left out.
    const auto* crA = FindText(c.Canvas, "CrA");
    const auto* cr4 = FindText(c.Canvas, "Cr4");
    ASSERT_TRUE(crA && cr4);
    EXPECT_EQ(crA->X1, 85);
    EXPECT_EQ(cr4->X1, 135);
    EXPECT_EQ(cr4->Colour, (TColor{0, 255, 0}));
    EXPECT_EQ(FindText(c.Canvas, "CrB"), nullptr);

    // CrA: the flat start at point 1 is a gap; rises and drops to the bottom are gaps too,
    // so no blue segment ever reaches the bottom line y = 370.
    auto y = [](double v) { return 370 - RoundHalfEven(v * 300 / 8.0); };
    const auto blue = LinesIn(c.Canvas, TColor{0, 0, 255});
    const auto seriesBlue = std::count_if(blue.begin(), blue.end(), [](const TPenLine& l) { return l.Width == 2; });
    EXPECT_EQ(seriesBlue, 0); // CrA never has two applicable points in a row
    const auto gaps = LinesIn(c.Canvas, White);
    ASSERT_EQ(gaps.size(), 5u); // points 1..5 (k < Ns x Ny = 6)
    for (const auto& g : gaps) {
        EXPECT_TRUE(g.Dotted);
        EXPECT_EQ(g.Width, 1);
        EXPECT_EQ(g.Y1, g.Y2);
    }
    EXPECT_EQ(gaps[1].Y1, y(4.0)); // leaving the bottom point 1 for point 2 at 4.0
    EXPECT_EQ(gaps[2].Y1, y(4.0)); // point 3 (bottom) takes its predecessor's height

    // Cr4 is joined point to point from the flat start at point 1 up to point 5.
    const auto lime = LinesIn(c.Canvas, TColor{0, 255, 0});
    ASSERT_EQ(lime.size(), 5u);
    EXPECT_EQ(lime[0].X1, XOf(0));
    EXPECT_EQ(lime[0].X2, XOf(1));
    EXPECT_EQ(lime[0].Y1, y(2.0));
    EXPECT_EQ(lime[0].Y2, y(2.0));
    EXPECT_EQ(lime[4].X1, XOf(4));
    EXPECT_EQ(lime[4].Y1, y(5.0));
    EXPECT_EQ(lime[4].X2, XOf(5));
    EXPECT_EQ(lime[4].Y2, y(6.0));
    EXPECT_EQ(lime[4].Width, 2);

    // Time axis: a tick per season end, longer at a year's end, with the year number.
    const auto* year3 = FindText(c.Canvas, "3");
    ASSERT_NE(year3, nullptr);
    EXPECT_EQ(year3->X1, 670 - 5);
    EXPECT_EQ(year3->Y1, 380);
    const auto axisLines = LinesIn(c.Canvas, TColor{0, 0, 255});
    auto hasLine = [&](int x1, int y1, int x2, int y2) {
        return std::any_of(axisLines.begin(), axisLines.end(), [&](const TPenLine& l) {
            return l.Width == 1 && l.X1 == x1 && l.Y1 == y1 && l.X2 == x2 && l.Y2 == y2;
        });
    };
    EXPECT_TRUE(hasLine(XOf(0), 370, XOf(0), 374));
    EXPECT_TRUE(hasLine(XOf(1), 370, XOf(1), 376));
    EXPECT_TRUE(hasLine(670, 370, 670, 376));
    EXPECT_TRUE(hasLine(70, 374, 70, 70));
    EXPECT_TRUE(hasLine(70, 370, 670, 370));
    EXPECT_TRUE(hasLine(70, 70, 66, 70));

    const auto* footer = FindText(c.Canvas, "Veltra: field.res");
    ASSERT_NE(footer, nullptr);
    EXPECT_EQ(footer->X1, 70);
    EXPECT_EQ(footer->Y1, 415);
}

TEST(Chart, MultipliersLabelEveryGroupAndSeriesAreRestored)
{
    TChartCase lr("LrA", 4);
    lr.Set(1, {0.01, 0.05, 0.02, 0.03, 0.04, 0.05, 0.01, 0.02});
    lr.Set(2, {0.5, 0.9, 0.7, 0.8, 0.95, 0.6, 0.5, 0.4});
    const auto before = lr.Store.GroupSeries;
    ASSERT_EQ(lr.Draw(), TChartOutcome::Drawn);
    EXPECT_NE(FindText(lr.Canvas, "LrA*100"), nullptr);
    EXPECT_NE(FindText(lr.Canvas, "LrB"), nullptr); // 1.1 x 0.95 = 1.045 needs no multiplier
    EXPECT_EQ(lr.Store.GroupSeries, before);

    // Drawing the same group again gives exactly the same picture.
    TRecordingCanvas again;
    ASSERT_EQ(DrawChart(lr.Store, lr.Rec, again), TChartOutcome::Drawn);
    EXPECT_EQ(again.Calls, lr.Canvas.Calls);

    TChartCase cr("CrA", 8);
    cr.Set(1, {0.005, 0.001, 0, 0, 0, 0, 0, 0});
    cr.Set(2, {0.05, 0.01, 0, 0, 0, 0, 0, 0});
    ASSERT_EQ(cr.Draw(), TChartOutcome::Drawn);
    EXPECT_NE(FindText(cr.Canvas, "CrA*1000"), nullptr);
    EXPECT_NE(FindText(cr.Canvas, "CrB*100"), nullptr);

    TChartCase zs("Zs", 1);
    zs.Set(6, {0, 0.002, 0.004, 0, 0, 0, 0, 0});
    ASSERT_EQ(zs.Draw(), TChartOutcome::Drawn);
    const auto* legend = FindText(zs.Canvas, "Zs*1000");
    ASSERT_NE(legend, nullptr);
    EXPECT_EQ(legend->X1, 85);
    EXPECT_EQ(legend->Colour, (TColor{0, 0, 128}));
    // Zs is joined over all records, bottom points included.
    EXPECT_EQ(LinesIn(zs.Canvas, TColor{0, 0, 128}).size(), 7u);
}

TEST(Chart, WaterTableBarsByseasonEndAtZero)
{
    TChartCase c("Dw", 1);
    c.Store.GroupSeries[5] = {-0.8, -0.8, -1.1, -1.27, -1.5, -2.3, -1.9, -1.2};
    c.Store.SeriesPresent[5] = true;
    ASSERT_EQ(c.Draw(), TChartOutcome::Drawn);
    // Axis -3 .. 0 in 4 steps: the top label is 0.0 and the bottom one is labelled too.
    const auto* top = FindText(c.Canvas, "0.0");
    const auto* bottom = FindText(c.Canvas, "-3.0");
    ASSERT_TRUE(top && bottom);
    EXPECT_EQ(top->Y1, 70 - 6);
    EXPECT_EQ(bottom->Y1, 370 - 6);
    EXPECT_EQ(FindText(c.Canvas, "Dw")->Y1, 50);
    EXPECT_EQ(FindText(c.Canvas, "\"Heading one\" ")->Y1, 10);

    const auto fills = Fills(c.Canvas);
    ASSERT_EQ(fills.size(), 1u + 7u); // background, then a bar for points 1..7
    auto y = [](double v) { return 370 - RoundHalfEven((v + 3.0) * 300 / 3.0); };
    EXPECT_EQ(fills[1].X1, XOf(0));
    EXPECT_EQ(fills[1].X2, XOf(1));
    EXPECT_EQ(fills[1].Y1, 70); // from the level 0 ...
    EXPECT_EQ(fills[1].Y2, y(-0.8)); // ... down to the water table
    EXPECT_EQ(fills[1].Colour, (TColor{192, 192, 192})); // point 1 is season 2
    EXPECT_EQ(fills[2].Colour, (TColor{128, 128, 0}));
    EXPECT_EQ(fills[5].Y2, y(-2.3));
}

TEST(Chart, RotationKeyAxisGrowsForKeysAboveFive)
{
    TChartCase low("Kr", 1);
    low.Set(5, {4, 4, 4, 4, 4, 4, 4, 4});
    ASSERT_EQ(low.Draw(), TChartOutcome::Drawn);
    EXPECT_NE(FindText(low.Canvas, " 5"), nullptr);
    EXPECT_EQ(FindText(low.Canvas, "10"), nullptr);
    EXPECT_EQ(FindText(low.Canvas, "Kr")->X1, 85);

    TChartCase high("Kr", 1);
    high.Set(5, {4, 4, 6, 6, 6, 6, 6, 6});
    ASSERT_EQ(high.Draw(), TChartOutcome::Drawn);
    const auto* top = FindText(high.Canvas, "10");
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top->Y1, 70 - 6);
    const auto fills = Fills(high.Canvas);
    ASSERT_EQ(fills.size(), 8u);
    EXPECT_EQ(fills[2].Y1, 370 - 180); // key 6 on a 0..10 axis
    EXPECT_EQ(fills[2].Y2, 370);
    EXPECT_EQ(fills[2].Colour, (TColor{128, 128, 0}));
}

TEST(Chart, WaterQualitiesAreDrawnAsSteps)
{
    TChartCase c("Cxf", 7);
    c.Set(1, {1, 1, 1, 1, 1, 1, 1, 1});
    c.Set(5, {2, 0, 4, 0, 4, 0, 4, 0}); // Ci: irrigation water in season 1 only
    ASSERT_EQ(c.Draw(), TChartOutcome::Drawn);
    // Axis: Ci reaches highest (M = 4.4 -> 0..5 in 5 steps).
    EXPECT_NE(FindText(c.Canvas, "5.0"), nullptr);
    auto y = [](double v) { return 370 - RoundHalfEven(v * 300 / 5.0); };
    const auto ci = LinesIn(c.Canvas, TColor{192, 192, 192});
    ASSERT_EQ(ci.size(), 2u * 7u); // a rise and a flat for every point after the first
    EXPECT_EQ(ci[0].X1, XOf(0));
    EXPECT_EQ(ci[0].X2, XOf(0));
    EXPECT_EQ(ci[0].Y1, y(2));
    EXPECT_EQ(ci[0].Y2, 370); // steps go down to the bottom: no gaps for them
    EXPECT_EQ(ci[1].X2, XOf(1));
    EXPECT_EQ(ci[1].Y1, 370);
    for (const auto& l : ci)
        EXPECT_EQ(l.Width, 2);
    EXPECT_TRUE(LinesIn(c.Canvas, White).empty());
}

TEST(Chart, RefusesGroupsWithoutDataAndLeavesThePictureAlone)
{
    TChartCase cr("CrA", 8);
    cr.Set(1, std::vector<double>(8, -1.0));
    EXPECT_EQ(cr.Draw(), TChartOutcome::NoData);
    EXPECT_TRUE(cr.Canvas.Calls.empty());
    EXPECT_STREQ(NoDataMessage, "No data present. Graph is not made");

    TChartCase zs("Zs", 1);
    zs.Set(5, std::vector<double>(8, 1.0)); // only slot 6 counts for Zs
    EXPECT_EQ(zs.Draw(), TChartOutcome::NoData);

    TChartCase area("A", 4);
    area.Set(4, std::vector<double>(8, 10.0)); // Uc alone is no area chart
    EXPECT_EQ(area.Draw(), TChartOutcome::NoData);
    area.Set(3, std::vector<double>(8, 50.0));
    area.Rec.Ts[2] = 0; // a missing duration becomes 12 div Ns
    ASSERT_EQ(area.Draw(), TChartOutcome::Drawn);
    EXPECT_EQ(area.Rec.Ts[2], 6.0);
    EXPECT_NE(FindText(area.Canvas, "100"), nullptr);
    EXPECT_EQ(FindText(area.Canvas, "120"), nullptr); // no top label on the percent axis

    TChartCase unknown("XYZ", 1);
    EXPECT_EQ(unknown.Draw(), TChartOutcome::NoData);
}

} // namespace
} // namespace veltra
