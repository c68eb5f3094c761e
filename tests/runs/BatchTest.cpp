// Cases run side by side in threads of one process write exactly what they write one
// after the other (every whole-run case, file by file, and the summary), each case
// in its own folder; a case that fails is its own row and never stops the others; the
// reporter hears of every case once, on the calling thread.
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "model/InputFile.h"
#include "model/SafeFile.h"
#include "model/TVeltraError.h"
#include "runs/Batch.h"
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
        plan.Plan = "p" + std::to_string(inputs_.size());
        plan.Inputs = [this](std::size_t index) {
            std::vector<TCaseInput> read;
            for (const std::string& f : inputs_[index - 1])
                read.push_back({fs::path(f).filename().string(), ReadWholeFile(f, 1 << 20, "an input file")});
            return read;
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
    const auto inputs = plan.Inputs;
    plan.Inputs = [inputs](std::size_t index) -> std::vector<TCaseInput> {
        if (index == 3)
            throw std::runtime_error("out of luck");
        return inputs(index);
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

// Locks that fail on purpose: the folder or file whose name ends in a key of Fail
// reports that error number; the others are real locks.
class TFailingLocks final : public TLockSystem {
public:
    std::map<std::string, int> Fail;
    int Lock(const std::string& path, bool exclusive, int& handle) override
    {
        for (const auto& [end, error] : Fail)
            if (path.size() >= end.size() && path.compare(path.size() - end.size(), end.size(), end) == 0)
                return error;
        return TLockSystem::Lock(path, exclusive, handle);
    }
};

std::string Message(const std::function<void()>& action)
{
    try {
        action();
    } catch (const TVeltraError& e) {
        EXPECT_EQ(e.Kind, TErrorKind::File) << e.what();
        return e.what();
    }
    return "(not refused)";
}

TEST_F(Batch, TheOutputFolderHasOneWriter)
{
    TBatchPlan plan = Plan("out", 2);
    {
        const TBatchLock first(plan);
        EXPECT_NE(Message([&] { const TBatchLock second(plan); }).find("is in use by another batch"),
                  std::string::npos);
        plan.Shard = ParseShard("1/2");
        EXPECT_NE(Message([&] { const TBatchLock shard(plan); }).find("in use"), std::string::npos);
    }
    // Shards of one run share the folder, each holding its own cases and summary.
    TBatchPlan other = plan;
    other.Shard = ParseShard("0/2");
    {
        const TBatchLock one(plan), two(other);
        EXPECT_NE(Message([&] { const TBatchLock again(other); }).find("in use"), std::string::npos);
        TBatchPlan whole = plan;
        whole.Shard = {};
        EXPECT_NE(Message([&] { const TBatchLock all(whole); }).find("in use"), std::string::npos);
    }
    // Through the seam: a folder held elsewhere, a file system without locks (the run
    // goes on, saying so), a lock that fails otherwise.
    TFailingLocks locks;
    plan.Locks = &locks;
    plan.Shard = {};
    locks.Fail = {{"/out", EWOULDBLOCK}};
    EXPECT_NE(Message([&] { const TBatchLock held(plan); }).find("in use"), std::string::npos);
    locks.Fail = {{"/out", EIO}};
    EXPECT_NE(Message([&] { const TBatchLock broken(plan); }).find("could not be locked"), std::string::npos);
    locks.Fail = {{"/out", ENOLCK}};
    const TBatchLock unlocked(plan);
    EXPECT_NE(unlocked.Note().find("cannot lock it"), std::string::npos);

    // A case folder another run holds: that case fails, untouched; the others run.
    locks.Fail = {{"/out/" + plan.Names[1], EWOULDBLOCK}};
    TRecordingReporter reporter;
    RunBatch(plan, reporter);
    EXPECT_EQ(reporter.Status.at(plan.Names[1]), TCaseStatus::Failed);
    EXPECT_TRUE(fs::is_empty(dir_ / "out" / plan.Names[1]));
    EXPECT_NE(ReadFile(dir_ / "out" / "summary.csv").find("is in use by another batch or sweep"), std::string::npos);
    EXPECT_NE(reporter.Status.at(plan.Names[0]), TCaseStatus::Failed);
}

// Two batches started together into one folder (a few rounds, seeded delays): they
// never run at the same time, and summary.csv is the whole summary of the one that
// ran last.
TEST_F(Batch, TwoBatchesIntoOneFolder)
{
    std::mt19937 random(18);
    for (int round = 0; round < 4; ++round) {
        fs::remove_all(dir_ / "out");
        TBatchPlan plans[2] = {Plan("out", 2), Plan("out", 2)};
        plans[0].Names.resize(6);
        plans[1].Names.assign(plans[1].Names.begin() + 6, plans[1].Names.begin() + 10);
        const auto inputs = plans[1].Inputs;
        plans[1].Inputs = [inputs](std::size_t index) { return inputs(index + 6); };
        plans[1].Plan = "second";
        using Clock = std::chrono::steady_clock;
        struct TRun {
            bool Ran = false;
            Clock::time_point Start, End;
        } runs[2];
        std::uniform_int_distribution<int> delay(0, 4000);
        const int delays[2] = {delay(random), delay(random)};
        auto batch = [&](int b) {
            std::this_thread::sleep_for(std::chrono::microseconds(delays[b]));
            try {
                const TBatchLock lock(plans[b]);
                runs[b].Start = Clock::now();
                TRecordingReporter reporter;
                RunBatch(plans[b], reporter);
                runs[b].End = Clock::now();
                runs[b].Ran = true;
            } catch (const TVeltraError& e) {
                EXPECT_NE(std::string(e.what()).find("in use"), std::string::npos) << e.what();
            }
        };
        std::thread other(batch, 1);
        batch(0);
        other.join();
        ASSERT_TRUE(runs[0].Ran || runs[1].Ran) << round;
        if (runs[0].Ran && runs[1].Ran) {
            EXPECT_TRUE(runs[0].End <= runs[1].Start || runs[1].End <= runs[0].Start) << round;
        }
        const int last = !runs[1].Ran ? 0 : !runs[0].Ran ? 1 : runs[0].End > runs[1].End ? 0 : 1;
        const std::string summary = ReadFile(dir_ / "out" / "summary.csv");
        EXPECT_EQ(SummaryPlan(summary), plans[last].Plan) << round;
        EXPECT_EQ(static_cast<std::size_t>(std::count(summary.begin(), summary.end(), '\n')),
                  plans[last].Names.size() + 1)
            << round;
    }
}

// A case run again removes what its earlier run listed (an input of another case of
// extension, its results), never a file it did not write, nor anything outside its
// folder whatever its list says.
TEST_F(Batch, ACaseRemovesOnlyWhatItsEarlierRunWrote)
{
    const std::string stem = "field";
    const std::string text = ReadFile(fs::path(VELTRA_REFERENCE_DIR) / stem / (stem + ".inp"));
    TBatchPlan plan = Plan("out", 1);
    plan.Names = {stem};
    plan.Inputs = [&](std::size_t) { return std::vector<TCaseInput>{{stem + ".inp", text}}; };
    TRecordingReporter first;
    RunBatch(plan, first);
    const fs::path folder = dir_ / "out" / stem;
    ASSERT_TRUE(fs::exists(folder / (stem + ".res")));
    WriteWholeFile((folder / "notes.txt").string(), "mine");
    WriteWholeFile((folder / (stem + "5.inp")).string(), "a year file of mine");

    plan.Inputs = [&](std::size_t) { return std::vector<TCaseInput>{{stem + ".INP", text}}; };
    TRecordingReporter second;
    RunBatch(plan, second);
    EXPECT_FALSE(fs::exists(folder / (stem + ".inp")));
    EXPECT_TRUE(fs::exists(folder / (stem + ".INP")));
    EXPECT_TRUE(fs::exists(folder / (stem + ".res")));
    EXPECT_EQ(ReadFile(folder / "notes.txt"), "mine");
    EXPECT_TRUE(fs::exists(folder / (stem + "5.inp")));

    WriteWholeFile((dir_ / "outside").string(), "x");
    WriteWholeFile((folder / CaseListName).string(),
                   "../../outside\n" + (dir_ / "outside").string() + "\n..\n.\n" + stem + ".res\n");
    TRecordingReporter third;
    RunBatch(plan, third);
    EXPECT_TRUE(fs::exists(dir_ / "outside"));
    EXPECT_EQ(third.Status.at(stem), first.Status.at(stem));
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
    // Names that would leave the output folder, hide, or be taken for a summary.
    EXPECT_EQ(UniqueCaseNames({"..", ".", "", ".field", "summary.csv", "summary-1-of-2.csv", "summary-01-of-2.csv",
                               "summary-2-of-2.csv", "_field", "case"}),
              (std::vector<std::string>{"__", "_", "case", "_field", "summary.csv_", "summary-1-of-2.csv_",
                                        "summary-01-of-2.csv_", "summary-2-of-2.csv", "_field_2", "case_2"}));
    // One base name many times (a suffix counted on, not searched from 2 each time;
    // the time it takes: bench/BatchBench.cpp).
    std::vector<std::string> many(3000, "field");
    many[1] = "field_3";
    const std::vector<std::string> named = UniqueCaseNames(many);
    EXPECT_EQ(named[0], "field");
    EXPECT_EQ(named[1], "field_3");
    EXPECT_EQ(named[2], "field_2");
    EXPECT_EQ(named[3], "field_4");
    EXPECT_EQ(named.back(), "field_3000");
    EXPECT_EQ(std::set<std::string>(named.begin(), named.end()).size(), many.size());

    // List files: a path a line, LF or CR LF, blank lines skipped, a byte-order mark
    // ignored (as the input reader ignores it).
    EXPECT_EQ(ListFileEntries("\xEF\xBB\xBF"
                              "a.inp\r\n\r\n  \nb c.inp\nlast.inp"),
              (std::vector<std::string>{"a.inp", "b c.inp", "last.inp"}));
    EXPECT_EQ(ListFileEntries("x\xEF\xBB\xBF.inp\n"), (std::vector<std::string>{"x\xEF\xBB\xBF.inp"}));

    const fs::path dir = fs::path(VELTRA_REFERENCE_DIR) / "gen_case_0007";
    const std::vector<std::string> years = SeriesYearFiles((dir / "gen_case_0007.inp").string(), 99);
    ASSERT_EQ(years.size(), 5u);
    EXPECT_EQ(years.front(), (dir / "gen_case_00072.inp").string());
    EXPECT_EQ(years.back(), (dir / "gen_case_00076.inp").string());
    EXPECT_EQ(SeriesYearFiles((dir / "gen_case_0007.inp").string(), 3).size(), 2u);
}

// Under a limit on threads only some start: the work runs on them (on the calling
// thread when none did), every item once, and the shortfall is told once.
TEST(BatchParts, RunsOnTheThreadsThatStarted)
{
    for (const std::size_t allowed : {0u, 1u, 2u}) {
        std::size_t started = 0;
        const TThreadStarter limited = [&](std::function<void()> body) {
            if (started == allowed)
                throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
            ++started;
            return std::thread(std::move(body));
        };
        std::vector<int> worked(50, 0);
        std::vector<std::size_t> done;
        std::vector<std::pair<std::size_t, std::size_t>> told;
        const std::size_t threads = RunInParallel(
            worked.size(), 8, [&](std::size_t i) { ++worked[i]; }, [&](std::size_t i) { done.push_back(i); }, {}, 5,
            [&](std::size_t have, std::size_t wanted) { told.emplace_back(have, wanted); }, limited);
        EXPECT_EQ(threads, allowed);
        EXPECT_EQ(std::count(worked.begin(), worked.end(), 1), 50) << allowed;
        EXPECT_EQ(done.size(), 50u);
        EXPECT_EQ(told, (std::vector<std::pair<std::size_t, std::size_t>>{{allowed, 8}}));
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
