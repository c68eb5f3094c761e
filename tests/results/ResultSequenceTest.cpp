// The readers take a result or group file for what it is only when its records
// follow each other as a run writes them: a record (or row) cut short, doubled or
// missing would shift every later year, so it is refused naming the line; a last
// year that ends early with whole records (a stopped run) is read as it stands.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GroupTestFiles.h"
#include "results/GroupFile.h"
#include "results/OutputGroups.h"

namespace veltra {
namespace {

using namespace veltra::testing;

// A run of 2 seasons over 3 years whose CrA cell is the record number + 1.
struct TRecords {
    std::vector<std::string> Lines;
    std::vector<std::size_t> Starts; // the empty line before each "  YEAR: " line

    TRecords()
    {
        TSyntheticRun run;
        run.Durations = {7.0, 5.0, 0.0, 0.0};
        run.Value = [](int record, int line, int item) { return line == 10 && item == 1 ? record + 1.0 : 0.5; };
        Lines = SplitLines(SyntheticResultText(run));
        for (std::size_t i = 0; i < Lines.size(); ++i)
            if (Lines[i].rfind("  YEAR: ", 0) == 0)
                Starts.push_back(i - 1);
    }
    std::size_t End(std::size_t k) const { return k + 1 < Starts.size() ? Starts[k + 1] : Lines.size(); }
    // The lines of record k.
    std::vector<std::string> Record(std::size_t k) const
    {
        return {Lines.begin() + static_cast<long>(Starts[k]), Lines.begin() + static_cast<long>(End(k))};
    }
    // The file with records in the order given (the header first).
    std::vector<std::string> With(const std::vector<std::size_t>& order) const
    {
        std::vector<std::string> out(Lines.begin(), Lines.begin() + static_cast<long>(Starts[0]));
        for (std::size_t k : order) {
            const auto r = Record(k);
            out.insert(out.end(), r.begin(), r.end());
        }
        return out;
    }
};

// The message the reader refuses `lines` with ("" when it reads them).
std::string Refusal(const std::vector<std::string>& lines)
{
    TDataMod dm;
    try {
        ReadResultGroupLines(dm, "CrA", "x.res", lines);
    } catch (const TGroupReadError& e) {
        return e.what();
    }
    return {};
}

TEST(ResultSequence, RecordsCutDoubledOrMissingAreRefusedNamingTheLine)
{
    const TRecords r;
    ASSERT_EQ(r.Starts.size(), 8u);
    ASSERT_EQ(Refusal(r.Lines), "");
    const std::size_t yearLine = r.Starts[3] + 2; // 1-based number of record 3's YEAR line
    auto line = [](std::size_t n) { return std::to_string(n); };

    // Record 3 (year 1 season 2) doubled: refused at its second copy.
    EXPECT_EQ(Refusal(r.With({0, 1, 2, 3, 3, 4, 5, 6, 7})),
              "Result file \"x.res\", line " + line(r.Starts[4] + 2) +
                  ": year 1 season 2 follows year 1 season 2 (a record doubled or missing)");
    // Record 2 (year 1 season 1) missing.
    EXPECT_EQ(Refusal(r.With({0, 1, 3, 4, 5, 6, 7})),
              "Result file \"x.res\", line " + line(r.Starts[2] + 2) +
                  ": year 1 season 2 follows year 0 season 2 (a record doubled or missing)");
    // Two records swapped, and a file that does not start with year 0 season 1.
    EXPECT_NE(Refusal(r.With({0, 1, 3, 2, 4, 5, 6, 7})), "");
    EXPECT_NE(Refusal(r.With({1, 2, 3})).find("the first record is year 0 season 2"), std::string::npos);

    // Record 3 cut in the middle, the next record right after the cut.
    std::vector<std::string> cut = r.Lines;
    cut.erase(cut.begin() + static_cast<long>(r.Starts[3] + 8), cut.begin() + static_cast<long>(r.Starts[3] + 14));
    EXPECT_EQ(Refusal(cut), "Result file \"x.res\", line " + line(r.Starts[4] + 2 - 6) +
                                ": a record starts inside the record of year 1 season 2 (line " + line(yearLine) +
                                "), which is cut short");
    // The file ends inside its last record, before and after the end mark.
    for (std::size_t keep : {r.Starts[7] + 10, r.Starts[7] + 20}) {
        const std::vector<std::string> head(r.Lines.begin(), r.Lines.begin() + static_cast<long>(keep));
        EXPECT_EQ(Refusal(head), "Result file \"x.res\", line " + line(keep) +
                                     ": the file ends inside the record of year 3 season 2 (line " +
                                     line(r.Starts[7] + 2) + ")");
    }
    // A record whose end mark is not where it belongs.
    std::vector<std::string> noMark = r.Lines;
    noMark[r.Starts[5] + 18] = "  (no mark)";
    EXPECT_NE(Refusal(noMark).find("line " + line(r.Starts[5] + 19) + ": the record of year 2 season 2"),
              std::string::npos);
}

TEST(ResultSequence, AStoppedRunsLastYearIsReadAsItStands)
{
    const TRecords r;
    // Stopped in season 2 of year 3: seven whole records, the years as written.
    TDataMod dm;
    ReadResultGroupLines(dm, "CrA", "x.res", r.With({0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ((std::vector<int>{dm.Groups.RecordCount, dm.Rec.Ny, dm.Rec.Ns}), (std::vector<int>{7, 3, 2}));
    EXPECT_EQ((std::vector<double>{dm.Rec.Ts[1], dm.Rec.Ts[2]}), (std::vector<double>{7.0, 5.0}));
    EXPECT_EQ(dm.Groups.GroupSeries[1], (std::vector<double>{1, 2, 3, 4, 5, 6, 7}));
    BuildGroupOption(dm, 1);
    ASSERT_EQ(dm.Groups.RowTexts.size(), 7u);
    EXPECT_EQ(dm.Groups.RowTexts.back().substr(0, 14), "  3       1   ");
    EXPECT_EQ(dm.Groups.RowTexts[5].substr(0, 14), "  2       2   ");

    // Its group file reads back the same rows; one doubled row is refused.
    const std::vector<std::string> group = SplitLines(GroupFileText(dm));
    TDataMod back;
    ReadGroupLines(back, "x.prn", group);
    EXPECT_EQ(back.Groups.RecordCount, 7);
    EXPECT_EQ(back.Groups.RowTexts, dm.Groups.RowTexts);
    std::vector<std::string> doubled = group;
    doubled.insert(doubled.begin() + 7, group[6]); // row 3 (year 1 season 1) twice
    try {
        TDataMod again;
        ReadGroupLines(again, "x.prn", doubled);
        ADD_FAILURE() << "a doubled row read";
    } catch (const TGroupReadError& e) {
        EXPECT_EQ(std::string(e.what()), "Group file \"x.prn\", line 8: year 1 season 1 where year 1 season 2 "
                                         "belongs (a row doubled or missing)");
    }

    // Stopped in year 0: the one record there is.
    TDataMod first;
    ReadResultGroupLines(first, "CrA", "x.res", r.With({0}));
    EXPECT_EQ((std::vector<int>{first.Groups.RecordCount, first.Rec.Ny, first.Rec.Ns}), (std::vector<int>{1, 0, 1}));
}

// Found by fuzzing: a group file read back from a damaged file is saved in full,
// its season durations too, however long their text.
TEST(ResultSequence, AGroupFileIsSavedAsItWasRead)
{
    const TRecords r;
    TDataMod dm;
    ReadResultGroupLines(dm, "CrA", "x.res", r.Lines);
    BuildGroupOption(dm, 1);
    std::vector<std::string> group = SplitLines(GroupFileText(dm));
    group.back() = "  1" + std::string(60, '6') + ".5    5.0  months";
    TDataMod read;
    ReadGroupLines(read, "x.prn", group);
    TDataMod back;
    ReadGroupLines(back, "y.prn", SplitLines(GroupFileText(read)));
    EXPECT_EQ(back.Rec.Ts[1], read.Rec.Ts[1]);
    EXPECT_GT(back.Rec.Ts[1], 1e60);
    EXPECT_EQ(back.Groups.RowTexts, read.Groups.RowTexts);
}

} // namespace
} // namespace veltra
