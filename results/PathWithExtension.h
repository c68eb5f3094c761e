#pragma once
// Names of the output files.
#include <string>

namespace veltra {

// `path` with the extension of its file-name part replaced by `ext` (".res"), or
// `ext` appended when it has none. Dots in folder names are left alone.
std::string PathWithExtension(const std::string& path, const std::string& ext);

} // namespace veltra
