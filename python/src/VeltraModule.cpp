// veltra._veltra: the model's runs for Python. The record, its fields by symbol with
// the editor's tests of single values, the check, runs in memory or from files, the
// year-by-year series, result files read back and sweeps on threads. The Python
// package veltra (python/veltra/__init__.py) builds the tables and the API on it.
// Every run releases the interpreter lock while it computes.
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include "model/ExampleInputs.h"
#include "model/InputCheck.h"
#include "model/InputFields.h"
#include "model/InputFile.h"
#include "model/NumberText.h"
#include "model/SafeFile.h"
#include "model/TVeltraError.h"
#include "model/ValueTests.h"
#include "results/FrequencyFile.h"
#include "results/OutputGroups.h"
#include "results/ResultFile.h"
#include "results/TextLists.h"
#include "runs/Batch.h"
#include "runs/CaseRun.h"
#include "runs/Fit.h"
#include "runs/Observations.h"
#include "runs/SummaryTable.h"
#include "runs/TSweep.h"

namespace py = pybind11;

namespace veltra::python {

namespace {

namespace fs = std::filesystem;

constexpr double Absent = std::numeric_limits<double>::quiet_NaN();

// ---------------------------------------------------------------- the record

// A record with the name the runs give it (the input file's path, or "field.inp").
struct TRecord {
    TInputRecord Rec;
    std::string Name = "input.inp";
};

[[noreturn]] void RefuseValue(const std::string& field, const std::string& why)
{
    throw TVeltraError(TErrorKind::Input, field + ": " + why);
}

const TInputField& FieldNamed(const std::string& name)
{
    const TInputField* f = FindInputField(name);
    if (!f)
        throw py::attribute_error("the input has no field " + name);
    return *f;
}

std::string FieldText(const TInputField& f, int season)
{
    return season > 0 ? std::string(f.Name) + "[" + std::to_string(season - 1) + "]" : std::string(f.Name);
}

// The editor's symbol of a record field where the two differ.
std::string EditorSymbol(const std::string& name)
{
    return name == "CAmax" ? "CaMax" : name == "CBmax" ? "CbMax" : name;
}

// The choices the editor offers for a key.
std::vector<int> KeyChoices(const std::string& name)
{
    if (name == "Ns")
        return {1, 2, 3, 4};
    if (name == "Kr")
        return {0, 1, 2, 3, 4, 5, 6, 7, 10};
    return {0, 1};
}

// The tests of one value as the editor makes them before it stores it.
void TestValue(const TInputField& f, const std::string& where, double v)
{
    const std::string name = f.Name;
    if (!std::isfinite(v))
        RefuseValue(where, "the value must be a finite number, not " + ShortestText(v) + ".");
    if (f.Whole) {
        if (v != std::floor(v))
            RefuseValue(where, "takes whole numbers, not " + FullNumber(v) + ".");
        if (name == "Ny") {
            if (v > 99)
                RefuseValue(where, std::string(TooManyYearsMessage) + " (rule: Ny <= 99).");
            if (v < 0)
                RefuseValue(where, "the number of years cannot be negative (rule: Ny >= 0; the check wants 1 to 99).");
            return;
        }
        std::string list;
        for (int c : KeyChoices(name)) {
            if (v == c)
                return;
            if (!list.empty())
                list += ", ";
            list += std::to_string(c);
        }
        RefuseValue(where, "the editor offers " + list + ", not " + FullNumber(v) + " (rule: one of " + list + ").");
    }
    if ((name == "CAmax" || name == "CBmax") && v < 0)
        RefuseValue(where, std::string(NegativeMaxSalinityMessage) + " (rule: " + name + " >= 0).");
    const std::string symbol = EditorSymbol(name);
    for (const auto& [group, tests] : AllEditorValueTests())
        for (const TValueTest& t : tests) {
            if (!IsSingleValueRule(t.Rule))
                continue;
            for (const char* s : t.Symbols)
                if (symbol == s && !PassesRule(t.Rule, v)) {
                    std::string message = t.Message;
                    message.erase(0, message.find_first_not_of(' '));
                    RefuseValue(where, FullNumber(v) + " is refused: " + message + " (rule: " + name + " " +
                                           RuleText(t.Rule) + ").");
                }
        }
}

// The season (1..4) of a seasonal field's index from 0, refused beyond the record's seasons.
int SeasonOf(const TInputField& f, const TInputRecord& rec, int index)
{
    const int ns = std::clamp<int>(rec.Ns, 1, 4);
    if (index < 0)
        index += ns;
    if (index < 0 || index >= ns)
        throw py::index_error(std::string(f.Name) + ": season index " + std::to_string(index) + " out of range (Ns = " +
                              std::to_string(ns) + ", indices 0 to " + std::to_string(ns - 1) + ")");
    return index + 1;
}

void RefuseLeftOut(const TInputField& f, const TInputRecord& rec)
{
    if (f.Drains && rec.Kd != 1)
        RefuseValue(f.Name,
                    std::string("the input has no drains (Kd = 0), so it holds no ") + f.Name + "; set Kd = 1 first.");
}

py::object Get(const TRecord& r, const std::string& name)
{
    const TInputField& f = FieldNamed(name);
    if (f.Seasonal)
        throw py::type_error(name + " is seasonal");
    if (f.Whole)
        return py::int_(static_cast<int>(FieldValue(f, r.Rec, 0)));
    return py::float_(FieldValue(f, r.Rec, 0));
}

void Set(TRecord& r, const std::string& name, double v)
{
    const TInputField& f = FieldNamed(name);
    if (f.Seasonal)
        throw py::type_error(name + " is seasonal");
    RefuseLeftOut(f, r.Rec);
    TestValue(f, name, v);
    SetFieldValue(f, r.Rec, 0, v);
}

double GetSeason(const TRecord& r, const std::string& name, int index)
{
    const TInputField& f = FieldNamed(name);
    return FieldValue(f, r.Rec, SeasonOf(f, r.Rec, index));
}

void SetSeason(TRecord& r, const std::string& name, int index, double v)
{
    const TInputField& f = FieldNamed(name);
    const int season = SeasonOf(f, r.Rec, index);
    RefuseLeftOut(f, r.Rec);
    TestValue(f, FieldText(f, season), v);
    SetFieldValue(f, r.Rec, season, v);
}

// Every field with its kind: "scalar", "whole" or "seasonal".
std::vector<std::pair<std::string, std::string>> Fields()
{
    std::vector<std::pair<std::string, std::string>> out;
    for (const TInputField& f : InputFields())
        out.emplace_back(f.Name, f.Seasonal ? "seasonal" : f.Whole ? "whole" : "scalar");
    return out;
}

// All fields at full precision, the titles and the name: what a copy on another
// machine needs (pickling).
py::dict State(const TRecord& r)
{
    py::dict d;
    d["Title1"] = r.Rec.Title1;
    d["Title2"] = r.Rec.Title2;
    d["name"] = r.Name;
    for (const TInputField& f : InputFields()) {
        if (f.Seasonal) {
            py::list l;
            for (int s = 1; s <= 4; ++s)
                l.append(FieldValue(f, r.Rec, s));
            d[f.Name] = l;
        } else {
            d[f.Name] = FieldValue(f, r.Rec, 0);
        }
    }
    return d;
}

TRecord FromState(const py::dict& d)
{
    TRecord r;
    r.Rec.Title1 = d["Title1"].cast<std::string>();
    r.Rec.Title2 = d["Title2"].cast<std::string>();
    r.Name = d["name"].cast<std::string>();
    for (const TInputField& f : InputFields()) {
        if (f.Seasonal) {
            const auto values = d[f.Name].cast<std::vector<double>>();
            for (int s = 1; s <= 4 && s <= static_cast<int>(values.size()); ++s)
                SetFieldValue(f, r.Rec, s, values[static_cast<std::size_t>(s - 1)]);
        } else {
            SetFieldValue(f, r.Rec, 0, d[f.Name].cast<double>());
        }
    }
    return r;
}

TRecord ReadRecord(const std::string& path)
{
    TRecord r;
    const std::string absolute = fs::absolute(path).lexically_normal().string();
    ReadCaseInput(absolute, r.Rec);
    r.Name = absolute;
    return r;
}

TRecord Example(const std::string& name)
{
    TRecord r;
    if (name == "field")
        r.Rec = FieldExampleRecord();
    else if (name == "wells")
        r.Rec = WellsExampleRecord();
    else
        throw py::value_error("no example \"" + name + "\": the examples are \"field\" and \"wells\"");
    r.Name = name + ".inp";
    return r;
}

// ---------------------------------------------------------------- runs

// A run's tables as it goes: one row per season record (year, season, then the
// cells, NaN where the record prints "-"), the frequency slots, the warnings.
class TTables final : public TRunObserver {
public:
    void SeasonDone(const TSeasonDone& done, const TInputRecord& rec, const TEngineState& st) override
    {
        Add(done.Year, done.Season, SeasonRecordCells(rec, st, done));
        for (const TFrequencyRow& row : FrequencyRows(rec, st))
            Frequency.push_back({done.Year, done.Season, row.Symbol, row.Points});
    }
    void Warning(const std::vector<std::string>& lines) override
    {
        std::string text;
        for (const std::string& line : lines) {
            const std::size_t a = line.find_first_not_of(' ');
            if (a == std::string::npos)
                continue;
            if (!text.empty())
                text += '\n';
            text.append(line, a);
        }
        Warnings.push_back(text);
    }
    void Add(int year, int season, const TSeasonCells& values)
    {
        Cells.push_back(year);
        Cells.push_back(season);
        for (const TRecordCell& v : values)
            Cells.push_back(v.Shown ? v.Value : Absent);
    }

