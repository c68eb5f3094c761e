#pragma once
// Frequency distribution of the root-zone salinity: the 8-line section after each
// season record of the result file and the season tables of the frequency file.
#include <array>
#include <string>
#include <vector>

#include "model/TEngineState.h"
#include "model/UDataMod.h"
#include "results/TRunFileText.h"
#include "results/TRunObserver.h"

namespace veltra {

// The first line of a frequency file.
extern const char* const FrequencyTitle;

// True when `lines` are those of a frequency file (or of the frequency view saved
// as it is shown): the first line is FrequencyTitle.
bool IsFrequencyText(const std::vector<std::string>& lines);

// Refuses (TGroupReadError, naming the file and the line) frequency-file lines that
// are not whole as a run writes them: the title, then one table a season in run
// order from year 0 season 1 (its year line, season line, column heads and rows of
// four number cells, " #" after the last season of a year, an empty line), none
// cut short, doubled or missing. A last year that ends early (a stopped run) is
// taken as it stands.
void CheckFrequencyLines(const std::string& path, const std::vector<std::string>& lines);

// The salinities below which 20, 40, 60 and 80 % of the area lie, for an area
// average v: v·(a − b·ln(−ln p)), with a and b chosen by the total area in ha.
std::array<double, 4> FrequencyPoints(double area, double v);

// A filled slot of a season's frequency section: the symbol the season record shows
// the salinity under, and its four points.
struct TFrequencyRow {
    const char* Symbol;
    std::array<double, 4> Points;
};
// The filled slots of the season the state holds, in slot order.
std::vector<TFrequencyRow> FrequencyRows(const TInputRecord& rec, const TEngineState& st);

// The frequency section of a season record (always 8 lines), from the state the
// season left.
void AppendFrequencySection(std::string& res, const TInputRecord& rec, const TEngineState& st);

// The season's table of the frequency file; `basePath` names the input file in
// the first table.
void AppendFrequencyTable(std::string& frq, const TInputRecord& rec, const TEngineState& st, int year, int season,
                          const std::string& basePath);

// The frequency file of a run as it grows, as TResultText.
class TFrequencyText final : public TRunFileText {
public:
    void RunStarted(const TRunStart& start, const TInputRecord& rec, const TEngineState& st) override;
    void SeasonDone(const TSeasonDone& done, const TInputRecord& rec, const TEngineState& st) override;
};

} // namespace veltra
