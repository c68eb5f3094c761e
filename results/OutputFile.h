#pragma once
// Writing a whole output file in one go from a text built in memory.
#include <string>

namespace veltra {

// Writes `text` as the file `path`: a new file that replaces an existing one, or
// appended to it (`append`). Throws TVeltraError (File) naming the file when it
// cannot be opened or written.
void WriteFileText(const std::string& path, const std::string& text, bool append);

// `path` with the extension of its file-name part replaced by `ext` (".res"), or
// `ext` appended when it has none. Dots in folder names are left alone.
std::string PathWithExtension(const std::string& path, const std::string& ext);

} // namespace veltra
