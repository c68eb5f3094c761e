// The year-by-year procedure through the window: the dialogue after each year,
// input changes between years, the next year at once, the end of a series, a
// water-table stop, and how a series is left (discontinued: WindowRun's test of the
// case of an extension, which discontinues one).
#include <algorithm>

#include "WindowTestSupport.h"
#include "model/InputCheck.h"
#include "results/TextLists.h"
#include "shell/ControlNames.h"

namespace veltra::test {
namespace {

using YearByYear = WindowTest;

TEST_F(YearByYear, ThreeYearsWithInputChanges)
{
    OpenAndShowInput(WriteInput("field.inp", Field(3, 1)));
    EXPECT_EQ(SaveRunDialogue({Path("Field.inp")}, {true, true, true}),
              SaveAs({Question("The data were saved in: Field.INP. Do you wish to do the calculations?"),
                      Message("By setting the yearly calculation index Ky equal to 1 you have requested Veltra "
                              "calculations using the input file  Field.INP  for a time series of  3  years with the "
                              "option to introduce annual input changes.  The end of the intermediate annual "
                              "calculations of year  1  is reached. The intermediate results can be seen in output "
                              "file  Field.res"),
                      Question("Do you wish to continue with the next year Nr 2"),
                      Question("Do you wish to make input changes? If not, the program does the calculations for the "
                               "next time step straightaway."),
                      Message(msg::UseInputMenu)}));
    EXPECT_EQ(dm_.Rec.Shell.YearNr, 2);
    EXPECT_EQ(dm_.Rec.Shell.AnnualMode, 1);
    EXPECT_NE(ops_.ShownPages.back(), TPage::Output); // the user goes on from the Input page
    EXPECT_FALSE(logic_->State.NewRun);
    // Looking at the Intro page meanwhile keeps the series' Ky.
    logic_->PageShown(TPage::Intro);
    EXPECT_EQ(dm_.Rec.Ky, 1);
    logic_->PageShown(TPage::Input);

    // Year 2: an input change, then " Save / run " names the file itself.
    dm_.Rec.IaA[1] = 0.6;
    EXPECT_EQ(SaveRunDialogue({}, {true, true, true}),
              (TLines{Question("The data were saved in: Field2.inp. Do you wish to do the calculations?"),
                      Message(msg::YearReached("Field2.inp", 3, "2", "Field.res")),
                      Question("Do you wish to continue with the next year Nr 3"), Question(msg::MakeInputChanges),
                      Message(msg::UseInputMenu)}));
    EXPECT_EQ(InputOf(Path("Field2.inp")).IaA[1], 0.6);

    // Year 3, the last: the end of the series, then the Output page shows all years.
    EXPECT_EQ(SaveRunDialogue({}, {true}),
              (TLines{Question("The data were saved in: Field3.inp. Do you wish to do the calculations?"),
                      Message("The end of the time series is reached. The results can be seen in  Field.res"),
                      Message(msg::RuntimeCommentsGiven)}));
    EXPECT_EQ(Present(dir_, {"Field2.inp", "Field3.inp"}), (TLines{"Field2.inp", "Field3.inp"}));
    EXPECT_EQ(YearsOf(dir_ / "Field.res"), (std::vector<int>{0, 0, 1, 1, 2, 2, 3, 3}));
    EXPECT_EQ(Present(dir_, {"Field2.res", "warning.lst"}), TLines());
    EXPECT_EQ(ops_.ShownPages.back(), TPage::Output);
    EXPECT_EQ(ops_.TextLines, FileLines(dir_ / "Field.res"));
    EXPECT_EQ(
        (std::vector<int>{dm_.Rec.Shell.SeriesEnded, dm_.Rec.Shell.AnnualMode, dm_.Rec.Shell.YearNr, st_.YearsDone}),
        (std::vector<int>{1, 0, 1, 0}));

    // The warnings of every year are kept, not only the last year's.
    const std::string& memo = ops_.Controls[ctl::WarningMemo].Text;
    EXPECT_NE(memo.find("in year :  2, season : 1"), std::string::npos) << memo;
    EXPECT_NE(memo.find("in year :  3, season : 1"), std::string::npos) << memo;
    EXPECT_EQ(memo.rfind(" THE FOLLOWING RUNTIME WARNINGS ARE GIVEN:"), 1u) << memo; // one heading, first

    // After the end, Ky = 1 chosen again (the Input page restores it): a save still
    // asks for a name and starts a new series.
    logic_->PageShown(TPage::Input);
    EXPECT_EQ(dm_.Rec.Shell.AnnualMode, 1);
    EXPECT_EQ(dm_.Rec.Shell.YearNr, 1);
    EXPECT_EQ(SaveRunDialogue({Path("Second.inp")}, {false}).back(),
              Question("The data were saved in: Second.INP. Do you wish to do the calculations?"));

    // Opening a result file or an input file clears the end of a series.
    dm_.Rec.Shell.SeriesEnded = 1;
    Pick({Path("Field.res")}, &TMainFormLogic::OutputOpen);
    EXPECT_EQ(dm_.Rec.Shell.SeriesEnded, 0);
    dm_.Rec.Shell.SeriesEnded = 1;
    Pick({Path("field.inp")}, &TMainFormLogic::InputOpen);
    EXPECT_EQ(dm_.Rec.Shell.SeriesEnded, 0);
}

TEST_F(YearByYear, NextYearsAtOnceWithOneWarningMessageAndTheFilesOfTheCommandLine)
{
    OpenAndShowInput(WriteInput("field.inp", Field(3, 1)));
    EXPECT_EQ(SaveRunDialogue({Path("Field.inp")}, {true, true, false, true, false}),
              SaveAs({Question("The data were saved in: Field.INP. Do you wish to do the calculations?"),
                      Message(msg::YearReached("Field.INP", 3, "1", "Field.res")),
                      Question("Do you wish to continue with the next year Nr 2"), Question(msg::MakeInputChanges),
                      Message(msg::YearReached("Field.INP", 3, "2", "Field.res")),
                      Question("Do you wish to continue with the next year Nr 3"), Question(msg::MakeInputChanges),
                      Message(msg::SeriesEnd("Field.res")), Message(msg::RuntimeWarningsGiven)}));
    EXPECT_FALSE(fs::exists(dir_ / "Field2.inp")); // no input changes, no year files
    // One message for the chain, the window filled with the warnings of both years.
    EXPECT_TRUE(ops_.VisibleWindows.count(TWindow::Warning));
    const std::string& memo = ops_.Controls[ctl::WarningMemo].Text;
    EXPECT_NE(memo.find("in year :  2, season : 1"), std::string::npos) << memo;
    EXPECT_NE(memo.find("in year :  3, season : 1"), std::string::npos) << memo;
    EXPECT_EQ(ops_.ShownPages.back(), TPage::Output);

    // The command line runs the saved input in the same folder (the result file names
    // its paths), after the window's files were put aside: the very same files.
    fs::create_directories(dir_ / "window");
    for (const std::string name : {"Field.res", "Field.frq"})
        fs::rename(dir_ / name, dir_ / "window" / name);
    RunTool(dir_, "Field.INP");
    for (const std::string name : {"Field.res", "Field.frq"})
        EXPECT_EQ(ReadFile(dir_ / "window" / name), ReadFile(dir_ / name)) << name;
    EXPECT_FALSE(fs::exists(dir_ / "Field.trf")); // neither leaves a run marker after a series
    // The window keeps every year's warnings; warning.lst holds the last year's.
    const std::vector<std::string> cliWarnings = FileLines(dir_ / "warning.lst");
    ASSERT_GE(cliWarnings.size(), 3u);
    EXPECT_TRUE(std::search(dm_.WarningLines.begin(), dm_.WarningLines.end(), cliWarnings.begin() + 1,
                            cliWarnings.end()) != dm_.WarningLines.end());
    EXPECT_GT(dm_.WarningLines.size(), cliWarnings.size());
}

TEST_F(YearByYear, WaterTableStopEndsTheSeriesOrTheRun)
{
    // A strong outflow through the thin aquifer: the water table falls below its bottom in year 2.
    // A thin aquifer whose water table falls below its bottom in the first year.
    const TInputRecord aquifer = InputOf(std::string(VELTRA_REFERENCE_DIR) + "/hm_aquifer_stop/hm_aquifer_stop.inp");
    TInputRecord rec = aquifer;
    rec.Go[1] = rec.Go[2] = 0.3;
    rec.Ky = 1;
    OpenAndShowInput(WriteInput("stop.inp", rec));
    const std::vector<std::string> dialogue = SaveRunDialogue({Path("Stop.inp")}, {true, true, false});
    ASSERT_GE(dialogue.size(), 3u);
    // Year by year the engine finishes the year and gives no warning: the message says why.
    EXPECT_EQ(std::vector<std::string>(dialogue.end() - 3, dialogue.end()),
              (TLines{Question("Do you wish to continue with the next year Nr 2"), Question(msg::MakeInputChanges),
                      Message(msg::WaterTableAtBottom)}));
    EXPECT_EQ(ops_.ShownPages.back(), TPage::Output);
    EXPECT_EQ(YearsOf(dir_ / "Stop.res"), (std::vector<int>{0, 0, 1, 1, 2, 2}));
    EXPECT_EQ(ops_.TextLines, FileLines(dir_ / "Stop.res"));
    EXPECT_EQ(Present(dir_, {"Stop.trf", "warning.lst"}), TLines());
    // The series cannot go on: the next save starts a new one.
    EXPECT_TRUE(logic_->State.NewRun);
    EXPECT_EQ((std::vector<int>{dm_.Rec.Shell.AnnualMode, dm_.Rec.Shell.YearNr, st_.YearsDone}),
              (std::vector<int>{0, 0, 0}));
    // Without a series (and the file's own outflow) the stop ends the run in year 1 with
    // its warning, and the Output page shows what was reached.
    logic_->PageShown(TPage::Input);
    dm_.Rec.Go = aquifer.Go;
    dm_.Rec.Ky = 0;
    EXPECT_EQ(SaveRunDialogue({Path("Plain.inp")}, {true}),
              SaveAs({Question("The data were saved in: Plain.INP. Do you wish to do the calculations?"),
                      Message(msg::RuntimeCommentsGiven)}));
    EXPECT_EQ(ops_.Controls[ctl::WarningMemo].Text,
              "\n THE FOLLOWING RUNTIME WARNINGS ARE GIVEN:\n\n The watertable drops below bottom of the aquifer in "
              "year:  1\n Calculations are interrupted. Please revise the input data.\n\n");
    EXPECT_EQ(ops_.TextLines, FileLines(dir_ / "Plain.res"));
}

TEST_F(YearByYear, InputErrorsKeepTheSeriesFilesAndALoweredNyEndsIt)
{
    OpenAndShowInput(WriteInput("field.inp", Field(5, 1)));
    SaveRun({Path("Field.inp")}, {true, true, true});
    const std::string res = ReadFile(dir_ / "Field.res");
    const std::string frq = ReadFile(dir_ / "Field.frq");

    dm_.Rec.Dc = 0.5; // an error in year 2's input
    SaveRun({}, {true});
    EXPECT_EQ(ops_.Messages.back(), msg::InputErrorsFound);
    EXPECT_EQ(ops_.TextLines.back(), msg::AdjustInput);
    EXPECT_EQ(ReadFile(dir_ / "Field.res"), res);
    EXPECT_EQ(ReadFile(dir_ / "Field.frq"), frq);
    EXPECT_FALSE(logic_->State.NewRun);
    EXPECT_EQ(dm_.Rec.Shell.YearNr, 2);

    // Mended on the Input page and saved again: year 2 under its own name, onto the
    // series' files.
    logic_->PageShown(TPage::Input);
    dm_.Rec.Dc = FieldExampleRecord().Dc;
    SaveRun({}, {true, true, true});
    EXPECT_EQ(ops_.Questions.back(), msg::MakeInputChanges);
    EXPECT_EQ(YearsOf(dir_ / "Field.res"), (std::vector<int>{0, 0, 1, 1, 2, 2}));

    dm_.Rec.Ny = 2; // the series is cut short during year 3's changes
    EXPECT_EQ(SaveRunDialogue({}, {true}),
              (TLines{Question("The data were saved in: Field3.inp. Do you wish to do the calculations?"),
                      Message(msg::SeriesEnd("Field.res")), Message(msg::RuntimeCommentsGiven)}));
    EXPECT_EQ(dm_.Rec.Shell.SeriesEnded, 1);
}

// A new run never writes under an earlier file's name; "Close output" ends a series,
// and the next save starts a new one at year 0.
TEST_F(YearByYear, CloseOutputEndsTheSeriesAndANewRunStartsAtYearZero)
{
    OpenAndShowInput(WriteInput("field.inp", Field(3, 1)));
    SaveRun({Path("First.inp")}, {false}); // saved, not calculated
    EXPECT_TRUE(logic_->State.NewRun);
    SaveRun({Path("Field.inp")}, {true, true, true});
    EXPECT_FALSE(fs::exists(dir_ / "First.res"));
    EXPECT_EQ(dm_.Rec.Shell.AnnualStartFile, Path("Field.INP"));
    EXPECT_EQ(st_.YearsDone, 1);
    logic_->PageShown(TPage::Output); // "Close output" is a button of the Output page
    logic_->CloseOutput();
    EXPECT_EQ(ops_.ShownPages.back(), TPage::Input);
    EXPECT_EQ((std::vector<int>{st_.YearsDone, carry_.YearsDone, dm_.Rec.Shell.AnnualMode, dm_.Rec.Shell.YearNr,
                                dm_.Rec.Shell.SeriesEnded}),
              (std::vector<int>{0, 0, 0, 0, 0}));
    EXPECT_TRUE(logic_->State.NewRun);
    EXPECT_FALSE(fs::exists(dir_ / "warning.lst"));

    // The next save asks for a name and writes a whole new result file from year 0.
    SaveRun({Path("Again.inp")}, {true, true, true});
    EXPECT_EQ(YearsOf(dir_ / "Again.res"), (std::vector<int>{0, 0, 1, 1}));
    // The earlier series' files stay as they were.
    EXPECT_EQ(YearsOf(dir_ / "Field.res"), (std::vector<int>{0, 0, 1, 1}));
}

TEST_F(YearByYear, ALaterYearStaysInTheFirstYearsFolder)
{
    OpenAndShowInput(WriteInput("field.inp", Field(3, 1)));
    SaveRun({Path("Field.inp")}, {true, true, true});

    // The user opens the result of another run, elsewhere, between the years.
    fs::create_directories(dir_ / "other");
    WriteInputFile(Field(3, 1), Path("other/X.inp"));
    WriteFile(dir_ / "other" / "X.res", " a result\r\n");
    WriteFile(dir_ / "other" / "X2.inp", "the user's own file\r\n");
    Pick({Path("other/X.res")}, &TMainFormLogic::OutputOpen);
    EXPECT_EQ(dm_.Rec.Shell.FileName, Path("other/X.res"));
    logic_->PageShown(TPage::Input);

    EXPECT_EQ(SaveRunDialogue({Path("Field2.inp")}, {false}),
              (TLines{Message(" During calculations with annual input changes, the data-path cannot be changed. "
                              "Please save the input file in  " +
                              dir_.string()),
                      Message(msg::ChooseSaveName), "save: Input files (*.inp *.INP)",
                      Question("The data were saved in: Field2.INP. Do you wish to do the calculations?")}));
    EXPECT_EQ(ops_.DialogFolders[TDialog::InputSave], dir_.string());
    // An existing file of the user is never deleted.
    EXPECT_EQ(ReadFile(dir_ / "other" / "X2.inp"), "the user's own file\r\n");

    // A name this save created is removed again.
    fs::remove(dir_ / "other" / "X2.inp");
    Pick({Path("other/X.res")}, &TMainFormLogic::OutputOpen);
    logic_->PageShown(TPage::Input);
    SaveRun({Path("Field2.inp")}, {false});
    EXPECT_FALSE(fs::exists(dir_ / "other" / "X2.inp"));
}

} // namespace
} // namespace veltra::test
