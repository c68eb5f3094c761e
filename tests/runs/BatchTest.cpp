// Cases run side by side in threads of one process write exactly what they write one
// after the other (every whole-run case, file by file, and the summary), each case
// in its own folder; a case that fails is its own row and never stops the others; the
// reporter hears of every case once, on the calling thread.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "model/InputFile.h"
#include "model/SafeFile.h"
#include "model/TVeltraError.h"
#include "runs/Batch.h"
#include "runs/CaseRun.h"
#include "support/TScratchFolder.h"
#include "support/TestFiles.h"

namespace veltra {
namespace {

namespace fs = std::filesystem;

using test::ReadFile;

std::string Replaced(std::string text, const std::string& from, const std::string& to)
{
    for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
        text.replace(at, from.size(), to);
    return text;
}

// Every file under `root`, by its path below it, the root's path in the texts made "ROOT".
std::map<std::string, std::string> Tree(const fs::path& root)
{
    std::map<std::string, std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (e.is_regular_file())
            files[fs::relative(e.path(), root).string()] = Replaced(ReadFile(e.path()), root.string(), "ROOT");
    return files;
}

class TRecordingReporter final : public TBatchReporter {
public:
    void Started(std::size_t cases, int jobs) override
    {
        Cases = cases;
        Jobs = jobs;
    }
    void CaseDone(const TSummaryRow& row, std::size_t done, std::size_t total) override
    {
        EXPECT_EQ(std::this_thread::get_id(), caller_);
        EXPECT_EQ(done, Done.size() + 1);
        EXPECT_EQ(total, Cases);
        Done.push_back(row.Index);
        Status[row.Name] = row.Outcome.Status;
    }
    std::size_t Cases = 0;
    int Jobs = 0;
    std::vector<std::size_t> Done;
    std::map<std::string, TCaseStatus> Status;

private:
    std::thread::id caller_ = std::this_thread::get_id();
};

class Batch : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Every whole-run case by its first input file, a series with its year files.
        for (const auto& e : fs::directory_iterator(VELTRA_REFERENCE_DIR)) {
            const fs::path first = e.path() / (e.path().filename().string() + ".inp");
            if (!fs::exists(first))
                continue;
            TInputRecord rec;
            std::ifstream in(first, std::ios::binary);
            ReadInputStream(in, first.string(), rec);
            std::vector<std::string> files{first.string()};
            if (rec.Ky == 1)
                for (const std::string& f : SeriesYearFiles(first.string(), rec.Ny))
                    files.push_back(f);
            inputs_.push_back(files);
        }
        std::sort(inputs_.begin(), inputs_.end());
        ASSERT_GE(inputs_.size(), 20u) << VELTRA_REFERENCE_DIR;
    }
    Batch() { scratch_.KeepAfterFailure = true; }

    TBatchPlan Plan(const std::string& out, int jobs)
    {
        TBatchPlan plan;
        plan.OutFolder = (dir_ / out).string();
        plan.Jobs = jobs;
        std::vector<std::string> stems;
        for (const auto& files : inputs_)
            stems.push_back(fs::path(files[0]).stem().string());
        plan.Names = UniqueCaseNames(stems);
        plan.Prepare = [this](std::size_t index, const std::string& folder) {
            std::vector<std::string> copies;
            for (const std::string& f : inputs_[index - 1]) {
                const std::string copy = (fs::path(folder) / fs::path(f).filename()).string();
                WriteWholeFile(copy, ReadWholeFile(f, 1 << 20, "an input file"));
                copies.push_back(copy);
            }
            return copies;
        };
        PrepareOutputFolder(plan.OutFolder);
        return plan;
    }

    test::TScratchFolder scratch_{"veltra-batch"};
    const fs::path& dir_ = scratch_.Dir;
    std::vector<std::vector<std::string>> inputs_;
};

