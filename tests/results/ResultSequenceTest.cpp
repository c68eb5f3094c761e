// The readers take a result or group file for what it is only when its records
// follow each other as a run writes them: a record (or row) cut short, doubled or
// missing would shift every later year, so it is refused naming the line; a last
// year that ends early with whole records (a stopped run) is read as it stands.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "GroupTestFiles.h"
#include "results/GroupFile.h"
#include "results/OutputGroups.h"
#include "support/TFaultyFileSystem.h"

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
    // The file with records in the order given (the header first).
    std::vector<std::string> With(const std::vector<std::size_t>& order) const
    {
        const auto at = [&](std::size_t i) { return Lines.begin() + static_cast<long>(i); };
        std::vector<std::string> out(Lines.begin(), at(Starts[0]));
        for (std::size_t k : order)
            out.insert(out.end(), at(Starts[k]), at(k + 1 < Starts.size() ? Starts[k + 1] : Lines.size()));
        return out;
    }
};

using test::Joined;

// Damaged result and group files, one row each: refused with a message that names the
// file (and the line, where a record is cut, doubled or missing), the store left as it
// was; a text that is no group file only says so. (A doubled record, a result file
// without a season record and a group file cut short: tests/cli/files.sh, table.sh.)
TEST(DamagedFiles, AreRefusedNamingTheFileAndLeaveTheStoreUnchanged)
{
    const TRecords r;
    ASSERT_EQ(r.Starts.size(), 8u);
    test::TScratchFolder temp("veltra-damaged");
    const fs::path field = fs::path(VELTRA_REFERENCE_DIR) / "field";
    const std::string res = ReadFile(ResultFileOf(field)), prn = ReadFile(field / "group_04.prn");
    const std::vector<std::string> prnLines = SplitLines(prn);
    const auto withLine = [&](std::size_t index, const std::string& text) {
        auto lines = prnLines;
        lines[index] = text;
        return Joined(lines);
    };
    const std::string lastSeason = "  Season:  2   Duration:  5.0  months.";
    ASSERT_NE(res.rfind(lastSeason), std::string::npos);
    std::string badCell = res, season0 = res, season0prn;
    badCell.replace(badCell.find(" 7.08E+000"), 10, " 7.O8E+000");
    season0.replace(season0.rfind(lastSeason), 12, "  Season:  0");
    for (std::size_t i = 0; i < prnLines.size(); ++i) {
        std::string l = prnLines[i];
        season0prn += (i >= 4 && i + 3 < prnLines.size() ? l.replace(10, 1, "0") : l) + "\r\n";
    }
    std::vector<std::string> cut = r.Lines, noMark = r.Lines;
    cut.erase(cut.begin() + static_cast<long>(r.Starts[3] + 8), cut.begin() + static_cast<long>(r.Starts[3] + 14));
    noMark[r.Starts[5] + 18] = "  (no mark)";
    const auto head = [&](std::size_t keep) {
        return Joined({r.Lines.begin(), r.Lines.begin() + static_cast<long>(keep)});
    };
    const auto line = [&](const char* file, std::size_t n) {
        return "Result file \"" + temp.Path(file) + "\", line " + std::to_string(n) + ": ";
    };
    const std::size_t yearLine = r.Starts[3] + 2; // 1-based number of record 3's YEAR line

    struct TDamage {
        std::string Name, Text;
        std::string Says; // what the message says besides the file's name, or all of it
    };
    const std::vector<TDamage> damaged{
        {"missing.res", Joined(r.With({0, 1, 3, 4, 5, 6, 7})),
         line("missing.res", r.Starts[2] + 2) +
             "year 1 season 2 follows year 0 season 2 (a record doubled or missing)"},
        {"swapped.res", Joined(r.With({0, 1, 3, 2, 4, 5, 6, 7})), ""},
        {"late.res", Joined(r.With({1, 2, 3})), "the first record is year 0 season 2"},
        {"cut.res", Joined(cut),
         line("cut.res", r.Starts[4] + 2 - 6) + "a record starts inside the record of year 1 season 2 (line " +
             std::to_string(yearLine) + "), which is cut short"},
        {"end1.res", head(r.Starts[7] + 10),
         line("end1.res", r.Starts[7] + 10) + "the file ends inside the record of year 3 season 2 (line " +
             std::to_string(r.Starts[7] + 2) + ")"},
        {"end2.res", head(r.Starts[7] + 20),
         line("end2.res", r.Starts[7] + 20) + "the file ends inside the record of year 3 season 2 (line " +
             std::to_string(r.Starts[7] + 2) + ")"},
        {"nomark.res", Joined(noMark),
         ", line " + std::to_string(r.Starts[5] + 19) + ": the record of year 2 season 2"},
        {"lastcut.res", res.substr(0, res.rfind(lastSeason) + lastSeason.size() + 2), ""},
        {"badcell.res", badCell, ""},
        {"season0.res", season0, ""},
        {"cut.prn", prn.substr(0, prn.find("#\r\n")), ""},
        {"season0.prn", season0prn, ""},
        {"badcell.prn", withLine(6, "  1       1      0.1x        0         0         0    "), ""},
        {"nogroup.prn", withLine(3, " Year Season    Qx        Ga        Gb        Gw "), ""},
        {"nodurations.prn", withLine(prnLines.size() - 1, "months"), ""},
        {"none.res", "", ""},
    };
    TDataMod dm;
    dm.Rec.Shell.FileName = ResultFileOf(field).string();
    RunGroupOption(dm, 1);
    const TDataMod before = dm;
    for (const auto& [name, text, says] : damaged) {
        SCOPED_TRACE(name);
        const std::string path = temp.Path(name);
        if (!text.empty())
            WriteFile(path, text);
        dm.Rec.Shell.FileName = path;
        try {
            if (name.ends_with(".res"))
                RunGroupOption(dm, 2);
            else { // as the command line reads a group file
                std::vector<std::string> lines;
                ReadTextLines(path, lines, "a group file");
                ReadGroupLines(dm, path, lines);
            }
            ADD_FAILURE() << "no error";
        } catch (const TGroupReadError& e) {
            EXPECT_NE(std::string(e.what()).find("\"" + path + "\""), std::string::npos) << e.what();
            if (says.starts_with("Result file")) // the whole message
                EXPECT_EQ(e.what(), says);
            else
                EXPECT_NE(std::string(e.what()).find(says), std::string::npos) << e.what();
        }
        EXPECT_EQ(dm.Groups, before.Groups);
        EXPECT_EQ(std::tie(dm.Rec.Ny, dm.Rec.Ns, dm.Rec.Ts), std::tie(before.Rec.Ny, before.Rec.Ns, before.Rec.Ts));
    }
    EXPECT_EQ(test::EntryNames(temp.Dir).size(), damaged.size() - 1);

    ReadGroupLines(dm, "text.prn", {"hello"});
    EXPECT_TRUE(dm.Groups.NotGroupFile);
    dm.Groups.NotGroupFile = false;
    EXPECT_EQ(dm.Groups, before.Groups);
}

