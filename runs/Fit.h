#pragma once
// Calibration: the values of a few input fields that make a run reproduce field
// observations. A seeded space-filling sample of the bounds (its runs in parallel),
// then bounded local searches without derivatives (Subplex) from its best points;
// runs whose input fails the check or that stop are infeasible, a penalty the
// search avoids. The best point is rounded to the decimals the input file keeps and
// run again: everything reported is that rounded point's. Runs are in memory at the
// engine's full precision. The same seed and inputs give the same runs, whatever
// the number of jobs.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/UDataMod.h"
#include "results/ResultFile.h"
#include "runs/InputFields.h"
#include "runs/Observations.h"

namespace veltra {

struct TFitParameter {
    std::string Name; // as the command line names a field: "Flr", "IaA", "IaA[2]"
    double Low = 0;
    double High = 0;
};

// "NAME=LOW:HIGH" ("." as the decimal separator); TVeltraError (Usage) otherwise.
TFitParameter ParseFitSetting(const std::string& setting);

struct TFitProgress {
    std::size_t RunsDone = 0;
    std::size_t MaxRuns = 0;
    std::optional<double> Best; // the lowest objective so far
    std::string Stage;          // "sample", "local search", "rounded", "standard errors"
    bool StageDone = false;     // the stage has ended (called once a stage)
};

struct TFitOptions {
    std::size_t MaxRuns = 2000;
    std::uint64_t Seed = 1;
    int Jobs = 1;
    // Called on the calling thread a few times a second and at every stage's end.
    std::function<void(const TFitProgress&)> Progress;
};

// One run of the search.
struct TFitRun {
    std::size_t Number = 0; // from 1, in the order the list holds them
    std::string Stage;      // "input", "sample", "local 1", ..., "rounded", "jacobian"
    std::vector<double> Values;
    bool Feasible = false;
    double Objective = 0; // when feasible
    std::string Reason;   // why not feasible
};

struct TFitParameterResult {
    std::string Name;
    double Low = 0, High = 0;
    double Best = 0;                     // as the input file keeps it
    std::optional<double> StandardError; // none when it cannot be estimated
    std::string Note;                    // "at the lower bound", "not identifiable ...", ...
};

struct TFitSymbolResult {
    TRecordSymbol Symbol = TRecordSymbol::Dw;
    std::size_t N = 0;
    double Rmse = 0;
    double Bias = 0;           // mean of simulated - observed
    std::optional<double> Nse; // Nash-Sutcliffe efficiency; none for constant observations
    double Term = 0;           // its part of the objective
};

// A symbol's simulated values over every record of the rounded run (year 0 first;
// record k is year k / Ns, season k % Ns + 1; none where the record shows "-"), with
// its observations.
struct TFitSeries {
    TRecordSymbol Symbol = TRecordSymbol::Dw;
    std::vector<std::optional<double>> Simulated;
    std::vector<TObservation> Observed;
};

struct TFitReport {
    TInputRecord Best; // the input with the rounded best values
    std::vector<TFitParameterResult> Parameters;
    std::vector<TFitSymbolResult> Symbols; // in the order of their first observation
    std::vector<TFitSeries> Series;        // the same order
    double Objective = 0;                  // of the rounded point
    std::optional<double> InputObjective;  // of the input as given, when it ran
    std::size_t Observations = 0;
    std::size_t MaxRuns = 0;
    std::uint64_t Seed = 0;
    std::vector<TFitRun> Runs; // every run, in a fixed order
};

// Fits `params` of `base` (the record of the input file named `source`) to
// `observations` (read from `observationSource`). Refuses before anything runs
// (TVeltraError Usage): a field --fit cannot name, a whole-number field, a field
// named twice, LOW >= HIGH, a --max-runs too small for the number of parameters.
// The input as given must pass the check (TVeltraError Input with the errors) and,
// when it runs, show every observed symbol in every observed season (TVeltraError
// File naming the observation). Ends with TVeltraError (Input) when no run of the
// search was feasible, naming the reasons.
TFitReport Fit(const TInputRecord& base, const std::string& source, const std::vector<TObservation>& observations,
               const std::string& observationSource, const std::vector<TFitParameter>& params,
               const TFitOptions& options);

// The texts of the report's files: runs.csv (one row a run) and fit.txt.
std::string FitRunsCsv(const TFitReport& report);
std::string FitReportText(const TFitReport& report, const std::string& source, const std::string& observationSource);

// The smallest number of runs a fit of `parameters` parameters can do with.
std::size_t MinimumFitRuns(std::size_t parameters);

} // namespace veltra
