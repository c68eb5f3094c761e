#pragma once
// The input editor's tests of the values of a data group ("Save group"), with their
// messages, and its rules for the years and the maximum salinities. They are the
// model's own: the window's editor and the Python module's attributes test values
// with these, so that both refuse the same values with the same words.
#include <string_view>
#include <vector>

namespace veltra {

enum class TRule : unsigned char {
    AtLeast0,      // v >= 0
    Above0,        // v > 0
    Between0And1,  // 0 <= v <= 1
    Below1,        // v < 1
    AboveHalf,     // v > 0.5 (season durations)
    PorosityRange, // 0 < v < 0.9
    // Rules over several values:
    SumIs12,     // the stored values of the one symbol add up to 12 (within 1e-6)
    SumAtMost1,  // per season, the stored values of the symbols add up to at most 1 (1e-9)
    BelowHalfOf, // Symbols[0] < Symbols[1] / 2
    DrainDepth,  // with drains, Dr < Dd < Dr + Dx on the record (the save-time rule)
};

struct TValueTest {
    TRule Rule;
    std::vector<const char*> Symbols;
    const char* Message;
};

// True when the rule judges one value at a time.
bool IsSingleValueRule(TRule rule);
// Whether `v` passes a single-value rule (a rule over several values passes).
bool PassesRule(TRule rule, double v);
// The rule as a short formula: "v >= 0", "0 < v < 0.9", ...
const char* RuleText(TRule rule);

// The tests of the data group with this key ("SeasonDurations", ...); none for a
// group without tests or an unknown key.
const std::vector<TValueTest>& EditorValueTests(std::string_view group);
// Every group's tests, in the order of the groups.
const std::vector<std::pair<const char*, std::vector<TValueTest>>>& AllEditorValueTests();

// The editor's rules of the general data: Ny is a whole number below 100, CAmax and
// CBmax are not negative.
// Texts are written exactly as users and their files know them, odd spellings included;
// do not correct them.
inline constexpr const char* TooManyYearsMessage = "The number of years (Ny) for calculations must be less than 100";
inline constexpr const char* NegativeMaxSalinityMessage = "The maximum salinity cannot be negative";

} // namespace veltra
