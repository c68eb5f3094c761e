#pragma once
// What `veltra run` and `veltra series` print and share: reading an input file as
// given, the warnings of a year and the summary of the last year.
#include <string>

#include "model/UDataMod.h"
#include "shell/RunCalculate.h"

namespace veltra::cli {

// The absolute path of an input file as given on the command line.
std::string AbsoluteInputPath(const std::string& file);

// Reads `path` over `rec` (fields the file does not hold keep their values).
// False, with the reason on stderr, when the file cannot be opened or read.
bool ReadInputOver(const std::string& path, TInputRecord& rec);

// The runtime warnings of the last call, as warning.lst holds them.
void PrintWarnings(const TDataMod& dm, const std::string& heading);

// Per season of the last year: Dw and the root-zone salinities the records show.
void PrintLastYear(const TCalculateResult& result);

// The message the window shows when a year-by-year series met the aquifer bottom.
extern const char* const AquiferBottomMessage;

} // namespace veltra::cli
