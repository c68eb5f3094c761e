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

// The texts of values the reference cases' group files hold, and cells of an odd
// width: the whole-run reference test. Here: those none of them reach.
TEST(GroupTables, NumberTextsAndCentredCells)
{
    const std::vector<std::pair<double, const char*>> numbers{
        {0.0123, "0.0123"},
        {1.23e-5, "1.23E-5"},
        {-0.0, "0"},
        {0.0001, "0.0001"},
        {5e-5, "5E-5"},
        {-1.5e-7, "-1.5E-7"},
        {1e15, "1E15"},
        {999999999999999, "999999999999999"},
        {1.23e20, "1.23E20"},
        {0.1 + 0.2, "0.3"},
        {2.0 / 3.0, "0.666666666666667"},
        {1.5e-101, "1.5E-101"},
    };
    for (const auto& [v, text] : numbers)
        EXPECT_EQ(TableNumberText(v), text) << v;

    EXPECT_EQ(CentreCell("-0.000123"), " -0.000123");
    EXPECT_EQ(CentreCell("1234567890"), " 123456789");

    EXPECT_EQ(
        (std::vector<double>{CellToReal("4.90E-001"), CellToReal("4,90E-001"), CellToReal(" -1.5 "), CellToReal("+2")}),
        (std::vector<double>{0.49, 0.49, -1.5, 2.0}));
    for (const char* bad : {"", "-", "n.a.", "1.2.3", "1,2.3", "1.5x", "++1", "nan", "inf"})
        EXPECT_THROW(CellToReal(bad), TNumberTextError) << bad;
}

TEST(GroupTables, GridTextsAreTheValuesRoundedToSixCharacters)
{
    // Value, the grid text. Texts of up to 6 characters stand as the table has them;
    // longer ones are rounded (half away from zero on the table's digits) to the most
    // digits that fit, in the table's notation or else the other one; never cut.
    const std::vector<std::pair<double, const char*>> cases{
        {0.00669, "0.0067"},  {-0.00669, "-0.007"},   {0.00634, "0.0063"},   {1.234e-05, "1.2E-5"},
        {1.23e-5, "1.2E-5"},  {-1.23e-5, "-1E-5"},    {123456, "123456"},    {1234567, "1.23E6"},
        {-1234567, "-1.2E6"}, {-12.345, "-12.35"},    {12.345, "12.345"},    {0, "0"},
        {-0.0, "0"},          {3.73, "3.73"},         {-1.27, "-1.27"},      {100, "100"},
        {0.000123, "1.2E-4"}, {0.0001, "0.0001"},     {9.99e-5, "0.0001"},   {0.999999, "1"},
        {99999.5, "100000"},  {-99999.5, "-1E5"},     {1.23e20, "1.2E20"},   {1e15, "1E15"},
        {1.5e-101, "2E-101"}, {-1.5e-101, "-2E-101"}, {2.0 / 3.0, "0.6667"}, {-0.05, "-0.05"},
    };
    for (const auto& [v, text] : cases)
        EXPECT_EQ(GridNumberText(v), text) << v;

    // The grid and the clipboard carry the rounded texts; the table keeps its own.
    test::TScratchFolder temp("veltra-group-grid");
    TSyntheticRun run;
    run.Value = [](int record, int line, int item) -> double {
        if (line == 10)
            return item == 1 ? 0.00669 : item == 2 ? 1234567 : 1.234e-5;
        if (line == 7 && item == 2)
            return record == 0 ? 0.00669 : 12.3;
        return 0.5;
    };
    WriteFile(temp.Dir / "grid.res", SyntheticResultText(run));
    TDataMod dm;
    dm.Rec.Shell.FileName = temp.Path("grid.inp");
    RunGroupOption(dm, 1);
    EXPECT_EQ(dm.Groups.RowTexts[0].substr(14, 30), "  0.00669   1230000   1.23E-5 ");
    EXPECT_EQ(
        (std::vector<std::string>{dm.Groups.GridTexts[1][0], dm.Groups.GridTexts[2][0], dm.Groups.GridTexts[3][0]}),
        (std::vector<std::string>{"0.0067", "1.23E6", "1.2E-5"}));
    // Cells between tabs, rows between carriage returns, none after the last row.
    const std::string clip = ClipboardText(dm);
    EXPECT_EQ(clip.substr(0, clip.find('\r', clip.find('\r') + 1)),
              " Year\tSeason\t CrA\t CrB\t CrU\t Cr4\t C0*\t C1*\t C2*\t "
              "C3*\r0\t1\t0.0067\t1.23E6\t1.2E-5\t1.2E-5\t0.5\t0.5\t0.5\t0.5");
    EXPECT_EQ(clip.substr(clip.rfind('\r')), "\r3\t2\t0.0067\t1.23E6\t1.2E-5\t1.2E-5\t0.5\t0.5\t0.5\t0.5");
    RunGroupOption(dm, 5); // the level of the water table, negative below the surface
    EXPECT_EQ(dm.Groups.GridTexts[1][0], "-0.007");
    EXPECT_EQ(dm.Groups.GridTexts[1][1], "-12.3");
}

