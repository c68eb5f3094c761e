// Output-group tables: the number and cell texts and the presence rules. The readers'
// refusals of damaged files and the reference cases' group files: GroupFileTest.cpp
// and the whole-run reference test.
#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "GroupTestFiles.h"
#include "results/GroupFile.h"
#include "results/OutputGroups.h"

namespace veltra {
namespace {

using namespace veltra::testing;

TEST(GroupTables, NumberTextsAndCentredCells)
{
    const std::vector<std::pair<double, const char*>> numbers{
        {3.73, "3.73"},       {0.0123, "0.0123"},   {12.5, "12.5"},         {1.23e-5, "1.23E-5"},
        {100, "100"},         {0, "0"},             {-0.0, "0"},            {-0.8, "-0.8"},
        {0.0001, "0.0001"},   {5e-5, "5E-5"},       {-1.5e-7, "-1.5E-7"},   {1e15, "1E15"},
        {999999999999999, "999999999999999"},       {1.23e20, "1.23E20"},   {0.1 + 0.2, "0.3"},
        {2.0 / 3.0, "0.666666666666667"},           {86.7, "86.7"},         {1.5e-101, "1.5E-101"},
    };
    for (const auto& [v, text] : numbers)
        EXPECT_EQ(TableNumberText(v), text) << v;

    EXPECT_EQ(CentreCell("3.73"), "   3.73   ");
    EXPECT_EQ(CentreCell("0"), "     0    ");
    EXPECT_EQ(CentreCell("-1.27"), "   -1.27  ");
    EXPECT_EQ(CentreCell("0.00634"), "  0.00634 ");
    EXPECT_EQ(CentreCell("-0.000123"), " -0.000123");
    EXPECT_EQ(CentreCell("1234567890"), " 123456789");

    EXPECT_EQ((std::vector<double>{CellToReal("4.90E-001"), CellToReal("4,90E-001"), CellToReal(" -1.5 "),
              CellToReal("+2")}),
              (std::vector<double>{0.49, 0.49, -1.5, 2.0}));
    for (const char* bad : {"", "-", "n.a.", "1.2.3", "1,2.3", "1.5x", "++1", "nan", "inf"})
        EXPECT_THROW(CellToReal(bad), TNumberTextError) << bad;
}

// A run without drains, without wells, with the water table below the surface in
// year 1 and above it in later years, and Zs never above 0.001.
TSyntheticRun DrylandRun()
{
    TSyntheticRun run;
    run.Value = [](int record, int line, int item) -> double {
        const double nan = std::nan("");
        switch (line) {
        case 6: return nan;                                     // Gd, Ga, Gb: no drains
        case 7: return item == 1 ? 0.0                          // Gw: no wells
                     : item == 2 ? (record < 4 ? 1.25 : -0.05)  // Dw: depth below the surface
                     : nan;                                     // Zs
        case 12: return item == 2 || item == 3 ? nan : 2.0 + 0.5 * record;
        case 13: return item == 3 ? nan : 1.0;                  // Cw: no wells
        default: return 0.5;
        }
    };
    return run;
}

TEST(GroupTables, AbsentAndZeroSeriesAndTheWaterTableLevel)
{
    TTempFolder temp("group-dryland");
    WriteFile(temp.Path() / "dry.res", SyntheticResultText(DrylandRun()));
    TDataMod dm;
    dm.Rec.FileName = temp.File("dry.inp");

    RunGroupOption(dm, 2);
    EXPECT_EQ(dm.Rec.FileName, temp.File("dry.res"));
    EXPECT_EQ((std::vector<int>{dm.Rec.Ny, dm.Rec.Ns, dm.Groups.RecordCount}), (std::vector<int>{3, 2, 8}));
    EXPECT_FALSE(dm.Groups.SeriesPresent[2]);
    EXPECT_FALSE(dm.Groups.SeriesPresent[3]);
    EXPECT_EQ(dm.Groups.RowTexts[3], "  1       2       3.5     n.a.      n.a.        3.5        1         1      n.a.    ");
    EXPECT_EQ(dm.Groups.GridTexts[2][3], "  n.a.");
    EXPECT_EQ(dm.Groups.GridTexts[1][3], "3.5");

    RunGroupOption(dm, 4); // no drains: n.a.; no wells: Gw 0 everywhere shows "-"
    for (const std::string& row : dm.Groups.RowTexts)
        EXPECT_EQ(row.substr(14), "  n.a.      n.a.      n.a.       -      ");

    RunGroupOption(dm, 3);
    EXPECT_EQ(dm.Groups.SeriesCount, 1);
    for (const std::string& row : dm.Groups.RowTexts)
        EXPECT_EQ(row.substr(14), "  n.a.    ");
    EXPECT_EQ(dm.Groups.GridTexts[1][0], "  n.a.");

    RunGroupOption(dm, 5);
    EXPECT_EQ(dm.Groups.RowTexts[0], "  0       1      -1.25  ");
    EXPECT_EQ(dm.Groups.RowTexts[7], "  3       2      0.05   ");
    EXPECT_EQ(dm.Groups.GroupSeries[5][7], 0.05);
    EXPECT_TRUE(dm.Groups.SeriesPresent[5]);
    EXPECT_EQ(dm.ResultLines.size(), 3u + 8u);
    EXPECT_EQ(TableViewLines(dm).front(), "\"Data from: " + temp.File("dry.res") + "\"");
}

TEST(GroupTables, EfficienciesAndAreasAreTabledAsFractionsAndKeptInPercent)
{
    const fs::path field = fs::path(VELTRA_REFERENCE_DIR) / "field";
    TDataMod dm;
    dm.Rec.FileName = ResultFileOf(field).string();
    RunGroupOption(dm, 9);
    EXPECT_EQ(dm.Groups.RowTexts[2].substr(14, 10), "   0.867  ");
    EXPECT_EQ(dm.Groups.GroupSeries[1][2], 0.867 * 100);
    RunGroupOption(dm, 11);
    EXPECT_EQ(dm.Groups.GroupSeries[1][0], 0.5 * 100);
    EXPECT_EQ(dm.Groups.GroupSeries[4][0], -100.0); // the absent Uc marker, scaled too
    RunGroupOption(dm, 8); // Io comes from the efficiency line
    EXPECT_EQ(dm.Groups.GroupSeries[3][0], 0.1);
    EXPECT_EQ(dm.Groups.GroupSeries[4][0], 0.5);
}

} // namespace
} // namespace veltra
