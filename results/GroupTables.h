#pragma once
// The twelve output-group tables: their heading lines, column heads, grid heads
// and which series slots their columns show.
#include <string>
#include <vector>

namespace veltra {

struct TGroupTable {
    const char* Name;     // CrA, Cxf, Zs, Gd, Dw, LrA, RrA, It, FfA, EaU, A, Kr
    const char* Heading1; // without the quotes the table adds
    const char* Heading2;
    const char* ColumnHeads;            // the column-head line as written
    std::vector<const char*> GridHeads; // row 0 of the grid after " Year" and "Season"
    std::vector<int> Slots;             // series slot of each column, in column order
    bool Percent;                       // the graph works in percent (series x100 after the table)
};

// The table of that name, or nullptr.
const TGroupTable* FindGroupTable(const std::string& name);

// The table a group file's first column symbol names ("EfA" names FfA), or nullptr.
const TGroupTable* TableOfFirstSymbol(const std::string& symbol);

// A heading as the text view and the group file show it: quoted, one blank after.
std::string QuotedHeading(const char* text);

// The column symbols of the column-head line after "Year" and "Season".
std::vector<std::string> ColumnSymbols(const TGroupTable& table);

} // namespace veltra
