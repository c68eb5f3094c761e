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

// A path part may hold anything but white space, a quote or a separator. The bytes are
// Latin-1 text, so 0x1C..0x1F, 0x85 and 0xA0 count as white space as well.
inline bool IsPathPartChar(unsigned char c)
{
    const bool space = c == ' ' || (c >= '\t' && c <= '\r') || (c >= 0x1C && c <= 0x1F) || c == 0x85 || c == 0xA0;
    return !space && c != '"' && c != '/' && c != '\\';
}

inline bool IsAsciiLetter(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Every path of a line replaced by its last part. A path is an optional drive letter
// ("C:", not preceded by a letter) and then two or more parts, each led by "/" or "\":
// "/tmp/run/field.RES" and "C:\data\field.inp" become "field.RES" and "field.inp"; a
// lone "/m" (as in "dS/m") is no path.
inline std::string BareFileNames(const std::string& line)
{
    const auto sep = [&](std::size_t i) { return i < line.size() && (line[i] == '/' || line[i] == '\\'); };
    const auto part = [&](std::size_t i) {
        return i < line.size() && IsPathPartChar(static_cast<unsigned char>(line[i]));
    };
    // The end of the parts that start at `from`, their count and where the last one begins.
    const auto parts = [&](std::size_t from, int& count, std::size_t& last) {
        std::size_t j = from;
        count = 0;
        while (sep(j) && part(j + 1)) {
            last = j + 1;
            for (j += 1; part(j); ++j) {}
            ++count;
        }
        return j;
    };
    std::string out;
    std::size_t i = 0;
    while (i < line.size()) {
        int count = 0;
        std::size_t last = 0;
        std::size_t end = i;
        const bool drive = IsAsciiLetter(static_cast<unsigned char>(line[i])) && i + 1 < line.size() &&
                           line[i + 1] == ':' && (i == 0 || !IsAsciiLetter(static_cast<unsigned char>(line[i - 1])));
        if (drive)
            end = parts(i + 2, count, last);
        else if (sep(i))
            end = parts(i, count, last);
        if (count >= 2) {
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