TEST(ResultSequence, AStoppedRunsLastYearIsReadAsItStandsAndItsGroupFileSavedAsRead)
{
    const TRecords r;
    // Stopped in season 2 of year 3: seven whole records, the years as written.
    TDataMod dm;
    ReadResultGroupLines(dm, "CrA", "x.res", r.With({0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ((std::vector<int>{dm.Groups.RecordCount, dm.Rec.Ny, dm.Rec.Ns}), (std::vector<int>{7, 3, 2}));
    EXPECT_EQ((std::vector<double>{dm.Rec.Ts[1], dm.Rec.Ts[2]}), (std::vector<double>{7.0, 5.0}));
    EXPECT_EQ(dm.Groups.GroupSeries[1], (std::vector<double>{1, 2, 3, 4, 5, 6, 7}));
    BuildGroupOption(dm, 1);

    // Its group file reads back the same rows; one doubled row is refused. (The rows of
    // a stopped run's table: tests/cli/files.sh.)
    const std::vector<std::string> group = SplitLines(GroupFileText(dm));
    TDataMod back;
    ReadGroupLines(back, "x.prn", group);
    EXPECT_EQ(std::tie(back.Groups.RecordCount, back.Groups.RowTexts),
              std::tie(dm.Groups.RecordCount, dm.Groups.RowTexts));
    std::vector<std::string> doubled = group;
    doubled.insert(doubled.begin() + 7, group[6]); // row 3 (year 1 season 1) twice
    EXPECT_EQ(test::FileRefusal([&] { ReadGroupLines(back, "x.prn", doubled); }),
              "Group file \"x.prn\", line 8: year 1 season 1 where year 1 season 2 belongs (a row doubled or missing)");

    // Found by fuzzing: a group file read back is saved in full, its season durations
    // too, however long their text.
    std::vector<std::string> longer = group;
    longer.back() = "  1" + std::string(60, '6') + ".5    5.0  months";
    TDataMod read, saved;
    ReadGroupLines(read, "x.prn", longer);
    ReadGroupLines(saved, "y.prn", SplitLines(GroupFileText(read)));
    EXPECT_GT(saved.Rec.Ts[1], 1e60);
    EXPECT_EQ(std::tie(saved.Rec.Ts[1], saved.Groups.RowTexts), std::tie(read.Rec.Ts[1], read.Groups.RowTexts));

    // Stopped in year 0: the one record there is.
    TDataMod first;
    ReadResultGroupLines(first, "CrA", "x.res", r.With({0}));
    EXPECT_EQ((std::vector<int>{first.Groups.RecordCount, first.Rec.Ny, first.Rec.Ns}), (std::vector<int>{1, 0, 1}));
}

} // namespace
} // namespace veltra
