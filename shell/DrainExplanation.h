#pragma once
// The window that explains subsurface drainage (TDrainForm): a fixed text in its
// memo, DrainMemo, opened by "Drainage equation" of the Drainage system group.
#include <string>
#include <vector>

namespace veltra {

extern const char* const DrainFormCaption; // "Explanation subsurface drainage"

// The lines of DrainMemo.
const std::vector<std::string>& DrainExplanationLines();

} // namespace veltra