    struct TFrequency {
        int Year, Season;
        std::string Symbol;
        std::array<double, 4> Points;
    };
    std::vector<double> Cells;
    std::vector<TFrequency> Frequency;
    std::vector<std::string> Warnings;
};

// The tables as arrays, for the DataFrames: "year", "season" and "cells" (a row per
// season record, a column per symbol of "columns"), the frequency rows likewise.
py::dict TablesDict(TTables& t, const TCaseOutcome* outcome)
{
    constexpr std::size_t width = RecordSymbolCount + 2;
    const std::size_t rows = t.Cells.size() / width;
    py::array_t<std::int64_t> year(static_cast<py::ssize_t>(rows)), season(static_cast<py::ssize_t>(rows));
    py::array_t<double> cells({static_cast<py::ssize_t>(rows), static_cast<py::ssize_t>(RecordSymbolCount)});
    for (std::size_t r = 0; r < rows; ++r) {
        const double* row = t.Cells.data() + r * width;
        year.mutable_at(r) = static_cast<std::int64_t>(row[0]);
        season.mutable_at(r) = static_cast<std::int64_t>(row[1]);
        std::copy(row + 2, row + width, cells.mutable_data(r, 0));
    }
    const std::size_t n = t.Frequency.size();
    py::array_t<std::int64_t> fyear(static_cast<py::ssize_t>(n)), fseason(static_cast<py::ssize_t>(n));
    py::array_t<double> points({static_cast<py::ssize_t>(n), py::ssize_t{4}});
    py::list symbols(n);
    for (std::size_t k = 0; k < n; ++k) {
        const auto& f = t.Frequency[k];
        fyear.mutable_at(k) = f.Year;
        fseason.mutable_at(k) = f.Season;
        symbols[k] = py::str(f.Symbol);
        std::copy(f.Points.begin(), f.Points.end(), points.mutable_data(k, 0));
    }
    py::dict d;
    d["year"] = year;
    d["season"] = season;
    d["cells"] = cells;
    d["columns"] = std::vector<std::string>(RecordSymbolNames.begin(), RecordSymbolNames.end());
    d["frequency_year"] = fyear;
    d["frequency_season"] = fseason;
    d["frequency_symbol"] = symbols;
    d["frequency_points"] = points;
    d["warnings"] = t.Warnings;
    if (outcome) {
        d["status"] = CaseStatusText(outcome->Status);
        d["message"] = outcome->Message;
    }
    return d;
}

// A run that did not end with results: its error, as the command would give it.
void RaiseUnlessRan(const TCaseOutcome& o, const std::vector<std::string>& errorLines)
{
    switch (o.Status) {
    case TCaseStatus::Ok:
    case TCaseStatus::Stopped: return;
    case TCaseStatus::InputErrors:
        throw TVeltraError(TErrorKind::Input, errorLines.empty() ? o.Message : JoinLines(errorLines));
    case TCaseStatus::Failed: break;
    }
    throw TVeltraError(o.Kind, o.Message);
}

// The error lines a record that does not run gives: the save-time refusals or the
// check's lines (empty when it passes both).
std::vector<std::string> InputRefusals(const TInputRecord& rec)
{
    std::vector<std::string> lines = ValidateBeforeSave(rec);
    if (lines.empty())
        lines = InputErrorLines(rec);
    for (std::string& l : lines)
        l.erase(0, l.find_first_not_of(' '));
    return lines;
}

py::dict RunRecords(const std::vector<TRecord>& records)
{
    std::vector<TInputRecord> recs;
    for (const TRecord& r : records)
        recs.push_back(r.Rec);
    TTables tables;
    TCaseOutcome outcome;
    {
        py::gil_scoped_release release;
        outcome = RunRecordCase(recs, records.front().Name, &tables);
    }
    if (outcome.Status == TCaseStatus::InputErrors) {
        // The first year's lines; a later year's by the outcome's message.
        std::vector<std::string> lines = InputRefusals(recs.front());
        if (lines.empty())
            lines = {outcome.Message};
        RaiseUnlessRan(outcome, lines);
    }
    RaiseUnlessRan(outcome, {});
    return TablesDict(tables, &outcome);
}

py::dict Run(const TRecord& r)
{
    return RunRecords({r});
}

// Writes the input as `folder`/NAME.inp and runs it from that file as `veltra run`
// does in that folder.
py::dict RunFromFile(const TRecord& r, const std::string& folder)
{
    const fs::path dir = fs::absolute(folder).lexically_normal();
    PrepareOutputFolder(dir.string());
    const std::string input = (dir / fs::path(r.Name).filename()).replace_extension(".inp").string();
    TTables tables;
    TCaseOutcome outcome;
    {
        py::gil_scoped_release release;
        WriteInputFile(r.Rec, input);
        outcome = RunCase({input}, dir.string(), RealFileSystem(), &tables);
    }
    if (outcome.Status == TCaseStatus::InputErrors) {
        std::vector<std::string> lines;
        try {
            std::vector<std::string> all;
            ReadTextLines((dir / "Error.lst").string(), all, "an error list");
            lines.assign(all.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(2, all.size())), all.end());
            for (std::string& l : lines)
                l.erase(0, l.find_first_not_of(' '));
        } catch (const TVeltraError&) {
            lines = {outcome.Message};
        }
        RaiseUnlessRan(outcome, lines);
    }
    RaiseUnlessRan(outcome, {});
    py::dict d = TablesDict(tables, &outcome);
    d["input"] = input;
    return d;
}

py::dict ReadResult(const std::string& path)
{
    std::vector<std::string> lines;
    ReadTextLines(path, lines, "a result file");
    TTables tables;
    for (const TResultRecord& r : ReadResultRecords(path, lines)) {
        tables.Add(r.Year, r.Season, r.Values);
        for (const auto& [symbol, points] : r.Frequency)
            tables.Frequency.push_back({r.Year, r.Season, symbol, points});
    }
    return TablesDict(tables, nullptr);
}

// ---------------------------------------------------------------- sweeps

// The cases `indices` (from 1; all when empty) of the sweep of `base` over
// `settings` ("Dd=1,1.5", ...), each run as `veltra sweep` runs it, in memory:
// the summary.csv header and the cases' lines, in the order of `indices`.
// The notes say which fields of `base` the cases' input files keep with fewer decimals.
struct TSweepLines {
    std::string Header;
    std::vector<std::string> Lines;
    std::vector<std::string> Notes;
};

TSweepLines Sweep(const TRecord& base, const std::vector<std::string>& settings, std::vector<std::size_t> indices,
                  int jobs)
{
    const TSweep sweep(base.Rec, base.Name, settings);
    if (indices.empty())
        for (std::size_t i = 1; i <= sweep.CaseCount(); ++i)
            indices.push_back(i);
    for (std::size_t i : indices)
        if (i < 1 || i > sweep.CaseCount())
            throw py::index_error("case " + std::to_string(i) + " of a sweep of " + std::to_string(sweep.CaseCount()) +
                                  " cases");
    std::vector<std::string> variedNames;
    for (const TSweepAxis& a : sweep.Axes())
        variedNames.push_back(a.Name);
    const std::string stem = SafeCaseName(fs::path(base.Name).stem().string());
    // The command hashes the file it reads; the record's file text is that file when
    // the record was read from one veltra wrote (or wrote nothing new to).
    const std::string plan = SweepPlan(InputFileText(base.Rec), sweep);
    std::vector<std::string> lines(indices.size());
    {
        py::gil_scoped_release release;
        auto work = [&](std::size_t k) {
            const std::size_t index = indices[k];
            TSummaryRow row;
            row.Index = index;
            row.Name = SweepCaseName(stem, index, sweep.CaseCount());
            row.Plan = plan;
            row.Cases = sweep.CaseCount();
            for (double v : sweep.ValuesOf(index))
                row.Varied.push_back(FullNumber(v));
            // A case runs from what its input file holds, as `veltra sweep` runs it.
            TInputRecord rec = base.Rec;
            sweep.Apply(index, rec);
            try {
                TInputRecord fromFile;
                ReadInputText(InputFileText(rec), row.Name, fromFile);
                row.Outcome = RunRecordCase({fromFile}, (fs::path(row.Name) / (row.Name + ".inp")).string());
            } catch (const std::exception& e) {
                row.Outcome = FailedCaseOutcome(e);
            }
            lines[k] = SummaryLine(row);
        };
        RunInParallel(indices.size(), jobs <= 0 ? AvailableCores() : jobs, work, [](std::size_t) {});
    }
    return {SummaryHeader(variedNames), lines, sweep.Notes()};
}

std::size_t SweepCaseCount(const TRecord& base, const std::vector<std::string>& settings)
{
    return TSweep(base.Rec, base.Name, settings).CaseCount();
}

// ---------------------------------------------------------------- errors

// Each error kind as the Python exception of the veltra package.
// A fit of `params` (name, low, high) of the record to the observations of the CSV
// text `observed` (the layout of `veltra fit --observed`), as `veltra fit` searches.
py::dict FitRecord(const TRecord& base, const std::string& observed,
                   const std::vector<std::tuple<std::string, double, double>>& params, std::size_t maxRuns,
                   std::uint64_t seed, int jobs)
{
    const std::string source = "observed";
    const std::vector<TObservation> observations = ReadObservationText(observed, source, base.Rec);
    std::vector<TFitParameter> fitted;
    for (const auto& [name, low, high] : params)
        fitted.push_back({name, low, high});
    TFitOptions options;
    options.MaxRuns = maxRuns;
    options.Seed = seed;
    options.Jobs = jobs;
    TFitReport report;
    {
        py::gil_scoped_release release;
        report = Fit(base.Rec, base.Name, observations, source, fitted, options);
    }
    TRecord best{report.Best, base.Name};
    py::list parameters, symbols;
    const auto maybe = [](const std::optional<double>& v) {
        return v ? py::object(py::float_(*v)) : py::object(py::none());
    };
    for (const TFitParameterResult& p : report.Parameters)
        parameters.append(py::make_tuple(p.Name, p.Low, p.High, p.Best, maybe(p.StandardError), p.Note));
    for (const TFitSymbolResult& r : report.Symbols)
        symbols.append(py::make_tuple(std::string(RecordSymbolNames[static_cast<std::size_t>(r.Symbol)]), r.N, r.Rmse,
                                      r.Bias, maybe(r.Nse), r.Term));
    py::dict out;
    out["best"] = best;
    out["parameters"] = parameters;
    out["symbols"] = symbols;
    out["objective"] = report.Objective;
    out["runs_csv"] = FitRunsCsv(report);
    out["report"] = FitReportText(report, base.Name, source);
    return out;
}

void TranslateErrors()
{
    // pybind11 takes a translator of exactly this signature (by value).
    py::register_exception_translator([](std::exception_ptr p) { // NOLINT(performance-unnecessary-value-param)
        try {
            if (p)
                std::rethrow_exception(p);
        } catch (const TVeltraError& e) {
            const char* cls = "Error";
            switch (e.Kind) {
            case TErrorKind::Input: cls = "InputError"; break;
            case TErrorKind::Usage: cls = "UsageError"; break;
            case TErrorKind::File: cls = "FileError"; break;
            case TErrorKind::Stopped: cls = "StoppedRun"; break;
            case TErrorKind::Internal: break;
            }
            const py::object type = py::module_::import("veltra").attr(cls);
            const py::object error = type(e.what());
            PyErr_SetObject(type.ptr(), error.ptr());
        }
    });
}

} // namespace

} // namespace veltra::python

