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

// The comparison of the whole-run test must find what differs and forgive only the two
// edits the reviewed files carry: bare file names and the credit lines of a result header.
TEST(ReferenceCompare, PathsBecomeTheirLastPart)
{
    EXPECT_EQ(BareFileNames(" Name of this output (result) file: /tmp/veltra-1/field/field.RES"),
              " Name of this output (result) file: field.RES");
    EXPECT_EQ(BareFileNames("\"Data from: /a/b/c d.res\""), "\"Data from: c d.res\""); // a path ends at a blank
    EXPECT_EQ(BareFileNames("  YEAR:    1   Name of input (data) file used:/s/g.INP\r"),
              "  YEAR:    1   Name of input (data) file used:g.INP\r");
    // No path: units, a lone part, doubled separators.
    EXPECT_EQ(BareFileNames(" Cr4 = 2.62E+001 dS/m, Dw in m/season"), " Cr4 = 2.62E+001 dS/m, Dw in m/season");
    EXPECT_EQ(BareFileNames("/field.res"), "/field.res");
    EXPECT_EQ(BareFileNames("a//b/c"), "a/c");
}

// Only the credit lines of a result header are left out; line ends, digits and lengths
// count.
TEST(ReferenceCompare, FirstDifference)
{
    const std::string expected = "1\r\n2\r\n3\r\nour\r\nown\r\ncredit\r\nlines\r\nsix\r\nof them\r\n10\r\n";
    const std::string got = "1\r\n2\r\n3\r\nA\r\nB\r\nC\r\nD\r\nE\r\nF\r\n10\r\n";
    EXPECT_EQ(FirstDifference(expected, got, true), "");
    EXPECT_EQ(FirstDifference(expected, got, false), "line 4: expected \"our\\r\", got \"A\\r\"");
    EXPECT_EQ(FirstDifference(expected, "1\r\n2\r\n3\r\nA\r\nB\r\nC\r\nD\r\nE\r\nF\r\n11\r\n", true),
              "line 10: expected \"10\\r\", got \"11\\r\"");
    const std::string text = " 1.50E+000 2.00E-001\r\n 3.00E+000\r\n";
    EXPECT_EQ(FirstDifference(text, " 1.50E+000 2.00E-001\n 3.00E+000\n", false),
              "line 1: expected \" 1.50E+000 2.00E-001\\r\", got \" 1.50E+000 2.00E-001\"");
    EXPECT_EQ(FirstDifference(text, " 1.50E+000 2.00E-001\r\n 3.01E+000\r\n", false),
              "line 2: expected \" 3.00E+000\\r\", got \" 3.01E+000\\r\"");
    EXPECT_EQ(FirstDifference(text, " 1.50E+000 2.00E-001\r\n", false), "line 2: expected \" 3.00E+000\\r\", got \"\"");
    EXPECT_EQ(FirstDifference(text, text + "\r\n", false), "line 3: expected \"\", got \"\\r\"");
    EXPECT_EQ(FirstDifference(text, text + "extra", false), "line 3: expected \"\", got \"extra\"");
    EXPECT_EQ(FirstDifference("2\r\n", "", false), "line 1: expected \"2\\r\", got \"\"");
    EXPECT_EQ(FirstDifference("a\r\nb", "a\r\nb\nc", false), "line 3: expected the end of the file, got \"c\"");
}

} // namespace
} // namespace veltra::wholerun
