// veltra fit FILE.inp --observed OBS.csv --fit NAME=LOW:HIGH ...: the values of a
// few input fields that make the run reproduce field observations, with the fitted
// input, every run, a report and a chart per observed symbol in the output folder.
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli/ChartCanvas.h"
#include "cli/Commands.h"
#include "cli/FileGuard.h"
#include "cli/RunOutput.h"
#include "graphs/ChartPicture.h"
#include "graphs/FitChart.h"
#include "model/InputFile.h"
#include "model/NumberText.h"
#include "model/SafeFile.h"
#include "model/TVeltraError.h"
#include "runs/Batch.h"
#include "runs/CaseRun.h"
#include "runs/Fit.h"
#include "runs/SummaryTable.h"

namespace veltra::cli {

namespace {

namespace fs = std::filesystem;

struct TFitArgs {
    std::string File;
    std::string Observed;
    std::vector<std::string> Settings;
    int Jobs = 0;
    std::string Out = "fit";
    std::size_t MaxRuns = 2000;
    std::uint64_t Seed = 1;
};

// "fit-Cr4.png"; C0* ... C3* lose their star to a name every system takes.
std::string ChartName(TRecordSymbol symbol)
{
    std::string name(RecordSymbolNames[static_cast<std::size_t>(symbol)]);
    if (!name.empty() && name.back() == '*')
        name.back() = 's';
    return "fit-" + name + ".png";
}

std::string BestText(const std::optional<double>& best)
{
    return best ? GeneralText(*best, 4) : std::string("none yet");
}

// On a terminal one line that redraws itself; elsewhere a line at every stage's end.
class TFitPrinter {
public:
    explicit TFitPrinter(bool terminal) : terminal_(terminal) {}

    void operator()(const TFitProgress& p)
    {
        if (!terminal_) {
            if (p.StageDone)
                std::cout << p.Stage << ": " << p.RunsDone << " runs, best objective " << BestText(p.Best) << "\n";
            return;
        }
        constexpr std::size_t width = 30;
        const std::size_t filled = p.MaxRuns ? std::min(width, width * p.RunsDone / p.MaxRuns) : width;
        std::cout << "\r\033[K[" << std::string(filled, '#') << std::string(width - filled, '.') << "] " << p.RunsDone
                  << "/" << p.MaxRuns << " runs, best objective " << BestText(p.Best) << " (" << p.Stage << ")"
                  << std::flush;
        drawn_ = true;
    }

