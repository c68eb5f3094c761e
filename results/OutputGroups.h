#pragma once
// Output groups: one group of related values read back from a result file,
// season by season over all years, and its table (text lines and grid texts).
#include <array>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "model/TVeltraError.h"
#include "model/UDataMod.h"
#include "results/ResultFile.h"

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

// The widest text of a grid cell.
inline constexpr std::size_t GridTextWidth = 6;
// The number text of the grid: TableNumberText when it fits in GridTextWidth
// characters, else the value rounded to the most significant digits that fit, in
// plain or scientific notation (0.00669 gives 0.0067, 1234567 gives 1.23E6). A value
// that one digit cannot show in that width (-1.5E-101) is shown with one digit and
// its whole exponent ("-2E-101"), a character wider, not cut.
std::string GridNumberText(double v);

// A text centred in a 10-character cell (one blank more on the right).
std::string CentreCell(const std::string& text);
// A cell text with its blanks removed.
std::string WithoutBlanks(const std::string& text);

// Reads group `group` (CrA, Cxf, Gd, LrA, RrA, It, FfA or A) from the result file
// named by Rec.Shell.FileName with extension .res, and sets FileName to that path.
// Fills the series, RecordCount and SeriesCount, and Rec.Ny (the last year), Rec.Ns
// (seasons of a year) and Rec.Ts. The records must follow each other as a run
// writes them: a record cut short, doubled or missing is refused naming the line;
// a last year that ends early is read as it stands (RecordCount counts the records).
// Throws TGroupReadError (TVeltraError Internal for an unknown group); the group
// store and Ny, Ns, Ts are then unchanged.
void ReadResultGroup(TDataMod& dm, const std::string& group);
// The same from the file `path` exactly as named (FileName := path).
void ReadResultGroupFile(TDataMod& dm, const std::string& group, const std::string& path);
// The same from the lines of a result file already read; `path` names it in messages.
void ReadResultGroupLines(TDataMod& dm, const std::string& group, const std::string& path,
                          const std::vector<std::string>& lines);

// One season record of a result file as read back: its year, season and duration,
// its cells under their symbols (as printed, not shown where it prints "-"), and the
// filled slots of its frequency section (symbol, the 20, 40, 60 and 80 % points).
struct TResultRecord {
    int Year = 0;
    int Season = 0;
    double Duration = 0;
    TSeasonCells Values;
    std::vector<std::pair<std::string, std::array<double, 4>>> Frequency;
};
// Every season record of the lines of a result file, in the order of the file, read
// and refused as ReadResultGroupLines reads them; `path` names the file in messages.
std::vector<TResultRecord> ReadResultRecords(const std::string& path, const std::vector<std::string>& lines);

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
// load the frequency file into ResultLines. The result file is Rec.Shell.FileName with
// extension .res (the frequency file: .frq). Throws TGroupReadError when a file
// cannot be read (the store is then unchanged).
void RunGroupOption(TDataMod& dm, int number);
// The same for the result file `resultPath` exactly as named (option 13: the
// frequency file beside it, of the same name with extension .frq).
void RunGroupOptionOn(TDataMod& dm, int number, const std::string& resultPath);
// The steps of options 1..12 after their group was read: the extra steps and the table.
void BuildGroupOption(TDataMod& dm, int number);

// The lines the text view shows: after a table, DataFromLine and the table lines;
// otherwise the lines of the file last loaded.
std::vector<std::string> TableViewLines(const TDataMod& dm);

// "The file "<path>"could not be opened. It may be damaged or in use by another program."
std::string GroupFileMessage(const std::string& path);

} // namespace veltra
