// Every whole-run case run once, as one batch whose threads run cases side by side:
// each case's folder holds exactly the reviewed files of a single run, byte for byte;
// its outcome is the single command's; the summary it takes from the run in memory
// agrees with the result file the same run wrote, cell by cell (3 significant
// digits), present exactly where the file prints a number, and the means of the last
// year with the durations-weighted means of the printed cells. The same case run in
// memory has the same outcome, writes nothing, and hands out, under each symbol, the
// cell the reviewed result file prints under that label. A case that fails is its own
// row and never stops the others; the reporter hears of every case once, on the
// calling thread.
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <system_error>
#include <thread>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "model/InputFile.h"
#include "model/NumberText.h"
#include "model/SafeFile.h"
#include "model/TVeltraError.h"
#include "results/OutputGroups.h"
#include "results/ResultFile.h"
#include "results/TextLists.h"
#include "runs/Batch.h"
#include "runs/CaseRun.h"
#include "support/TFaultyFileSystem.h"
#include "support/TScratchFolder.h"
#include "wholerun/ReferenceCompare.h"

namespace veltra {
namespace {

namespace fs = std::filesystem;

using test::ReadFile;
using wholerun::CaseInputs;

// The summary of a case against the result file its run wrote.
void ExpectSummaryOfResultFile(const TCaseOutcome& outcome, const std::string& res)
{
    using TCells = std::map<std::string, std::string>;
    const std::vector<TCells> records = test::RecordCells(res);
    ASSERT_FALSE(records.empty());
    const std::string lastYear = records.back().at("YEAR");
    EXPECT_EQ(std::to_string(outcome.Years), lastYear);
    std::vector<TCells> year;
    std::copy_if(records.begin(), records.end(), std::back_inserter(year),
                 [&](const TCells& r) { return r.at("YEAR") == lastYear; });
    for (std::size_t k = 0; k < SummaryValueCount; ++k) {
        const std::string symbol(SummaryValueNames[k]);
        SCOPED_TRACE(symbol);
        ASSERT_EQ(year.back().count(symbol), 1u);
        const std::string& cell = year.back().at(symbol);
        ASSERT_EQ(outcome.Last[k].has_value(), cell != "-") << "cell " << cell;
        if (outcome.Last[k]) {
            const std::string text = NumberCell(*outcome.Last[k]);
            EXPECT_EQ(text.substr(text.find_first_not_of(' ')), cell);
        }
        // The mean over the seasons that print the value, weighted by their durations.
        double sum = 0, months = 0, size = 0;
        for (const TCells& r : year)
            if (r.at(symbol) != "-") {
                const double v = std::atof(r.at(symbol).c_str()), m = std::atof(r.at("Duration").c_str());
                sum += m * v;
                months += m;
                size += m * std::fabs(v);
            }
        ASSERT_EQ(outcome.Means[k].has_value(), months > 0);
        if (outcome.Means[k]) {
            EXPECT_NEAR(*outcome.Means[k], sum / months, 0.006 * size / months + 1e-12);
        }
    }
}

class TSeasonCellsOfRun final : public TRunObserver {
public:
    void SeasonDone(const TSeasonDone& done, const TInputRecord& rec, const TEngineState& st) override
    {
        Records.push_back(SeasonRecordCells(rec, st, done));
    }
    std::vector<TSeasonCells> Records;
};

// The case of `files` run in memory against its run from the files and the reviewed
// result file: a symbol that named another cell would, among others, fit the wrong
// quantity.
void ExpectMemoryRun(const std::vector<std::string>& files, const TCaseOutcome& fromFiles, const fs::path& res)
{
    std::vector<TInputRecord> records(files.size());
    for (std::size_t i = 0; i < files.size(); ++i)
        ReadCaseInput(files[i], records[i]);
    TSeasonCellsOfRun run;
    const TCaseOutcome memory = RunRecordCase(records, files[0], &run);
    EXPECT_EQ(std::tie(memory.Status, memory.Message, memory.Years, memory.Warnings),
              std::tie(fromFiles.Status, fromFiles.Message, fromFiles.Years, fromFiles.Warnings));
    EXPECT_EQ(memory.Last, fromFiles.Last);
    EXPECT_EQ(memory.Means, fromFiles.Means);
    const auto printed = test::RecordCells(ReadFile(res)); // none without a result file
    ASSERT_EQ(run.Records.size(), printed.size());
    for (std::size_t r = 0; r < printed.size(); ++r) {
        ASSERT_EQ(printed[r].size(), RecordSymbolCount + 1) << "record " << r; // Kr aside, YEAR and Duration
        for (const auto& [label, text] : printed[r]) {
            if (label == "YEAR" || label == "Duration")
                continue;
            const std::optional<TRecordSymbol> symbol = RecordSymbolNamed(label);
            ASSERT_TRUE(symbol.has_value()) << label;
            const TRecordCell& cell = CellOf(run.Records[r], *symbol);
            const std::string number = NumberCell(cell.Value);
            EXPECT_EQ(cell.Shown ? number.substr(number.find_first_not_of(' ')) : "-", text)
                << "record " << r << ", " << label;
        }
    }
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
        EXPECT_EQ(done, Rows.size() + 1);
        EXPECT_EQ(total, Cases);
        Rows[row.Name] = row;
    }
    TCaseStatus Status(const std::string& name) const { return Rows.at(name).Outcome.Status; }
    std::size_t Cases = 0;
    int Jobs = 0;
    std::map<std::string, TSummaryRow> Rows;

private:
    std::thread::id caller_ = std::this_thread::get_id();
};

class Batch : public ::testing::Test {
protected:
    Batch() { scratch_.KeepAfterFailure = true; }

