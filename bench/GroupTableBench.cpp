// Reading a 99-year, 4-season result file and building an output-group table.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "results/GroupFile.h"
#include "results/OutputGroups.h"
#include "results/PathWithExtension.h"
#include "results/TextLists.h"

namespace {

namespace fs = std::filesystem;

std::string Cell(double v)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2E", v); // d.ddE+xx: widen the exponent to 3 digits
    const std::string s(buf);
    const std::size_t digits = s.find('E') + 2;
    std::string cell(10 - (s.size() + 1), ' ');
    cell.append(s, 0, digits);
    cell += '0';
    cell.append(s, digits, std::string::npos);
    return cell;
}

// A scratch folder removed when the process ends.
struct TScratch {
    fs::path Folder = fs::temp_directory_path() / ("veltra-group-bench-" + std::to_string(::getpid()));
    TScratch() { fs::create_directories(Folder); }
    ~TScratch()
    {
        std::error_code ignored;
        fs::remove_all(Folder, ignored);
    }
};

// A result file in the season-record layout, written once per process.
const std::string& LongResultFile()
{
    static const TScratch scratch;
    static const std::string path = [] {
        const std::string file = (scratch.Folder / "long.res").string();
        static const char* const labels[13][4] = {
            {"  It  = ", "    Is  = ", "    IaA = ", "    IaB = "},
            {"  EfA = ", "    EfB = ", "    FfT = ", "    Io  = "},
            {"  JsA = ", "    JsB = ", "    EaU = ", nullptr},
            {"  LrA = ", "    LrB = ", "    LrU = ", "    LrT = "},
            {"  RrA = ", "    RrB = ", "    RrU = ", "    RrT = "},
            {"  Gd  = ", "    Ga  = ", "    Gb  = ", nullptr},
            {"  Gw  = ", "    Dw  = ", "    Zs  = ", nullptr},
            {"  A   = ", "    B   = ", "    U   = ", nullptr},
            {"  Uc  = ", nullptr, nullptr, nullptr},
            {"  CrA = ", "    CrB = ", "    CrU = ", "    Cr4 = "},
            {"  C0* = ", "    C1* = ", "    C2* = ", "    C3* = "},
            {"  Cxf = ", "    Cxa = ", "    Cxb = ", "    Cqf = "},
            {"  Ci  = ", "    Cd  = ", "    Cw  = ", nullptr},
        };
        std::string t;
        auto line = [&t](const std::string& s) {
            t += s;
            t += "\r\n";
        };
        for (int i = 0; i < 14; ++i)
            line(" header");
        int record = 0;
        for (int year = 0; year <= 99; ++year)
            for (int s = 1; s <= 4; ++s, ++record) {
                char buf[96];
                line("");
                std::snprintf(buf, sizeof buf, "  YEAR: %4d   Name of input (data) file used:long.INP", year);
                line(buf);
                line("  **********");
                std::snprintf(buf, sizeof buf, "  Season:%3d   Duration:%5.1f  months.", s, year ? 3.0 : 0.0);
                line(buf);
                line("");
                for (int l = 0; l < 13; ++l) {
                    std::string text;
                    for (int item = 0; item < 4 && labels[l][item]; ++item) {
                        text += labels[l][item];
                        text += Cell(0.01 * (record % 97) + 0.1 * item + l);
                    }
                    if (l == 8)
                        text += "    Kr   =   4";
                    line(text);
                }
                line(" #");
                line("Cumulative frequency distribution of CrA");
                line("  20%    1.00E+000  40%    2.00E+000  60%    3.00E+000  80%    4.00E+000");
                for (int i = 0; i < 7; ++i)
                    line("");
            }
        std::ofstream(file, std::ios::binary) << t;
        return file;
    }();
    return path;
}

void BM_ReadResultAndBuildTable(benchmark::State& state)
{
    const int option = static_cast<int>(state.range(0));
    veltra::TDataMod dm;
    for (auto _ : state) {
        dm.Rec.Shell.FileName = LongResultFile();
        veltra::RunGroupOption(dm, option);
        benchmark::DoNotOptimize(dm.ResultLines.data());
    }
    if (dm.Groups.RecordCount != 400)
        state.SkipWithError("the table does not have 400 rows");
}
BENCHMARK(BM_ReadResultAndBuildTable)->Arg(1)->Arg(8)->Arg(12)->Unit(benchmark::kMillisecond);

void BM_ReadGroupFileBack(benchmark::State& state)
{
    veltra::TDataMod dm;
    dm.Rec.Shell.FileName = LongResultFile();
    veltra::RunGroupOption(dm, 1);
    const std::string prn = veltra::PathWithExtension(LongResultFile(), ".prn");
    veltra::SaveGroupFile(dm, prn);
    for (auto _ : state) {
        std::vector<std::string> lines;
        veltra::ReadTextLines(prn, lines, "a group file");
        veltra::ReadGroupLines(dm, prn, lines);
        benchmark::DoNotOptimize(dm.Groups.GroupSeries[1].data());
    }
}
BENCHMARK(BM_ReadGroupFileBack)->Unit(benchmark::kMillisecond);

} // namespace
