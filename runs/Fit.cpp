#include "runs/Fit.h"

#include <nlopt.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <limits>
#include <map>
#include <mutex>
#include <numeric>
#include <random>

#include "model/InputCheck.h"
#include "model/NumberText.h"
#include "model/TVeltraError.h"
#include "results/TRunObserver.h"
#include "results/TextLists.h"
#include "runs/Batch.h"
#include "runs/MemoryRun.h"
#include "runs/SummaryTable.h"

namespace veltra {

namespace {

// A parameter resolved against the input, with the step of the decimals the input
// file keeps for it.
struct TTarget {
    TFieldRef Field;
    double Low = 0, High = 0;
    double Step = 1;
};

// The decimals the file keeps for the field: the step between the values it can hold.
double FileStep(const TInputRecord& base, const TFieldRef& field, double low, double high)
{
    TInputRecord probe = base;
    SetFieldValue(probe, field, low + (high - low) * 0.3183098861837907);
    const double kept = FieldValue(AsTheFileHoldsIt(probe), field);
    double step = 1;
    for (int d = 0; d < 12; ++d, step /= 10) {
        const double scaled = kept / step;
        if (std::fabs(scaled - std::round(scaled)) <= 1e-6)
            return step;
    }
    return step;
}

// What one run gives: per observation the simulated value, and for the charted
// symbols every record.
class TFitObserver final : public TRunObserver {
public:
    TFitObserver(const std::vector<TObservation>& obs, const std::vector<TRecordSymbol>* charted, int ns)
        : obs_(obs), charted_(charted), ns_(ns), simulated_(obs.size()), shown_(obs.size(), false)
    {
        for (std::size_t i = 0; i < obs.size(); ++i)
            bySeason_[{obs[i].Year, obs[i].Season}].push_back(i);
        if (charted_)
            series_.resize(charted_->size());
    }

    void SeasonDone(const TSeasonDone& done, const TInputRecord& rec, const TEngineState& st) override
    {
        const auto found = done.StepNr > 0 ? bySeason_.find({done.Year, done.Season}) : bySeason_.end();
        if (found == bySeason_.end() && !charted_)
            return;
        const TSeasonCells cells = SeasonRecordCells(rec, st, done);
        if (found != bySeason_.end())
            for (std::size_t i : found->second) {
                const TRecordCell& cell = CellOf(cells, obs_[i].Symbol);
                simulated_[i] = cell.Value;
                shown_[i] = cell.Shown && std::isfinite(cell.Value);
            }
        if (charted_) {
            // A year-by-year run's records follow on from the year-0 block.
            const std::size_t k = static_cast<std::size_t>(done.Year) * static_cast<std::size_t>(ns_) +
                                  static_cast<std::size_t>(done.Season - 1);
            for (std::size_t c = 0; c < charted_->size(); ++c) {
                auto& line = series_[c];
                if (line.size() <= k)
                    line.resize(k + 1);
                const TRecordCell& cell = CellOf(cells, (*charted_)[c]);
                line[k] = cell.Shown ? std::optional<double>(cell.Value) : std::nullopt;
            }
        }
    }