    // A batch of `inputs` (each a case's files) into dir/out on `jobs` threads.
    TBatchPlan Plan(const std::vector<std::vector<std::string>>& inputs, int jobs)
    {
        TBatchPlan plan;
        plan.OutFolder = (dir_ / "out").string();
        plan.Jobs = jobs;
        std::vector<std::string> stems;
        for (const auto& files : inputs)
            stems.push_back(fs::path(files[0]).stem().string());
        plan.Names = UniqueCaseNames(stems);
        plan.Plan = "p" + std::to_string(inputs.size());
        plan.Inputs = [inputs](std::size_t index) {
            std::vector<TCaseInput> read;
            for (const std::string& f : inputs[index - 1])
                read.push_back({fs::path(f).filename().string(), ReadWholeFile(f, 1 << 20, "an input file")});
            return read;
        };
        PrepareOutputFolder(plan.OutFolder);
        return plan;
    }

    // The inputs of every whole-run case.
    static std::vector<std::vector<std::string>> EveryCase()
    {
        std::vector<std::vector<std::string>> inputs;
        for (const std::string& name : test::FolderNames(VELTRA_REFERENCE_DIR))
            inputs.push_back(CaseInputs(fs::path(VELTRA_REFERENCE_DIR) / name));
        return inputs;
    }

