#pragma once
// The runs of " Save / run ": one check and run (all years, or the next year of a
// year-by-year series), and the year-by-year dialogue after each year of a series,
// in which the user continues, stops, or changes the input before the next year;
// years without changes run at once.
#include <string>

#include "shell/TWindowCore.h"

namespace veltra {

class TYearDialogue {
public:
    explicit TYearDialogue(TWindowCore& w) : w_(w) {}

    // One check and run, its outcome noted for the Output page; false when the
    // input had errors (the Output page lists them).
    bool CalculateStep();
    // After a year of a series: the dialogue, and the years the user runs at once
    // without input changes, until the user changes the input or the series ends.
    void ConductSeries();
    // The series ends here ("Close output", a stop at the aquifer bottom): the next
    // save starts a new run.
    void EndSeriesNow();

private:
    enum class TYearStep { RunNextAtOnce, WaitForInput, SeriesOver };
    TYearStep YearDialogue();
    // The user stops the series before its last year.
    void DiscontinueSeries(const std::string& resultName);
    // Every call of the driver writes warning.lst anew: each year's warnings kept.
    void TakeSeriesWarnings();
    // The series is over: its warnings are the run's, and warning.lst goes.
    void FinishSeriesWarnings();
    // The folder of Error.lst and warning.lst: the start folder, unless it cannot be
    // written.
    std::string ListFolder();

    TWindowCore& w_;
};

} // namespace veltra
