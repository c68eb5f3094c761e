#pragma once
// The output-group store: the series of one output group read from a result
// file or a group file, with its table texts. Filled by results/, drawn by graphs/.
#include <array>
#include <string>
#include <vector>

namespace veltra {

struct TGroupStore {
    // Slots 1..8 are used; slot 0 stays empty so that indices match the tables.
    std::array<std::vector<double>, 9> GroupSeries; // -1.0 marks an absent value
    int RecordCount = 0;
    int SeriesCount = 0;
    std::string GroupTag;                              // CrA, Cxf, Zs, Gd, Dw, LrA, RrA, It, FfA, EaU, A, Kr
    std::array<bool, 9> SeriesPresent{};               // slots 1..8
    std::string DataFromLine;                          // "Data from: <path>" in double quotes
    std::array<std::string, 4> TableHeads;             // 1..3: heading 1, heading 2, column heads
    std::array<std::vector<std::string>, 9> GridTexts; // grid texts per record, values as GridNumberText makes them
    bool NotGroupFile = false;
    std::vector<std::string> RowTexts; // the table's rows: 14-character start, 10-character cells
    bool TableInResultLines = false;   // ResultLines hold this table (not a loaded file)

    bool operator==(const TGroupStore&) const = default;
};

} // namespace veltra