    void End()
    {
        if (drawn_)
            std::cout << "\n";
    }

private:
    bool terminal_;
    bool drawn_ = false;
};

TFitChartData ChartData(const TFitReport& report, const TFitSeries& series, const TFitSymbolResult& stats)
{
    TFitChartData d;
    d.Symbol = std::string(RecordSymbolNames[static_cast<std::size_t>(series.Symbol)]);
    d.Heading = "n = " + std::to_string(stats.N) + ", RMSE = " + GeneralText(stats.Rmse, 3) +
                ", bias = " + GeneralText(stats.Bias, 3) +
                ", NSE = " + (stats.Nse ? GeneralText(*stats.Nse, 3) : std::string("n/a"));
    d.Footer = "fitted.inp";
    d.Ns = report.Best.Ns;
    for (int s = 1; s <= 4; ++s)
        d.Ts[static_cast<std::size_t>(s)] = report.Best.Ts[s];
    d.Simulated = series.Simulated;
    for (const TObservation& o : series.Observed)
        d.Observed.push_back({o.Year, o.Season, o.Value});
    return d;
}

// The files a fit writes, in the order they are listed: fitted.inp, runs.csv, fit.txt, then one chart
// per observed symbol, in the order the symbols first appear.
struct TFitOutputs {
    std::vector<std::string> Files;
    std::vector<TRecordSymbol> Symbols;
};

TFitOutputs FitOutputs(const std::string& folder, const std::vector<TObservation>& observations)
{
    TFitOutputs out;
    out.Files = {(fs::path(folder) / "fitted.inp").string(), (fs::path(folder) / "runs.csv").string(),
                 (fs::path(folder) / "fit.txt").string()};
    for (const TObservation& o : observations)
        if (std::find(out.Symbols.begin(), out.Symbols.end(), o.Symbol) == out.Symbols.end()) {
            out.Symbols.push_back(o.Symbol);
            out.Files.push_back((fs::path(folder) / ChartName(o.Symbol)).string());
        }
    return out;
}

TFitReport FitWithProgress(const TFitArgs& a, const TInputRecord& base, const std::string& input,
                           const std::vector<TObservation>& observations, const std::string& observed,
                           const std::vector<TFitParameter>& params)
{
    TFitOptions options;
    options.MaxRuns = a.MaxRuns;
    options.Seed = a.Seed;
    options.Jobs = a.Jobs > 0 ? a.Jobs : AvailableCores();
    TFitPrinter printer(::isatty(STDOUT_FILENO) == 1);
    options.Progress = [&printer](const TFitProgress& p) { printer(p); };
    std::cout << "Fitting " << params.size() << (params.size() == 1 ? " parameter" : " parameters") << " to "
              << observations.size() << " observations, at most " << a.MaxRuns << " runs with " << options.Jobs
              << (options.Jobs == 1 ? " job" : " jobs") << ".\n";
    TFitReport report;
    try {
        report = Fit(base, input, observations, observed, params, options);
    } catch (...) {
        printer.End();
        throw;
    }
    printer.End();
    return report;
}

void WriteFitFiles(const TFitReport& report, const std::vector<std::string>& outputs, const std::string& input,
                   const std::string& observed)
{
    // The pictures first: the canvas module may be missing, and then no file is written.
    const std::unique_ptr<TCanvas> canvas = LoadChartCanvas();
    std::vector<std::pair<std::string, std::string>> files{{outputs[0], InputFileText(report.Best)},
                                                           {outputs[1], FitRunsCsv(report)},
                                                           {outputs[2], FitReportText(report, input, observed)}};
    for (std::size_t k = 0; k < report.Series.size(); ++k) {
        TFitChartData data = ChartData(report, report.Series[k], report.Symbols[k]);
        if (!DrawFitChart(data, *canvas))
            continue;
        const std::string picture = canvas->EncodedPicture("PNG");
        if (picture.empty())
            throw TVeltraError(TErrorKind::File, "The chart of " + data.Symbol + " could not be encoded.");
        files.emplace_back(outputs[3 + k], picture);
    }
    WriteWholeFiles(files);
}

void PrintFitReport(const TFitReport& report, const std::string& input, const std::string& observed,
                    const std::string& folder, const std::vector<TRecordSymbol>& symbols)
{
    // The report as fit.txt holds it, with the line ends of standard output.
    std::string text = FitReportText(report, input, observed);
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at))
        text.erase(at, 1);
    std::cout << text;
    std::cout << "Written in " << folder << ": fitted.inp, runs.csv, fit.txt";
    for (TRecordSymbol symbol : symbols)
        std::cout << ", " << ChartName(symbol);
    std::cout << "\n";
}

int RunFit(const TFitArgs& a)
{
    const std::string input = AbsolutePath(a.File);
    const std::string observed = AbsolutePath(a.Observed);
    const std::string folder = AbsolutePath(a.Out);
    std::vector<TFitParameter> params;
    for (const std::string& setting : a.Settings)
        params.push_back(ParseFitSetting(setting));

    TInputRecord base;
    ReadCaseInput(input, base);
    base.Shell.FileName = input;
    const std::vector<TObservation> observations = ReadObservationFile(observed, base);
    const TFitOutputs outputs = FitOutputs(folder, observations);
    RefuseOutputsOverInputs({input, observed}, outputs.Files);
    PrepareOutputFolder(folder);

    const TFitReport report = FitWithProgress(a, base, input, observations, observed, params);
    WriteFitFiles(report, outputs.Files, input, observed);
    PrintFitReport(report, input, observed, folder, outputs.Symbols);
    return 0;
}

} // namespace

void AddFitCommand(CLI::App& app, int& status)
{
    auto a = std::make_shared<TFitArgs>();
    auto* cmd = app.add_subcommand("fit", "Fit input fields to field observations (calibration)");
    cmd->add_option("file", a->File, "The input file (.inp) to fit, read as named")->required();
    cmd->add_option("--observed", a->Observed, "Observations: CSV with the header year,season,symbol,value[,weight]")
        ->required();
    cmd->add_option("--fit", a->Settings,
                    "NAME=LOW:HIGH, a field to fit and its bounds; NAME[s] for one season. Fields: " +
                        InputFieldNames() + " (not the whole numbers Kf, Kr, Krf, Kp, Ny)")
        ->allow_extra_args(false)
        ->required();
    cmd->add_option("-j,--jobs", a->Jobs, "Runs at the same time (default: the number of cores)")
        ->check(CLI::Range(1, 4096));
    cmd->add_option("--out", a->Out, "Folder of fitted.inp, runs.csv, fit.txt and the charts (default: fit)");
    cmd->add_option("--max-runs", a->MaxRuns, "The most runs the fit may do (default: 2000)")
        ->check(CLI::Range(1, 10000000));
    cmd->add_option("--seed", a->Seed, "Seed of the sample that starts the search (default: 1)");
    cmd->callback([a, &status] { status = RunFit(*a); });
}

} // namespace veltra::cli
