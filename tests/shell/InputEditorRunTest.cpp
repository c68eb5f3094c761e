// A new data set entered through the groups of the Input page (scripted through the
// fake shell operations): the bundled example typed in is the bundled file, and a data
// set saved and run by the window gives the very files that `veltra run` gives for the
// saved input file in another folder.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "model/InputCheck.h"
#include "model/InputFile.h"
#include "shell/GuidedEntry.h"
#include "shell/TInputEditorLink.h"
#include "shell/UControls.h"
#include "shell/UMainForm.h"
#include "shell/WindowTestSupport.h"
#include "wholerun/ReferenceCompare.h"

namespace veltra {
namespace {

namespace fs = std::filesystem;
using editortest::FieldClimate;
using editortest::TTyping;
using editortest::WalkGuidedEntry;
using wholerun::FirstDifference;
using wholerun::ReadBytes;

// `veltra ARGS` in `folder`; its exit status, its output in `log`.
int RunTool(const fs::path& folder, const std::vector<std::string>& args, const fs::path& log)
{
    std::vector<std::string> argv{VELTRA_BINARY};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> cargv;
    for (std::string& a : argv)
        cargv.push_back(a.data());
    cargv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out < 0 || ::dup2(out, 1) < 0 || ::dup2(out, 2) < 0 || ::chdir(folder.c_str()) != 0)
            ::_exit(126);
        ::execv(cargv[0], cargv.data());
        ::_exit(127);
    }
    if (pid < 0)
        return -errno;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0)
        if (errno != EINTR)
            return -errno;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST(NewDataSetRun, TheFieldExampleEnteredThroughTheGroupsIsTheBundledFile)
{
    TDataMod dm;
    TFakeShellOps ops;
    TInputEditor ed{dm.Rec, ops};
    ed.StartGuidedEntry();
    TTyping typing = FieldClimate();
    typing["Dd_Edit"] = "1,5"; // the fresh 0.8 is the root zone's depth, which the save refuses
    const auto shown = WalkGuidedEntry(ed, ops, typing);
    ASSERT_EQ(shown.size(), 20u); // no well groups
    ASSERT_FALSE(ed.GuidedEntryRunning());
    dm.Rec.Title1 = "Veltra example: two seasons, subsurface drains, full rotation";
    dm.Rec.Title2 = "Editor defaults, drains at 1.5 m";
    // With drains the editor does not ask for the one transition-zone salinity of a
    // data set without drains; the example carries its default.
    dm.Rec.Cx0 = 10;
    EXPECT_EQ(InputFileText(dm.Rec), ReadBytes(fs::path(VELTRA_SOURCE_DIR) / "examples" / "field.inp"));
    EXPECT_TRUE(ValidateBeforeSave(dm.Rec).empty());
}

