#pragma once
// What `veltra run` and `veltra series` print and share: an input file's path as
// given, their steps of the year loop, the warnings of a year and the summary of the
// last year.
#include <string>
#include <vector>

#include "model/UDataMod.h"
#include "runs/Calculate.h"
#include "runs/YearRun.h"

namespace veltra::cli {

// The absolute, normalised path of a file or folder as given on the command line (as
// given, normalised, when the current folder has gone).
std::string AbsolutePath(const std::string& path);

// Every file a run of the input `path` may write: its result, frequency and marker
// files, and warning.lst and Error.lst in `workDir`.
std::vector<std::string> RunOutputPaths(const std::string& path, const std::string& workDir);

// The runtime warnings of the last call, as warning.lst holds them.
void PrintWarnings(const TDataMod& dm, const std::string& heading);

// The command line's steps of the year loop: the files read and written as named,
// the year's warnings printed after each year of a year-by-year run and after the
// whole of an all-years run.
class TPrintedYears final : public TYearSteps {
public:
    // `yearByYear`: the record has Ky = 1. `series`: `veltra series`, whose
    // messages name the year, writing the year files `yearFiles`.
    TPrintedYears(bool yearByYear, bool series, std::vector<std::string> yearFiles = {});
    void ReadOver(const std::string& path, TInputRecord& rec) override;
    void SaveYearFile(const TInputRecord& rec, const std::string& path) override;
    std::string InputErrorsMessage(int year, const TDataMod& dm) override;
    void YearDone(int year, const TDataMod& dm) override;
    // After the loop: the summary of the last year, then a stop as an error.
    void Finish(const TCalculateResult& result) const;

private:
    bool yearByYear_;
    bool series_;
    std::vector<std::string> yearFiles_;
};

// Per season of the last year: Dw and the root-zone salinities the records show.
void PrintLastYear(const TCalculateResult& result);

// The message the window shows when a year-by-year series met the aquifer bottom
// (SeriesStopMessage of runs/Calculate.h has one for every cause).
extern const char* const AquiferBottomMessage;

} // namespace veltra::cli
