#pragma once
// Whole files read and written byte for byte, for tests that compare file texts.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace veltra::test {

// The bytes of the file at `path`; empty when it cannot be read.
inline std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void WriteFile(const std::filesystem::path& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

} // namespace veltra::test
