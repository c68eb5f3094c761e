#include <gtest/gtest.h>

#include <filesystem>

#include <unistd.h>

#include "support/TFakeShellOps.h"

namespace veltra {
namespace {

TEST(FakeShellOps, QueuedAnswersAndRecordedOutput)
{
    TFakeShellOps ops;
    ops.YesNoAnswers = {true, false};
    ops.FileAnswers = {std::string("/tmp/a.inp"), std::nullopt};
    ops.ShowMessage("hello");
    EXPECT_TRUE(ops.AskYesNo("first?"));
    EXPECT_FALSE(ops.AskYesNo("second?"));
    EXPECT_EQ(ops.ChooseOpenFile(TDialog::InputOpen), std::optional<std::string>("/tmp/a.inp"));
    EXPECT_EQ(ops.ChooseSaveFile(TDialog::GroupSave), std::nullopt);
    ops.SetStatus("working");
    ops.BusyAddLine("one");
    ops.BusyReplaceText("two");
    ops.Pause(500);
    // Nothing is queued any more: an unplanned dialog fails the test loudly.
    EXPECT_THROW(ops.AskYesNo("unplanned?"), std::logic_error);
    EXPECT_THROW(ops.ChooseOpenFile(TDialog::OutputOpen), std::logic_error);

    EXPECT_EQ(ops.Events, (std::vector<std::string>{"message: hello", "question: first?", "question: second?",
                                                    "open: Input files (*.inp *.INP)", "save: PRN files (*.prn *.PRN)",
                                                    "status: working", "busy: one", "busy: two",
                                                    "question: unplanned?", "open: Result files (*.res *.RES)"}));
    EXPECT_EQ(ops.BusyLines, std::vector<std::string>{"two"});
    EXPECT_EQ(ops.Pauses, std::vector<int>{500});

    ops.GridSetSize(3, 2);
    ops.GridSetCell(2, 1, "x");
    EXPECT_THROW(ops.GridSetCell(3, 0, "outside"), std::out_of_range);
    ops.GridSetSize(2, 2); // shrinking drops the cells outside
    EXPECT_EQ(ops.Cell(2, 1), "");
    ops.SetControlText("Go_Button", "Go");
    ops.DisableControl("Go_Button");
    EXPECT_EQ(ops.GetControlText("Go_Button"), "Go");
    EXPECT_FALSE(ops.Controls["Go_Button"].Enabled);
    ops.Picture().Line(1, 2, 3, 4);
    EXPECT_EQ(ops.Canvas.Calls.size(), 1u);
}

TEST(FakeShellOps, FileSystemIsReal)
{
    namespace fs = std::filesystem;
    TFakeShellOps ops;
    const fs::path dir = fs::temp_directory_path() / ("veltra_fakeshell_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string old = ops.GetCurrentDir();
    ASSERT_TRUE(ops.SetCurrentDir(dir.string()));
    EXPECT_EQ(fs::path(ops.GetCurrentDir()), dir);
    EXPECT_TRUE(ops.CreateEmptyFile("marker.trf"));
    EXPECT_TRUE(ops.FileExists((dir / "marker.trf").string()));
    EXPECT_TRUE(ops.DeleteFile("marker.trf"));
    EXPECT_FALSE(ops.FileExists("marker.trf"));
    EXPECT_FALSE(ops.DeleteFile("marker.trf"));
    EXPECT_FALSE(ops.SetCurrentDir((dir / "missing").string()));
    ASSERT_TRUE(ops.SetCurrentDir(old));
    fs::remove_all(dir);
}

} // namespace
} // namespace veltra
