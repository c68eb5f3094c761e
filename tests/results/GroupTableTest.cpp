// Output-group tables: the reference cases' group files byte for byte, the number and
// cell texts, the presence rules, and the readers' refusals of damaged files.
#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "GroupTestFiles.h"
#include "results/GroupFile.h"
#include "results/OutputGroups.h"

namespace veltra {
namespace {

using namespace veltra::testing;

// The reference files print bare file names where the program prints full paths.
std::string WithFolder(std::string text, const fs::path& folder)
{
    const std::string bare = "\"Data from: ";
    const std::size_t at = text.find(bare);
    if (at != std::string::npos)
        text.insert(at + bare.size(), folder.string() + "/");
    return text;
}

TEST(GroupTables, EveryReferenceGroupFileIsReproducedExactly)
{
    const auto cases = ReferenceGroupCases();
    ASSERT_FALSE(cases.empty()) << "no reference cases under " << VELTRA_REFERENCE_DIR;
    TTempFolder temp("group-tables");
    int compared = 0;
    for (const fs::path& folder : cases) {
        for (int n = 1; n <= 12; ++n) {
            char name[32];
            std::snprintf(name, sizeof name, "group_%02d.prn", n);
            SCOPED_TRACE(folder.filename().string() + " " + name);
            TDataMod dm;
            dm.Rec.FileName = ResultFileOf(folder).string();
            RunGroupOption(dm, n);
            const std::string out = temp.File(name);
            SaveGroupFile(dm, out);
            const std::string expected = WithFolder(ReadBytes(folder / name), folder);
            ASSERT_EQ(ReadBytes(out), expected);

            // The text view shows the group file's lines up to the last row.
            const auto lines = SplitLines(expected);
            const std::vector<std::string> shown(lines.begin(), lines.end() - 3);
            EXPECT_EQ(TableViewLines(dm), shown);
            EXPECT_EQ(dm.Groups.RecordCount, static_cast<int>(lines.size()) - 7);
            ++compared;
        }
    }
    EXPECT_EQ(compared, 12 * static_cast<int>(cases.size()));
}

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

    EXPECT_EQ(CellToReal("4.90E-001"), 0.49);
    EXPECT_EQ(CellToReal("4,90E-001"), 0.49);
    EXPECT_EQ(CellToReal(" -1.5 "), -1.5);
    EXPECT_EQ(CellToReal("+2"), 2.0);
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
    WriteBytes(temp.Path() / "dry.res", SyntheticResultText(DrylandRun()));
    TDataMod dm;
    dm.Rec.FileName = temp.File("dry.inp");

    RunGroupOption(dm, 2);
    EXPECT_EQ(dm.Rec.FileName, temp.File("dry.res"));
    EXPECT_EQ(dm.Rec.Ny, 3);
    EXPECT_EQ(dm.Rec.Ns, 2);
    EXPECT_EQ(dm.Groups.RecordCount, 8);
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

TEST(GroupTables, AYearByYearSeriesIsReadToItsLastYear)
{
    const fs::path folder = fs::path(VELTRA_REFERENCE_DIR) / "gen_case_0007";
    const auto lines = SplitLines(ReadBytes(ResultFileOf(folder)));
    int lastYear = -1;
    int years = 0;
    for (const std::string& l : lines)
        if (l.rfind("  YEAR: ", 0) == 0) {
            lastYear = std::stoi(l.substr(8));
            ++years;
        }
    TDataMod dm;
    dm.Rec.FileName = ResultFileOf(folder).string();
    RunGroupOption(dm, 1);
    EXPECT_GT(lastYear, 1);
    EXPECT_EQ(dm.Rec.Ny, lastYear);
    EXPECT_EQ(dm.Groups.RecordCount, years);
    EXPECT_EQ(dm.Groups.RecordCount, (lastYear + 1) * dm.Rec.Ns);
}

TEST(GroupTables, DamagedResultFilesAreRefusedAndLeaveTheStoreUnchanged)
{
    TTempFolder temp("group-damaged");
    const std::string good = SyntheticResultText(DrylandRun());
    TDataMod dm;
    dm.Rec.FileName = ResultFileOf(fs::path(VELTRA_REFERENCE_DIR) / "field").string();
    RunGroupOption(dm, 1);
    const TGroupStore before = dm.Groups;
    const TInputRecord rec = dm.Rec;

    std::string badCell = good;
    badCell.replace(badCell.find(" 2.50E+000"), 10, " 2.5OE+000");
    const std::string seasonLine = "  Season:  2   Duration:  6.0  months.";
    ASSERT_NE(good.rfind(seasonLine), std::string::npos);
    const std::vector<std::pair<std::string, std::string>> damaged{
        {"cut.res", good.substr(0, good.rfind(seasonLine) + seasonLine.size() + 2)}, // last record cut
        {"badcell.res", badCell},                             // a cell that is no number
        {"noseason.res", good.substr(0, good.find(" #"))},    // no record after an end mark
        {"season0.res", [&] {
             std::string s = good;
             s.replace(s.rfind(seasonLine), 12, "  Season:  0");
             return s;
         }()},
    };
    for (const auto& [name, text] : damaged) {
        SCOPED_TRACE(name);
        WriteBytes(temp.Path() / name, text);
        dm.Rec.FileName = temp.File(name);
        try {
            RunGroupOption(dm, 2);
            ADD_FAILURE() << "no error";
        } catch (const TGroupReadError& e) {
            EXPECT_NE(std::string(e.what()).find(temp.File(name)), std::string::npos) << e.what();
        }
        EXPECT_EQ(dm.Groups, before);
        EXPECT_EQ(dm.Rec.Ny, rec.Ny);
        EXPECT_EQ(dm.Rec.Ns, rec.Ns);
        EXPECT_EQ(dm.Rec.Ts, rec.Ts);
    }
    dm.Rec.FileName = temp.File("missing.res");
    EXPECT_THROW(RunGroupOption(dm, 1), TGroupReadError);
    EXPECT_THROW(RunGroupOption(dm, 13), TGroupReadError);
    EXPECT_EQ(dm.Groups, before);
}

} // namespace
} // namespace veltra