PYBIND11_MODULE(_veltra, m)
{
    using namespace veltra;
    using namespace veltra::python;
    m.doc() = "The Veltra model's runs, for the Python package veltra.";
    TranslateErrors();

    py::class_<TRecord>(m, "Record")
        .def(py::init<>())
        .def("copy", [](const TRecord& r) { return r; })
        .def_readwrite("name", &TRecord::Name)
        .def_property(
            "Title1", [](const TRecord& r) { return r.Rec.Title1; },
            [](TRecord& r, const std::string& t) { r.Rec.Title1 = t; })
        .def_property(
            "Title2", [](const TRecord& r) { return r.Rec.Title2; },
            [](TRecord& r, const std::string& t) { r.Rec.Title2 = t; })
        .def("get", &Get)
        .def("set", &Set)
        .def("get_season", &GetSeason)
        .def("set_season", &SetSeason)
        .def("text", [](const TRecord& r) { return py::bytes(InputFileText(r.Rec)); })
        .def("write", [](const TRecord& r, const std::string& path) { WriteInputFile(r.Rec, path); })
        .def("check",
             [](const TRecord& r) {
                 std::vector<std::string> lines = InputErrorLines(r.Rec);
                 for (std::string& l : lines)
                     l.erase(0, l.find_first_not_of(' '));
                 return lines;
             })
        .def("state", &State)
        .def("equals", [](const TRecord& a, const TRecord& b) { return InputFileText(a.Rec) == InputFileText(b.Rec); });

    m.def("fields", &Fields);
    m.def("from_state", &FromState);
    m.def("read_input", &ReadRecord);
    m.def("from_text", [](const std::string& text, const std::string& name) {
        TRecord r;
        ReadInputText(text, name, r.Rec);
        r.Name = name;
        return r;
    });
    m.def("example", &Example);
    m.def("run", &Run);
    m.def("run_from_file", &RunFromFile);
    m.def("series", [](const std::vector<TRecord>& records) {
        if (records.empty())
            throw TVeltraError(TErrorKind::Usage, "a series needs at least one input");
        // One input is a series too, as `veltra series FIRST.inp` (several are refused by the run).
        if (records.size() == 1 && records.front().Rec.Ky != 1)
            throw TVeltraError(TErrorKind::Usage,
                               records.front().Name + ": a series needs Ky = 1 (year-by-year calculation).");
        return RunRecords(records);
    });
    m.def("read_result", &ReadResult);
    m.def("sweep", [](const TRecord& base, const std::vector<std::string>& settings,
                      const std::vector<std::size_t>& indices, int jobs) {
        TSweepLines s = Sweep(base, settings, indices, jobs);
        return py::make_tuple(s.Header, s.Lines, s.Notes);
    });
    m.def("sweep_case_count", &SweepCaseCount);
    m.def("result_cell", [](double v) { return std::isnan(v) ? std::string(AbsentCell) : NumberCell(v); });
    m.def("full_number", &FullNumber);
    m.def("cores", &AvailableCores);
    m.def("fit", &FitRecord);
}
