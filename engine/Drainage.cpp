#include "engine/Drainage.h"

namespace veltra {

void IrrigationWaterSalinity(TRunContext& ctx, int s)
{
    const TInputRecord& rec = ctx.Rec;
    TEngineState& st = ctx.St;
    st.Season.Cd = 0;
    if (rec.Kd == 1 && st.Season.Gd > 0.001)
        st.Season.Cd = (st.Season.Ga * st.Cxa + st.Season.Gb * st.Cxb) * rec.Flx / st.Season.Gd;
    st.Season.Cw = rec.Flq * st.Cqf;
    if (st.Gw[s] < 0.001)
        st.Season.Cw = 0;
    st.Season.Ci = st.Cic;
    const double wells = (st.FAw[s] + st.FBw[s]) * st.Gw[s];
    st.Season.Is = st.Season.It - st.DAu[s] - st.DBu[s] - wells;
    if (st.Season.It > 0.001)
        st.Season.Ci =
            (st.Season.Is * st.Cic + wells * st.Season.Cw + (st.DAu[s] + st.DBu[s]) * st.Season.Cd) / st.Season.It;
}

} // namespace veltra
