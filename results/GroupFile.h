#pragma once
// Group files (".prn", for spreadsheet use), the clipboard text of the group grid,
// and the group's series as CSV.
#include <string>
#include <vector>

#include "model/SafeFile.h"
#include "model/TVeltraError.h"
#include "model/UDataMod.h"
#include "results/OutputGroups.h" // TGroupReadError, GroupFileMessage

namespace veltra {

// A group file, text list or CSV that cannot be written (kind File), or a save
// asked for before there is a group to save (kind Usage); nothing was written.
class TGroupWriteError : public TVeltraError {
public:
    explicit TGroupWriteError(const std::string& message, TErrorKind kind = TErrorKind::File)
        : TVeltraError(kind, message)
    {}
};

// The group file of the current table: DataFromLine, the headings, the column-head
// line, the rows, "#", "Season durations" and the durations of Rec.Ts[1..Ns]. CR LF
// line ends. Throws TGroupWriteError (Usage) when there is no table.
std::string GroupFileText(const TDataMod& dm);

// Writes GroupFileText whole or not at all (model/SafeFile.h). Throws
// TGroupWriteError (GroupFileMessage), or the refusal of a folder or a read-only
// file (TFileRefusal) as it is.
void SaveGroupFile(const TDataMod& dm, const std::string& path, TFileSystem& fs = RealFileSystem());

// Writes ResultLines one per line (the frequency view saved as it is shown), the same way.
void SaveTextLines(const TDataMod& dm, const std::string& path, TFileSystem& fs = RealFileSystem());

// Reads the lines of a group file (read whole by ReadTextLines; `path` names it in
// messages) into the group store and Rec.Ny (years plus one, the rows include year
// 0), Rec.Ns and Rec.Ts. A file whose first line is not a "Data from" line only sets
// NotGroupFile. The rows must run year 0 season 1, season 2, ... as the table wrote
// them: a row doubled or missing is refused. Throws TGroupReadError for a bad row or
// cell; the store and the record are then unchanged.
void ReadGroupLines(TDataMod& dm, const std::string& path, const std::vector<std::string>& lines);

// After a group file is opened: a filled slot is present when some value is above 0;
// the water-table level is present in any case.
void SetPresenceAfterGroupOpen(TDataMod& dm);

// The grid as the clipboard receives it: TAB between cells, CR between rows, none
// after the last; row 0 holds the heads.
std::string ClipboardText(const TDataMod& dm);

// The group's series as CSV: "Year,Season,<symbols>", one row per season record,
// the shortest text that reads back to the table's value (fractions, the level for
// Dw), an empty field for an absent value; LF line ends. Written as SaveGroupFile.
void SaveGroupCsv(const TDataMod& dm, const std::string& path, TFileSystem& fs = RealFileSystem());
std::string GroupCsvText(const TDataMod& dm);

} // namespace veltra
