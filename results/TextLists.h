#pragma once
// Whole text files as lists of lines: the result, frequency or group file the
// Output page shows.
#include <string>
#include <vector>

#include "model/UDataMod.h"

namespace veltra {

// The lines of a text (CR LF or LF ends, the ends removed).
std::vector<std::string> SplitLines(const std::string& text);

// Lines as one text, "\n" between them (a message of several lines).
std::string JoinLines(const std::vector<std::string>& lines);

// Reads every line of a text file of at most ResultFileLimit bytes (model/SafeFile.h).
// Throws TGroupReadError (GroupFileMessage) when the file cannot be opened or
// read, TFolderError for a folder, and TVeltraError (File) for a file too large
// for `kind` ("a result file"); `lines` is then untouched.
void ReadTextLines(const std::string& path, std::vector<std::string>& lines,
                   const std::string& kind = "a result or group file");

// Fills ResultLines and Rec.Shell.LineCount with the file's lines. False, with nothing
// changed, when the file cannot be opened (the caller shows GroupFileMessage);
// a folder or a file too large throws as ReadTextLines.
bool LoadResultLines(TDataMod& dm, const std::string& path);

} // namespace veltra
