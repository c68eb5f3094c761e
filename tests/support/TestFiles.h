#pragma once
// Whole files read and written byte for byte, for tests that compare file texts.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace veltra::test {

// A character device at `at`: a node of the test's own where the process may make one
// (as root, who could also replace the machine's devices were a writer wrong), else a
// link to the machine's `machine` (/dev/null is 1,3; /dev/full is 1,7).
inline void MakeDevice(const std::filesystem::path& at, const char* machine, unsigned minor)
{
    if (::mknod(at.c_str(), S_IFCHR | 0666, ::makedev(1, minor)) != 0)
        std::filesystem::create_symlink(machine, at);
}

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

// The CR LF lines of a text, without their line ends (a last line without one counts).
inline std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find("\r\n", at), text.size());
        lines.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

// Lines made a text again, each ended by CR LF.
inline std::string Joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

// The cells of the season records of a result text, by symbol ("-" where absent;
// FfT read as EfT), one map per record; "YEAR" and "Duration" hold the record's year
// and months.
inline std::vector<std::map<std::string, std::string>> RecordCells(const std::string& text)
{
    const auto trim = [](const std::string& s) {
        const std::size_t a = s.find_first_not_of(' ');
        return a == std::string::npos ? std::string() : s.substr(a, s.find_last_not_of(' ') - a + 1);
    };
    std::vector<std::map<std::string, std::string>> records;
    for (std::string line : Lines(text)) {
        if (line.rfind("  YEAR: ", 0) == 0)
            records.push_back({{"YEAR", trim(line.substr(8, 5))}});
        if (records.empty())
            continue;
        if (const std::size_t d = line.find("Duration:"); d != std::string::npos)
            records.back()["Duration"] = trim(line.substr(d + 9, 5));
        if (line.size() < 18 || line.find(" = ") == std::string::npos)
            continue;
        // Whole 18-character items only: the Uc line's short Kr item is left out.
        for (std::size_t at = 0; at + 18 <= line.size();) {
            const std::size_t width = at == 0 ? 8 : 10;
            std::string symbol = trim(line.substr(at, width));
            symbol = trim(symbol.substr(0, symbol.size() - 1)); // without "="
            records.back()[symbol == "FfT" ? "EfT" : symbol] = trim(line.substr(at + width, 10));
            at += width + 10;
        }
    }
    return records;
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

// The input files of the whole-run cases (every .inp of every case folder), sorted.
inline std::vector<std::filesystem::path> ReferenceInputFiles()
{
    std::vector<std::filesystem::path> inputs;
    for (const std::string& folder : FolderNames(VELTRA_REFERENCE_DIR))
        for (const auto& f : std::filesystem::directory_iterator(std::filesystem::path(VELTRA_REFERENCE_DIR) / folder))
            if (f.path().extension() == ".inp")
                inputs.push_back(f.path());
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

} // namespace veltra::test