    test::TScratchFolder scratch_{"veltra-batch"};
    const fs::path& dir_ = scratch_.Dir;
};

TEST_F(Batch, EveryReferenceCaseWritesItsReviewedFilesAndItsSummary)
{
    const fs::path cases = VELTRA_REFERENCE_DIR;
    const std::vector<std::vector<std::string>> inputs = EveryCase();
    ASSERT_GE(inputs.size(), 20u) << cases;
    TRecordingReporter reporter;
    const TBatchPlan plan = Plan(inputs, 3);
    const TBatchResult result = RunBatch(plan, reporter);
    const test::TScratchFolder cwd("veltra-memory-cwd", true); // where a run in memory must not write
    EXPECT_EQ(reporter.Jobs, 3);
    EXPECT_EQ(result.Cases, inputs.size());
    ASSERT_EQ(reporter.Rows.size(), inputs.size());
    EXPECT_EQ(result.Count[static_cast<std::size_t>(TCaseStatus::Failed)], 0u);
    EXPECT_GE(result.Count[static_cast<std::size_t>(TCaseStatus::Stopped)], 1u);
    EXPECT_GE(result.Count[static_cast<std::size_t>(TCaseStatus::InputErrors)], 1u);
    EXPECT_EQ(result.ExitStatus, 3); // stopped outranks input errors

    for (std::size_t i = 0; i < inputs.size(); ++i) {
        const std::string& name = plan.Names[i];
        SCOPED_TRACE(name);
        const fs::path want = cases / name, got = dir_ / "out" / name;
        const TSummaryRow& row = reporter.Rows.at(name);
        const TCaseStatus status = row.Outcome.Status;
        ASSERT_EQ(CaseExitStatus(status), wholerun::ExpectedExitStatus(want)) << row.Outcome.Message;
        EXPECT_EQ(row.Outcome.Message.empty(), status == TCaseStatus::Ok) << row.Outcome.Message;
        for (const auto& file : fs::directory_iterator(want)) {
            const std::string f = file.path().filename().string();
            if (wholerun::IsInputOrNote(file.path()) || file.path().extension() == ".prn")
                continue;
            ASSERT_TRUE(fs::exists(got / f)) << f << " was not written";
            const std::string difference =
                wholerun::FirstDifference(ReadFile(file.path()), ReadFile(got / f), file.path().extension() == ".res");
            EXPECT_TRUE(difference.empty()) << f << " " << difference;
        }
        for (const auto& file : fs::directory_iterator(got))
            if (!wholerun::IsInputOrNote(file.path())) {
                EXPECT_TRUE(fs::exists(want / file.path().filename())) << "unexpected " << file.path().filename();
            }
        ExpectMemoryRun(inputs[i], row.Outcome, want / (name + ".res"));
        if (status == TCaseStatus::InputErrors) {
            EXPECT_FALSE(row.Outcome.Ran);
            continue;
        }
        ASSERT_TRUE(row.Outcome.Ran);
        ExpectSummaryOfResultFile(row.Outcome, ReadFile(got / (name + ".res")));
        // Warnings: the number of messages the run gave; none leaves only the heading.
        if (inputs[i].size() == 1) {
            const std::string warnings = ReadFile(got / "warning.lst");
            EXPECT_EQ(row.Outcome.Warnings > 0, warnings.find("\r\n") + 2 < warnings.size()) << warnings;
        }
    }
    EXPECT_TRUE(test::EntryNames(cwd.Dir).empty()) << "a run in memory wrote into the working folder";
}

TEST_F(Batch, AFailingCaseNeverStopsTheOthers)
{
    // The folder of case 1 is taken by a file; case 2's preparation throws something
    // that is not a Veltra error at all. (A missing input: tests/cli/batch.sh.)
    const fs::path cases = VELTRA_REFERENCE_DIR;
    TBatchPlan plan =
        Plan({CaseInputs(cases / "field"), CaseInputs(cases / "hm_farmers"), CaseInputs(cases / "gen_case_0007")}, 3);
    plan.Names[0] = "blocked";
    WriteWholeFile((dir_ / "out" / "blocked").string(), "a file where a folder should be");
    const auto read = plan.Inputs;
    plan.Inputs = [read](std::size_t index) -> std::vector<TCaseInput> {
        if (index == 2)
            throw std::runtime_error("out of luck");
        return read(index);
    };
    TRecordingReporter reporter;
    const TBatchResult result = RunBatch(plan, reporter);
    EXPECT_EQ(result.Count[static_cast<std::size_t>(TCaseStatus::Failed)], 2u);
    EXPECT_EQ(result.ExitStatus, 2);

    // The summary lists every case in order, each failure with its reason.
    const std::pair<const char*, const char*> rows[] = {{"index,name,status,exit_status,", ""},
                                                        {"1,blocked,failed,2,", ""},
                                                        {"2,hm_farmers,failed,2,", "internal error: out of luck"},
                                                        {"3,gen_case_0007,ok,0,", ""}};
    std::istringstream summary(ReadFile(dir_ / "out" / "summary.csv"));
    std::string line;
    for (const auto& [head, reason] : rows) {
        ASSERT_TRUE(std::getline(summary, line)) << head;
        EXPECT_EQ(line.rfind(head, 0), 0u) << line;
        EXPECT_NE(line.find(reason), std::string::npos) << line;
    }
    EXPECT_FALSE(std::getline(summary, line));
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

// Whether taking the lock of `plan` is refused with a File error that says `words`.
bool Refused(const TBatchPlan& plan, const std::string& words)
{
    return test::FileRefusal([&] { const TBatchLock lock(plan); }).find(words) != std::string::npos;
}

TEST_F(Batch, TheOutputFolderHasOneWriter)
{
    TBatchPlan plan = Plan(EveryCase(), 2);
    {
        const TBatchLock first(plan);
        EXPECT_TRUE(Refused(plan, "is in use by another batch"));
        plan.Shard = ParseShard("1/2");
        EXPECT_TRUE(Refused(plan, "in use"));
    }
    // Shards of one run share the folder, each holding its own cases and summary.
    TBatchPlan other = plan;
    other.Shard = ParseShard("0/2");
    {
        const TBatchLock one(plan), two(other);
        EXPECT_TRUE(Refused(other, "in use"));
        TBatchPlan whole = plan;
        whole.Shard = {};
        EXPECT_TRUE(Refused(whole, "in use"));
    }
    // Through the seam: a folder held elsewhere, a file system without locks (the run
    // goes on, saying so), a lock that fails otherwise.
    TFailingLocks locks;
    plan.Locks = &locks;
    plan.Shard = {};
    locks.Fail = {{"/out", EWOULDBLOCK}};
    EXPECT_TRUE(Refused(plan, "in use"));
    locks.Fail = {{"/out", EIO}};
    EXPECT_TRUE(Refused(plan, "could not be locked"));
    locks.Fail = {{"/out", ENOLCK}};
    const TBatchLock unlocked(plan);
    EXPECT_NE(unlocked.Note().find("cannot lock it"), std::string::npos);

    // A case folder another run holds: that case fails, untouched; the others run, and
    // that single failure decides the exit status.
    locks.Fail = {{"/out/" + plan.Names[1], EWOULDBLOCK}};
    TRecordingReporter reporter;
    EXPECT_EQ(RunBatch(plan, reporter).ExitStatus, 2);
    EXPECT_EQ(reporter.Status(plan.Names[1]), TCaseStatus::Failed);
    EXPECT_TRUE(fs::is_empty(dir_ / "out" / plan.Names[1]));
    EXPECT_NE(ReadFile(dir_ / "out" / "summary.csv").find("is in use by another batch or sweep"), std::string::npos);
    EXPECT_NE(reporter.Status(plan.Names[0]), TCaseStatus::Failed);
}

// A case run again removes what its earlier run listed, never a file it did not write
// (one named as a year file of the case included), nor anything outside its folder
// whatever its list says; the summary is that of the last batch alone.
TEST_F(Batch, ACaseRemovesOnlyWhatItsEarlierRunWrote)
{
    const std::string stem = "field";
    const TBatchPlan plan = Plan({CaseInputs(fs::path(VELTRA_REFERENCE_DIR) / stem)}, 1);
    TRecordingReporter first;
    RunBatch(plan, first);
    const fs::path folder = dir_ / "out" / stem;
    WriteWholeFile((folder / "notes.txt").string(), "mine");
    WriteWholeFile((folder / (stem + "5.inp")).string(), "a year file of mine");
    WriteWholeFile((dir_ / "outside").string(), "x");
    WriteWholeFile((folder / CaseListName).string(),
                   "../../outside\n" + (dir_ / "outside").string() + "\n..\n.\n" + stem + ".res\n");

    TRecordingReporter second;
    RunBatch(plan, second);
    EXPECT_EQ(second.Status(stem), TCaseStatus::Ok);
    EXPECT_TRUE(fs::exists(folder / (stem + ".res")));
    EXPECT_EQ(ReadFile(folder / "notes.txt"), "mine");
    EXPECT_TRUE(fs::exists(folder / (stem + "5.inp")));
    EXPECT_TRUE(fs::exists(dir_ / "outside"));
    const std::string summary = ReadFile(dir_ / "out" / "summary.csv");
    EXPECT_EQ(std::count(summary.begin(), summary.end(), '\n'), 2);
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

    EXPECT_EQ(UniqueCaseNames({"field", "wells", "field", "field_2", "field"}),
              (std::vector<std::string>{"field", "wells", "field_3", "field_2", "field_4"}));
    // Names that would leave the output folder, hide, or be taken for a summary.
    EXPECT_EQ(UniqueCaseNames({"..", ".", "", ".field", "summary.csv", "summary-1-of-2.csv", "summary-01-of-2.csv",
                               "summary-2-of-2.csv", "_field", "case"}),
              (std::vector<std::string>{"__", "_", "case", "_field", "summary.csv_", "summary-1-of-2.csv_",
                                        "summary-01-of-2.csv_", "summary-2-of-2.csv", "_field_2", "case_2"}));
    // (One base name many times: bench/BatchBench.cpp.)

    // List files: a path a line, LF or CR LF, blank lines skipped, a byte-order mark
    // ignored (as the input reader ignores it).
    EXPECT_EQ(ListFileEntries("\xEF\xBB\xBF"
                              "a.inp\r\n\r\n  \nb c.inp\nlast.inp"),
              (std::vector<std::string>{"a.inp", "b c.inp", "last.inp"}));
    EXPECT_EQ(ListFileEntries("x\xEF\xBB\xBF.inp\n"), (std::vector<std::string>{"x\xEF\xBB\xBF.inp"}));

    // The year files there are, up to Ny (all of them: the batch of every case).
    const fs::path dir = fs::path(VELTRA_REFERENCE_DIR) / "gen_case_0007";
    EXPECT_EQ(SeriesYearFiles((dir / "gen_case_0007.inp").string(), 3),
              (std::vector<std::string>{(dir / "gen_case_00072.inp").string(), (dir / "gen_case_00073.inp").string()}));
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

// The result file's reader takes a printed -1 for a value, not for an absent cell.
TEST(ReadResultRecords, ReadsMinusOneAsAValue)
{
    std::vector<std::string> lines = SplitLines(ReadFile(fs::path(VELTRA_REFERENCE_DIR) / "field" / "field.res"));
    const auto gw =
        std::find_if(lines.begin(), lines.end(), [](const std::string& l) { return l.rfind("  Gw  = ", 0) == 0; });
    ASSERT_NE(gw, lines.end());
    gw->replace(8, 10, "-1.00E+000");
    const std::vector<TResultRecord> read = ReadResultRecords("field.res", lines);
    EXPECT_EQ(CellOf(read[0].Values, TRecordSymbol::Gw), (TRecordCell{-1.0, true}));
    EXPECT_DOUBLE_EQ(read[2].Duration, 7.0);
}

} // namespace
} // namespace veltra
