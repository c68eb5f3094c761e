#include "cli/BatchOptions.h"

#include <chrono>
#include <cmath>
#include <csignal>
#include <iostream>
#include <string>

#include <unistd.h>

#include "cli/RunOutput.h"
#include "model/NumberText.h"
#include "model/TVeltraError.h"

namespace veltra::cli {

namespace {

using Clock = std::chrono::steady_clock;

std::string Duration(double seconds)
{
    if (seconds < 10)
        return FixedText(seconds, 0, 1) + " s";
    if (seconds < 600)
        return FixedText(seconds, 0, 0) + " s";
    if (seconds < 36000)
        return WholeText(static_cast<int>(std::lround(seconds / 60))) + " min";
    return FixedText(seconds / 3600, 0, 1) + " h";
}

// On a terminal one line that redraws itself (cases done, not ok, elapsed, left),
// with a line above it for every case that is not ok; elsewhere (a log file, a
// pipe, a cluster job's output) one plain line per case.
class TProgress final : public TBatchReporter {
public:
    explicit TProgress(bool terminal) : terminal_(terminal) {}

    void Started(std::size_t cases, int jobs) override
    {
        start_ = Clock::now();
        total_ = cases;
        std::cout << "Running " << cases << (cases == 1 ? " case" : " cases") << " with " << jobs
                  << (jobs == 1 ? " job" : " jobs") << ".\n";
        Draw(true);
    }

    void CaseDone(const TSummaryRow& row, std::size_t done, std::size_t total) override
    {
        done_ = done;
        const bool ok = row.Outcome.Status == TCaseStatus::Ok;
        notOk_ += ok ? 0 : 1;
        std::string line = "[" + std::to_string(done) + "/" + std::to_string(total) + "] " + row.Name + ": " +
                           CaseStatusText(row.Outcome.Status);
        if (!row.Outcome.Message.empty())
            line += ": " + row.Outcome.Message;
        if (!terminal_) {
            // A log that a killed job leaves has every case that finished.
            std::cout << line << "\n" << std::flush;
        } else if (!ok) {
            std::cout << "\r\033[K" << line << "\n";
            Draw(true);
        }
    }

    void Tick() override { Draw(false); }

    void Note(const std::string& text) override
    {
        if (terminal_)
            std::cout << "\r\033[K";
        std::cout << text << "\n";
        Draw(true);
        std::cout.flush();
    }

    void Finished(const TBatchResult& r)
    {
        Draw(true);
        if (terminal_)
            std::cout << "\n";
        const auto n = [&](TCaseStatus s) { return r.Count[static_cast<std::size_t>(s)]; };
        std::cout << r.Cases << (r.Cases == 1 ? " case" : " cases") << " in " << Duration(Elapsed()) << ": "
                  << n(TCaseStatus::Ok) << " ok, " << n(TCaseStatus::InputErrors) << " input errors, "
                  << n(TCaseStatus::Stopped) << " stopped, " << n(TCaseStatus::Failed)
                  << " failed. Summary: " << r.SummaryPath << "\n";
        std::cout.flush();
    }

private:
    double Elapsed() const { return std::chrono::duration<double>(Clock::now() - start_).count(); }

    void Draw(bool now)
    {
        if (!terminal_)
            return;
        const Clock::time_point t = Clock::now();
        if (!now && t - drawn_ < std::chrono::milliseconds(250))
            return;
        drawn_ = t;
        constexpr std::size_t width = 30;
        const std::size_t filled = total_ ? width * done_ / total_ : width;
        std::string bar = "[" + std::string(filled, '#') + std::string(width - filled, '.') + "] ";
        bar += std::to_string(done_) + "/" + std::to_string(total_) + " done, " + std::to_string(notOk_) + " not ok, " +
               Duration(Elapsed()) + " elapsed";
        if (done_ > 0 && done_ < total_)
            bar += ", about " + Duration(Elapsed() / static_cast<double>(done_) * static_cast<double>(total_ - done_)) +
                   " left";
        std::cout << "\r\033[K" << bar << std::flush;
    }

    bool terminal_;
    Clock::time_point start_{}, drawn_{};
    std::size_t total_ = 0, done_ = 0, notOk_ = 0;
};

// Completes the plan from the options and makes its output folder.
void CompletePlan(TBatchPlan& plan, const TBatchOptions& options)
{
    if (!options.Shard.empty())
        plan.Shard = ParseShard(options.Shard);
    plan.Jobs = options.Jobs > 0 ? options.Jobs : AvailableCores();
    plan.OutFolder = AbsolutePath(options.Out);
    if (plan.OutFolder.size() > 1 && plan.OutFolder.back() == '/')
        plan.OutFolder.pop_back();
    PrepareOutputFolder(plan.OutFolder);
}

// Results of the same cases in the way without --force: named on standard error.
bool ResultsAreInTheWay(const TBatchPlan& plan, const TBatchOptions& options)
{
    if (options.Force)
        return false;
    // Refused before anything runs: the user decides whether the earlier results go.
    const std::vector<std::string> inTheWay = ResultsInTheWay(plan);
    constexpr std::size_t named = 10;
    for (std::size_t i = 0; i < inTheWay.size() && i < named; ++i)
        std::cerr << "\"" << inTheWay[i] << "\" already exists.\n";
    if (inTheWay.size() > named)
        std::cerr << "... and " << inTheWay.size() - named << " more.\n";
    if (!inTheWay.empty())
        std::cerr << "Use --force to write over the results of the same cases.\n";
    return !inTheWay.empty();
}

} // namespace

void AddBatchOptions(CLI::App& cmd, TBatchOptions& options, const std::string& defaultOut)
{
    options.Out = defaultOut;
    cmd.add_option("-j,--jobs", options.Jobs, "Cases run at the same time (default: the number of cores)")
        ->check(CLI::Range(1, 4096));
    cmd.add_option("--out", options.Out, "Folder of the cases' folders and summary.csv (default: " + defaultOut + ")");
    cmd.add_option("--shard", options.Shard,
                   "K/N: run only every N-th case starting at K (0 <= K < N), summary in summary-K-of-N.csv");
    cmd.add_flag("--force", options.Force, "Write over results of the same cases already in the folder");
}

int RunPlan(TBatchPlan& plan, const TBatchOptions& options)
{
    CompletePlan(plan, options);
    const TBatchLock lock(plan); // held until the summary is written
    RefuseUnsafePlan(plan);
    if (ResultsAreInTheWay(plan, options))
        return 1;
    // A reader that goes away (`veltra batch ... | head`) ends the progress, not the
    // batch: the write fails instead of killing the process, and the cases go on.
    std::signal(SIGPIPE, SIG_IGN);
    TProgress progress(::isatty(STDOUT_FILENO) == 1);
    if (!lock.Note().empty())
        std::cout << "Note: " << lock.Note() << "\n";
    const TBatchResult result = RunBatch(plan, progress);
    progress.Finished(result);
    return result.ExitStatus;
}

} // namespace veltra::cli
