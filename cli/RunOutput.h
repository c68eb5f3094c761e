#pragma once
// What `veltra run` and `veltra series` print and share: reading an input file as
// given, one call of the run, the warnings of a year and the summary of the last year.
#include <string>
#include <vector>

#include "model/TEngineState.h"
#include "engine/TRunProgress.h"
#include "model/UDataMod.h"
#include "shell/RunCalculate.h"

namespace veltra::cli {

// The absolute path of an input file as given on the command line.
std::string AbsoluteInputPath(const std::string& file);

// Reads `path`, exactly as named, over `rec` (fields the file does not hold keep
// their values). Throws TInputFileError when the file cannot be opened or read, is
// a folder or is larger than an input file can be.
void ReadInputOver(const std::string& path, TInputRecord& rec);

// Every file a run of the input `path` may write: its result, frequency and marker
// files, and warning.lst and Error.lst in `workDir`.
std::vector<std::string> RunOutputPaths(const std::string& path, const std::string& workDir);

// Lines as one message text, one per line.
std::string JoinLines(const std::vector<std::string>& lines);

// The runtime warnings of the last call, as warning.lst holds them.
void PrintWarnings(const TDataMod& dm, const std::string& heading);

// Per season of the last year: Dw and the root-zone salinities the records show.
void PrintLastYear(const TCalculateResult& result);

// The message the window shows when a year-by-year series met the aquifer bottom
// (shell's SeriesStopMessage has one for every cause).
extern const char* const AquiferBottomMessage;

} // namespace veltra::cli
