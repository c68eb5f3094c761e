#include "results/PathWithExtension.h"

namespace veltra {

std::string PathWithExtension(const std::string& path, const std::string& ext)
{
    const std::size_t sep = path.find_last_of("/\\");
    const std::size_t dot = path.find_last_of('.');
    if (dot != std::string::npos && (sep == std::string::npos || dot > sep))
        return path.substr(0, dot) + ext;
    return path + ext;
}

} // namespace veltra