    const std::vector<double>& Simulated() const { return simulated_; }
    const std::vector<bool>& Shown() const { return shown_; }
    std::vector<std::vector<std::optional<double>>>& Series() { return series_; }

private:
    const std::vector<TObservation>& obs_;
    const std::vector<TRecordSymbol>* charted_;
    int ns_;
    std::map<std::pair<int, int>, std::vector<std::size_t>> bySeason_;
    std::vector<double> simulated_;
    std::vector<bool> shown_;
    std::vector<std::vector<std::optional<double>>> series_;
};

struct TEvaluation {
    bool Feasible = false;
    double Objective = 0;
    std::string Reason;
    bool Missing = false;          // an observed symbol is "-" in its season
    std::vector<double> Simulated; // per observation
    std::vector<double> Residuals; // weighted and scaled: their squares add up to the objective
    std::vector<std::vector<std::optional<double>>> Series;
};

// The objective's pieces that do not depend on a run: per symbol its observations,
// weights and the divisor that makes symbols of different units weigh alike.
class TObjective {
public:
    TObjective(const TInputRecord& base, std::vector<TTarget> targets, const std::vector<TObservation>& obs,
               std::string obsSource)
        : base_(base), targets_(std::move(targets)), obs_(obs), obsSource_(std::move(obsSource)), scale_(obs.size())
    {
        for (const TObservation& o : obs)
            if (std::find(symbols_.begin(), symbols_.end(), o.Symbol) == symbols_.end())
                symbols_.push_back(o.Symbol);
        for (TRecordSymbol symbol : symbols_) {
            std::vector<std::size_t> at;
            double weights = 0, sum = 0;
            for (std::size_t i = 0; i < obs.size(); ++i)
                if (obs[i].Symbol == symbol) {
                    at.push_back(i);
                    weights += obs[i].Weight;
                    sum += obs[i].Value;
                }
            const double mean = sum / static_cast<double>(at.size());
            bool equal = true;
            double squares = 0;
            for (std::size_t i : at) {
                equal = equal && obs[i].Value == obs[at.front()].Value;
                squares += (obs[i].Value - mean) * (obs[i].Value - mean);
            }
            double divisor = squares / static_cast<double>(at.size());
            if (equal)
                divisor = mean != 0 ? mean * mean : 1.0;
            for (std::size_t i : at)
                scale_[i] = std::sqrt(obs[i].Weight / (weights * divisor));
            bySymbol_.push_back(std::move(at));
        }
    }

    const std::vector<TRecordSymbol>& Symbols() const { return symbols_; }
    const std::vector<std::vector<std::size_t>>& BySymbol() const { return bySymbol_; }
    const std::vector<TTarget>& Targets() const { return targets_; }
    const TInputRecord& Base() const { return base_; }

    TInputRecord RecordAt(const std::vector<double>& x) const
    {
        TInputRecord rec = base_;
        for (std::size_t j = 0; j < targets_.size(); ++j)
            SetFieldValue(rec, targets_[j].Field, x[j]);
        return rec;
    }

    TEvaluation Evaluate(const TInputRecord& rec, bool chart) const
    {
        TEvaluation e;
        try {
            TFitObserver observer(obs_, chart ? &symbols_ : nullptr, std::clamp<int>(rec.Ns, 1, 4));
            const TMemoryRunOutcome outcome = RunInMemory(rec, observer);
            if (!outcome.Refusal.empty()) {
                e.Reason = outcome.Refusal;
                return e;
            }
            if (outcome.Stopped) {
                e.Reason = "stopped: " + StopCauseText(outcome.StopCause);
                return e;
            }
            e.Simulated = observer.Simulated();
            for (std::size_t i = 0; i < obs_.size(); ++i)
                if (!observer.Shown()[i]) {
                    e.Reason = std::string(RecordSymbolNames[static_cast<std::size_t>(obs_[i].Symbol)]) +
                               " is \"-\" in year " + std::to_string(obs_[i].Year) + ", season " +
                               std::to_string(obs_[i].Season) + " (" + ObservationPlace(obsSource_, obs_[i]) + ")";
                    e.Missing = true;
                    return e;
                }
            e.Residuals.resize(obs_.size());
            e.Objective = 0;
            for (std::size_t i = 0; i < obs_.size(); ++i) {
                e.Residuals[i] = scale_[i] * (e.Simulated[i] - obs_[i].Value);
                e.Objective += e.Residuals[i] * e.Residuals[i];
            }
            if (!std::isfinite(e.Objective)) {
                e.Reason = "the objective is not a number";
                return e;
            }
            e.Feasible = true;
            if (chart)
                e.Series = std::move(observer.Series());
        } catch (const std::exception& failure) {
            e.Reason = std::string("failed: ") + failure.what();
        }
        return e;
    }

