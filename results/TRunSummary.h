#pragma once
// A run's last year in a few numbers, taken from the run itself: the values of the
// last season and their means over the last year's seasons, for tables of many runs.
// The values are the engine's own (no rounding), shown where the result file shows
// them and absent where it prints "-".
#include <array>
#include <optional>
#include <string_view>
#include <vector>

#include "results/TRunObserver.h"

namespace veltra {

// The quantities of a run summary, in column order: the depth of the water table,
// the root-zone salinities under their printed symbols, the transition-zone and
// aquifer salinities, the subsurface drainage and the total irrigation efficiency.
enum class TSummaryValue { Dw, CrA, CrB, CrU, Cr4, Cxf, Cxa, Cxb, Cqf, Gd, EfT };
inline constexpr std::size_t SummaryValueCount = 11;
inline constexpr std::array<std::string_view, SummaryValueCount> SummaryValueNames = {
    "Dw", "CrA", "CrB", "CrU", "Cr4", "Cxf", "Cxa", "Cxb", "Cqf", "Gd", "EfT"};

using TSummaryValues = std::array<std::optional<double>, SummaryValueCount>;

// The eleven values of one finished season, each present when the season record
// prints it: CrA ... Cr4 by the rotation key in force and the permanent fractions,
// Cxf without drains, Cxa, Cxb and Gd with drains, EfT when A or B land is present.
TSummaryValues SeasonSummaryValues(const TInputRecord& rec, const TEngineState& st, int season);

// Watches a run (or every call of a year-by-year series) and keeps its last year.
class TRunSummary final : public TRunObserver {
public:
    void SeasonDone(const TSeasonDone& done, const TInputRecord& rec, const TEngineState& st) override;
    void Warning(const std::vector<std::string>& lines) override;

    // The year of the last season record (0 before the first year was computed).
    int Years() const { return year_; }
    // Warning messages of the run, every call of a series included.
    int Warnings() const { return warnings_; }
    bool HasSeasons() const { return !seasons_.empty(); }
    // The last season of the last year.
    TSummaryValues Last() const;
    // Over the last year's seasons where each value is present, weighted by the
    // seasons' durations; absent where it is present in none.
    TSummaryValues Means() const;

private:
    struct TSeason {
        double Months = 0;
        TSummaryValues Values;
    };
    int year_ = 0;
    int warnings_ = 0;
    std::vector<TSeason> seasons_; // of year_
};

} // namespace veltra
