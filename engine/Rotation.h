#pragma once
// The rotation key and the permanent area fractions, the initial root-zone
// salinities, the farmers' responses and the year-end updates of the rotation.
#include "engine/TRunContext.h"

namespace veltra {

void DetermineRotationKey(TRunContext& ctx);
// `carried`: the annual carry record when this call restored it; its root-zone
// salinities then take the place of the initial values CA0, CB0, CU0.
void InitRootZoneSalinity(TRunContext& ctx, const TAnnualCarry* carried);
void FarmersResponses(TRunContext& ctx, int s);
// Driver step at the last season of a year with farmers' responses on.
void YearEndRotationUpdate(TRunContext& ctx);
// Year-end conversion of the root-zone salinities in the year-by-year procedure.
void YearEndConversion(TRunContext& ctx);

} // namespace veltra
