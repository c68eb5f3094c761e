#pragma once
// Reader and writer of the input file (".inp"): two title lines and numbered
// groups of a label line and a data line. The reader accepts the current layout
// and three older ones; the writer always produces the current layout.
#include <iosfwd>
#include <string>

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
    {
    }
    std::string FileName;
    bool CannotOpen = false; // the file could not be opened (or created)
    int Line = 0;            // 1-based line of the offending text; 0 when not a parse failure
    std::string Text;        // the offending text (empty at the end of the file)
};

// Parse a whole .inp text (any layout) over `rec`. All or nothing: on failure
// `rec` is untouched. Fields the file does not hold keep their values.
// Throws TInputFileError.
void ReadInputStream(std::istream& in, const std::string& sourceName, TInputRecord& rec);

// Replace the extension of rec.FileName by ".inp", make it absolute, store it
// back, then open and read that file. Throws TInputFileError.
void ReadInputFile(TInputRecord& rec);

// The record in the current layout, CR LF line ends.
void WriteInputStream(std::ostream& out, const TInputRecord& rec);
std::string InputFileText(const TInputRecord& rec);

// Write through a temporary file that replaces `path` only when complete.
// Throws TInputFileError (CannotOpen set) when the file cannot be written.
void WriteInputFile(const TInputRecord& rec, const std::string& path);

// The messages the callers show when a file cannot be opened.
std::string ReadFailureMessage(const std::string& path);
std::string WriteFailureMessage(const std::string& path);

} // namespace veltra
