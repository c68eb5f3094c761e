#pragma once
// What every engine step works on during one call of the driver.
#include "engine/TWarningList.h"
#include "model/TEngineState.h"
#include "model/UDataMod.h"

namespace veltra {

struct TRunContext {
    TInputRecord& Rec;
    TEngineState& St;
    TWarningList& Warn;

    // The year number of the current step, as the result file and the warnings print it.
    int Year() const
    {
        const int ns = Rec.Ns;
        return (ns + St.StepNr - 1) / ns + St.YearsDone;
    }
};

} // namespace veltra
