#pragma once
// The two validations of the input record: the full check that lists every
// violated rule in Error.lst, and the save-time test that stops at the first.
#include <string>
#include <vector>

#include "model/UDataMod.h"

namespace veltra {

// The heading line of Error.lst.
extern const char* const ErrorListHeading;

// One line per violated rule, in rule order (without the heading lines).
std::vector<std::string> InputErrorLines(const TInputRecord& rec);

// (Re)write folder/Error.lst: heading, empty line, the rule lines; CR LF.
// Throws TVeltraError (File) when the file cannot be written.
void CheckInput(const TInputRecord& rec, const std::string& folder);

// The message(s) that refuse a save; empty when the record may be saved.
std::vector<std::string> ValidateBeforeSave(const TInputRecord& rec);

} // namespace veltra
