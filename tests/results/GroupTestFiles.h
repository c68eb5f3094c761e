#pragma once
// Test files for the output-group readers: synthetic result files in the season-record
// layout, the reference cases found on disk, and small file helpers.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "model/NumberText.h"
#include "results/ResultFile.h"
#include "results/TextLists.h"
#include "support/TScratchFolder.h"
#include "support/TestFiles.h"

namespace veltra::testing {

namespace fs = std::filesystem;

using test::ReadFile;
using test::WriteFile;

// Values of a synthetic run: value(record, line, item) for the value lines 1..13
// (items 1..4; NaN writes the absent cell); Kr of line 9 from kr(record).
struct TSyntheticRun {
    int Years = 3;
    int Seasons = 2;
    std::vector<double> Durations{6.0, 6.0, 0.0, 0.0};
    std::function<double(int record, int line, int item)> Value = [](int, int, int) { return 0.0; };
    std::function<int(int record)> Kr = [](int) { return 0; };
};

// The result-file text of the run: the header a run writes, then per record the head, 13 value
// lines, " #", 8 frequency lines and an empty line. CR LF line ends.
inline std::string SyntheticResultText(const TSyntheticRun& run)
{
    static const std::vector<std::vector<const char*>> labels{
        {"  It  = ", "    Is  = ", "    IaA = ", "    IaB = "},
        {"  EfA = ", "    EfB = ", "    FfT = ", "    Io  = "},
        {"  JsA = ", "    JsB = ", "    EaU = "},
        {"  LrA = ", "    LrB = ", "    LrU = ", "    LrT = "},
        {"  RrA = ", "    RrB = ", "    RrU = ", "    RrT = "},
        {"  Gd  = ", "    Ga  = ", "    Gb  = "},
        {"  Gw  = ", "    Dw  = ", "    Zs  = "},
        {"  A   = ", "    B   = ", "    U   = "},
        {"  Uc  = "},
        {"  CrA = ", "    CrB = ", "    CrU = ", "    Cr4 = "},
        {"  C0* = ", "    C1* = ", "    C2* = ", "    C3* = "},
        {"  Cxf = ", "    Cxa = ", "    Cxb = ", "    Cqf = "},
        {"  Ci  = ", "    Cd  = ", "    Cw  = "},
    };
    std::string t;
    AppendResultHeader(t, TInputRecord{}, "synthetic.inp");
    auto line = [&t](const std::string& s) { t += s + "\r\n"; };
    int record = 0;
    for (int year = 0; year <= run.Years; ++year)
        for (int s = 1; s <= run.Seasons; ++s, ++record) {
            char buf[80];
            line("");
            std::snprintf(buf, sizeof buf, "  YEAR: %4d   Name of input (data) file used:synthetic.INP", year);
            line(buf);
            line("  **********");
            std::snprintf(buf, sizeof buf, "  Season:%3d   Duration:%5.1f  months.", s,
                          year == 0 ? 0.0 : run.Durations[static_cast<std::size_t>(s - 1)]);
            line(buf);
            line("");
            for (int l = 1; l <= 13; ++l) {
                std::string text;
                const auto& ls = labels[static_cast<std::size_t>(l - 1)];
                for (std::size_t item = 0; item < ls.size(); ++item) {
                    const double v = run.Value(record, l, static_cast<int>(item) + 1);
                    text += ls[item] + (std::isnan(v) ? std::string(AbsentCell) : NumberCell(v));
                }
                if (l == 9) {
                    std::snprintf(buf, sizeof buf, "    Kr   = %3d", run.Kr(record));
                    text += buf;
                }
                line(text);
            }
            line(" #");
            line("Cumulative frequency distribution of CrA");
            line("  20%    1.00E+000  40%    2.00E+000  60%    3.00E+000  80%    4.00E+000");
            for (int i = 0; i < 6; ++i)
                line("");
            line("");
        }
    return t;
}

// Reference case folders that hold group files, found on disk.
inline std::vector<fs::path> ReferenceGroupCases()
{
    std::vector<fs::path> cases;
    for (const std::string& name : test::FolderNames(VELTRA_REFERENCE_DIR))
        if (fs::exists(fs::path(VELTRA_REFERENCE_DIR) / name / "group_01.prn"))
            cases.push_back(fs::path(VELTRA_REFERENCE_DIR) / name);
    return cases;
}

inline fs::path ResultFileOf(const fs::path& folder)
{
    return folder / (folder.filename().string() + ".res");
}

} // namespace veltra::testing
