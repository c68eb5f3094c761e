// Every case folder of tests/reference/shared run by the built `veltra` tool in a scratch
// folder, and every file the folder holds (inputs aside) compared with what the run
// wrote: result, frequency, run marker, warning and error lists, group tables. The
// folders are found on disk, one test per folder (that they are there: the batch of
// every case, tests/runs/BatchTest.cpp).
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "wholerun/ReferenceCompare.h"

namespace veltra::wholerun {
namespace {

namespace fs = std::filesystem;

const fs::path& Cases()
{
    static const fs::path root = VELTRA_REFERENCE_DIR;
    return root;
}

std::string Lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// The tool's exit status (or 128 + the signal that ended it), run in `folder` with its
// standard output and error saved to `log`.out and `log`.err; a run that hangs ends
// as a failure, not a stuck test.
int RunTool(const fs::path& folder, const std::vector<std::string>& args, const fs::path& log)
{
    std::string command = "cd '" + folder.string() + "' && timeout 600 '" VELTRA_BINARY "'";
    for (const std::string& a : args)
        command += " '" + a + "'";
    command += " > '" + log.string() + ".out' 2> '" + log.string() + ".err'";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// What a run printed, for failure messages and the sanitizer check.
std::string Printed(const fs::path& log)
{
    return "standard output:\n" + ReadFile(log.string() + ".out") + "\nstandard error:\n" +
           ReadFile(log.string() + ".err");
}

// NAME.inp, then the year files NAME2.inp, NAME3.inp, ... in numerical order; any
// other input in the folder is a failure.
std::vector<std::string> InputsOf(const fs::path& folder)
{
    const std::string name = folder.filename().string();
    std::vector<std::string> inputs;
    for (int year = 1; fs::exists(folder / (name + (year > 1 ? std::to_string(year) : "") + ".inp")); ++year)
        inputs.push_back(name + (year > 1 ? std::to_string(year) : "") + ".inp");
    EXPECT_FALSE(inputs.empty()) << "no " << name << ".inp in " << folder;
    for (const auto& entry : fs::directory_iterator(folder))
        if (Lower(entry.path().extension().string()) == ".inp") {
            const std::string file = entry.path().filename().string();
            EXPECT_NE(std::find(inputs.begin(), inputs.end(), file), inputs.end())
                << "an input that is neither " << name
                << ".inp nor a year file numbered 2, 3, ... without a gap: " << file;
        }
    return inputs;
}

bool IsProducedKind(const fs::path& file)
{
    const std::string ext = Lower(file.extension().string());
    return ext == ".res" || ext == ".frq" || ext == ".trf" || ext == ".lst" || ext == ".prn";
}

class WholeRunReference : public ::testing::TestWithParam<std::string> {};

TEST_P(WholeRunReference, RunWritesTheReviewedFiles)
{
    const std::string name = GetParam();
    const fs::path folder = Cases() / name;
    const std::vector<std::string> inputs = InputsOf(folder);
    ASSERT_FALSE(inputs.empty());

    const fs::path root = fs::temp_directory_path() / ("veltra-wholerun-" + std::to_string(::getpid()));
    const fs::path scratch = root / name;
    fs::remove_all(scratch);
    fs::create_directories(scratch);
    for (const std::string& f : inputs)
        fs::copy_file(folder / f, scratch / f);

    std::vector<std::string> args{inputs.size() > 1 ? "series" : "run"};
    args.insert(args.end(), inputs.begin(), inputs.end());
    const fs::path runLog = root / (name + "-run");
    const int status = RunTool(scratch, args, runLog);
    EXPECT_EQ(status, ExpectedExitStatus(folder)) << "veltra " << args[0] << " " << inputs[0] << "\n"
                                                  << Printed(runLog);
    const std::string printed = Printed(runLog);
    for (const char* crash : {"runtime error", "AddressSanitizer", "LeakSanitizer"})
        EXPECT_EQ(printed.find(crash), std::string::npos) << printed;

    bool groups = false;
    for (const auto& entry : fs::directory_iterator(folder))
        groups = groups || entry.path().filename().string().rfind("group_", 0) == 0;
    if (groups)
        for (int n = 1; n <= 12; ++n) {
            char prn[32];
            std::snprintf(prn, sizeof prn, "group_%02d.prn", n);
            const fs::path tableLog = root / (name + "-table");
            const std::string stem = fs::path(inputs[0]).stem().string();
            EXPECT_EQ(RunTool(scratch, {"table", stem + ".res", std::to_string(n), "--prn", prn}, tableLog), 0)
                << "veltra table " << stem << ".res " << n << "\n"
                << Printed(tableLog);
        }

    std::vector<fs::path> expected;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.is_regular_file() && !IsInputOrNote(entry.path()))
            expected.push_back(entry.path());
    std::sort(expected.begin(), expected.end());
    int compared = 0;
    for (const fs::path& want : expected) {
        const fs::path got = scratch / want.filename();
        if (!fs::exists(got)) {
            ADD_FAILURE() << want.filename() << " was not written";
            continue;
        }
        const bool resultFile = Lower(want.extension().string()) == ".res";
        const std::string difference = FirstDifference(ReadFile(want), ReadFile(got), resultFile);
        EXPECT_TRUE(difference.empty()) << want.filename().string() << " " << difference;
        ++compared;
    }
    EXPECT_GT(compared, 0) << "nothing to compare in " << folder;

    for (const auto& entry : fs::directory_iterator(scratch))
        if (IsProducedKind(entry.path()) && !fs::exists(folder / entry.path().filename()))
            ADD_FAILURE() << "unexpected file " << entry.path().filename();

    if (HasFailure()) {
        std::printf("the run's files are kept in %s\n", scratch.c_str());
    } else {
        std::error_code ec;
        fs::remove_all(scratch, ec);
        for (const char* log : {"-run.out", "-run.err", "-table.out", "-table.err"})
            fs::remove(root / (name + log), ec);
        fs::remove(root, ec); // only once empty
    }
}

std::string TestName(const ::testing::TestParamInfo<std::string>& info)
{
    std::string s = info.param;
    for (char& c : s)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return s;
}

INSTANTIATE_TEST_SUITE_P(Cases, WholeRunReference, ::testing::ValuesIn(test::FolderNames(Cases())), TestName);

} // namespace
} // namespace veltra::wholerun
