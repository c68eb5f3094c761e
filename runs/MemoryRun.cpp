#include "runs/MemoryRun.h"

#include "engine/TRunProgress.h"
#include "engine/UCalculate.h"
#include "model/InputCheck.h"
#include "runs/Calculate.h"

namespace veltra {

namespace {

std::string Trimmed(const std::string& s)
{
    const std::size_t a = s.find_first_not_of(' ');
    return a == std::string::npos ? std::string() : s.substr(a, s.find_last_not_of(' ') - a + 1);
}

// The first reason the record cannot run, or "": the save-time rules before the
// first year only, the check and the engine's test before every call of the driver.
std::string RefusalOf(const TInputRecord& rec, bool firstYear)
{
    if (const std::vector<std::string> refusals = ValidateBeforeSave(rec); firstYear && !refusals.empty())
        return Trimmed(refusals.front());
    if (const std::vector<std::string> errors = InputErrorLines(rec); !errors.empty())
        return "input error: " + Trimmed(errors.front());
    return EngineRefusal(rec);
}

} // namespace

std::string StopCauseText(TStopCause cause)
{
    switch (cause) {
    case TStopCause::AquiferBottom: return "the water table fell below the bottom of the aquifer";
    case TStopCause::IterationBound: return "the water-table iteration did not converge";
    case TStopCause::OutOfRange: return "a season gave a value out of range";
    case TStopCause::None: break;
    }
    return "the run was stopped";
}

TMemoryRunOutcome RunInMemory(TInputRecord rec, TRunObserver& observer)
{
    TMemoryRunOutcome outcome;
    outcome.Refusal = RefusalOf(rec, true);
    if (!outcome.Refusal.empty())
        return outcome;
    TEngineState st;
    TAnnualCarry carry;
    ClearOneShotFlags(st);
    const std::string name = rec.Shell.FileName.empty() ? std::string("memory.inp") : rec.Shell.FileName;
    StartNewRun(rec, st, carry, name);
    TSilentProgress progress;
    for (int year = 1;; ++year) {
        if (year > 1) {
            // A later year of a year-by-year run is checked again, as a save and run checks it.
            rec.Shell.YearNr = year;
            outcome.Refusal = RefusalOf(rec, false);
            if (!outcome.Refusal.empty()) {
                outcome.Refusal = "year " + std::to_string(year) + ": " + outcome.Refusal;
                return outcome;
            }
        }
        st.WaterTableStop = false;
        RunSimulation(rec, st, carry, progress, observer);
        if (st.WaterTableStop) {
            outcome.Stopped = true;
            outcome.StopCause = st.StopCause;
            return outcome;
        }
        if (rec.Ky != 1 || year >= rec.Ny)
            break;
    }
    return outcome;
}

} // namespace veltra
