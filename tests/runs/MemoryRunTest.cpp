// Runs in memory, for every whole-run case: the same outcome and the same season
// records, bit for bit, as the run from the files (which writes nothing in memory), and
// the records the result file shows, read back cell by cell, are the run's cells as
// the file formats them.
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/NumberText.h"
#include "model/SafeFile.h"
#include "results/FrequencyFile.h"
#include "results/OutputGroups.h"
#include "results/PathWithExtension.h"
#include "results/ResultFile.h"
#include "results/TextLists.h"
#include "runs/Batch.h"
#include "runs/CaseRun.h"
#include "support/TScratchFolder.h"
#include "support/TestFiles.h"

namespace veltra {
namespace {

namespace fs = std::filesystem;

// Every season record a run hands out: its cells and its frequency slots.
class TSeasonTable final : public TRunObserver {
public:
    struct TRow {
        int Year, Season;
        TSeasonCells Cells;
        std::vector<TFrequencyRow> Frequency;
    };
    void SeasonDone(const TSeasonDone& done, const TInputRecord& rec, const TEngineState& st) override
    {
        Rows.push_back({done.Year, done.Season, SeasonRecordCells(rec, st, done), FrequencyRows(rec, st)});
    }
    std::vector<TRow> Rows;
};

std::string Cell(const TRecordCell& v)
{
    return v.Shown ? NumberCell(v.Value) : std::string(AbsentCell);
}

class MemoryRun : public ::testing::TestWithParam<std::string> {
protected:
    test::TScratchFolder files_{"veltra-memory-files"};
    test::TScratchFolder cwd_{"veltra-memory-cwd", true};
};

TEST_P(MemoryRun, IsTheRunFromTheFilesAndTheFileShowsItsCells)
{
    const fs::path reference = fs::path(VELTRA_REFERENCE_DIR) / GetParam();
    std::vector<std::string> files{(reference / (GetParam() + ".inp")).string()};
    std::vector<TInputRecord> records(1);
    ReadCaseInput(files[0], records[0]);
    if (records[0].Ky == 1)
        for (const std::string& later : SeriesYearFiles(files[0], records[0].Ny)) {
            files.push_back(later);
            records.emplace_back();
            ReadCaseInput(later, records.back());
        }
    for (std::string& f : files) {
        fs::copy_file(f, files_.Dir / fs::path(f).filename());
        f = (files_.Dir / fs::path(f).filename()).string();
    }

    TSeasonTable fromFiles, inMemory;
    const TCaseOutcome a = RunCase(files, files_.Dir.string(), RealFileSystem(), &fromFiles);
    const TCaseOutcome b = RunRecordCase(records, files[0], &inMemory);
    EXPECT_TRUE(test::EntryNames(cwd_.Dir).empty()) << "a run in memory wrote into the working folder";
    ASSERT_EQ(a.Status, b.Status) << b.Message;
    EXPECT_EQ(a.Message, b.Message);
    EXPECT_EQ(a.Years, b.Years);
    EXPECT_EQ(a.Warnings, b.Warnings);
    EXPECT_EQ(a.Last, b.Last);
    EXPECT_EQ(a.Means, b.Means);
    ASSERT_EQ(fromFiles.Rows.size(), inMemory.Rows.size());
    for (std::size_t r = 0; r < inMemory.Rows.size(); ++r) {
        EXPECT_EQ(fromFiles.Rows[r].Cells, inMemory.Rows[r].Cells) << "record " << r;
        ASSERT_EQ(fromFiles.Rows[r].Frequency.size(), inMemory.Rows[r].Frequency.size());
    }
    if (a.Status == TCaseStatus::InputErrors) {
        EXPECT_TRUE(inMemory.Rows.empty());
        return;
    }

    const std::string res = PathWithExtension(files[0], ".res");
    std::vector<std::string> lines;
    ReadTextLines(res, lines);
    const std::vector<TResultRecord> read = ReadResultRecords(res, lines);
    ASSERT_EQ(read.size(), inMemory.Rows.size());
    for (std::size_t r = 0; r < read.size(); ++r) {
        const TSeasonTable::TRow& row = inMemory.Rows[r];
        SCOPED_TRACE("year " + std::to_string(row.Year) + " season " + std::to_string(row.Season));
        EXPECT_EQ(read[r].Year, row.Year);
        EXPECT_EQ(read[r].Season, row.Season);
        for (std::size_t k = 0; k < RecordSymbolCount; ++k)
            EXPECT_EQ(Cell(read[r].Values[k]), Cell(row.Cells[k])) << RecordSymbolNames[k];
        ASSERT_EQ(read[r].Frequency.size(), row.Frequency.size());
        for (std::size_t f = 0; f < row.Frequency.size(); ++f) {
            EXPECT_EQ(read[r].Frequency[f].first, row.Frequency[f].Symbol);
            for (std::size_t p = 0; p < 4; ++p)
                EXPECT_EQ(NumberCell(read[r].Frequency[f].second[p]), NumberCell(row.Frequency[f].Points[p]));
        }
    }
}

std::string TestName(const ::testing::TestParamInfo<std::string>& info)
{
    return info.param;
}

INSTANTIATE_TEST_SUITE_P(Cases, MemoryRun, ::testing::ValuesIn(test::FolderNames(VELTRA_REFERENCE_DIR)), TestName);

// The result file's reader refuses what the group reader refuses, and reads a
// printed -1 as a value, not as an absent cell.
TEST(ReadResultRecords, RefusesDamageAndKeepsMinusOne)
{
    std::vector<std::string> lines =
        SplitLines(test::ReadFile(fs::path(VELTRA_SOURCE_DIR) / "tests/reference/examples/field/field.res"));
    const std::vector<TResultRecord> whole = ReadResultRecords("field.res", lines);
    ASSERT_EQ(whole.size(), 22u);
    EXPECT_EQ(whole[2].Year, 1);
    EXPECT_DOUBLE_EQ(whole[2].Duration, 7.0);
    EXPECT_EQ(CellOf(whole[2].Values, TRecordSymbol::Kr).Value, 4.0);
    EXPECT_FALSE(CellOf(whole[2].Values, TRecordSymbol::CrA).Shown); // "-" under Kr = 4

    std::vector<std::string> minus = lines;
    for (std::size_t i = 0; i < minus.size(); ++i)
        if (minus[i].rfind("  Gw  = ", 0) == 0) {
            minus[i].replace(8, 10, "-1.00E+000");
            break;
        }
    EXPECT_EQ(ReadResultRecords("field.res", minus)[0].Values[22], (TRecordCell{-1.0, true})); // Gw

    std::vector<std::string> cut(lines.begin(), lines.begin() + 40);
    EXPECT_THROW(ReadResultRecords("field.res", cut), TGroupReadError);
    std::vector<std::string> bad = lines;
    for (std::string& l : bad)
        if (l.rfind("  Dw", 0) == 0 || l.find("    Dw  = ") != std::string::npos) {
            l.replace(28, 10, "   x.yz   ");
            break;
        }
    EXPECT_THROW(ReadResultRecords("field.res", bad), TGroupReadError);
}

} // namespace
} // namespace veltra
