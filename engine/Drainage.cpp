#include "engine/Drainage.h"

namespace veltra {

void DrainDischarge(TRunContext& ctx, double dw, int s)
{
    TInputRecord& rec = ctx.Rec;
    TEngineState& st = ctx.St;
    if (rec.Kd == 0) {
        rec.QH1 = 0;
        rec.QH2 = 0;
    }
    const double h = rec.Dd - dw; // height of the water table above drain level
    if (h <= 0 || rec.Kd == 0) {
        st.Ga = st.Gb = st.Gd = 0;
        return;
    }
    const double hh = h * h;
    const double keep = 1 - st.Frd[s];
    st.Ga = keep * rec.QH2 * hh * st.Ts[s] * 30; // 30 days per month
    st.Gb = keep * rec.QH1 * h * st.Ts[s] * 30;
    if (dw <= -0.1) // water standing 0.1 m or more above the surface
        st.Ga = st.Ga * 2;
    st.Gd = st.Ga + st.Gb;
}

void LimitDrainageReuse(TRunContext& ctx, int s)
{
    TEngineState& st = ctx.St;
    const double sum = st.DAu[s] + st.DBu[s];
    if (!(sum > st.Gd))
        return;
    if (!st.ReuseWarned[s]) {
        ctx.Warn.ReuseReduced(ctx.Year(), s);
        st.ReuseWarned[s] = true;
    }
    if (sum == 0)
        return;
    st.DAu[s] = st.DAu[s] * st.Gd / sum;
    st.DBu[s] = st.DBu[s] * st.Gd / sum;
}

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
