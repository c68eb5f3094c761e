#pragma once
// Reader and writer of the input file (".inp"): two title lines and numbered
// groups of a label line and a data line. The reader accepts the current layout
// and three older ones; the writer always produces the current layout.
#include <iosfwd>
#include <string>

#include "model/SafeFile.h"
#include "model/TVeltraError.h"
#include "model/UDataMod.h"

namespace veltra {

// A file that cannot be opened or written, or a text that is not what the
// layout expects. what() names the file, and for parse failures the line number
// and the offending text. Either way the file is at fault, not the values it
// holds (those the input check judges): kind File.
class TInputFileError : public TVeltraError {
public:
    TInputFileError(const std::string& message, std::string fileName, bool cannotOpen, int line = 0,
                    std::string text = {})
        : TVeltraError(TErrorKind::File, message), FileName(std::move(fileName)), CannotOpen(cannotOpen), Line(line),
          Text(std::move(text))
    {}
    std::string FileName;
    bool CannotOpen = false; // the file could not be opened (or created)
    int Line = 0;            // 1-based line of the offending text; 0 when not a parse failure
    std::string Text;        // the offending text (empty at the end of the file)
};

// Parse a whole .inp text (any layout) over `rec`. All or nothing: on failure
// `rec` is untouched. Fields the file does not hold keep their values.
// Throws TInputFileError.
void ReadInputText(std::string text, const std::string& sourceName, TInputRecord& rec);
void ReadInputStream(std::istream& in, const std::string& sourceName, TInputRecord& rec);

// Reads the file `path`, exactly as named, over `rec` (fields the file does not
// hold keep their values). A file larger than InputFileLimit, a folder or a file
// that cannot be read: TInputFileError (CannotOpen set) with the message to show.
void ReadNamedInputFile(const std::string& path, TInputRecord& rec);

// `path` when there is a file (or folder) of that name; else a file beside it whose
// name differs only in the case of its extension (Field.inp for Field.INP), the
// lowest name when there are several; else `path`. Names are case-sensitive on
// most systems: one data set should not get a second file under another case.
std::string FileOfAnyExtensionCase(const std::string& path);

// The window's rule: replace the extension of rec.Shell.FileName by ".inp", make it
// absolute, store it back, then read that file. Throws TInputFileError.
void ReadInputFile(TInputRecord& rec);

// The record in the current layout, CR LF line ends.
void WriteInputStream(std::ostream& out, const TInputRecord& rec);
std::string InputFileText(const TInputRecord& rec);

// Writes the file whole through the safe writer (model/SafeFile.h): a failure
// leaves an earlier file as it was. Throws TInputFileError (CannotOpen set) when
// the file cannot be written, or names the folder when `path` is one.
void WriteInputFile(const TInputRecord& rec, const std::string& path, TFileSystem& fs = RealFileSystem());

// The messages the callers show when a file cannot be opened.
std::string ReadFailureMessage(const std::string& path);
std::string WriteFailureMessage(const std::string& path);

} // namespace veltra
