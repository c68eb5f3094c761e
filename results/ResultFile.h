#pragma once
// The result file (.res): header and one fixed-grid record per season, read back by
// position (output groups), so every line of a record is always written.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/TEngineState.h"
#include "model/UDataMod.h"
#include "results/PathWithExtension.h"
#include "results/TRunFileText.h"
#include "results/TRunObserver.h"

namespace veltra {

// The root-zone salinities of lines 10 and 11 of a season record (CrA, CrB, CrU,
// Cr4 and C0* ... C3*), each present when the record prints it: which variable a
// symbol shows depends on the rotation key in force and the permanent fractions.
struct TRootZoneCells {
    std::optional<double> CrA, CrB, CrU, Cr4, C0, C1, C2, C3;
};
TRootZoneCells RootZoneCells(const TEngineState& st);

// The value cells of a season record under their symbols, in the record's order
// (EfT is labelled FfT while A land is present; Kr is the whole number of line 9).
enum class TRecordSymbol : std::uint8_t {
    It,
    Is,
    IaA,
    IaB,
    EfA,
    EfB,
    EfT,
    Io,
    JsA,
    JsB,
    EaU,
    LrA,
    LrB,
    LrU,
    LrT,
    RrA,
    RrB,
    RrU,
    RrT,
    Gd,
    Ga,
    Gb,
    Gw,
    Dw,
    Zs,
    A,
    B,
    U,
    Uc,
    Kr,
    CrA,
    CrB,
    CrU,
    Cr4,
    C0,
    C1,
    C2,
    C3,
    Cxf,
    Cxa,
    Cxb,
    Cqf,
    Ci,
    Cd,
    Cw
};
inline constexpr std::size_t RecordSymbolCount = 45;
inline constexpr std::array<std::string_view, RecordSymbolCount> RecordSymbolNames = {
    "It",  "Is",  "IaA", "IaB", "EfA", "EfB", "EfT", "Io",  "JsA", "JsB", "EaU", "LrA", "LrB", "LrU", "LrT",
    "RrA", "RrB", "RrU", "RrT", "Gd",  "Ga",  "Gb",  "Gw",  "Dw",  "Zs",  "A",   "B",   "U",   "Uc",  "Kr",
    "CrA", "CrB", "CrU", "Cr4", "C0*", "C1*", "C2*", "C3*", "Cxf", "Cxa", "Cxb", "Cqf", "Ci",  "Cd",  "Cw"};
// How many cells each of the record's 13 value lines holds, in the symbols' order.
inline constexpr std::array<std::size_t, 13> SeasonLineCells = {4, 4, 3, 4, 4, 3, 3, 3, 2, 4, 4, 4, 3};
// The symbol of that name, or none.
std::optional<TRecordSymbol> RecordSymbolNamed(std::string_view name);

// A cell's value as the engine holds it (no rounding), and whether the record shows
// it or prints "-".
struct TRecordCell {
    double Value = 0;
    bool Shown = false;
    bool operator==(const TRecordCell&) const = default;
};
using TSeasonCells = std::array<TRecordCell, RecordSymbolCount>;
inline const TRecordCell& CellOf(const TSeasonCells& cells, TRecordSymbol symbol)
{
    return cells[static_cast<std::size_t>(symbol)];
}

// The cells of the record of one finished season, as AppendSeasonRecord prints them.
TSeasonCells SeasonRecordCells(const TInputRecord& rec, const TEngineState& st, const TSeasonDone& done);

// The header of a result file named after `basePath`.
void AppendResultHeader(std::string& out, const TInputRecord& rec, const std::string& basePath);

// The record of one season as the state holds it when the season is done, with its
// frequency section; `basePath` names the input file in the record head.
void AppendSeasonRecord(std::string& out, const TInputRecord& rec, const TEngineState& st, const TSeasonDone& done,
                        const std::string& basePath);

// The result file of a run as it grows: the header (unless a series goes on) and
// every season record. Where it goes and whether it extends the file of the
// earlier years of a series come from the run's start; TRunFiles writes it.
class TResultText final : public TRunFileText {
public:
    void RunStarted(const TRunStart& start, const TInputRecord& rec, const TEngineState& st) override;
    void SeasonDone(const TSeasonDone& done, const TInputRecord& rec, const TEngineState& st) override;
};

} // namespace veltra
