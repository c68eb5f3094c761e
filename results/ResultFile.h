#pragma once
// The result file (.res): header and one fixed-grid record per season, read back by
// position (output groups), so every line of a record is always written.
#include <fstream>
#include <ostream>
#include <string>

#include "engine/TEngineState.h"
#include "model/UDataMod.h"
#include "results/FrequencyFile.h"
#include "results/NumberCell.h"

namespace veltra {

// The three files of one driver call; the driver closes them at its end.
struct TResultFiles {
    std::ofstream Res, Frq, Warn;
    std::string ResPath, FrqPath, WarnPath;
};

// `path` with the extension of its file-name part replaced by `ext` (".res"), or
// `ext` appended when it has none. Dots in folder names are left alone.
std::string PathWithExtension(const std::string& path, const std::string& ext);

// Creates warning.lst in `workDir` anew (its heading unless st.WarningHeaderWritten,
// which it then sets); points rec.FileName at the result file (named after
// st.RunFirstFileName when Ky = 1) and opens it, then the frequency file, whose path
// rec.FileName keeps. Both are appended to when a year-by-year series continues
// (Ky = 1 and YearsDone > 0), otherwise created; the header is written when
// YearsDone = 0. Throws std::runtime_error naming the file that cannot be opened.
void OpenResultFiles(TInputRecord& rec, TEngineState& st, TResultFiles& files, const std::string& workDir);

// Writes the record of season st.SeasonNr at step st.StepNr (0: the year-0 block)
// with its frequency section, and the season's table of the frequency file. Nets
// percolation against capillary rise and clips tiny values in `st` (later seasons
// see the changed values) and advances YearsDone at the last season of a year when
// Ky = 1 (never in the year-0 block). The year-end carry is the driver's.
void WriteSeasonRecord(TInputRecord& rec, TEngineState& st, std::ostream& res, std::ostream& frq);

} // namespace veltra
