#pragma once
// Whole files read and written byte for byte, for tests that compare file texts.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <system_error>
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

// The names of what a folder holds.
inline std::set<std::string> EntryNames(const std::filesystem::path& dir)
{
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        names.insert(e.path().filename().string());
    return names;
}

// The names of the folders in `dir`, sorted; none when it cannot be read (the whole-run cases).
inline std::vector<std::string> FolderNames(const std::filesystem::path& dir)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(dir, ec))
        if (e.is_directory())
            names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace veltra::test
