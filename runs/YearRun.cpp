#include "runs/YearRun.h"

#include <algorithm>

#include "engine/TRunProgress.h"
#include "model/InputCheck.h"
#include "model/TVeltraError.h"
#include "results/TextLists.h"

namespace veltra {

namespace {

void Validate(const TInputRecord& rec)
{
    const std::vector<std::string> refusals = ValidateBeforeSave(rec);
    if (!refusals.empty())
        throw TVeltraError(TErrorKind::Input, JoinLines(refusals));
}

} // namespace

TCalculateResult RunYears(TDataMod& dm, TEngineState& st, TAnnualCarry& carry, const TYearRun& run, TYearSteps& steps)
{
    TInputRecord& rec = dm.Rec;
    Validate(rec);
    StartNewRun(rec, st, carry, run.Files.front());
    const bool yearByYear = rec.Ky == 1;
    const int years = rec.Ny;
    TSilentProgress progress;
    TCalculateOptions options;
    options.KeepErrorListWithErrors = true;
    options.KeepWarningList = true;
    options.Observer = run.Observer;
    options.Files = run.FileSystem;
    options.InMemory = run.InMemory;

    TCalculateResult result;
    for (int year = 1;; ++year) {
        if (year > 1) {
            rec.Shell.YearNr = year;
            if (run.Changes) {
                steps.ReadOver(run.Files[std::min<std::size_t>(year, run.Files.size()) - 1], rec);
                const std::string name = SeriesFileName(run.Files.front(), year);
                rec.Shell.FileName = name;
                Validate(rec);
                steps.SaveYearFile(rec, name);
            }
        }
        result = Calculate(dm, st, carry, run.WorkDir, progress, options);
        if (result.InputErrors)
            throw TVeltraError(TErrorKind::Input, steps.InputErrorsMessage(year, dm));
        if (!result.Refusal.empty())
            throw TVeltraError(TErrorKind::Input, result.Refusal);
        steps.YearDone(year, dm);
        if (result.WaterTableStop)
            return result;
        // At least one call, also for an Ny the check refuses.
        if (!yearByYear || year >= years)
            break;
    }
    if (yearByYear)
        EndSeries(rec, st, carry);
    return result;
}

} // namespace veltra
