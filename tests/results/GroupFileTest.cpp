// Group files read back and written again, the CSV export, the frequency view and
// the kinds of error of the result readers and writers. The group files "Go" writes,
// byte for byte: the whole-run reference test; a group file that cannot be written:
// WriteSafetyTest.cpp; the clipboard text: GroupTableTest.cpp.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <tuple>

#include "GroupTestFiles.h"
#include "model/TVeltraError.h"
#include "results/GroupFile.h"
#include "results/OutputGroups.h"
#include "results/TextLists.h"

namespace veltra {
namespace {

using namespace veltra::testing;

const fs::path Field = fs::path(VELTRA_REFERENCE_DIR) / "field";

// Opening a group file as the Output page does.
TDataMod OpenGroupFile(const fs::path& path)
{
    TDataMod dm;
    dm.Rec.Shell.FileName = path.string();
    EXPECT_TRUE(LoadResultLines(dm, dm.Rec.Shell.FileName));
    ReadGroupLines(dm, dm.Rec.Shell.FileName, dm.ResultLines);
    SetPresenceAfterGroupOpen(dm);
    return dm;
}

TEST(GroupFiles, ReferenceGroupFilesReadBackToTheSeriesAndSaveUnchanged)
{
    const auto cases = ReferenceGroupCases();
    ASSERT_FALSE(cases.empty());
    test::TScratchFolder temp("veltra-group-files");
    for (const fs::path& folder : cases) {
        for (int n = 1; n <= 12; ++n) {
            char name[32];
            std::snprintf(name, sizeof name, "group_%02d.prn", n);
            SCOPED_TRACE(folder.filename().string() + " " + name);
            TDataMod opened = OpenGroupFile(folder / name);
            ASSERT_FALSE(opened.Groups.NotGroupFile);
            EXPECT_FALSE(opened.Groups.TableInResultLines);
            EXPECT_EQ(TableViewLines(opened), SplitLines(ReadFile(folder / name)));

            // Written again, a group file read back is the same file.
            SaveGroupFile(opened, temp.Path(name));
            ASSERT_EQ(ReadFile(temp.Path(name)), ReadFile(folder / name));

            // Its series are those of "Go", with absent cells as 0. (The text view of "Go":
            // tests/cli/table.sh; its group files: the whole-run reference test.)
            TDataMod go;
            go.Rec.Shell.FileName = ResultFileOf(folder).string();
            RunGroupOption(go, n);
            const auto& [og, gg] = std::tie(opened.Groups, go.Groups);
            EXPECT_EQ(std::tie(og.GroupTag, og.SeriesCount, og.RecordCount, opened.Rec.Ns),
                      std::tie(gg.GroupTag, gg.SeriesCount, gg.RecordCount, go.Rec.Ns));
            EXPECT_EQ(opened.Rec.Ny, go.Rec.Ny + 1); // the rows include year 0
            for (int s = 1; s <= go.Rec.Ns; ++s)
                EXPECT_EQ(opened.Rec.Ts[s], go.Rec.Ts[s]);
            for (std::size_t k = 1; k <= 8; ++k) {
                const auto& read = opened.Groups.GroupSeries[k];
                if (read.empty())
                    continue;
                const auto& built = go.Groups.GroupSeries[k];
                ASSERT_EQ(read.size(), built.size()) << "slot " << k;
                for (std::size_t j = 0; j < read.size(); ++j) {
                    const bool shown = go.Groups.GroupTag == "Dw" || go.Groups.GroupTag == "Kr" ||
                                       (built[j] >= 0 && go.Groups.SeriesPresent[k]);
                    EXPECT_EQ(read[j], shown ? built[j] : 0.0) << "slot " << k << " record " << j;
                }
                EXPECT_EQ(opened.Groups.SeriesPresent[k], go.Groups.SeriesPresent[k]) << "slot " << k;
            }
        }
    }
}

TEST(GroupFiles, LongRunsKeepEveryRowAndReadBack)
{
    test::TScratchFolder temp("veltra-group-long");
    TSyntheticRun run;
    run.Years = 99;
    run.Seasons = 4;
    run.Durations = {3.0, 3.0, 2.5, 3.5};
    run.Value = [](int record, int line, int item) { return line == 10 ? 0.25 * item + 0.01 * record : 0.125; };
    run.Kr = [](int record) { return record / 100; };
    WriteFile(temp.Dir / "long.res", SyntheticResultText(run));

    TDataMod dm;
    dm.Rec.Shell.FileName = temp.Path("long.inp");
    RunGroupOption(dm, 1);
    EXPECT_EQ(dm.Groups.RowTexts[399].substr(0, 14), " 99       4   ");
    SaveGroupFile(dm, temp.Path("long.prn"));
    const std::string saved = ReadFile(temp.Path("long.prn"));
    const auto lines = SplitLines(saved);
    ASSERT_EQ(lines.size(), 407u);
    EXPECT_EQ(lines.back(), "  3.0    3.0    2.5    3.5  months");

    TDataMod back = OpenGroupFile(temp.Path("long.prn"));
    EXPECT_EQ((std::vector<int>{back.Groups.RecordCount, back.Rec.Ns, back.Rec.Ny}), (std::vector<int>{400, 4, 100}));
    EXPECT_EQ(back.Groups.GroupSeries[4][399], 1.0 + 3.99);
    SaveGroupFile(back, temp.Path("again.prn"));
    EXPECT_EQ(ReadFile(temp.Path("again.prn")), saved);

    RunGroupOption(dm, 12);
    EXPECT_EQ(dm.Groups.RowTexts[399].substr(14), "     3    ");
}

TEST(GroupFiles, CsvHoldsTheTableValuesInItsUnitsAndTheFrequencyViewKeepsTheGroup)
{
    test::TScratchFolder temp("veltra-group-csv");
    TDataMod dm;
    dm.Rec.Shell.FileName = ResultFileOf(Field).string();

    auto csv = [&](int option, const std::string& name) {
        RunGroupOption(dm, option);
        SaveGroupCsv(dm, temp.Path(name));
        return SplitLines(ReadFile(temp.Path(name)));
    };
    auto lines = csv(9, "eff.csv");
    ASSERT_EQ(lines.size(), 23u);
    EXPECT_EQ(lines[0], "Year,Season,EfA,EfB,Eft,JsA,JsB");
    EXPECT_EQ(lines[3], "1,1,0.867,0.84,0.631,0.653,0.597");

    // Fractions are kept in percent, the absent Uc marker too; a percent table keeps
    // the fraction the table shows, not its round trip through percent: 0.029 x 100 /
    // 100 is 0.029000000000000005 in full.
    EXPECT_EQ(dm.Groups.GroupSeries[1][2], 0.867 * 100);
    dm.Groups.GroupSeries[1][2] = 0.029 * 100;
    dm.Groups.GroupSeries[5][2] = 0.007 * 100;
    SaveGroupCsv(dm, temp.Path("small.csv"));
    EXPECT_EQ(SplitLines(ReadFile(temp.Path("small.csv")))[3], "1,1,0.029,0.84,0.631,0.653,0.007");

    RunGroupOption(dm, 11);
    EXPECT_EQ((std::vector<double>{dm.Groups.GroupSeries[1][0], dm.Groups.GroupSeries[4][0]}),
              (std::vector<double>{0.5 * 100, -100.0}));
    lines = csv(5, "dw.csv");
    EXPECT_EQ(lines[0], "Year,Season,Dw");
    EXPECT_EQ(lines[4], "1,2,-1.27");

    lines = csv(2, "cxf.csv");
    EXPECT_EQ(lines[0], "Year,Season,Cxf,Cxa,Cxb,Cqf,Ci,Cd,Cw");
    EXPECT_EQ(lines[3], "1,1,,7.08,12,14.9,2.81,10.3,");

    // The frequency view loads the whole file (its text and its save: tests/cli/table.sh)
    // and keeps the group for the graph.
    RunGroupOption(dm, 13);
    EXPECT_EQ(dm.Rec.Shell.FileName, ResultFileOf(Field).string());
    EXPECT_EQ(dm.Rec.Shell.LineCount, static_cast<int>(dm.ResultLines.size()));
    EXPECT_EQ(dm.Groups.GroupTag, "Cxf");
}

// Every error the result readers and writers throw is a TVeltraError whose kind
// says who is at fault: damaged or unreadable files, texts that are no numbers,
// a save before there is a group, a caller's broken promise. (The command line's
// exit statuses for unreadable result and group files: tests/cli.)
std::optional<TErrorKind> KindThrown(const std::function<void()>& action)
{
    try {
        action();
    } catch (const TVeltraError& e) {
        return e.Kind;
    }
    return std::nullopt;
}

TEST(ErrorKind, ResultFilesNumbersOptionsTablesAndSaves)
{
    test::TScratchFolder temp("veltra-result-kinds");
    TDataMod dm, none;
    dm.Rec.Shell.FileName = temp.Path("missing.res");
    const std::vector<std::tuple<const char*, std::function<void()>, std::optional<TErrorKind>>> cases{
        {"frequency file missing", [&] { RunGroupOption(dm, 13); }, TErrorKind::File},
        {"no such file", [&] { ReadTextLines(temp.Path("nowhere"), dm.ResultLines); }, TErrorKind::File},
        {"a cell that is no number", [] { CellToReal("7.O8E+000"); }, TErrorKind::Input},
        {"option 0", [] { GroupOption(0); }, TErrorKind::Usage},
        {"option 14", [] { GroupOption(14); }, TErrorKind::Usage},
        {"option 13", [] { GroupOption(13); }, std::nullopt},
        // A save asked for before any group was made is the caller's mistake.
        {"group file saved before a group", [&] { SaveGroupFile(none, temp.Path("g.prn")); }, TErrorKind::Usage},
        {"CSV saved before a group", [&] { SaveGroupCsv(none, temp.Path("g.csv")); }, TErrorKind::Usage},
        {"unknown table", [&] { BuildGroupTable(dm, "NoSuchTable"); }, TErrorKind::Internal},
        {"unknown group", [&] { ReadResultGroup(dm, "NoSuchGroup"); }, TErrorKind::Internal},
    };
    for (const auto& [name, action, kind] : cases)
        EXPECT_EQ(KindThrown(action), kind) << name;
    EXPECT_TRUE(std::filesystem::is_empty(temp.Dir)); // nothing written
}

} // namespace
} // namespace veltra
