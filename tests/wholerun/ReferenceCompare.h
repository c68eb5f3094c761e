#pragma once
// How a file written by a run is compared with its reviewed result: line by line, CR LF
// exactly, after the two edits the reviewed files carry (bare file names instead of full
// paths, no credit lines in a result header).
#include <filesystem>
#include <string>
#include <vector>

#include "support/TestFiles.h"

namespace veltra::wholerun {

using test::ReadFile;

// What a case folder holds besides the reviewed files: its inputs and notes, and the
// list of a run's files (which a later run removes).
inline bool IsInputOrNote(const std::filesystem::path& file)
{
    const std::string ext = file.extension().string(), name = file.filename().string();
    return ext == ".inp" || ext == ".INP" || name.rfind("README", 0) == 0 || name == ".veltra-case";
}

// The inputs of a case folder: NAME.inp, then the year files NAME2.inp, NAME3.inp, ...
inline std::vector<std::string> CaseInputs(const std::filesystem::path& folder)
{
    std::vector<std::string> inputs;
    for (int year = 1;; ++year) {
        const std::string suffix = year > 1 ? std::to_string(year) : "";
        const std::filesystem::path file = folder / (folder.filename().string() + suffix + ".inp");
        if (!std::filesystem::exists(file))
            return inputs;
        inputs.push_back(file.string());
    }
}

// The exit status the case implies: 1 for input errors, 3 for a run that stopped, else 0.
inline int ExpectedExitStatus(const std::filesystem::path& folder)
{
    if (std::filesystem::exists(folder / "Error.lst"))
        return 1;
    return ReadFile(folder / "warning.lst").find(" Calculations are interrupted.") != std::string::npos ? 3 : 0;
}

// Every path of a line replaced by its last part. A path is two or more parts, each led
// by "/", a part holding anything but a blank, a control character, a quote or "/":
// "/tmp/run/field.RES" becomes "field.RES"; a lone "/m" (as in "dS/m") is no path.
inline std::string BareFileNames(const std::string& line)
{
    const auto part = [&](std::size_t i) {
        return i < line.size() && static_cast<unsigned char>(line[i]) > ' ' && line[i] != '"' && line[i] != '/';
    };
    std::string out;
    for (std::size_t i = 0; i < line.size();) {
        std::size_t end = i, last = i;
        int parts = 0;
        for (; end < line.size() && line[end] == '/' && part(end + 1); ++parts)
            for (last = ++end; part(end); ++end) {}
        if (parts >= 2) {
            out.append(line, last, end - last);
            i = end;
        } else {
            out += line[i++];
        }
    }
    return out;
}

struct TLine {
    int Number;       // in the file as written, from 1
    std::string Text; // with its CR, if any
};

// The lines to compare: split at LF (each keeps its CR, the piece after the last LF
// counts too), paths made bare; a result file loses header lines 4 to 9, the program's
// credit lines.
inline std::vector<TLine> ComparableLines(const std::string& bytes, bool resultFile)
{
    std::vector<TLine> lines;
    std::size_t start = 0;
    for (int number = 1;; ++number) {
        const std::size_t lf = bytes.find('\n', start);
        lines.push_back(
            {number, BareFileNames(bytes.substr(start, lf == std::string::npos ? std::string::npos : lf - start))});
        if (lf == std::string::npos)
            break;
        start = lf + 1;
    }
    if (resultFile && lines.size() > 9)
        lines.erase(lines.begin() + 3, lines.begin() + 9);
    return lines;
}

// A line as a message shows it: quoted, its CR visible.
inline std::string Shown(const std::string& text)
{
    std::string s = "\"";
    for (char c : text)
        s += c == '\r' ? std::string("\\r") : std::string(1, c);
    return s + "\"";
}

// Empty when the two texts agree; else the first differing line with its number.
inline std::string FirstDifference(const std::string& expected, const std::string& got, bool resultFile)
{
    const std::vector<TLine> a = ComparableLines(expected, resultFile);
    const std::vector<TLine> b = ComparableLines(got, resultFile);
    for (std::size_t i = 0; i < a.size() || i < b.size(); ++i) {
        if (i < a.size() && i < b.size() && a[i].Text == b[i].Text)
            continue;
        const int number = i < a.size() ? a[i].Number : b[i].Number;
        return "line " + std::to_string(number) + ": expected " +
               (i < a.size() ? Shown(a[i].Text) : "the end of the file") + ", got " +
               (i < b.size() ? Shown(b[i].Text) : "the end of the file");
    }
    return {};
}

} // namespace veltra::wholerun
