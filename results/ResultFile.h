#pragma once
// The result file (.res): header and one fixed-grid record per season, read back by
// position (output groups), so every line of a record is always written.
#include <array>
#include <cstddef>
#include <optional>
#include <string>

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

// The cells of a season record's value lines, line by line and left to right, each
// under its symbol: absent where the record prints "-". Kr is a cell too (printed as
// a whole number), and the total irrigation efficiency is EfT whatever its label.
inline constexpr std::size_t SeasonCellCount = 45;
extern const std::array<const char*, SeasonCellCount> SeasonCellSymbols;
// How many cells each of the 13 value lines holds.
inline constexpr std::array<std::size_t, 13> SeasonLineCells = {4, 4, 3, 4, 4, 3, 3, 3, 2, 4, 4, 4, 3};
struct TSeasonCells {
    std::array<std::optional<double>, SeasonCellCount> Values;
    bool TotalLabelFfT = false; // A land present: the total efficiency is labelled FfT
};
// The cells of the season record `done` from the state the season left: the values
// the record prints, unrounded.
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
