#pragma once
// The two bundled example data sets, compiled in so that they can be written
// from any folder. Their texts are what the input file writer makes of them.
#include <string>

#include "model/UDataMod.h"

namespace veltra {

// Editor defaults with drains at 1.5 m and the climatic data filled in.
TInputRecord FieldExampleRecord();
// Four seasons, pumped wells, no drains, rotation key 0.
TInputRecord WellsExampleRecord();

const std::string& FieldExampleText();
const std::string& WellsExampleText();

} // namespace veltra
