#pragma once
// Field observations to fit a run to: OBS.csv, a header row
// "year,season,symbol,value" or "year,season,symbol,value,weight", then one
// observation a row. Blank lines and lines starting with "#" are skipped; numbers
// take "." as the decimal separator (the comma separates the fields).
#include <cstddef>
#include <string>
#include <vector>

#include "model/UDataMod.h"
#include "results/ResultFile.h"

namespace veltra {

struct TObservation {
    int Year = 0;   // 1..Ny
    int Season = 0; // 1..Ns
    TRecordSymbol Symbol = TRecordSymbol::Dw;
    double Value = 0;
    double Weight = 1; // above 0
    int Line = 0;      // in the file, from 1; 0 when not read from a file
};

// A larger observation file is not one.
constexpr std::size_t ObservationFileLimit = 16u * 1024 * 1024;

// Reads the observations of `text` (the file `source`) for a run of `rec`. Refuses
// with TVeltraError (File), naming the file, the line and the field: a header other
// than the two above, a row with another number of fields, a year or season that is
// not a whole number or lies outside 1..Ny or 1..Ns, a symbol that is not one of a
// season record's, a value or weight that is not a number, a weight not above 0,
// and a file without observations.
std::vector<TObservation> ReadObservationText(const std::string& text, const std::string& source,
                                              const TInputRecord& rec);
// The same for the file `path`, read whole (TVeltraError File when it cannot be).
std::vector<TObservation> ReadObservationFile(const std::string& path, const TInputRecord& rec);

// "OBS.csv, line 7": where an observation came from, for messages.
std::string ObservationPlace(const std::string& source, const TObservation& obs);

} // namespace veltra
