#include "engine/UCalculate.h"

#include <stdexcept>

namespace veltra {

void RunSimulation(TInputRecord&, TEngineState&, TAnnualCarry&, const std::string&, TRunProgress&)
{
    throw std::runtime_error("the simulation is not built yet");
}

std::string EngineRefusal(const TInputRecord&) { return {}; }

void ClearOneShotFlags(TEngineState& st)
{
    st.RootZoneWarned = st.WellsWarned = st.KrChangeWarned = st.FarmersWarned = false;
    st.WarningHeaderWritten = false;
    st.SurfaceWarned.Clear();
    st.ReuseWarned.Clear();
}

} // namespace veltra
