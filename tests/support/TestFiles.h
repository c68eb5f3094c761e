#pragma once
// Whole files read and written byte for byte, for tests that compare file texts.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

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

// Those of the named files in `dir` that exist, in the order given: one check for many files.
inline std::vector<std::string> Present(const std::filesystem::path& dir, const std::vector<std::string>& names)
{
    std::vector<std::string> present;
    for (const std::string& name : names)
        if (std::filesystem::exists(dir / name))
            present.push_back(name);
    return present;
}

} // namespace veltra::test
