// `veltra batch` over every input file of tests/reference/shared (the year files of the
// year-by-year cases among them): each case's folder holds exactly the reviewed files
// of a single run, byte for byte as the whole-run test compares them, and summary.csv
// lists every case with the status and exit status of its single run.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "wholerun/ReferenceCompare.h"

namespace veltra::wholerun {
namespace {

namespace fs = std::filesystem;

std::string Lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// The exit status of the single run: 1 for input errors, 3 for a run that stopped, else 0.
int SingleRunStatus(const fs::path& folder)
{
    if (fs::exists(folder / "Error.lst"))
        return 1;
    if (ReadFile(folder / "warning.lst").find(" Calculations are interrupted.") != std::string::npos)
        return 3;
    return 0;
}

// The fields of a CSV line (quotes as summary.csv writes them).
std::vector<std::string> Fields(const std::string& line)
{
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"')
            fields.back() += line[++i];
        else if (c == '"')
            quoted = !quoted;
        else if (c == ',' && !quoted)
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

TEST(BatchOfTheReferenceCases, WritesWhatSingleRunsWrite)
{
    const fs::path cases = VELTRA_REFERENCE_DIR;
    std::vector<std::string> names;
    std::string inputs;
    for (const auto& folder : fs::directory_iterator(cases)) {
        if (!folder.is_directory())
            continue;
        names.push_back(folder.path().filename().string());
        for (const auto& file : fs::directory_iterator(folder.path()))
            if (Lower(file.path().extension().string()) == ".inp")
                inputs += " '" + file.path().string() + "'";
    }
    std::sort(names.begin(), names.end());
    ASSERT_GE(names.size(), 20u) << cases;

    const fs::path scratch = fs::temp_directory_path() / ("veltra-batchref-" + std::to_string(::getpid()));
    fs::remove_all(scratch);
    fs::create_directories(scratch);
    const std::string command = "cd '" + scratch.string() + "' && '" VELTRA_BINARY "' batch -j 2 --out out" + inputs +
                                " > batch.out 2> batch.err";
    const int raw = std::system(command.c_str());
    const int status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    const std::string printed = ReadFile(scratch / "batch.out") + ReadFile(scratch / "batch.err");
    // Input errors and stopped runs among the cases, no failure: the stop decides.
    EXPECT_EQ(status, 3) << printed;
    for (const char* crash : {"runtime error", "AddressSanitizer", "LeakSanitizer"})
        EXPECT_EQ(printed.find(crash), std::string::npos) << printed;
    EXPECT_NE(printed.find("gen_case_00072.inp is a later year of a series given too"), std::string::npos) << printed;
    EXPECT_NE(printed.find(std::to_string(names.size()) + " cases in "), std::string::npos) << printed;

    int compared = 0;
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const fs::path want = cases / name, got = scratch / "out" / name;
        ASSERT_TRUE(fs::is_directory(got));
        for (const auto& file : fs::directory_iterator(want)) {
            const std::string f = file.path().filename().string();
            const std::string ext = Lower(file.path().extension().string());
            if (ext == ".inp" || ext == ".prn" || f.rfind("README", 0) == 0)
                continue;
            ASSERT_TRUE(fs::exists(got / f)) << f << " was not written";
            const std::string difference = FirstDifference(ReadFile(file.path()), ReadFile(got / f), ext == ".res");
            EXPECT_TRUE(difference.empty()) << f << " " << difference;
            ++compared;
        }
        for (const auto& file : fs::directory_iterator(got)) {
            const std::string f = file.path().filename().string();
            if (Lower(file.path().extension().string()) != ".inp") {
                EXPECT_TRUE(fs::exists(want / f)) << "unexpected file " << f;
            }
        }
    }
    EXPECT_GE(compared, 3 * static_cast<int>(names.size()) - 6);

    // One row per case, its status and exit status those of the single run.
    const std::string summary = ReadFile(scratch / "out" / "summary.csv");
    std::map<std::string, std::vector<std::string>> rows;
    std::vector<std::string> header;
    for (std::size_t at = 0; at < summary.size();) {
        const std::size_t end = summary.find('\n', at);
        ASSERT_NE(end, std::string::npos) << "the last line has no line end";
        std::vector<std::string> fields = Fields(summary.substr(at, end - at));
        if (header.empty())
            header = fields;
        else
            rows[fields.at(1)] = fields;
        at = end + 1;
    }
    ASSERT_EQ(header.size(), 29u);
    ASSERT_EQ(rows.size(), names.size());
    const char* statusText[] = {"ok", "input errors", "", "stopped"};
    for (const std::string& name : names) {
        const std::vector<std::string>& row = rows.at(name);
        ASSERT_EQ(row.size(), header.size()) << name;
        const int single = SingleRunStatus(cases / name);
        EXPECT_EQ(row[2], statusText[single]) << name;
        EXPECT_EQ(row[3], std::to_string(single)) << name;
        EXPECT_EQ(row[6].empty(), single == 1) << name << ": Dw";
        EXPECT_EQ(row.back().empty(), single == 0) << name << ": message";
    }

    if (!HasFailure())
        fs::remove_all(scratch);
    else
        std::printf("the batch's files are kept in %s\n", scratch.c_str());
}

} // namespace
} // namespace veltra::wholerun