// The whole window: a new data set of three seasons with wells and no drains, entered
// through the guided entry that the Input page starts, saved and run by " Save / run ",
// gives the files of `veltra run` of the saved file; back on the Input page the data
// set is kept and every group it has is offered.
TEST(NewDataSetRun, EnteredSavedAndRunThroughTheWindow)
{
    test::TScratchFolder scratch("veltra-editorrun");
    const fs::path window = scratch.Dir / "window";
    const fs::path tool = scratch.Dir / "tool";
    fs::create_directories(window);
    fs::create_directories(tool);
    // The window's start folder: Error.lst and warning.lst go there.
    struct TInFolder {
        fs::path Old = fs::current_path();
        explicit TInFolder(const fs::path& dir) { fs::current_path(dir); }
        ~TInFolder() { fs::current_path(Old); }
    } inWindow{window};

    TFakeShellOps ops;
    TDataMod dm;
    TEngineState st;
    TAnnualCarry carry;
    TInputEditor ed{dm.Rec, ops};
    TInputEditorLink link{ed};
    TMainFormLogic logic{ops, dm, st, carry, link};
    logic.Start();
    logic.PageShown(TPage::Input);
    ASSERT_EQ(ed.OpenGroup(), TGroupId::General);
    EXPECT_TRUE(ed.GuidedEntryRunning());
    EXPECT_FALSE(ops.Controls[ctl::SaveRunButton].Enabled);

    for (const auto& [selector, item] : std::vector<std::pair<std::string, std::string>>{
             {"Kd_ComboBox", "no"}, {"Kp_ComboBox", "yes"}, {"Ns_ComboBox", "3"}, {"Kr_ComboBox", "0"}}) {
        ops.SetControlText(selector, item);
    }
    ed.KdChanged();
    ed.KpChanged();
    ed.NsChanged();
    // Season 3 shows "n.a." until typed; the walk types season 2's values there.
    EXPECT_EQ(ops.GetControlText("Lc3_Edit"), "n.a.");
    TTyping typing = FieldClimate();
    typing.insert({{"Area_Edit", "250"},  {"Ny_Edit", "6"},      {"Ts1_Edit", "4"},     {"Ts2_Edit", "4,5"},
                   {"Ts3_Edit", "3.5"},   {"A3_Edit", "0.6"},    {"B3_Edit", "0.4"},    {"Gw1_Edit", "0.06"},
                   {"Gw2_Edit", "0.14"},  {"Gw3_Edit", "0"},      {"FAw1_Edit", "0.45"}, {"FBw1_Edit", "0.35"}, {"FAw2_Edit", "0.5"},
                   {"FBw2_Edit", "0.3"},  {"Pp3_Edit", "0.15"},  {"EpA3_Edit", "0.45"}, {"EpB3_Edit", "0.4"},
                   {"Dr_Edit", "1"},      {"Dx_Edit", "4"},      {"Dq_Edit", "15"},     {"Cx0_Edit", "6"}});
    const auto shown = WalkGuidedEntry(ed, ops, typing);
    ASSERT_EQ(shown.size(), 19u); // no drainage groups
    EXPECT_EQ(ops.GetControlText("EpU3_Edit"), "-1"); // A + B = 1 in season 3
    EXPECT_FALSE(ops.Controls["FAw3_Edit"].Enabled); // no pumping in season 3
    const TInputRecord& r = dm.Rec;
    EXPECT_EQ(r.Ts[2], 4.5);
    EXPECT_EQ(r.Gi[3], r.Gi[2]);
    EXPECT_EQ(r.Kr, 0);
    EXPECT_EQ(r.Cx0, 6);
    EXPECT_TRUE(ops.Controls[ctl::SaveRunButton].Enabled);
    EXPECT_TRUE(ops.Controls[ctl::InputSave].Enabled);
    ops.SetControlText(ctl::Title1Edit, "Entered in the window");
    ops.SetControlText(ctl::Title2Edit, "three seasons, wells, no drains");

    ops.FileAnswers.push_back((window / "three.inp").string());
    ops.YesNoAnswers.push_back(true);
    logic.InputSave();
    ASSERT_TRUE(logic.State.OutputPresent) << ops.Messages.back();
    ASSERT_TRUE(fs::exists(window / "three.INP"));

    fs::copy_file(window / "three.INP", tool / "three.INP");
    const fs::path log = scratch.Dir / "tool.log";
    ASSERT_EQ(RunTool(tool, {"run", "three.INP"}, log), 0) << ReadBytes(log);
    for (const char* file : {"three.res", "three.frq", "three.trf"}) {
        SCOPED_TRACE(file);
        EXPECT_EQ(FirstDifference(ReadBytes(tool / file), ReadBytes(window / file), false), "");
    }
    // Not a comparison of two empty files: a header and 6 years of three seasons.
    EXPECT_GT(fs::file_size(window / "three.res"), 10000u);
    EXPECT_EQ(dm.WarningLines, test::FileLines(tool / "warning.lst"));

    // Back to the Input page: the saved data set with its own keys, every group but
    // the drains' offered, no guided entry.
    logic.PageShown(TPage::Input);
    EXPECT_EQ(dm.Rec.Ns, 3);
    EXPECT_EQ(ops.GetControlText("Ns_ComboBox"), "3");
    EXPECT_FALSE(ed.GuidedEntryRunning());
    for (const auto& g : InputGroups())
        EXPECT_EQ(ops.Controls[RadioControl(g)].Enabled, g.Condition != TGroupCondition::Drains) << g.Caption;
    EXPECT_TRUE(ops.Controls[ctl::SaveRunButton].Enabled);
    ed.ShowGroup(TGroupId::CanalLosses);
    EXPECT_TRUE(ops.Controls["Lc3_Edit"].Enabled);
    EXPECT_TRUE(ops.Controls[CancelButtonControl(Group(TGroupId::CanalLosses))].Enabled);
}

} // namespace
} // namespace veltra
