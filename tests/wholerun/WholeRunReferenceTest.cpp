// Every case folder of tests/reference/shared run by the built `veltra` tool in a scratch
// folder, and every file the folder holds (inputs aside) compared with what the run
// wrote: result, frequency, run marker, warning and error lists, group tables. The
// folders are found on disk, one test per folder (that they are there: the batch of
// every case, tests/runs/BatchTest.cpp).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/wait.h>

#include <gtest/gtest.h>

#include "support/TScratchFolder.h"
#include "wholerun/ReferenceCompare.h"

namespace veltra::wholerun {
namespace {

namespace fs = std::filesystem;

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

bool IsProducedKind(const fs::path& file)
{
    const std::string ext = file.extension().string();
    return ext == ".res" || ext == ".frq" || ext == ".trf" || ext == ".lst" || ext == ".prn";
}

class WholeRunReference : public ::testing::TestWithParam<std::string> {};

TEST_P(WholeRunReference, RunWritesTheReviewedFiles)
{
    const std::string name = GetParam();
    const fs::path folder = fs::path(VELTRA_REFERENCE_DIR) / name;
    const std::vector<std::string> inputs = CaseInputs(folder);
    ASSERT_FALSE(inputs.empty()) << "no " << name << ".inp in " << folder;

    test::TScratchFolder where("veltra-wholerun");
    where.KeepAfterFailure = true;
    const fs::path& scratch = where.Dir; // the run's files, and its logs run.* and table.*
    SCOPED_TRACE("the run's files: " + scratch.string());
    std::vector<std::string> args{inputs.size() > 1 ? "series" : "run"};
    for (const std::string& f : inputs) {
        args.push_back(fs::path(f).filename().string());
        fs::copy_file(f, scratch / args.back());
    }
    const fs::path runLog = scratch / "run";
    const int status = RunTool(scratch, args, runLog);
    EXPECT_EQ(status, ExpectedExitStatus(folder)) << "veltra " << args[0] << " " << args[1] << "\n" << Printed(runLog);
    const std::string printed = Printed(runLog);
    for (const char* crash : {"runtime error", "AddressSanitizer", "LeakSanitizer"})
        EXPECT_EQ(printed.find(crash), std::string::npos) << printed;

    if (fs::exists(folder / "group_01.prn"))
        for (int n = 1; n <= 12; ++n) {
            char prn[32];
            std::snprintf(prn, sizeof prn, "group_%02d.prn", n);
            const fs::path tableLog = scratch / "table";
            const std::string stem = fs::path(args[1]).stem().string();
            EXPECT_EQ(RunTool(scratch, {"table", stem + ".res", std::to_string(n), "--prn", prn}, tableLog), 0)
                << "veltra table " << stem << ".res " << n << "\n"
                << Printed(tableLog);
        }

    std::vector<fs::path> expected;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.is_regular_file() && !IsInputOrNote(entry.path()))
            expected.push_back(entry.path());
    std::sort(expected.begin(), expected.end());
    for (const fs::path& want : expected) {
        const fs::path got = scratch / want.filename();
        if (!fs::exists(got)) {
            ADD_FAILURE() << want.filename() << " was not written";
            continue;
        }
        const bool resultFile = want.extension() == ".res";
        const std::string difference = FirstDifference(ReadFile(want), ReadFile(got), resultFile);
        EXPECT_TRUE(difference.empty()) << want.filename().string() << " " << difference;
    }

    for (const auto& entry : fs::directory_iterator(scratch))
        if (IsProducedKind(entry.path()) && !fs::exists(folder / entry.path().filename()))
            ADD_FAILURE() << "unexpected file " << entry.path().filename();
}

// Each test is named after its folder (letters, digits and "_").
INSTANTIATE_TEST_SUITE_P(Cases, WholeRunReference, ::testing::ValuesIn(test::FolderNames(VELTRA_REFERENCE_DIR)),
                         [](const auto& info) { return info.param; });

} // namespace
} // namespace veltra::wholerun