TEST_F(Batch, ThreadsWriteWhatOneAfterTheOtherWrites)
{
    TRecordingReporter one, four;
    const TBatchResult serial = RunBatch(Plan("one", 1), one);
    const TBatchResult parallel = RunBatch(Plan("four", 4), four);
    EXPECT_EQ(one.Jobs, 1);
    EXPECT_EQ(four.Jobs, 4);

    const auto a = Tree(dir_ / "one"), b = Tree(dir_ / "four");
    ASSERT_EQ(a.size(), b.size());
    for (const auto& [path, text] : a) {
        ASSERT_EQ(b.count(path), 1u) << path;
        EXPECT_EQ(text, b.at(path)) << path;
    }
    // Every case in its own folder: its inputs and a result file or an error list.
    for (const auto& files : inputs_) {
        const std::string stem = fs::path(files[0]).stem().string();
        EXPECT_TRUE(a.count(stem + "/" + stem + ".res") || a.count(stem + "/Error.lst")) << stem;
    }

    EXPECT_EQ(serial.Cases, inputs_.size());
    EXPECT_EQ(serial.Count, parallel.Count);
    EXPECT_EQ(serial.Count[static_cast<std::size_t>(TCaseStatus::Failed)], 0u);
    EXPECT_GE(serial.Count[static_cast<std::size_t>(TCaseStatus::Stopped)], 1u);
    EXPECT_GE(serial.Count[static_cast<std::size_t>(TCaseStatus::InputErrors)], 1u);
    EXPECT_EQ(serial.ExitStatus, 3); // stopped outranks input errors
    std::vector<std::size_t> reported = four.Done;
    std::sort(reported.begin(), reported.end());
    for (std::size_t i = 0; i < reported.size(); ++i)
        EXPECT_EQ(reported[i], i + 1);
    EXPECT_EQ(reported.size(), inputs_.size());
}

TEST_F(Batch, AFailingCaseNeverStopsTheOthers)
{
    // Case 1 has no input file; the folder of case 2 is taken by a file; case 3's
    // preparation throws something that is not a Veltra error at all.
    inputs_.insert(inputs_.begin(), {(dir_ / "missing.inp").string()});
    TBatchPlan plan = Plan("out", 3);
    plan.Names[1] = "blocked";
    WriteWholeFile((dir_ / "out" / "blocked").string(), "a file where a folder should be");
    const auto prepare = plan.Prepare;
    plan.Prepare = [prepare](std::size_t index, const std::string& folder) -> std::vector<std::string> {
        if (index == 3)
            throw std::runtime_error("out of luck");
        return prepare(index, folder);
    };
    TRecordingReporter reporter;
    const TBatchResult result = RunBatch(plan, reporter);

    EXPECT_EQ(reporter.Status.at("missing"), TCaseStatus::Failed);
    EXPECT_EQ(reporter.Status.at("blocked"), TCaseStatus::Failed);
    EXPECT_EQ(reporter.Status.at(plan.Names[2]), TCaseStatus::Failed);
    EXPECT_EQ(result.Count[static_cast<std::size_t>(TCaseStatus::Failed)], 3u);
    EXPECT_EQ(result.ExitStatus, 2);
    EXPECT_EQ(reporter.Done.size(), inputs_.size());
    std::size_t ran = 0;
    for (const auto& [name, status] : reporter.Status)
        ran += status == TCaseStatus::Ok;
    EXPECT_GE(ran, inputs_.size() - 6);

    // The summary lists every case in order, each failure with its reason.
    const std::string summary = ReadFile(dir_ / "out" / "summary.csv");
    std::istringstream lines(summary);
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line.rfind("index,name,status,exit_status,", 0), 0u) << line;
    std::getline(lines, line);
    EXPECT_EQ(line.rfind("1,missing,failed,2,,,", 0), 0u) << line;
    EXPECT_NE(line.find("missing.inp"), std::string::npos) << line;
    std::getline(lines, line);
    EXPECT_EQ(line.rfind("2,blocked,failed,2,", 0), 0u) << line;
    std::getline(lines, line);
    EXPECT_NE(line.find(",failed,2,"), std::string::npos) << line;
    EXPECT_NE(line.find("internal error: out of luck"), std::string::npos) << line;
    std::size_t rows = 3;
    while (std::getline(lines, line))
        EXPECT_EQ(line.rfind(std::to_string(++rows) + ",", 0), 0u) << line;
    EXPECT_EQ(rows, inputs_.size());
}

TEST(BatchParts, ShardsNamesAndYearFiles)
{
    EXPECT_EQ(ParseShard("2/5").K, 2);
    EXPECT_EQ(ParseShard("2/5").N, 5);
    for (const char* bad : {"5/5", "-1/3", "1/0", "1", "a/b", "1/3x", ""}) {
        try {
            ParseShard(bad);
            ADD_FAILURE() << bad;
        } catch (const TVeltraError& e) {
            EXPECT_EQ(e.Kind, TErrorKind::Usage) << bad;
        }
    }
    const TShard shard = ParseShard("0/1");
    for (std::size_t i = 1; i < 5; ++i)
        EXPECT_TRUE(shard.Holds(i));

    EXPECT_EQ(UniqueCaseNames({"field", "wells", "field", "field_2", "field"}),
              (std::vector<std::string>{"field", "wells", "field_3", "field_2", "field_4"}));

    const fs::path dir = fs::path(VELTRA_REFERENCE_DIR) / "gen_case_0007";
    const std::vector<std::string> years = SeriesYearFiles((dir / "gen_case_0007.inp").string(), 99);
    ASSERT_EQ(years.size(), 5u);
    EXPECT_EQ(years.front(), (dir / "gen_case_00072.inp").string());
    EXPECT_EQ(years.back(), (dir / "gen_case_00076.inp").string());
    EXPECT_EQ(SeriesYearFiles((dir / "gen_case_0007.inp").string(), 3).size(), 2u);
}

