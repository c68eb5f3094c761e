#include "results/OutputFile.h"

#include <cstdio>
#include <filesystem>

#include "model/TVeltraError.h"

namespace veltra {

void WriteFileText(const std::string& path, const std::string& text, bool append)
{
    // A replaced file is removed first rather than truncated: the file system would
    // otherwise write the truncated file's data out at once when it is closed, which
    // costs more than the whole run.
    std::error_code ec;
    if (!append && std::filesystem::is_regular_file(path, ec))
        std::filesystem::remove(path, ec);
    std::FILE* f = std::fopen(path.c_str(), append ? "ab" : "wb");
    if (!f)
        throw TVeltraError(TErrorKind::File, "The file \"" + path + "\" could not be opened for writing.");
    const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    const bool closed = std::fclose(f) == 0;
    if (!written || !closed)
        throw TVeltraError(TErrorKind::File, "The file \"" + path + "\" could not be written.");
}

std::string PathWithExtension(const std::string& path, const std::string& ext)
{
    const std::size_t sep = path.find_last_of("/\\");
    const std::size_t dot = path.find_last_of('.');
    if (dot != std::string::npos && (sep == std::string::npos || dot > sep))
        return path.substr(0, dot) + ext;
    return path + ext;
}

} // namespace veltra
