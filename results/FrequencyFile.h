#pragma once
// Frequency distribution of the root-zone salinity: the 8-line section after each
// season record of the result file and the season tables of the frequency file.
#include <array>
#include <ostream>

#include "engine/TEngineState.h"
#include "model/UDataMod.h"

namespace veltra {

// Salinity below which the fraction p of the area lies, for an area average v:
// v·(a − b·ln(−ln p)), with a and b chosen by the total area in ha.
double FrequencyPoint(double area, double v, double p);

// The four points at 20, 40, 60 and 80 % of the area.
std::array<double, 4> FrequencyPoints(double area, double v);

// Writes the frequency section (always 8 lines) to `res` and the season's table to
// `frq`, for season `season` of year `year`, from the state the season record left.
void WriteFrequencyRecord(const TInputRecord& rec, const TEngineState& st, std::ostream& res,
                          std::ostream& frq, int year, int season);

} // namespace veltra