    TEvaluation Evaluate(const std::vector<double>& x) const { return Evaluate(RecordAt(x), false); }

private:
    TInputRecord base_;
    std::vector<TTarget> targets_;
    const std::vector<TObservation>& obs_;
    std::string obsSource_;
    std::vector<double> scale_;
    std::vector<TRecordSymbol> symbols_;
    std::vector<std::vector<std::size_t>> bySymbol_;
};

TFitRun RunOf(const std::string& stage, const std::vector<double>& x, const TEvaluation& e)
{
    TFitRun run;
    run.Stage = stage;
    run.Values = x;
    run.Feasible = e.Feasible;
    run.Objective = e.Feasible ? e.Objective : 0;
    run.Reason = e.Reason;
    return run;
}

// Uniform on [0, 1) from the generator's bits: the same on every machine, which
// the standard's distributions do not promise.
double Unit(std::mt19937_64& rng)
{
    return static_cast<double>(rng() >> 11) * 0x1.0p-53;
}

// A whole number below n, without the bias of a plain remainder.
std::size_t Below(std::mt19937_64& rng, std::size_t n)
{
    const std::uint64_t range = static_cast<std::uint64_t>(n);
    const std::uint64_t limit =
        std::numeric_limits<std::uint64_t>::max() - std::numeric_limits<std::uint64_t>::max() % range;
    std::uint64_t r = rng();
    while (r >= limit)
        r = rng();
    return static_cast<std::size_t>(r % range);
}

// A Latin hypercube of `count` points in the unit cube of `dims` dimensions: in
// every dimension each of the `count` equal slices holds one point.
std::vector<std::vector<double>> LatinHypercube(std::size_t count, std::size_t dims, std::uint64_t seed)
{
    std::mt19937_64 rng(seed);
    std::vector<std::vector<double>> points(count, std::vector<double>(dims));
    std::vector<std::size_t> slices(count);
    for (std::size_t j = 0; j < dims; ++j) {
        std::iota(slices.begin(), slices.end(), std::size_t{0});
        for (std::size_t i = count; i > 1; --i)
            std::swap(slices[i - 1], slices[Below(rng, i)]);
        for (std::size_t i = 0; i < count; ++i)
            points[i][j] = (static_cast<double>(slices[i]) + Unit(rng)) / static_cast<double>(count);
    }
    return points;
}

// The best-so-far and the runs done, shared by the threads for the progress.
struct TTally {
    std::atomic<std::size_t> Done{0};
    std::mutex Lock;
    std::optional<double> Best;
    void Add(const TEvaluation& e)
    {
        if (e.Feasible) {
            const std::lock_guard<std::mutex> guard(Lock);
            if (!Best || e.Objective < *Best)
                Best = e.Objective;
        }
        ++Done;
    }
    TFitProgress Snapshot(std::size_t maxRuns, const std::string& stage)
    {
        TFitProgress p;
        p.RunsDone = Done.load();
        p.MaxRuns = maxRuns;
        p.Stage = stage;
        const std::lock_guard<std::mutex> guard(Lock);
        p.Best = Best;
        return p;
    }
};

// One local search from `start` (unit cube) within `budget` runs.
struct TLocalSearch {
    const TObjective* Objective = nullptr;
    std::vector<double> Start;
    std::size_t Budget = 0;
    double Penalty = 1e10;
    std::string Stage;
    TTally* Tally = nullptr;
    std::vector<TFitRun> Runs;

    std::vector<double> ToValues(const double* u) const
    {
        std::vector<double> x(Start.size());
        for (std::size_t j = 0; j < x.size(); ++j) {
            const TTarget& t = Objective->Targets()[j];
            x[j] = t.Low + std::clamp(u[j], 0.0, 1.0) * (t.High - t.Low);
        }
        return x;
    }

    static double Function(unsigned n, const double* u, double*, void* data)
    {
        auto* self = static_cast<TLocalSearch*>(data);
        (void)n;
        const std::vector<double> x = self->ToValues(u);
        const TEvaluation e = self->Objective->Evaluate(x);
        self->Tally->Add(e);
        self->Runs.push_back(RunOf(self->Stage, x, e));
        return e.Feasible ? e.Objective : self->Penalty;
    }

