#include "runs/Calculate.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "engine/UCalculate.h"
#include "model/InputCheck.h"
#include "results/TRunFiles.h"
#include "results/TextLists.h"

namespace veltra {

namespace fs = std::filesystem;

namespace {

std::string Trim(const std::string& s)
{
    const std::size_t a = s.find_first_not_of(' ');
    if (a == std::string::npos)
        return {};
    return s.substr(a, s.find_last_not_of(' ') - a + 1);
}

} // namespace

void StartNewRun(TInputRecord& rec, TEngineState& st, TAnnualCarry& carry, const std::string& path)
{
    rec.Shell.FileName = path;
    rec.Shell.AnnualStartFile = path;
    rec.Shell.RunStage = 1;
    rec.Shell.YearNr = 1;
    rec.Shell.AnnualMode = rec.Ky;
    if (rec.Shell.AnnualMode == 1)
        rec.Shell.AnnualFileName = path;
    rec.Shell.SeriesEnded = 0;
    st.RunFirstFileName = path;
    st.YearsDone = 0;
    carry.YearsDone = 0;
}

namespace {

// A protected file among those this call may write or remove refuses it before
// anything is touched: the lists, and the result, frequency and marker files of
// the input and of the series it continues.
void RefuseProtectedOutputs(const TInputRecord& rec, const TEngineState& st, const std::string& errorList,
                            const std::string& warningList)
{
    RefuseReadOnly(errorList);
    RefuseReadOnly(warningList);
    for (const std::string& base : {rec.Shell.FileName, st.RunFirstFileName})
        for (const char* ext : {".res", ".frq", ".trf"})
            if (!base.empty())
                RefuseReadOnly(PathWithExtension(base, ext));
}

// The input has errors: the error list as asked, and no output that could pass for this run's.
void ClearAfterInputErrors(TDataMod& dm, const std::vector<std::string>& errors, const std::string& workDir,
                           TFileSystem& files, const TCalculateOptions& options, const std::string& errorList,
                           const std::string& warningList)
{
    TInputRecord& rec = dm.Rec;
    dm.ErrorLines = ErrorListLines(errors);
    if (options.KeepErrorListWithErrors)
        WriteErrorList(errors, workDir, files);
    else
        files.Remove(errorList);
    // The outputs of an earlier run of this file would pass for this one's; the
    // files of a series going on stay, so that the user can mend the input.
    const bool seriesGoingOn = rec.Shell.AnnualMode == 1 && rec.Shell.YearNr >= 2 && rec.Shell.SeriesEnded == 0;
    rec.Shell.FileName = PathWithExtension(rec.Shell.FileName, ".res");
    if (!seriesGoingOn)
        files.Remove(rec.Shell.FileName);
    rec.Shell.FileName = PathWithExtension(rec.Shell.FileName, ".frq");
    if (!seriesGoingOn)
        files.Remove(rec.Shell.FileName);
    files.Remove(warningList);
}

// Runs the simulation into the run files and gathers what the caller reports.
void RunChecked(TDataMod& dm, TEngineState& st, TAnnualCarry& carry, const std::string& workDir, TFileSystem& files,
                TRunProgress& progress, const TCalculateOptions& options, const std::string& warningList,
                TCalculateResult& result)
{
    TInputRecord& rec = dm.Rec;
    st.WaterTableStop = false;
    TRunFiles runFiles(workDir, files);
    TWarningText memoryWarnings;
    TRunObservers out;
    if (options.InMemory)
        out.Add(memoryWarnings);
    else
        out.Add(runFiles);
    if (options.Observer)
        out.Add(*options.Observer);
    RunSimulation(rec, st, carry, progress, out);
    result.Ran = true;
    result.WaterTableStop = st.WaterTableStop;
    result.StopCause = st.StopCause;
    const TWarningText& warningText = options.InMemory ? memoryWarnings : runFiles.Warnings();
    if (!options.InMemory) {
        result.ResultPath = runFiles.ResultPath();
        result.LastYear = LastYearSummaryOfText(runFiles.ResultText(), rec.Ns);
    }

    // A list is present when it holds more than its heading.
    std::vector<std::string> warnings = SplitLines(warningText.Text());
    result.RuntimeWarnings = warnings.size() >= 3;
    result.WarningCount = warningText.Count();
    dm.WarningLines.clear();
    if (result.RuntimeWarnings)
        dm.WarningLines = std::move(warnings);
    if (!options.InMemory && !options.KeepWarningList && rec.Ky == 0)
        files.Remove(warningList);
}

} // namespace

TCalculateResult Calculate(TDataMod& dm, TEngineState& st, TAnnualCarry& carry, const std::string& workDir,
                           TRunProgress& progress, const TCalculateOptions& options)
{
    TInputRecord& rec = dm.Rec;
    TFileSystem& files = options.Files ? *options.Files : RealFileSystem();
    TCalculateResult result;
    const std::string errorList = (fs::path(workDir) / "Error.lst").string();
    const std::string warningList = (fs::path(workDir) / "warning.lst").string();
    RefuseProtectedOutputs(rec, st, errorList, warningList);

    // The run decides from its own check, never from an Error.lst that another
    // program in the same folder may have written meanwhile.
    const std::vector<std::string> errors = InputErrorLines(rec);
    result.InputErrors = !errors.empty();
    if (options.InMemory) {
        if (result.InputErrors) {
            dm.ErrorLines = ErrorListLines(errors);
            return result;
        }
    } else if (!result.InputErrors) {
        files.Remove(errorList);
    } else {
        ClearAfterInputErrors(dm, errors, workDir, files, options, errorList, warningList);
        return result;
    }

    result.Refusal = EngineRefusal(rec);
    if (!result.Refusal.empty())
        return result;
    RunChecked(dm, st, carry, workDir, files, progress, options, warningList, result);
    return result;
}

// The messages of a series that stopped.
// Texts are written exactly as users and their files know them, odd spellings included;
// do not correct them.
const char* SeriesStopMessage(TStopCause cause)
{
    switch (cause) {
    case TStopCause::AquiferBottom:
        return "The watertable reached the bottom of the aquifer. The output can be partially seen, but the annual "
               "calculations cannot be continued. Please adjust the input and start the annual procedure again.";
    case TStopCause::IterationBound:
        return "The water table iteration did not converge. The output can be partially seen, but the annual "
               "calculations cannot be continued. Please adjust the input and start the annual procedure again.";
    case TStopCause::OutOfRange:
        return "The calculations gave a value out of range. The output can be partially seen, but the annual "
               "calculations cannot be continued. Please adjust the input and start the annual procedure again.";
    case TStopCause::None: break;
    }
    return "";
}

void EndSeries(TInputRecord& rec, TEngineState& st, TAnnualCarry& carry)
{
    st.YearsDone = 0;
    carry.YearsDone = 0;
    rec.Shell.YearNr = 1;
    rec.Shell.SeriesEnded = 1;
    rec.Shell.AnnualMode = 0;
}

std::string SeriesFileName(const std::string& firstFile, int year)
{
    return PathWithExtension(firstFile, "") + std::to_string(year) + ".inp";
}

namespace {

std::vector<TSeasonSummary> SummaryOfLines(const std::vector<std::string>& lines, int ns)
{
    if (ns < 1)
        return {};
    std::vector<std::size_t> heads;
    for (std::size_t i = 0; i + 15 < lines.size(); ++i)
        if (lines[i].rfind("  YEAR: ", 0) == 0)
            heads.push_back(i);
    std::vector<TSeasonSummary> out;
    std::size_t from = heads.size() > static_cast<std::size_t>(ns) ? heads.size() - ns : 0;
    // A stopped run may end inside a year: only that year's records.
    while (from + 1 < heads.size() &&
           std::atoi(lines[heads[from]].c_str() + 8) != std::atoi(lines[heads.back()].c_str() + 8))
        ++from;
    for (std::size_t h = from; h < heads.size(); ++h) {
        const std::size_t i = heads[h];
        TSeasonSummary s;
        s.Year = std::atoi(lines[i].c_str() + 8);
        s.Season = std::atoi(lines[i + 2].c_str() + 9);
        // Cells by position: an 8-character label, then 10-character labels.
        auto cell = [&](const std::string& line, int n) {
            const std::size_t at = n == 0 ? 8 : 28 + 20 * static_cast<std::size_t>(n - 1);
            return line.size() >= at + 10 ? Trim(line.substr(at, 10)) : std::string();
        };
        auto label = [&](const std::string& line, int n) {
            const std::size_t at = n == 0 ? 0 : 18 + 20 * static_cast<std::size_t>(n - 1);
            std::string l = line.size() >= at + 8 ? line.substr(at, n == 0 ? 8 : 10) : std::string();
            l = Trim(l);
            return l.size() > 2 ? Trim(l.substr(0, l.size() - 1)) : l;
        };
        s.Dw = cell(lines[i + 10], 1);
        for (std::size_t k : {i + 13, i + 14})
            for (int n = 0; n < 4; ++n) {
                const std::string c = cell(lines[k], n);
                if (!c.empty() && c != "-")
                    s.Salinities.emplace_back(label(lines[k], n), c);
            }
        out.push_back(std::move(s));
    }
    return out;
}

} // namespace

std::vector<TSeasonSummary> LastYearSummaryOfText(const std::string& text, int ns)
{
    // Only the last ns records are needed: find where they start from the end.
    std::size_t from = text.size();
    for (int found = 0; found < ns && from != std::string::npos && from > 0; ++found)
        from = text.rfind("\n  YEAR: ", from - 1);
    from = from == std::string::npos ? 0 : from + 1;
    return SummaryOfLines(SplitLines(text.substr(std::min(from, text.size()))), ns);
}

} // namespace veltra
