#pragma once
// The layout of the rotation key: which root-zone salinity of the engine state is
// shown under which symbol, and when. The engine keeps four root-zone salinities,
// named after their meaning under Kr = 0; under another key each holds the land of
// the symbol it is shown under. The season record, its frequency section, the
// frequency file, the run summary and the salt balance all read this one table.
#include <cstdint>
#include <span>

#include "model/TEngineState.h"

namespace veltra {

// The four root-zone salinities of the engine state (C0 is C0*).
enum class TRootZoneVar : std::uint8_t { CrA, CrB, CrU, C0 };

// The symbols they are shown under, each named after the land it stands for.
enum class TRootZoneSymbol : std::uint8_t {
    CrA, // the permanent A land (under Kr = 0 the A land of the season)
    CrB, // the permanent B land
    CrU, // the permanent U land
    Cr4, // the whole, fully rotated area
    C0,  // C0*: the land outside all permanent land
    C1,  // C1*: the land outside the permanent U land
    C2,  // C2*: the land outside the permanent A land
    C3   // C3*: the land outside the permanent B land
};

// The permanent fractions a rule looks at; a sum takes them in the order Ac, Bc, Uc.
enum TFractions : std::uint8_t { NoFraction = 0, FracA = 1, FracB = 2, FracU = 4 };

// When the season record shows a symbol's cell; otherwise it is absent.
struct TRecordRule {
    enum TTest : std::uint8_t {
        Always,
        Present,     // the fraction above 0.001
        AtMostWhole, // the sum of the fractions at most 0.999
        BelowWhole   // the sum of the fractions below 0.999
    } Test;
    std::uint8_t Fractions;
};

// When the frequency section fills the symbol's slot and the frequency file writes
// its row.
struct TFrequencyRule {
    enum TTest : std::uint8_t {
        Never,
        Always,
        Salty // the salinity above 0.001, and each fraction named above 0.001
    } Test;
    std::uint8_t Fractions;
};

struct TRootZoneEntry {
    TRootZoneSymbol Symbol;
    TRootZoneVar Var;
    TRecordRule Record;
    TFrequencyRule Frequency;
};

// The entries of key kr in the order of the frequency slots; none for a key without
// a layout (8, 9 and keys out of range show no root-zone salinity).
std::span<const TRootZoneEntry> RootZoneLayout(int kr);

// The entry of key kr shown under `symbol`, or nullptr.
const TRootZoneEntry* FindRootZoneEntry(int kr, TRootZoneSymbol symbol);

// "CrA", ..., "C0*", ...
const char* SymbolText(TRootZoneSymbol symbol);

double RootZoneValue(const TEngineState& st, TRootZoneVar var);
bool ShownInRecord(const TRootZoneEntry& entry, const TEngineState& st);
bool ShownInFrequency(const TRootZoneEntry& entry, const TEngineState& st);

} // namespace veltra