    void Run()
    {
        const unsigned n = static_cast<unsigned>(Start.size());
        if (Budget == 0)
            return; // NLopt reads 0 as no limit
        nlopt_opt opt = nlopt_create(NLOPT_LN_SBPLX, n);
        if (opt == nullptr)
            return;
        std::vector<double> lower(n, 0.0), upper(n, 1.0), tol(n), u = Start;
        for (unsigned j = 0; j < n; ++j) {
            const TTarget& t = Objective->Targets()[j];
            // A tenth of the step the file keeps: finer than that the rounding undoes.
            tol[j] = 0.1 * t.Step / (t.High - t.Low);
        }
        nlopt_set_lower_bounds(opt, lower.data());
        nlopt_set_upper_bounds(opt, upper.data());
        nlopt_set_xtol_abs(opt, tol.data());
        nlopt_set_stopval(opt, 0.0);
        nlopt_set_maxeval(opt, static_cast<int>(Budget));
        nlopt_set_initial_step1(opt, 0.05);
        nlopt_set_min_objective(opt, &TLocalSearch::Function, this);
        double f = 0;
        nlopt_optimize(opt, u.data(), &f);
        nlopt_destroy(opt);
    }
};

[[noreturn]] void RefuseSetting(const std::string& setting, const std::string& why)
{
    throw TVeltraError(TErrorKind::Usage, "--fit " + setting + ": " + why);
}

std::string SettingText(const TFitParameter& p)
{
    return p.Name + "=" + ShortestText(p.Low) + ":" + ShortestText(p.High);
}

std::vector<TTarget> Resolve(const TInputRecord& base, const std::string& source,
                             const std::vector<TFitParameter>& params)
{
    if (params.empty())
        throw TVeltraError(TErrorKind::Usage, "A fit needs at least one --fit NAME=LOW:HIGH.");
    std::vector<TTarget> targets;
    for (const TFitParameter& p : params) {
        const std::string setting = SettingText(p);
        TTarget t;
        t.Field = ResolveInputField(p.Name, base, source, "--fit " + setting);
        if (IsWholeField(t.Field))
            RefuseSetting(setting, p.Name + " takes whole numbers, which a fit cannot search.");
        if (!std::isfinite(p.Low) || !std::isfinite(p.High) || !(p.Low < p.High))
            RefuseSetting(setting, "LOW must be below HIGH.");
        for (std::size_t k = 0; k < targets.size(); ++k)
            if (Overlap(targets[k].Field, t.Field))
                RefuseSetting(setting, p.Name + " is already fitted by --fit " + SettingText(params[k]) + ".");
        t.Low = p.Low;
        t.High = p.High;
        t.Step = FileStep(base, t.Field, p.Low, p.High);
        targets.push_back(t);
    }
    return targets;
}

// (J^T J)^-1 by Gauss-Jordan with pivoting; none where a pivot vanishes.
std::optional<std::vector<std::vector<double>>> Inverse(std::vector<std::vector<double>> a)
{
    const std::size_t n = a.size();
    double largest = 0;
    for (std::size_t i = 0; i < n; ++i)
        largest = std::max(largest, std::fabs(a[i][i]));
    if (largest == 0)
        return std::nullopt;
    std::vector<std::vector<double>> inv(n, std::vector<double>(n, 0.0));
    for (std::size_t i = 0; i < n; ++i)
        inv[i][i] = 1;
    for (std::size_t c = 0; c < n; ++c) {
        std::size_t p = c;
        for (std::size_t r = c + 1; r < n; ++r)
            if (std::fabs(a[r][c]) > std::fabs(a[p][c]))
                p = r;
        if (std::fabs(a[p][c]) <= 1e-12 * largest)
            return std::nullopt;
        std::swap(a[p], a[c]);
        std::swap(inv[p], inv[c]);
        const double d = a[c][c];
        for (std::size_t k = 0; k < n; ++k) {
            a[c][k] /= d;
            inv[c][k] /= d;
        }
        for (std::size_t r = 0; r < n; ++r) {
            if (r == c || a[r][c] == 0)
                continue;
            const double f = a[r][c];
            for (std::size_t k = 0; k < n; ++k) {
                a[r][k] -= f * a[c][k];
                inv[r][k] -= f * inv[c][k];
            }
        }
    }
    return inv;
}

// What every stage of a fit shares: the targets, the objective, the tally and the caller's progress.
struct TFitWork {
    const std::vector<TTarget>& Targets;
    const TObjective& Objective;
    const TFitOptions& Options;
    TTally& Tally;
    int Jobs;

