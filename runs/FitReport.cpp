// The texts of a fit's files: runs.csv, one row a run, and fit.txt, the report.
#include <algorithm>
#include <charconv>

#include "model/NumberText.h"
#include "runs/Fit.h"
#include "runs/SummaryTable.h"

namespace veltra {

namespace {

std::string Padded(const std::string& text, std::size_t width)
{
    return text.size() >= width ? text + " " : text + std::string(width - text.size(), ' ');
}

std::string Row(const std::vector<std::string>& cells, const std::vector<std::size_t>& widths)
{
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i)
        line += i + 1 < cells.size() ? Padded(cells[i], widths[i]) : cells[i];
    while (!line.empty() && line.back() == ' ')
        line.pop_back();
    return line + "\r\n";
}

// A table with columns as wide as their widest cell.
std::string Table(const std::vector<std::vector<std::string>>& rows)
{
    std::vector<std::size_t> widths(rows.front().size(), 0);
    for (const auto& row : rows)
        for (std::size_t i = 0; i < row.size(); ++i)
            widths[i] = std::max(widths[i], row[i].size() + 2);
    std::string text;
    for (const auto& row : rows)
        text += Row(row, widths);
    return text;
}

// A value as an input file would show it: fixed decimals, as few as give it back.
std::string DecimalText(double v)
{
    for (int d = 0; d <= 12; ++d) {
        const std::string text = FixedText(v, 0, d);
        double back = 0;
        std::from_chars(text.data(), text.data() + text.size(), back);
        if (back == v)
            return text;
    }
    return FullNumber(v);
}

std::string Statistic(double v)
{
    return GeneralText(v, 4);
}

} // namespace

std::string FitRunsCsv(const TFitReport& report)
{
    std::vector<std::string> head{"run", "stage"};
    for (const TFitParameterResult& p : report.Parameters)
        head.push_back(p.Name);
    head.push_back("objective");
    head.push_back("infeasible");
    std::string text = CsvLine(head);
    for (const TFitRun& run : report.Runs) {
        std::vector<std::string> fields{std::to_string(run.Number), run.Stage};
        for (double v : run.Values)
            fields.push_back(FullNumber(v));
        fields.push_back(run.Feasible ? FullNumber(run.Objective) : std::string());
        fields.push_back(run.Feasible ? std::string() : run.Reason);
        text += CsvLine(fields);
    }
    return text;
}

std::string FitReportText(const TFitReport& report, const std::string& source, const std::string& observationSource)
{
    std::size_t infeasible = 0;
    for (const TFitRun& run : report.Runs)
        infeasible += run.Feasible ? 0 : 1;
    std::string text;
    text += "Fit of " + source + "\r\n";
    text += "to the " + std::to_string(report.Observations) + " observations of " + observationSource + "\r\n";
    text += "Runs used: " + std::to_string(report.Runs.size()) + " of at most " + std::to_string(report.MaxRuns) +
            " (" + std::to_string(infeasible) + " infeasible); seed " + std::to_string(report.Seed) + "\r\n";
    text += "Objective: " + Statistic(report.Objective) +
            " (over the symbols, the weighted mean squared error divided by the variance of the observations)\r\n";
    if (report.InputObjective)
        text += "Objective of the input as given: " + Statistic(*report.InputObjective) + "\r\n";
    text += "\r\nParameters (the best values as the input file keeps them; standard errors from the Jacobian)\r\n";
    std::vector<std::vector<std::string>> rows{{"Name", "Low", "High", "Best", "Std. error", "Note"}};
    for (const TFitParameterResult& p : report.Parameters)
        rows.push_back({p.Name, DecimalText(p.Low), DecimalText(p.High), DecimalText(p.Best),
                        p.StandardError ? GeneralText(*p.StandardError, 3) : std::string("n/a"), p.Note});
    text += Table(rows);
    text += "\r\nSymbols (simulated - observed)\r\n";
    rows = {{"Symbol", "n", "RMSE", "Bias", "NSE", "Objective part"}};
    for (const TFitSymbolResult& s : report.Symbols)
        rows.push_back({std::string(RecordSymbolNames[static_cast<std::size_t>(s.Symbol)]), std::to_string(s.N),
                        Statistic(s.Rmse), Statistic(s.Bias), s.Nse ? Statistic(*s.Nse) : std::string("n/a"),
                        Statistic(s.Term)});
    text += Table(rows);
    return text;
}

} // namespace veltra
