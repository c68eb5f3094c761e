#pragma once
// Output groups: one group of related values read back from a result file,
// season by season over all years, and its table (text lines and grid texts).
#include <string>
#include <vector>

#include "model/TVeltraError.h"
#include "model/UDataMod.h"

namespace veltra {

// A result file, group file or text list that cannot be read, or is damaged; the
// message names the file (and the line where the reading stopped).
class TGroupReadError : public TVeltraError {
public:
    explicit TGroupReadError(const std::string& message) : TVeltraError(TErrorKind::File, message) {}
};

// A text that should be a number and is not (a cell, a typed value).
class TNumberTextError : public TVeltraError {
public:
    explicit TNumberTextError(const std::string& message) : TVeltraError(TErrorKind::Input, message) {}
};

// The value of a cell text written with "." or ","; throws TNumberTextError
// when it converts with neither.
double CellToReal(const std::string& text);

// The tables' number text: at most 15 significant digits, trailing zeros dropped,
// plain for 0.0001 <= |v| < 1E15 and for 0, otherwise scientific ("1.23E-5").
std::string TableNumberText(double v);

// A text centred in a 10-character cell (one blank more on the right).
std::string CentreCell(const std::string& text);
// A cell text with its blanks removed.
std::string WithoutBlanks(const std::string& text);

// Reads group `group` (CrA, Cxf, Gd, LrA, RrA, It, FfA or A) from the result file
// named by Rec.FileName with extension .res, and sets FileName to that path.
// Fills the series, RecordCount and SeriesCount, and Rec.Ny, Rec.Ns and Rec.Ts.
// Throws TGroupReadError (TVeltraError Internal for an unknown group); the group
// store and Ny, Ns, Ts are then unchanged.
void ReadResultGroup(TDataMod& dm, const std::string& group);

// Builds table `table` (one of the twelve) from the series: presence flags, headings,
// row texts, grid texts and ResultLines. Throws TVeltraError (Internal) for another name.
void BuildGroupTable(TDataMod& dm, const std::string& table);

// The thirteen choices of the Output page.
struct TGroupOption {
    int Number;
    const char* Caption;
    const char* GroupTag; // "" for the frequency view
    const char* Reads;
    const char* Table;
};
const TGroupOption& GroupOption(int number); // 1..13, else TVeltraError (Usage)

// "Go" on the Output page. Options 1..12: read the group, build its table, with the
// option's extra steps (Dw negated to the level; percent for 9 and 11). Option 13:
// load the frequency file into ResultLines. Throws TGroupReadError when a file
// cannot be read (the store is then unchanged).
void RunGroupOption(TDataMod& dm, int number);

// The lines the text view shows: after a table, DataFromLine and the table lines;
// otherwise the lines of the file last loaded.
std::vector<std::string> TableViewLines(const TDataMod& dm);

// File name helpers shared by the result readers.
std::string ChangeFileExt(const std::string& path, const std::string& ext);
// "The file "<path>"could not be opened. It may be damaged or in use by another program."
std::string GroupFileMessage(const std::string& path);

} // namespace veltra