// A run without drains, without wells, with the water table below the surface in
// year 1 and above it in later years, and Zs never above 0.001.
TSyntheticRun DrylandRun()
{
    TSyntheticRun run;
    run.Value = [](int record, int line, int item) -> double {
        const double nan = std::nan("");
        switch (line) {
        case 6: return nan; // Gd, Ga, Gb: no drains
        case 7:
            return item == 1   ? 0.0                         // Gw: no wells
                   : item == 2 ? (record < 4 ? 1.25 : -0.05) // Dw: depth below the surface
                               : nan;                        // Zs
        case 12: return item == 2 || item == 3 ? nan : 2.0 + 0.5 * record;
        case 13: return item == 3 ? nan : 1.0; // Cw: no wells
        default: return 0.5;
        }
    };
    return run;
}

// The rows of such tables (n.a. without drains, "-" without wells, the level of the
// water table on both sides of the surface): the reference cases' group files.
TEST(GroupTables, AbsentAndZeroSeriesAndTheWaterTableLevel)
{
    test::TScratchFolder temp("veltra-group-dryland");
    WriteFile(temp.Dir / "dry.res", SyntheticResultText(DrylandRun()));
    TDataMod dm;
    dm.Rec.Shell.FileName = temp.Path("dry.inp");

    RunGroupOption(dm, 2);
    EXPECT_EQ(dm.Rec.Shell.FileName, temp.Path("dry.res"));
    EXPECT_EQ((std::vector<int>{dm.Rec.Ny, dm.Rec.Ns, dm.Groups.RecordCount}), (std::vector<int>{3, 2, 8}));
    EXPECT_FALSE(dm.Groups.SeriesPresent[2]);
    EXPECT_FALSE(dm.Groups.SeriesPresent[3]);
    EXPECT_EQ(dm.Groups.GridTexts[2][3], "  n.a.");
    EXPECT_EQ(dm.Groups.GridTexts[1][3], "3.5");

    RunGroupOption(dm, 3);
    EXPECT_EQ(dm.Groups.SeriesCount, 1);
    EXPECT_EQ(dm.Groups.GridTexts[1][0], "  n.a.");

    RunGroupOption(dm, 5);
    EXPECT_EQ(dm.Groups.GroupSeries[5][0], -1.25);
    EXPECT_EQ(dm.Groups.GroupSeries[5][7], 0.05);
    EXPECT_TRUE(dm.Groups.SeriesPresent[5]);
    EXPECT_EQ(dm.ResultLines.size(), 3u + 8u);
    EXPECT_EQ(TableViewLines(dm).front(), "\"Data from: " + temp.Path("dry.res") + "\"");
}

} // namespace
} // namespace veltra
