#pragma once
// The arithmetic that closes a season before its record is handed out: the year
// count of a series, the year-0 irrigation total, the netting of percolation
// against capillary rise and the clipping of tiny values. Later seasons start from
// the changed values.
#include "model/TEngineState.h"
#include "model/UDataMod.h"
#include "results/TRunObserver.h"

namespace veltra {

// For season st.SeasonNr at step st.StepNr (0: the initial block). Returns what
// the observers need besides the record and the state.
TSeasonDone FinishSeason(const TInputRecord& rec, TEngineState& st);

// Whether every number the season record would print is finite.
bool SeasonValuesFinite(const TEngineState& st, const TSeasonDone& done);

} // namespace veltra
