#include "model/UDataMod.h"

namespace veltra {

void SetFreshInputDefaults(TInputRecord& rec)
{
    rec.Ns = 2;
    rec.Kd = 1;
    rec.Kp = 0;
    rec.Kf = 0;
    rec.Kr = 4;
    rec.Krf = 0;
    rec.Ky = 0;
}

} // namespace veltra
