#pragma once
// The two validations of the input record: the full check that lists every
// violated rule in Error.lst, and the save-time test that stops at the first.
#include <span>
#include <string>
#include <vector>

#include "model/SafeFile.h"
#include "model/UDataMod.h"

namespace veltra {

// The heading line of Error.lst.
extern const char* const ErrorListHeading;

// One rule of the full check. A record rule is examined once; a season rule in a
// pass over the seasons 1..Ns, which the rules after it that join it share, so that
// their lines interleave season by season.
enum class TRuleScope { Record, Seasons, JoinsSeasons };
struct TInputRule {
    int Number; // its place in Error.lst's order, from 1
    TRuleScope Scope;
    bool (*Broken)(const TInputRecord& rec, int season); // season 0 for a record rule
    const char* Text;                                    // the line, or its part before the season number
    const char* AfterSeason = nullptr;                   // the part after the season number; none: no number
};

// Every rule, in the order Error.lst lists them.
std::span<const TInputRule> InputRules();

// One line per violated rule, in rule order (without the heading lines).
std::vector<std::string> InputErrorLines(const TInputRecord& rec);

// The lines of Error.lst for these rule lines: heading, empty line, the rules.
std::vector<std::string> ErrorListLines(const std::vector<std::string>& errors);

// Writes folder/Error.lst whole (a reader never sees half of it): heading, empty
// line, the rule lines; CR LF. Returns the rule lines, so that the caller decides
// from them and not from a file another program may have replaced. Throws
// TVeltraError (File) when the file cannot be written.
std::vector<std::string> CheckInput(const TInputRecord& rec, const std::string& folder,
                                    TFileSystem& fs = RealFileSystem());
// Writes folder/Error.lst whole for the given rule lines.
void WriteErrorList(const std::vector<std::string>& errors, const std::string& folder,
                    TFileSystem& fs = RealFileSystem());

// The message(s) that refuse a save; empty when the record may be saved.
std::vector<std::string> ValidateBeforeSave(const TInputRecord& rec);

// The save-time rule of the drains, tested also where the drain depth is entered:
// with drains (Kd = 1) they must lie in the transition zone, Dr < Dd < Dr + Dx.
extern const char* const DrainDepthMessage;
bool DrainDepthAccepted(const TInputRecord& rec);

} // namespace veltra
