// The window's open, save and run workflow through the scripted shell operations:
// the exact dialogue, the files it leaves, and what the Output page shows.
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <set>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "WindowTestSupport.h"
#include "model/InputCheck.h"
#include "model/TVeltraError.h"
#include "shell/ControlNames.h"
#include "shell/HelpTexts.h"
#include "shell/InputGroups.h"
#include "shell/ShellOps.h"
#include "shell/WindowMessages.h"

namespace veltra::test {
namespace {

using WindowRun = WindowTest;

TEST_F(WindowRun, OpenSaveRunAndShowTheOutcome)
{
    const TInputRecord rec = Field();
    OpenAndShowInput(WriteInput("field.inp", rec));
    EXPECT_EQ(ops_.Controls[ctl::FileNameLabel].Text, Path("field.inp"));
    EXPECT_EQ(ops_.Controls[ctl::Title1Edit].Text, rec.Title1);
    ExpectEnabled(ops_, {ctl::SaveRunButton, ctl::InputSave});
    EXPECT_EQ(ops_.StatusTexts.back(), msg::InputStatus);
    const std::size_t mark = ops_.Events.size();
    EXPECT_EQ(SaveRunDialogue({Path("Field.inp")}, {true}),
              SaveAs({Question(msg::DoCalculations("Field.INP")), Message(msg::CalculationsDone(Path("Field.res"))),
                      Message(msg::RuntimeCommentsGiven)}));
    EXPECT_TRUE(ops_.VisibleWindows.count(TWindow::Warning));

    // The busy box, in order, with a plain wait after each progress text.
    std::vector<std::string> busy;
    for (std::size_t i = mark; i < ops_.Events.size(); ++i)
        if (ops_.Events[i].rfind("busy: ", 0) == 0)
            busy.push_back(ops_.Events[i].substr(6));
    EXPECT_EQ(busy, (TLines{" Saving the data", " Calculating .....", " Still busy .....", " Almost done ....",
                            " Finalizing ......"}));
    EXPECT_EQ(ops_.Pauses, std::vector<int>(4, 500));
    EXPECT_FALSE(ops_.BusyVisible);

    // The files: the input as written, the run's files beside it, no lists left behind.
    EXPECT_EQ(ReadFile(dir_ / "Field.INP"), InputFileText(rec));
    EXPECT_EQ(Present(dir_, {"Field.frq", "warning.lst", "Error.lst"}), (TLines{"Field.frq"}));

    // The Output page shows the result file and the warnings.
    ASSERT_EQ(ops_.ShownPages.back(), TPage::Output);
    EXPECT_EQ(ops_.StatusTexts.back(), msg::OutputStatus);
    EXPECT_EQ(ops_.TextLines, FileLines(dir_ / "Field.res"));
    EXPECT_EQ(ops_.Controls[ctl::WarningMemo].Text,
              "\n THE FOLLOWING RUNTIME WARNINGS ARE GIVEN:\n\n The total drainage in year :  2, season : 1 is "
              "less than the amount of drainage re-used.\n The drainage re-use (DRR) is reduced to equal the "
              "drainage.\n\n");
    ExpectVisible(ops_, {ctl::GroupButton, ctl::GroupOpenButton, ctl::CloseOutputButton, ctl::OutputSymbolsButton});
    ExpectVisible(ops_, {ctl::GroupSaveButton, ctl::SeeGraphButton, ctl::OutputDecorImage, ctl::ClipButton}, false);
    // Input save off; output present, none pending; the next save a new run.
    EXPECT_EQ((std::vector<bool>{Enabled(ctl::InputSave), logic_->State.OutputPresent, logic_->State.OutputPending,
                                 logic_->State.NewRun}),
              (std::vector<bool>{false, true, false, true}));
    EXPECT_EQ(dm_.Rec.Shell.FileName, Path("Field.res"));

    // The Input page shows the record as the run left it.
    EXPECT_GE(editor_.Fills, 2);
    EXPECT_EQ(editor_.LastFilled.IaA, dm_.Rec.IaA);
}

TEST_F(WindowRun, InputErrorsListedAndOldOutputDeleted)
{
    TInputRecord rec = Field();
    rec.Dc = 0.5; // not below the root zone: refused by the check, not by the save
    OpenAndShowInput(WriteInput("field.inp", rec));
    logic_->OutputGroups(); // the options of an earlier output left open
    // Outputs of an earlier run under the same name would pass for this one's.
    WriteFile(dir_ / "Field.res", "old\r\n");
    WriteFile(dir_ / "Field.frq", "old\r\n");
    WriteFile(dir_ / "warning.lst", "old\r\n");

    EXPECT_EQ(SaveRunDialogue({Path("Field.inp")}, {true}),
              SaveAs({"question: The data were saved in: Field.INP. Do you wish to do the calculations?",
                      "message: One or more errors in the input were detected."}));
    EXPECT_EQ(ops_.TextLines, (TLines{ErrorListHeading, "", " Critical depth Dc must be > rootzone depth Dr.", "",
                                      " CALCULATIONS COULD NOT BE DONE", " Please adjust the input."}));
    EXPECT_TRUE(ops_.TextVisible);
    EXPECT_EQ(ops_.ShownPages.back(), TPage::Output);
    // The input is saved all the same.
    EXPECT_EQ(Present(dir_, {"Field.res", "Field.frq", "Error.lst", "warning.lst", "Field.INP"}),
              (TLines{"Field.INP"}));
    // Nothing to make groups of: the options and "Go" are hidden, and the status line
    // names only what is shown.
    ExpectVisible(
        ops_,
        {ctl::GroupOpenButton, ctl::CloseOutputButton, ctl::OutputSymbolsButton, ctl::GroupButton, ctl::GroupsPanel},
        false);
    EXPECT_TRUE(Visible(ctl::OutputOpenButton));
    EXPECT_EQ(ops_.StatusTexts.back(), msg::OutputErrorsStatus);
    logic_->FilePrint(); // the errors, as shown
    EXPECT_EQ(ops_.PrintedTexts, (std::vector<std::pair<std::string, TLines>>{{"Input errors", ops_.TextLines}}));
    EXPECT_EQ((std::vector<bool>{logic_->State.InputErrors, logic_->State.OutputPresent, ops_.BusyVisible}),
              (std::vector<bool>{true, false, false}));
}

TEST_F(WindowRun, RefusedSavesSaySoAndLeaveNothingBehindOrReadOnlyFilesChanged)
{
    OpenAndShowInput(WriteInput("field.inp", Field(2)));
    fs::create_directories(dir_ / "my.data");
    // Two dots in the file name: refused before anything is created, asked again.
    // A dot in a folder name is fine.
    TLines again = SaveAs({"question: The data were saved in: run.INP. Do you wish to do the calculations?"});
    again.insert(again.begin(),
                 "message: The number of dots (.) in the file name should not be greater than 1. Please adjust.");
    EXPECT_EQ(SaveRunDialogue({Path("a.b.inp"), Path("my.data/run.inp")}, {false}), SaveAs(again));
    EXPECT_FALSE(fs::exists(dir_ / "a.b.INP"));
    EXPECT_EQ(Present(dir_ / "my.data", {"run.INP", "run.res"}), TLines{"run.INP"}); // nothing ran
    // Nothing ran: the next save is a new run that asks for its name again.
    EXPECT_TRUE(logic_->State.NewRun);

    // Overwrite declined: the file stays as it was.
    WriteFile(dir_ / "Keep.INP", "mine\r\n");
    EXPECT_EQ(SaveRunDialogue({Path("Keep.inp")}, {false}),
              SaveAs({"question: The file already exists, overwrite?", "message: The input data were not saved"}));
    EXPECT_EQ(ReadFile(dir_ / "Keep.INP"), "mine\r\n");

    // Cancelled dialog.
    EXPECT_EQ(SaveRunDialogue({std::nullopt}, {}).back(), "message: The input data were not saved");
    EXPECT_TRUE(logic_->State.SaveCancelled);

    // A write that fails stops the save; no run is started.
    EXPECT_EQ(SaveRunDialogue({Path("missing/Field.inp")}, {}),
              SaveAs({"message: " + WriteFailureMessage(Path("missing/Field.INP")),
                      "message: The input data were not saved"}));
    EXPECT_EQ(std::make_pair(logic_->State.NewRun, ops_.BusyVisible), std::make_pair(true, false));

    // The save-time check refuses with its own messages, before anything is written.
    dm_.Rec.A[1] = 0.8; // A + B = 1.1 in season 1
    dm_.Rec.A[2] = 0.9;
    EXPECT_EQ(SaveRunDialogue({Path("Field.inp")}, {}),
              SaveAs({"message: The sum of areas A and B in season 1 must >= 0 and <= 1",
                      "message: The sum of areas A and B in season 2 must >= 0 and <= 1"}));
    EXPECT_FALSE(fs::exists(dir_ / "Field.INP"));

    // Read-only files are refused with the reason, not as damaged files, and kept.
    dm_.Rec.A = Field().A;
    auto readOnly = [](const std::string& path) {
        return "The file \"" + path + "\" is read-only (its owner may not write it); it was not replaced.";
    };
    // The input file: asked, then refused.
    WriteFile(dir_ / "Kept.INP", "mine\r\n");
    fs::permissions(dir_ / "Kept.INP", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(SaveRunDialogue({Path("Kept.inp")}, {true}),
              SaveAs({"question: The file already exists, overwrite?", "message: " + readOnly(Path("Kept.INP")),
                      "message: The input data were not saved"}));
    EXPECT_EQ(ReadFile(dir_ / "Kept.INP"), "mine\r\n");

    // A result file of an earlier run: the run is refused before it touches a file.
    EXPECT_EQ(SaveRunDialogue({Path("Run.inp")}, {true}).size(), 5u);
    const std::string before = ReadFile(dir_ / "Run.res");
    fs::permissions(dir_ / "Run.frq", fs::perms::owner_write, fs::perm_options::remove);
    const std::vector<std::string> said = SaveRunDialogue({Path("Run.inp")}, {true, true});
    EXPECT_NE(std::find(said.begin(), said.end(), "message: " + readOnly(Path("Run.frq"))), said.end())
        << testing::PrintToString(said);
    EXPECT_EQ(ReadFile(dir_ / "Run.res"), before);
    EXPECT_EQ(ReadFile(dir_ / "Run.trf"), "2\r\n");
}

// After a run the Input page shows Ny and Ky as last saved: of a new data set, of a
// file whose Ny was changed before its save, and of a file in the layout without Ky.
TEST_F(WindowRun, AfterARunTheInputPageShowsNyAndKyAsLastSaved)
{
    const std::string refused = " Number of years Ny must be > 1 and < 100.";
    // A new data set, entered and saved, never opened from a file.
    logic_->PageShown(TPage::Input);
    dm_.Rec = Field(3);
    SaveRun({Path("New.inp")}, {true});
    ASSERT_TRUE(logic_->State.OutputPresent);
    logic_->PageShown(TPage::Input);
    EXPECT_EQ(dm_.Rec.Ny, 3);
    SaveRun({Path("New.inp")}, {true, true}); // overwrite, calculate
    EXPECT_EQ(std::count(ops_.Messages.begin(), ops_.Messages.end(), refused), 0);
    EXPECT_EQ(FileLines(dir_ / "New.INP")[5].substr(0, 9), "        3");

    // An opened file, Ny changed 3 -> 4 and saved: 4 stays, and the next save keeps it.
    // The run works on the values as saved (the file keeps 3 decimals).
    OpenAndShowInput(WriteInput("field.inp", Field(3)));
    dm_.Rec.Ny = 4;
    dm_.Rec.Lc[1] = 0.12345; // as an editor would store a typed value
    SaveRun({Path("Field.inp")}, {true});
    EXPECT_EQ(dm_.Rec.Lc[1], 0.123);
    logic_->PageShown(TPage::Input);
    EXPECT_EQ(dm_.Rec.Ny, 4);
    SaveRun({Path("Field.inp")}, {true, false});
    EXPECT_EQ(FileLines(dir_ / "Field.INP")[5].substr(0, 9), "        4");

    // A file of the layout without Ky: its Ny is what the Input page puts back.
    std::vector<std::string> old = FileLines(dir_ / "Field.INP");
    old[4] = "2.      Ny      Ns              CAmax   CBmax";
    old[5] = "        5      2        8.0     8.0";
    WriteFile(dir_ / "old.inp", Joined(old));
    OpenAndShowInput(Path("old.inp"));
    ASSERT_EQ(dm_.Rec.Ny, 5);
    SaveRun({Path("Old.inp")}, {true});
    logic_->PageShown(TPage::Input);
    EXPECT_EQ(dm_.Rec.Ny, 5);
}

// One input file per data set where names are case-sensitive: a save beside
// Field.inp writes Field.inp (after the overwrite question) and the series messages
// name it; "Open input file" reads the file chosen; "Open output file" reads the
// input its result file names, else the one beside it in either case, and says which.
// A file that cannot be opened changes nothing.
TEST_F(WindowRun, OneInputFileWhateverTheCaseOfItsExtension)
{
    OpenAndShowInput(WriteInput("Field.inp", Field(5, 1)));
    dm_.Rec.IaA[1] = 0.45;
    EXPECT_EQ(SaveRunDialogue({Path("Field")}, {true, true, false}),
              SaveAs({"question: The file already exists, overwrite?",
                      "question: The data were saved in: Field.inp. Do you wish to do the calculations?",
                      "message: " + msg::YearReached("Field.inp", 5, "1", "Field.res"),
                      "question: Do you wish to continue with the next year Nr 2",
                      "message: The calculations for the time series are discontinued. Yet the intermediate "
                      "results can be seen in  Field.res"}));
    EXPECT_FALSE(fs::exists(dir_ / "Field.INP"));
    EXPECT_EQ(InputOf(Path("Field.inp")).IaA[1], 0.45);
    // The series discontinued after its first year (no warnings, no "Calculations
    // were done"): its output shown; the Input page restores Ny and Ky as saved.
    EXPECT_EQ((std::vector<int>{dm_.Rec.Ny, dm_.Rec.Shell.YearNr, dm_.Rec.Shell.SeriesEnded, dm_.Rec.Shell.AnnualMode,
                                st_.YearsDone, carry_.YearsDone}),
              (std::vector<int>{2, 0, 1, 0, 0, 0}));
    EXPECT_EQ(ops_.ShownPages.back(), TPage::Output);
    EXPECT_EQ(YearsOf(dir_ / "Field.res"), (std::vector<int>{0, 0, 1, 1}));
    EXPECT_FALSE(fs::exists(dir_ / "warning.lst"));
    logic_->PageShown(TPage::Input);
    EXPECT_EQ((std::vector<int>{dm_.Rec.Ny, dm_.Rec.Ky, dm_.Rec.Shell.AnnualMode, dm_.Rec.Shell.SeriesEnded}),
              (std::vector<int>{5, 1, 1, 0}));

    // Two files that differ in the case of their extension: the one chosen is read.
    WriteInput("Two.inp", Field(3));
    WriteInput("Two.INP", Field(4));
    OpenAndShowInput(Path("Two.INP"));
    EXPECT_EQ(dm_.Rec.Ny, 4);
    EXPECT_EQ(ops_.Controls[ctl::FileNameLabel].Text, Path("Two.INP"));
    // A file not chosen, missing or damaged: said, and the record is as it was.
    const TInputRecord before = dm_.Rec;
    Pick({std::nullopt}, &TMainFormLogic::InputOpen);
    EXPECT_EQ(ops_.Messages.back(), msg::NoInputFile);
    Pick({Path("none.inp")}, &TMainFormLogic::InputOpen);
    EXPECT_EQ(ops_.Messages.back(), msg::FileMissing);
    // A damaged file: the message names it.
    WriteFile(dir_ / "bad.inp", "title\r\ntitle\r\n1.      Area    Kd\r\n    x\r\n");
    ops_.BusyShow();
    Pick({Path("bad.inp")}, &TMainFormLogic::InputOpen);
    EXPECT_NE(ops_.Messages.back().find(Path("bad.inp")), std::string::npos) << ops_.Messages.back();
    EXPECT_FALSE(ops_.BusyVisible);
    EXPECT_EQ(std::tie(dm_.Rec.Ny, dm_.Rec.Shell.FileName, dm_.Rec.Title1),
              std::tie(before.Ny, before.Shell.FileName, before.Title1));

    // Run.INP run; an older Run.inp beside it is not the input of Run.res.
    OpenAndShowInput(WriteInput("field.inp", Field(5)));
    SaveRun({Path("Run")}, {true});
    ASSERT_TRUE(fs::exists(dir_ / "Run.res"));
    WriteInput("Run.inp", Field(7));
    logic_->PageShown(TPage::Input);
    const auto openRun = [&] {
        Pick({Path("Run.res")}, &TMainFormLogic::OutputOpen);
        return std::make_pair(int{dm_.Rec.Ny}, ops_.StatusTexts.back());
    };
    EXPECT_EQ(openRun(), std::make_pair(5, msg::OutputOpenedWithInput(Path("Run.INP"))));
    EXPECT_EQ(ops_.Controls[ctl::FileNameLabel].Text, Path("Run.INP"));
    // Without the file the header names: the one beside, in either case.
    fs::remove(dir_ / "Run.INP");
    fs::rename(dir_ / "Run.inp", dir_ / "Run.Inp");
    EXPECT_EQ(openRun(), std::make_pair(7, msg::OutputOpenedWithInput(Path("Run.Inp"))));
    fs::remove(dir_ / "Run.Inp");
    EXPECT_EQ(openRun(), std::make_pair(7, std::string(msg::OutputOpenedNoInput)));
}

TEST_F(WindowRun, PagesSetTheirStatusAndKeys)
{
    // A new data set: the editor starts its guided entry, and goes on with it after a
    // look at another page (WindowEditor tests what it shows). (The status line of
    // each page: gui MainForm.StartsWithItsPagesMenusAndWindows.)
    logic_->PageShown(TPage::Input);
    logic_->PageShown(TPage::Figure);
    logic_->PageShown(TPage::Input);
    EXPECT_EQ(editor_.InputPages, 2);

    OpenAndShowInput(WriteInput("field.inp", Field(3, 1)));
    EXPECT_EQ(std::make_pair(editor_.InputPages, editor_.Fills), std::make_pair(3, 1));
    ASSERT_EQ(dm_.Rec.Ky, 1);
    logic_->PageShown(TPage::Intro);
    EXPECT_EQ(dm_.Rec.Ky, 0); // the Intro page resets Ky
    EXPECT_FALSE(Enabled(ctl::InputSave));
    logic_->PageShown(TPage::Output); // no output yet: the decorative picture
    EXPECT_TRUE(Visible(ctl::OutputDecorImage));
    EXPECT_FALSE(ops_.TextVisible);
    ExpectVisible(ops_, {ctl::GroupButton, ctl::GroupsPanel}, false);
    ExpectVisible(ops_, {ctl::OutputOpenButton, ctl::GroupOpenButton});

    // Opening an input file from another page shows the Input page, with the file's
    // status; so does a file named at the start.
    Pick({Path("field.inp")}, &TMainFormLogic::InputOpen);
    EXPECT_EQ(std::make_pair(ops_.ShownPages.back(), logic_->State.CurrentPage),
              std::make_pair(TPage::Input, TPage::Input));
    EXPECT_EQ(ops_.StatusTexts.back(), msg::InputOpenedStatus);
    ops_.Controls.clear(); // a new window
    StartWindow();
    logic_->OpenInputFile("field.inp");
    EXPECT_EQ(ops_.ShownPages.back(), TPage::Input);
    EXPECT_EQ(dm_.Rec.Shell.FileName, Path("field.inp"));

    // The help buttons and Exit show their windows.
    logic_->KrHelp();
    logic_->InputSymbols();
    logic_->OutputSymbols();
    logic_->ProgramExit();
    EXPECT_EQ(ops_.VisibleWindows,
              (std::set<TWindow>{TWindow::Help, TWindow::InputSymbols, TWindow::OutputSymbols, TWindow::Close}));
}

// Unsaved input (a group saved with "Save group" or a title changed since the input
// was last read or written) is given up only after a yes: quitting, opening an input
// file, opening an output file that brings its input. Nothing is asked when nothing
// would be lost; values a run writes back do not count.
TEST_F(WindowRun, AsksBeforeUnsavedInputIsLost)
{
    const auto quit = [&](std::vector<bool> answers) {
        ops_.VisibleWindows.clear();
        const std::size_t mark = ops_.Events.size();
        Pick({}, &TMainFormLogic::ProgramExit, std::move(answers));
        return std::make_pair(DialogueSince(mark), ops_.VisibleWindows.count(TWindow::Close) > 0);
    };
    const std::vector<std::string> asked{"question: " + std::string(msg::QuitUnsaved)};
    EXPECT_EQ(quit({}), std::make_pair(TLines{}, true)); // nothing to lose

    // A new data set with a group saved and no file yet.
    logic_->PageShown(TPage::Input);
    editor_.Saves = 1;
    EXPECT_EQ(quit({true}), std::make_pair(asked, true));

    // Opening an input file asks first; No leaves the input as it is.
    const std::string field = WriteInput("field.inp", Field(3));
    Pick({field}, &TMainFormLogic::InputOpen, {false});
    EXPECT_EQ(ops_.Questions.back(), msg::OpenInputUnsaved);
    EXPECT_FALSE(editor_.DataLoaded());
    EXPECT_NE(dm_.Rec.Shell.FileName, field);
    Pick({field}, &TMainFormLogic::InputOpen, {true});
    EXPECT_EQ(dm_.Rec.Shell.FileName, field);
    EXPECT_EQ(quit({}).first, std::vector<std::string>{}); // just read: nothing unsaved

    // A title changed, then changed back.
    ops_.SetControlText(ctl::Title1Edit, "another title");
    EXPECT_EQ(quit({false}).first, asked);
    ops_.SetControlText(ctl::Title1Edit, dm_.Rec.Title1);
    EXPECT_EQ(quit({}).first, std::vector<std::string>{});

    // Saved and run: the run's values written back count for nothing.
    editor_.Saves = 2;
    SaveRun({Path("Field.inp")}, {true});
    EXPECT_EQ(quit({}).first, std::vector<std::string>{});
    // A refused save saves nothing.
    editor_.Saves = 3;
    ops_.SetControlText(ctl::Title2Edit, "changed");
    SaveRun({Path("a.b.inp"), std::nullopt}, {});
    EXPECT_EQ(quit({false}).first, asked);

    // "Open output file" whose input replaces the one being edited: asked; No
    // leaves the page and the input as they were.
    logic_->PageShown(TPage::Input);
    const std::vector<std::string> shown = ops_.TextLines;
    Pick({Path("Field.res")}, &TMainFormLogic::OutputOpen, {false});
    EXPECT_EQ(ops_.Questions.back(), msg::OpenOutputUnsaved);
    EXPECT_EQ(ops_.TextLines, shown);
    EXPECT_EQ(logic_->State.CurrentPage, TPage::Input);
    EXPECT_EQ(ops_.Controls[ctl::Title2Edit].Text, "changed");
    // A result without its input file takes nothing away: not asked.
    std::vector<std::string> alone = FileLines(dir_ / "Field.res");
    for (std::string& line : alone)
        if (line.rfind(" Name of input (data) file used   : ", 0) == 0)
            line = " Name of input (data) file used   : " + Path("Gone.INP");
    WriteFile(dir_ / "Alone.res", Joined(alone));
    const std::size_t questions = ops_.Questions.size();
    Pick({Path("Alone.res")}, &TMainFormLogic::OutputOpen);
    EXPECT_EQ(ops_.Questions.size(), questions);
    EXPECT_EQ(ops_.TextLines, FileLines(dir_ / "Alone.res"));
    Pick({Path("Field.res")}, &TMainFormLogic::OutputOpen, {true});
    EXPECT_EQ(ops_.Controls[ctl::Title2Edit].Text, dm_.Rec.Title2);
    EXPECT_EQ(quit({}).first, std::vector<std::string>{});
}

// "Open example" writes the bundled examples into the folder chosen and opens
// field.inp; examples already there are left alone, a user's file of either name is
// replaced only after a yes, and unsaved input is not given up without one.
TEST_F(WindowRun, OpenExampleWritesTheExamplesAndOpensField)
{
    const auto example = [&](std::optional<std::string> folder, std::vector<bool> answers) {
        const std::size_t mark = ops_.Events.size();
        Pick({std::move(folder)}, &TMainFormLogic::OpenExample, std::move(answers));
        return DialogueSince(mark);
    };
    const std::string folderDialog = "folder: " + std::string(DialogInfo(TDialog::ExampleFolder).Caption);
    EXPECT_EQ(example(std::nullopt, {}), (TLines{folderDialog, "message: " + std::string(msg::NoExampleFolder)}));

    const std::string ex = Path("examples");
    const std::vector<std::string> written{folderDialog, "message: " + msg::ExamplesWritten(ex),
                                           "message: " + std::string(msg::InputOpened)};
    EXPECT_EQ(example(ex, {}), written);
    EXPECT_EQ(ReadFile(dir_ / "examples" / "field.inp"), FieldExampleText());
    EXPECT_EQ(ReadFile(dir_ / "examples" / "wells.inp"), WellsExampleText());
    EXPECT_EQ(dm_.Rec.Shell.FileName, ex + "/field.inp");
    EXPECT_EQ(InputFileText(dm_.Rec), FieldExampleText());
    EXPECT_EQ(example(ex, {}), written); // the examples already there: nothing asked

    // A user's field.inp there: No keeps it and opens nothing; Yes replaces it.
    WriteFile(dir_ / "examples" / "field.inp", "mine\r\n");
    dm_.Rec.Shell.FileName = "before";
    EXPECT_EQ(example(ex, {false}), (TLines{folderDialog, "question: " + msg::ReplaceByExamples(ex, {"field.inp"}),
                                            "message: " + std::string(msg::ExamplesNotWritten)}));
    EXPECT_EQ(ReadFile(dir_ / "examples" / "field.inp"), "mine\r\n");
    EXPECT_EQ(dm_.Rec.Shell.FileName, "before");

    // Unsaved input: asked first; No writes nothing.
    WriteFile(dir_ / "examples" / "wells.inp", "mine too\r\n");
    editor_.Saves = 1;
    EXPECT_EQ(example(ex, {false}), (TLines{folderDialog, "question: " + std::string(msg::OpenExampleUnsaved)}));
    EXPECT_EQ(ReadFile(dir_ / "examples" / "wells.inp"), "mine too\r\n");
    std::vector<std::string> replaced{folderDialog, "question: " + std::string(msg::OpenExampleUnsaved),
                                      "question: " + msg::ReplaceByExamples(ex, {"field.inp", "wells.inp"})};
    replaced.insert(replaced.end(), written.begin() + 1, written.end());
    EXPECT_EQ(example(ex, {true, true}), replaced);
    EXPECT_EQ(ReadFile(dir_ / "examples" / "field.inp"), FieldExampleText());
    EXPECT_EQ(ReadFile(dir_ / "examples" / "wells.inp"), WellsExampleText());
    EXPECT_EQ(dm_.Rec.Shell.FileName, ex + "/field.inp");
}

TEST_F(WindowRun, StartFolderThatCannotBeWrittenSendsTheListsToTheStateFolder)
{
    // The start folder refuses new files, as a folder of the system would.
    class TReadOnlyStart final : public TFileSystem {
    public:
        explicit TReadOnlyStart(std::string start) : start_(std::move(start)) {}
        void WriteNewFile(const std::string& path, std::string_view data) override
        {
            if (fs::path(path).parent_path() == fs::path(start_))
                throw TVeltraError(TErrorKind::File, CannotWriteMessage(path));
            TFileSystem::WriteNewFile(path, data);
        }

    private:
        std::string start_;
    };
    fs::create_directories(dir_ / "work");
    TReadOnlyStart files(dir_.string());
    const std::string state = (dir_ / "state").string();
    ::setenv("XDG_STATE_HOME", state.c_str(), 1);
    StartWindow(files);

    // A series keeps warning.lst until it ends: it is in the state folder.
    OpenAndShowInput(WriteInput("work/field.inp", Field(2, 1)));
    SaveRun({Path("work/Field.inp")}, {true, true, true});
    ::unsetenv("XDG_STATE_HOME");
    EXPECT_EQ(logic_->State.ListFolder, state + "/veltra");
    EXPECT_NE(std::find(ops_.StatusTexts.begin(), ops_.StatusTexts.end(),
                        msg::ListsElsewhere(state + "/veltra", dir_.string())),
              ops_.StatusTexts.end());
    EXPECT_TRUE(fs::exists(dir_ / "state" / "veltra" / "warning.lst"));
    EXPECT_FALSE(fs::exists(dir_ / "warning.lst"));
    EXPECT_TRUE(fs::exists(dir_ / "work" / "Field.res"));
}

TEST(DialogFilters, MatchBothCasesAndPicturesArePngToo)
{
    // A save writes ".INP": a filter of lower-case names only would hide it. (The
    // input save dialog's: every save's dialogue.)
    const std::pair<TDialog, const char*> filters[] = {
        {TDialog::InputOpen, "(*.inp *.INP)"},
        {TDialog::OutputOpen, "(*.res *.RES)"},
        {TDialog::GroupOpen, "(*.prn *.PRN)"},
        {TDialog::GroupSave, "(*.prn *.PRN)"},
        {TDialog::GraphOpen, "(*.bmp *.BMP *.png *.PNG)"},
        {TDialog::GraphSave, "(*.bmp *.BMP *.png *.PNG *.svg *.SVG *.pdf *.PDF)"},
    };
    for (const auto& [dialog, patterns] : filters) {
        const std::string filter = DialogInfo(dialog).Filter;
        EXPECT_EQ(filter.substr(filter.find('(')), patterns) << filter;
    }
}

TEST(HelpTexts, EverySymbolHasItsLine)
{
    // Each symbol of the input groups (together they hold every value of the input
    // file) and of the result file's value lines starts a line of its list:
    // " Symbol  meaning, unit".
    auto listed = [](const std::string& text, const std::string& symbol) {
        return text.find("\n " + symbol + " ") != std::string::npos;
    };
    for (const auto& g : InputGroups())
        for (const auto& f : g.Fields) {
            const std::string stem = f.Symbol;
            const std::string symbol = stem == "CaMax" ? "CAmax" : stem == "CbMax" ? "CBmax" : stem; // as in the file
            EXPECT_TRUE(listed(InputSymbolsText(), symbol)) << symbol;
        }

    int cells = 0;
    for (const std::string& l : FileLines(fs::path(VELTRA_SOURCE_DIR) / "tests/reference/examples/field/field.res")) {
        for (std::size_t at = l.find(" = "); at != std::string::npos; at = l.find(" = ", at + 3)) {
            std::size_t start = l.find_last_of(' ', at - 1);
            const std::string symbol = l.substr(start + 1, at - start - 1);
            if (symbol.empty() || symbol == "=")
                continue;
            ++cells;
            EXPECT_TRUE(listed(OutputSymbolsText(), symbol)) << symbol;
        }
    }
    EXPECT_GT(cells, 40);
    for (int kr : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10})
        EXPECT_NE(RotationKeyHelpText().find(" Kr = " + std::to_string(kr) + " "), std::string::npos) << kr;
}

// A failure that ends an event of the user reaches the user as one message, worded
// by who is at fault, and never escapes the event.
TEST(UserEvent, FailuresAreShownOnceAndWordedByWhoIsAtFault)
{
    struct TCase {
        std::function<void()> Body;
        std::vector<std::string> Shown;
    };
    const std::vector<TCase> cases{
        {[] {}, {}},
        {[] { throw TVeltraError(TErrorKind::File, "a.inp could not be read"); }, {"a.inp could not be read"}},
        {[] { throw TVeltraError(TErrorKind::Internal, "no record"); }, {"Veltra: internal error: no record"}},
        {[] { throw std::runtime_error("out of luck"); }, {"Veltra: internal error: out of luck"}},
        {[] { throw 7; }, {"Veltra: internal error: an unknown failure ended this action."}},
    };
    for (const TCase& c : cases) {
        std::vector<std::string> shown;
        HandleUserEvent(c.Body, [&](const std::string& text) { shown.push_back(text); });
        EXPECT_EQ(shown, c.Shown);
    }
    // A report that fails itself ends there too.
    EXPECT_NO_THROW(HandleUserEvent([] { throw std::runtime_error("x"); },
                                    [](const std::string&) { throw std::runtime_error("no window"); }));
}

} // namespace
} // namespace veltra::test