// The worst case decides the batch's exit status: failed over stopped over input
// errors over ok, a single case of a kind enough.
TEST(BatchParts, TheWorstCaseDecidesTheExitStatus)
{
    const test::TScratchFolder scratch("veltra-worst");
    const fs::path ref(VELTRA_REFERENCE_DIR);
    const std::string ok = (ref / "field" / "field.inp").string(), missing = (ref / "missing.inp").string();
    const std::string errors = (ref / "bad_case_0001" / "bad_case_0001.inp").string();
    const std::string stopped = (ref / "hm_aquifer_stop" / "hm_aquifer_stop.inp").string();
    const struct {
        std::vector<std::string> Inputs;
        int Status;
    } cases[] = {{{ok}, 0}, {{ok, errors}, 1}, {{errors, stopped}, 3}, {{stopped, missing}, 2}, {{missing, errors}, 2}};
    int batch = 0;
    for (const auto& c : cases) {
        TBatchPlan plan;
        plan.OutFolder = (scratch.Dir / std::to_string(++batch)).string();
        for (const std::string& f : c.Inputs)
            plan.Names.push_back(fs::path(f).stem().string());
        plan.Prepare = [&c](std::size_t index, const std::string& folder) {
            const fs::path from = c.Inputs[index - 1];
            const std::string copy = (fs::path(folder) / from.filename()).string();
            WriteWholeFile(copy, ReadWholeFile(from.string(), 1 << 20, "an input file"));
            return std::vector<std::string>{copy};
        };
        PrepareOutputFolder(plan.OutFolder);
        TRecordingReporter reporter;
        EXPECT_EQ(RunBatch(plan, reporter).ExitStatus, c.Status) << "batch " << batch;
    }
}

// A series case refuses, before anything runs, a later file that does not continue
// the first one's series (gen_case_0009: Ns = 3, Ny = 4; gen_case_0008: Ns = 2, Ny = 5).
TEST(BatchParts, ASeriesCaseRefusesFilesOfAnotherSeries)
{
    const test::TScratchFolder scratch("veltra-series");
    const fs::path ref(VELTRA_REFERENCE_DIR);
    const auto file = [&](const std::string& name, const fs::path& from, int ny) {
        TInputRecord rec;
        ReadNamedInputFile(from.string(), rec);
        rec.Ny = static_cast<std::uint8_t>(ny);
        const std::string path = (scratch.Dir / name).string();
        WriteInputFile(rec, path);
        return path;
    };
    const fs::path g = ref / "gen_case_0009";
    const std::string first = file("g.inp", g / "gen_case_0009.inp", 4);
    const std::string year2 = file("g2.inp", g / "gen_case_00092.inp", 4);
    const struct {
        std::vector<std::string> Files;
        std::string Refusal;
    } cases[] = {
        {{first, file("ny.inp", g / "gen_case_00092.inp", 5)}, "ny.inp: every file of a series needs"},
        {{first, file("ns.inp", ref / "gen_case_0008" / "gen_case_0008.inp", 4)}, "ns.inp: every file of a series"},
        {{first, year2, year2, year2, year2}, "More files (5) than years (4) in the series."},
    };
    for (const auto& c : cases) {
        const TCaseOutcome outcome = RunCase(c.Files, scratch.Dir.string());
        EXPECT_EQ(outcome.Status, TCaseStatus::Failed) << c.Refusal;
        EXPECT_NE(outcome.Message.find(c.Refusal), std::string::npos) << outcome.Message;
        EXPECT_FALSE(fs::exists(scratch.Dir / "g.res")) << c.Refusal;
    }
}

TEST(BatchParts, OutputFolderThatCannotBeWritten)
{
    const test::TScratchFolder scratch("veltra-batch");
    const fs::path file = scratch.Dir / "file";
    WriteWholeFile(file.string(), "x");
    for (const fs::path& folder : {file, file / "below"}) {
        try {
            PrepareOutputFolder(folder.string());
            ADD_FAILURE() << folder;
        } catch (const TVeltraError& e) {
            EXPECT_EQ(e.Kind, TErrorKind::File);
            EXPECT_NE(std::string(e.what()).find(folder.string()), std::string::npos) << e.what();
        }
    }
}

} // namespace
} // namespace veltra
