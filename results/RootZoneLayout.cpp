#include "results/RootZoneLayout.h"

#include <array>

namespace veltra {

namespace {

using S = TRootZoneSymbol;
using V = TRootZoneVar;
using R = TRecordRule;
using F = TFrequencyRule;

constexpr R Always{R::Always, NoFraction};
constexpr F Salty{F::Salty, NoFraction};

struct TKeyLayout {
    int Kr;
    int Count;
    std::array<TRootZoneEntry, 4> Entries;
};

// A frequency slot never titles a value the record shows as absent, so under Kr = 0
// and 10 it asks for the permanent fraction as the record does, and for a salinity
// above 0.001 as every slot but Cr4's. The two differ on purpose for C0*: under
// Kr = 0 only the record shows it; under Kr = 10 the frequency output shows it by
// the permanent U land, the record by the land outside all permanent land.
constexpr TKeyLayout Layouts[] = {
    {0,
     4,
     {{{S::CrA, V::CrA, {R::Present, FracA}, {F::Salty, FracA}},
       {S::CrB, V::CrB, {R::Present, FracB}, {F::Salty, FracB}},
       {S::CrU, V::CrU, {R::Present, FracU}, {F::Salty, FracU}},
       {S::C0, V::C0, {R::AtMostWhole, FracA | FracB | FracU}, {F::Never, NoFraction}}}}},
    {10,
     4,
     {{{S::CrA, V::CrA, {R::Present, FracA}, {F::Salty, FracA}},
       {S::CrB, V::CrB, {R::Present, FracB}, {F::Salty, FracB}},
       {S::CrU, V::CrU, {R::Present, FracU}, {F::Salty, FracU}},
       {S::C0, V::C0, {R::AtMostWhole, FracA | FracB | FracU}, {F::Salty, FracU}}}}},
    {1, 2, {{{S::C1, V::CrA, {R::BelowWhole, FracU}, Salty}, {S::CrU, V::CrU, Always, Salty}}}},
    {2, 2, {{{S::CrA, V::CrA, Always, Salty}, {S::C2, V::CrB, {R::BelowWhole, FracA}, Salty}}}},
    {3, 2, {{{S::C3, V::CrA, {R::BelowWhole, FracB}, Salty}, {S::CrB, V::CrB, Always, Salty}}}},
    {4, 1, {{{S::Cr4, V::CrA, Always, {F::Always, NoFraction}}}}},
    {5,
     3,
     {{{S::CrA, V::CrA, Always, Salty},
       {S::CrB, V::CrB, Always, Salty},
       {S::C1, V::C0, {R::BelowWhole, FracA | FracB}, Salty}}}},
    {6,
     3,
     {{{S::CrA, V::CrA, Always, Salty},
       {S::CrU, V::CrU, Always, Salty},
       {S::C2, V::C0, {R::BelowWhole, FracA | FracU}, Salty}}}},
    {7,
     3,
     {{{S::CrB, V::CrB, Always, Salty},
       {S::CrU, V::CrU, Always, Salty},
       {S::C3, V::C0, {R::BelowWhole, FracB | FracU}, Salty}}}},
};

constexpr double Present = 0.001; // a fraction or a salinity counts when above it
constexpr double Whole = 0.999;   // ... and a fraction covers the area when above this

double SumOf(const TEngineState& st, std::uint8_t fractions)
{
    double sum = 0;
    if (fractions & FracA)
        sum = sum + st.Ac;
    if (fractions & FracB)
        sum = sum + st.Bc;
    if (fractions & FracU)
        sum = sum + st.Uc;
    return sum;
}

bool EachPresent(const TEngineState& st, std::uint8_t fractions)
{
    return (!(fractions & FracA) || st.Ac > Present) && (!(fractions & FracB) || st.Bc > Present) &&
           (!(fractions & FracU) || st.Uc > Present);
}

} // namespace

std::span<const TRootZoneEntry> RootZoneLayout(int kr)
{
    for (const TKeyLayout& layout : Layouts)
        if (layout.Kr == kr)
            return {layout.Entries.data(), static_cast<std::size_t>(layout.Count)};
    return {};
}

const TRootZoneEntry* FindRootZoneEntry(int kr, TRootZoneSymbol symbol)
{
    for (const TRootZoneEntry& entry : RootZoneLayout(kr))
        if (entry.Symbol == symbol)
            return &entry;
    return nullptr;
}

const char* SymbolText(TRootZoneSymbol symbol)
{
    static constexpr const char* Texts[] = {"CrA", "CrB", "CrU", "Cr4", "C0*", "C1*", "C2*", "C3*"};
    return Texts[static_cast<std::size_t>(symbol)];
}

double RootZoneValue(const TEngineState& st, TRootZoneVar var)
{
    switch (var) {
    case TRootZoneVar::CrA: return st.CrA;
    case TRootZoneVar::CrB: return st.CrB;
    case TRootZoneVar::CrU: return st.CrU;
    case TRootZoneVar::C0: return st.C0;
    }
    return 0;
}

bool ShownInRecord(const TRootZoneEntry& entry, const TEngineState& st)
{
    switch (entry.Record.Test) {
    case R::Always: return true;
    case R::Present: return SumOf(st, entry.Record.Fractions) > Present;
    case R::AtMostWhole: return SumOf(st, entry.Record.Fractions) <= Whole;
    case R::BelowWhole: return SumOf(st, entry.Record.Fractions) < Whole;
    }
    return false;
}

bool ShownInFrequency(const TRootZoneEntry& entry, const TEngineState& st)
{
    switch (entry.Frequency.Test) {
    case F::Never: return false;
    case F::Always: return true;
    case F::Salty: return RootZoneValue(st, entry.Var) > Present && EachPresent(st, entry.Frequency.Fractions);
    }
    return false;
}

} // namespace veltra
