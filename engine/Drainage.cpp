#include "engine/Drainage.h"

namespace veltra {

void IrrigationWaterSalinity(TRunContext& ctx, int s)
{
    const TInputRecord& rec = ctx.Rec;
    TEngineState& st = ctx.St;
    st.Cd = 0;
    if (rec.Kd == 1 && st.Gd > 0.001)
        st.Cd = (st.Ga * st.Cxa + st.Gb * st.Cxb) * rec.Flx / st.Gd;
    st.Cw = rec.Flq * st.Cqf;
    if (st.Gw[s] < 0.001)
        st.Cw = 0;
    st.Ci = st.Cic;
    const double wells = (st.FAw[s] + st.FBw[s]) * st.Gw[s];
    st.Is = st.It - st.DAu[s] - st.DBu[s] - wells;
    if (st.It > 0.001)
        st.Ci = (st.Is * st.Cic + wells * st.Cw + (st.DAu[s] + st.DBu[s]) * st.Cd) / st.It;
}

} // namespace veltra
