#pragma once
// The chart of one output group over all seasons and years, drawn onto a canvas
// of 762 x 486 pixels.
#include "graphs/TCanvas.h"
#include "model/UDataMod.h"

namespace veltra {

enum class TChartOutcome { Drawn, NoData };

// The refusal text the callers show when DrawChart returns NoData.
extern const char* const NoDataMessage;

// Draws the group store (GroupTag, SeriesCount, GroupSeries, RecordCount,
// SeriesPresent, TableHeads) over the seasons of the record (Ns, Ts), with the
// file name of FileName in the footer. The time axis holds as many years as the
// records do (RecordCount / Ns, year 0 included), so that a result file and its
// group file give the same chart. A season duration of exactly 0 counts as 12 div
// Ns. Neither the store nor the record is changed.
// NoData: nothing to draw; the canvas was not touched.
TChartOutcome DrawChart(const TGroupStore& store, const TInputRecord& rec, TCanvas& canvas);

} // namespace veltra
