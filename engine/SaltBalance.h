#pragma once
// The seasonal salt balance of the ponded water, the root zone (in the parts the
// rotation key defines), the transition zone and the aquifer.
#include <cmath>

#include "engine/TRunContext.h"

namespace veltra {

// The averaging iteration shared by the reservoirs. A reservoir of start
// concentration c0 and pore volume v receives net(cs, latestEnd) of salt, where cs
// is the concentration of the water leaving it.
struct TSaltIterationRule {
    bool ZeroCheck;    // an end or start value of 0 gives an average of 0
    bool StrictStop;   // stop when cs < average (else cs <= average)
    bool AquiferFloor; // only a negative end value is raised (else also 0)
};
struct TSaltResult {
    double End;
    double Average;
};
constexpr int MaxSaltPasses = 1000;

template <class NetFn>
TSaltResult RootZoneSaltIteration(double c0, double v, TSaltIterationRule rule, NetFn net);

void SaltBalance(TRunContext& ctx, int s);

// ---- implementation of the template ----
template <class NetFn>
TSaltResult RootZoneSaltIteration(double c0, double v, TSaltIterationRule rule, NetFn net)
{
    double cs = c0;
    double cend = c0;
    double avg = c0;
    for (int pass = 0; pass < MaxSaltPasses; ++pass) {
        const double n = net(cs, cend);
        cend = c0 + n / v;
        if (rule.ZeroCheck && (cend == 0 || c0 == 0)) {
            avg = 0;
            break;
        }
        if (n >= 0) {
            avg = (c0 + cend) / 2;
            break;
        }
        if (rule.AquiferFloor ? cend < 0 : cend <= 0)
            cend = 0.1 * c0; // a loss never empties the reservoir
        avg = std::sqrt(c0 * cend);
        cs = cs - 0.01 * c0;
        if (rule.StrictStop ? cs < avg : cs <= avg)
            break;
    }
    return {cend, avg};
}

} // namespace veltra