    void Progress(const std::string& stage, bool done = false)
    {
        if (!Options.Progress)
            return;
        TFitProgress p = Tally.Snapshot(Options.MaxRuns, stage);
        p.StageDone = done;
        Options.Progress(p);
    }
};

// The input as given: it must pass the check, and show what was observed.
void RunInput(const TInputRecord& base, const std::string& source, TFitWork& w, TFitReport& report)
{
    const std::size_t n = w.Targets.size();
    std::vector<double> x(n);
    for (std::size_t j = 0; j < n; ++j)
        x[j] = FieldValue(base, w.Targets[j].Field);
    std::vector<std::string> errors = ValidateBeforeSave(base);
    for (const std::string& line : InputErrorLines(base))
        errors.push_back(line);
    if (!errors.empty())
        throw TVeltraError(TErrorKind::Input, source + " fails the check:\n" + JoinLines(errors));
    const TEvaluation e = w.Objective.Evaluate(base, false);
    w.Tally.Add(TEvaluation{}); // counted, but not a point of the search
    if (e.Missing)
        throw TVeltraError(TErrorKind::File,
                           "The run of " + source + " shows \"-\" where a value is observed: " + e.Reason + ".");
    report.Runs.push_back(RunOf("input", x, e));
    if (e.Feasible)
        report.InputObjective = e.Objective;
}

// The sample of the bounds: its points (unit cube), the feasible ones best first, and
// the worst feasible objective.
struct TSample {
    std::vector<std::vector<double>> Points;
    std::vector<std::size_t> Order;
    double Worst = 0;
};

TSample SampleBounds(TFitWork& w, std::size_t sampleSize, TFitReport& report)
{
    const std::vector<TTarget>& targets = w.Targets;
    const std::size_t n = targets.size();
    TSample s;
    s.Points = LatinHypercube(sampleSize, n, w.Options.Seed);
    const std::vector<std::vector<double>>& sample = s.Points;
    std::vector<TEvaluation> sampled(sampleSize);
    auto valuesOf = [&](const std::vector<double>& u) {
        std::vector<double> x(n);
        for (std::size_t j = 0; j < n; ++j)
            x[j] = targets[j].Low + u[j] * (targets[j].High - targets[j].Low);
        return x;
    };
    RunInParallel(
        sampleSize, w.Jobs,
        [&](std::size_t i) {
            sampled[i] = w.Objective.Evaluate(valuesOf(sample[i]));
            w.Tally.Add(sampled[i]);
        },
        [](std::size_t) {}, [&] { w.Progress("sample"); });
    for (std::size_t i = 0; i < sampleSize; ++i) {
        report.Runs.push_back(RunOf("sample", valuesOf(sample[i]), sampled[i]));
        if (sampled[i].Feasible) {
            s.Order.push_back(i);
            s.Worst = std::max(s.Worst, sampled[i].Objective);
        }
    }
    w.Progress("sample", true);
    std::stable_sort(s.Order.begin(), s.Order.end(),
                     [&](std::size_t a, std::size_t b) { return sampled[a].Objective < sampled[b].Objective; });
    return s;
}

// Local searches from the best points of the sample, side by side; each keeps its
// own runs, listed in the order of the starts.
void SearchLocally(TFitWork& w, const TSample& sample, std::size_t localRuns, TFitReport& report)
{
    const std::size_t n = w.Targets.size();
    const std::size_t starts = std::min(sample.Order.size(), std::clamp<std::size_t>(localRuns / (100 * n), 1, 4));
    std::vector<TLocalSearch> searches(starts);
    for (std::size_t k = 0; k < starts; ++k) {
        searches[k].Objective = &w.Objective;
        searches[k].Start = sample.Points[sample.Order[k]];
        searches[k].Budget = localRuns / starts;
        searches[k].Penalty = 1e10 * (1 + sample.Worst);
        searches[k].Stage = "local " + std::to_string(k + 1);
        searches[k].Tally = &w.Tally;
    }
    RunInParallel(
        starts, w.Jobs, [&](std::size_t k) { searches[k].Run(); }, [](std::size_t) {},
        [&] { w.Progress("local search"); });
    for (TLocalSearch& s : searches)
        for (TFitRun& run : s.Runs)
            report.Runs.push_back(std::move(run));
    w.Progress("local search", true);
}

// The best feasible run of the search; none ends the fit with the reasons the runs failed.
const TFitRun& BestSearchRun(const TFitReport& report)
{
    const TFitRun* best = nullptr;
    for (const TFitRun& run : report.Runs)
        if (run.Feasible && run.Stage != "input" && (!best || run.Objective < best->Objective))
            best = &run;
    if (best == nullptr) {
        std::map<std::string, std::size_t> reasons;
        for (const TFitRun& run : report.Runs)
            if (run.Stage != "input")
                ++reasons[run.Reason];
        std::string list;
        for (const auto& [reason, count] : reasons)
            list += "\n  " + std::to_string(count) + " x " + reason;
        throw TVeltraError(TErrorKind::Input, "No run of the fit was feasible (" +
                                                  std::to_string(report.Runs.size() - 1) +
                                                  " runs within the bounds): they give inputs that fail the check "
                                                  "or stop the run. The reasons:" +
                                                  list);
    }
    return *best;
}

// The best point as the input file keeps it, run again: what is reported. Its values go to `xr`.
TEvaluation RunRoundedBest(TFitWork& w, const TFitRun& best, const std::string& source, std::vector<double>& xr,
                           TFitReport& report)
{
    const std::size_t n = w.Targets.size();
    report.Best = AsTheFileHoldsIt(w.Objective.RecordAt(best.Values));
    xr.assign(n, 0.0);
    for (std::size_t j = 0; j < n; ++j)
        xr[j] = FieldValue(report.Best, w.Targets[j].Field);
    TEvaluation rounded = w.Objective.Evaluate(report.Best, true);
    w.Tally.Add(rounded);
    report.Runs.push_back(RunOf("rounded", xr, rounded));
    w.Progress("rounded", true);
    if (!rounded.Feasible)
        throw TVeltraError(TErrorKind::Input,
                           "The best point rounded to the decimals of " + source + " cannot be run: " + rounded.Reason);
    return rounded;
}

// The runs beside the best point, up and down in each parameter, and the width between them.
struct TAround {
    std::vector<std::vector<double>> Points;
    std::vector<double> Widths;
    std::vector<TEvaluation> Runs;
};

// The runs for the Jacobian of the residuals by central differences (one-sided at a bound).
TAround RunAroundBest(TFitWork& w, const std::vector<double>& xr, TFitReport& report)
{
    const std::vector<TTarget>& targets = w.Targets;
    const std::size_t n = targets.size();
    TAround a;
    std::vector<std::vector<double>>& points = a.Points;
    a.Widths.resize(n);
    for (std::size_t j = 0; j < n; ++j) {
        const double h = 1e-3 * (targets[j].High - targets[j].Low);
        std::vector<double> up = xr, down = xr;
        up[j] = std::min(xr[j] + h, targets[j].High);
        down[j] = std::max(xr[j] - h, targets[j].Low);
        a.Widths[j] = up[j] - down[j];
        points.push_back(up);
        points.push_back(down);
    }
    std::vector<TEvaluation>& around = a.Runs;
    around.resize(points.size());
    RunInParallel(
        points.size(), w.Jobs,
        [&](std::size_t i) {
            around[i] = w.Objective.Evaluate(points[i]);
            w.Tally.Add(around[i]);
        },
        [](std::size_t) {}, [&] { w.Progress("standard errors"); });
    for (std::size_t i = 0; i < points.size(); ++i)
        report.Runs.push_back(RunOf("jacobian", points[i], around[i]));
    w.Progress("standard errors", true);
    return a;
}

// What the standard errors come from: (J^T J)^-1 over the parameters the observations
// change with, and the residual variance.
struct TCovariance {
    std::vector<bool> ColumnOk;
    std::vector<std::size_t> Seen;
    std::optional<std::vector<std::vector<double>>> Inverse;
    double Sigma2 = 0;
};

TCovariance CovarianceAt(const TAround& a, const TEvaluation& rounded, std::size_t m, std::size_t n)
{
    const std::vector<TEvaluation>& around = a.Runs;
    TCovariance c;
    std::vector<std::vector<double>> jac(m, std::vector<double>(n, 0.0));
    std::vector<bool>& columnOk = c.ColumnOk;
    columnOk.assign(n, true);
    for (std::size_t j = 0; j < n; ++j) {
        const TEvaluation& up = around[2 * j];
        const TEvaluation& down = around[2 * j + 1];
        columnOk[j] = up.Feasible && down.Feasible && a.Widths[j] > 0;
        if (columnOk[j])
            for (std::size_t i = 0; i < m; ++i)
                jac[i][j] = (up.Residuals[i] - down.Residuals[i]) / a.Widths[j];
    }
    std::vector<std::vector<double>> jtj(n, std::vector<double>(n, 0.0));
    for (std::size_t p = 0; p < n; ++p)
        for (std::size_t q = 0; q < n; ++q)
            for (std::size_t i = 0; i < m; ++i)
                jtj[p][q] += jac[i][p] * jac[i][q];
    // The parameters the observations change with are estimated together; one they do
    // not change with has no standard error and leaves the others theirs.
    double largest = 0;
    for (std::size_t j = 0; j < n; ++j)
        if (columnOk[j])
            largest = std::max(largest, jtj[j][j]);
    std::vector<std::size_t>& seen = c.Seen;
    for (std::size_t j = 0; j < n; ++j)
        if (columnOk[j] && jtj[j][j] > 1e-24 * largest)
            seen.push_back(j);
    std::vector<std::vector<double>> sub(seen.size(), std::vector<double>(seen.size()));
    for (std::size_t p = 0; p < seen.size(); ++p)
        for (std::size_t q = 0; q < seen.size(); ++q)
            sub[p][q] = jtj[seen[p]][seen[q]];
    const auto subInverse = !seen.empty() && m > n ? Inverse(sub) : std::nullopt;
    if (subInverse) {
        c.Inverse.emplace(n, std::vector<double>(n, 0.0));
        for (std::size_t p = 0; p < seen.size(); ++p)
            for (std::size_t q = 0; q < seen.size(); ++q)
                (*c.Inverse)[seen[p]][seen[q]] = (*subInverse)[p][q];
    }
    c.Sigma2 = m > n ? rounded.Objective / static_cast<double>(m - n) : 0;
    return c;
}

// Per parameter: the best value, its standard error, and notes on what limits it.
void AddParameterResults(const std::vector<TFitParameter>& params, const std::vector<TTarget>& targets,
                         const std::vector<double>& xr, const TCovariance& c, std::size_t m, TFitReport& report)
{
    const std::size_t n = targets.size();
    const std::optional<std::vector<std::vector<double>>>& inverse = c.Inverse;
    for (std::size_t j = 0; j < n; ++j) {
        TFitParameterResult p;
        p.Name = params[j].Name;
        p.Low = targets[j].Low;
        p.High = targets[j].High;
        p.Best = xr[j];
        std::vector<std::string> notes;
        if (p.Best <= p.Low + 0.5 * targets[j].Step)
            notes.push_back("at the lower bound");
        else if (p.Best >= p.High - 0.5 * targets[j].Step)
            notes.push_back("at the upper bound");
        if (m <= n)
            notes.push_back("no standard error: fewer observations than parameters");
        else if (!c.ColumnOk[j])
            notes.push_back("no standard error: the runs beside the best point are infeasible");
        else if (std::find(c.Seen.begin(), c.Seen.end(), j) == c.Seen.end())
            notes.push_back("not identifiable: the observations do not change with it");
        else if (!inverse)
            notes.push_back("not identifiable apart from the others: their effects on the observations are alike");
        else if ((*inverse)[j][j] >= 0) {
            p.StandardError = std::sqrt(c.Sigma2 * (*inverse)[j][j]);
            // Estimates that move together: the data tell their joint effect, not each.
            for (std::size_t k = 0; k < n; ++k) {
                const double r = (*inverse)[j][k] / std::sqrt((*inverse)[j][j] * (*inverse)[k][k]);
                if (k != j && (*inverse)[k][k] > 0 && std::isfinite(r) && std::fabs(r) >= 0.9)
                    notes.push_back("correlated with " + params[k].Name + " (" + FixedText(r, 0, 2) + ")");
            }
        }
        for (const std::string& note : notes)
            p.Note += (p.Note.empty() ? "" : "; ") + note;
        report.Parameters.push_back(p);
    }
}

// Per observed symbol: how well the rounded best run matches, and the series to chart.
void AddSymbolResults(const TObjective& objective, const std::vector<TObservation>& observations,
                      const TEvaluation& rounded, TFitReport& report)
{
    for (std::size_t k = 0; k < objective.Symbols().size(); ++k) {
        TFitSymbolResult s;
        s.Symbol = objective.Symbols()[k];
        const std::vector<std::size_t>& at = objective.BySymbol()[k];
        s.N = at.size();
        double sq = 0, diff = 0, mean = 0;
        for (std::size_t i : at) {
            const double d = rounded.Simulated[i] - observations[i].Value;
            sq += d * d;
            diff += d;
            mean += observations[i].Value;
            s.Term += rounded.Residuals[i] * rounded.Residuals[i];
        }
        const double count = static_cast<double>(at.size());
        mean /= count;
        s.Rmse = std::sqrt(sq / count);
        s.Bias = diff / count;
        double spread = 0;
        bool equal = true;
        for (std::size_t i : at) {
            spread += (observations[i].Value - mean) * (observations[i].Value - mean);
            equal = equal && observations[i].Value == observations[at.front()].Value;
        }
        if (!equal && spread > 0)
            s.Nse = 1 - sq / spread;
        report.Symbols.push_back(s);

        TFitSeries series;
        series.Symbol = s.Symbol;
        series.Simulated = rounded.Series[k];
        for (std::size_t i : at)
            series.Observed.push_back(observations[i]);
        report.Series.push_back(std::move(series));
    }
}

} // namespace

TFitParameter ParseFitSetting(const std::string& setting)
{
    const std::size_t eq = setting.find('=');
    const std::size_t colon = setting.find(':', eq == std::string::npos ? 0 : eq);
    if (eq == std::string::npos || colon == std::string::npos)
        throw TVeltraError(TErrorKind::Usage, "--fit " + setting + ": write NAME=LOW:HIGH.");
    TFitParameter p;
    p.Name = setting.substr(0, eq);
    const std::string low = setting.substr(eq + 1, colon - eq - 1), high = setting.substr(colon + 1);
    for (const std::string* text : {&low, &high}) {
        double v = 0;
        if (!ParseCommandNumber(*text, v))
            throw TVeltraError(TErrorKind::Usage, "--fit " + setting + ": \"" + *text +
                                                      "\" is not a number (\".\" is the decimal separator).");
        (text == &low ? p.Low : p.High) = v;
    }
    if (!(p.Low < p.High))
        throw TVeltraError(TErrorKind::Usage, "--fit " + setting + ": LOW must be below HIGH.");
    return p;
}

std::size_t MinimumFitRuns(std::size_t parameters)
{
    return 2 + 2 * parameters + 10 * parameters;
}

TFitReport Fit(const TInputRecord& base, const std::string& source, const std::vector<TObservation>& observations,
               const std::string& observationSource, const std::vector<TFitParameter>& params,
               const TFitOptions& options)
{
    const std::vector<TTarget> targets = Resolve(base, source, params);
    const std::size_t n = targets.size();
    if (options.MaxRuns < MinimumFitRuns(n))
        throw TVeltraError(TErrorKind::Usage, "--max-runs " + std::to_string(options.MaxRuns) +
                                                  " is too few: a fit of " + std::to_string(n) +
                                                  " parameter(s) needs at least " + std::to_string(MinimumFitRuns(n)) +
                                                  " runs.");
    if (observations.empty())
        throw TVeltraError(TErrorKind::File, observationSource + ": the file holds no observations.");

    const TObjective objective(base, targets, observations, observationSource);
    TFitReport report;
    report.MaxRuns = options.MaxRuns;
    report.Seed = options.Seed;
    report.Observations = observations.size();
    TTally tally;
    TFitWork work{targets, objective, options, tally, std::max(options.Jobs, 1)};
    RunInput(base, source, work, report);

    // The budget: the input's run, the rounded best and its standard errors (2 runs a
    // parameter) are kept aside; a fifth of the rest samples the bounds.
    const std::size_t reserve = 2 + 2 * n;
    const std::size_t search = options.MaxRuns - reserve;
    const std::size_t sampleSize = std::min(std::clamp(search / 5, 5 * n, 100 * n), search / 2);
    const TSample sample = SampleBounds(work, sampleSize, report);
    SearchLocally(work, sample, search - sampleSize, report);

    std::vector<double> xr;
    const TEvaluation rounded = RunRoundedBest(work, BestSearchRun(report), source, xr, report);
    report.Objective = rounded.Objective;
    const TAround around = RunAroundBest(work, xr, report);
    for (std::size_t i = 0; i < report.Runs.size(); ++i)
        report.Runs[i].Number = i + 1;

    const std::size_t m = observations.size();
    AddParameterResults(params, targets, xr, CovarianceAt(around, rounded, m, n), m, report);
    AddSymbolResults(objective, observations, rounded, report);
    return report;
}

} // namespace veltra
