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
// SeriesPresent, TableHeads) over the run's shape in the record (Ns, Ny, Ts),
// with the file name of FileName in the footer. A season duration of exactly 0
// in the record becomes 12 div Ns there. The series are left as they were.
// NoData: nothing to draw; the canvas was not touched.
TChartOutcome DrawChart(TGroupStore& store, TInputRecord& rec, TCanvas& canvas);

} // namespace veltra
