// The Output and Graphics pages through the window: output groups, tables, the
// grid, group files, the clipboard, drawing, saving and opening graphs, opening a
// result file, and the input they must leave alone.
#include <tuple>
#include <utility>

#include "WindowTestSupport.h"
#include "graphs/Chart.h"
#include "model/SafeFile.h"
#include "results/GroupFile.h"
#include "results/OutputGroups.h"
#include "shell/ControlNames.h"
#include "shell/WindowMessages.h"

namespace veltra::test {
namespace {

class OutputPage : public WindowTest {
protected:
    // The field example over 3 years, run through the window: the Output page shows it.
    void RunField()
    {
        OpenAndShowInput(WriteInput("field.inp", Field(3)));
        SaveRun({Path("Field.inp")}, {true});
        ASSERT_EQ(ops_.ShownPages.back(), TPage::Output);
    }

    void Go(int option)
    {
        logic_->OutputGroups();
        ops_.SetControlText(ctl::GroupOption, std::to_string(option));
        logic_->Go();
    }

    // The message a file dialog's choice (and the answers asked for) gave.
    std::string Said(std::vector<std::optional<std::string>> files, void (TMainFormLogic::*action)(),
                     std::vector<bool> answers = {})
    {
        Pick(std::move(files), action, std::move(answers));
        return ops_.Messages.back();
    }

    // What "Go" gives for this option, computed apart from the window.
    TDataMod Expected(int option) const
    {
        TDataMod dm;
        dm.Rec.Shell.FileName = (dir_ / "Field.res").string();
        RunGroupOption(dm, option);
        return dm;
    }
};

TEST_F(OutputPage, GroupTableGridClipboardAndGroupFile)
{
    RunField();
    Go(1);
    const TDataMod expected = Expected(1);
    EXPECT_EQ(ops_.TextLines, TableViewLines(expected));
    EXPECT_TRUE(ops_.TextVisible);
    ASSERT_TRUE(ops_.GridVisible);
    EXPECT_EQ(std::make_pair(ops_.GridColumns, ops_.GridRows), std::make_pair(10, 9)); // heads, years 0 to 3
    EXPECT_EQ((std::vector<std::string>{ops_.Cell(0, 0), ops_.Cell(1, 0), ops_.Cell(5, 0), ops_.Cell(0, 8),
                                        ops_.Cell(1, 8), ops_.Cell(5, 8)}),
              (std::vector<std::string>{" Year", "Season", " Cr4", "3", "2", expected.Groups.GridTexts[4][7]}));
    ExpectVisible(ops_, {ctl::GroupSaveButton, ctl::SeeGraphButton, ctl::ClipButton, ctl::ClipNoteLabel});

    logic_->ToClipboard();
    EXPECT_EQ(ops_.ClipboardText, ClipboardText(expected));
    EXPECT_EQ(ops_.Messages.back(), msg::OnClipboard);

    // Save group: the group file of the table; the dots rule counts the file name only.
    fs::create_directories(dir_ / "j.smith");
    Pick({Path("j.smith/salt.v1.prn"), Path("j.smith/salt")}, &TMainFormLogic::GroupSave);
    EXPECT_EQ(ops_.StatusTexts.back(), msg::GroupSaveStatus);
    const std::string saved = Path("j.smith/salt.prn");
    EXPECT_EQ(ops_.Messages.end()[-2], msg::TooManyDots);
    EXPECT_EQ(ops_.Messages.back(), "The group data are saved in " + saved);
    EXPECT_FALSE(fs::exists(dir_ / "j.smith" / "salt.v1.prn"));
    const std::string reference = Path("reference.prn");
    SaveGroupFile(expected, reference);
    EXPECT_EQ(ReadFile(saved), ReadFile(reference));

    // Overwrite declined.
    EXPECT_EQ(Said({Path("j.smith/salt.prn")}, &TMainFormLogic::GroupSave, {false}), msg::GroupNotSaved);
    EXPECT_FALSE(logic_->State.SaveCancelled);
    EXPECT_EQ(Said({std::nullopt}, &TMainFormLogic::GroupSave), msg::GroupNotSaved);
    EXPECT_TRUE(logic_->State.SaveCancelled);

    // A file that cannot be written is not reported as saved.
    EXPECT_EQ(Said({Path("missing/salt.prn")}, &TMainFormLogic::GroupSave),
              CannotWriteMessage(Path("missing/salt.prn")));

    // "Group file" pressed on the Graphics page reads it back on the Output page: "See
    // graph" and "Save group", which saves it unchanged.
    logic_->SeeGraph();
    ASSERT_EQ(logic_->State.CurrentPage, TPage::Graphics);
    Pick({saved}, &TMainFormLogic::GroupOpen);
    EXPECT_EQ(std::make_pair(logic_->State.CurrentPage, ops_.ShownPages.back()),
              std::make_pair(TPage::Output, TPage::Output));
    EXPECT_EQ(ops_.TextLines, FileLines(saved));
    EXPECT_TRUE(ops_.TextVisible);
    ExpectVisible(ops_, {ctl::SeeGraphButton, ctl::GroupSaveButton});
    ExpectVisible(ops_, {ctl::OutputDecorImage}, false);
    EXPECT_FALSE(ops_.GridVisible);
    Pick({Path("copy.prn")}, &TMainFormLogic::GroupSave);
    EXPECT_EQ(ReadFile(dir_ / "copy.prn"), ReadFile(saved));

    // "Go" after a group file reads the result file of the run on screen.
    const std::size_t said = ops_.Messages.size();
    Go(2);
    EXPECT_EQ(ops_.Messages.size(), said);
    EXPECT_EQ(ops_.TextLines, TableViewLines(Expected(2)));
    EXPECT_TRUE(Visible(ctl::SeeGraphButton));
    // A file that is not a group file is shown as text, and the user is told so.
    logic_->PageShown(TPage::Graphics);
    WriteFile(dir_ / "notes.prn", "some notes\r\n");
    Pick({Path("notes.prn")}, &TMainFormLogic::GroupOpen);
    EXPECT_EQ(logic_->State.CurrentPage, TPage::Output);
    EXPECT_EQ(ops_.TextLines, std::vector<std::string>{"some notes"});
    EXPECT_EQ(ops_.Messages.back(), msg::NotAGroupFile(Path("notes.prn")));
    EXPECT_FALSE(Visible(ctl::SeeGraphButton));
    // The frequency view, saved as shown.
    Go(13);
    EXPECT_EQ(ops_.TextLines, FileLines(dir_ / "Field.frq"));
    EXPECT_TRUE(Visible(ctl::GroupSaveButton));
    ExpectVisible(ops_, {ctl::SeeGraphButton, ctl::ClipButton, ctl::ClipNoteLabel}, false);
    EXPECT_FALSE(ops_.GridVisible);
    Pick({Path("freq.prn")}, &TMainFormLogic::GroupSave);
    EXPECT_EQ(ReadFile(dir_ / "freq.prn"), ReadFile(dir_ / "Field.frq"));

    // Opening a result file that fails leaves the page as it was; reading output
    // leaves the input alone.
    const std::vector<std::string> shown = ops_.TextLines;
    EXPECT_EQ(Said({Path("none.res")}, &TMainFormLogic::OutputOpen), msg::FileMissing);
    EXPECT_EQ(ops_.TextLines, shown);
    EXPECT_TRUE(ops_.TextVisible);
    EXPECT_TRUE(logic_->State.OutputPresent);
    EXPECT_EQ(Said({std::nullopt}, &TMainFormLogic::OutputOpen), msg::NoOutputFile);
    EXPECT_FALSE(logic_->State.OutputPresent);
    EXPECT_EQ(ops_.TextLines, shown);
    // "Go" on a result file that is gone: the message names it, the table stays.
    Go(1);
    const std::vector<std::string> table = ops_.TextLines;
    fs::rename(dir_ / "Field.res", dir_ / "Moved.res");
    Go(2);
    EXPECT_EQ(ops_.Messages.back(), GroupFileMessage(Path("Field.res")));
    EXPECT_EQ(ops_.TextLines, table);
    EXPECT_EQ(logic_->OutputData().Rec.Shell.FileName, Path("Field.res"));

    // A group file of another shape (4 seasons, 10 years) read back.
    OpenAndShowInput(WriteInput("Wells.inp", WellsExampleRecord()));
    SaveRun({Path("Wells.inp")}, {true, true}); // saved over itself, run
    Go(4);
    Pick({Path("wells4.prn")}, &TMainFormLogic::GroupSave);

    OpenAndShowInput(WriteInput("field.inp", Field(3)));
    const TInputRecord opened = dm_.Rec;
    logic_->PageShown(TPage::Output);
    Pick({Path("wells4.prn")}, &TMainFormLogic::GroupOpen);
    EXPECT_EQ(logic_->OutputData().Rec.Ns, 4);
    EXPECT_EQ(std::tie(dm_.Rec.Ns, dm_.Rec.Ny, dm_.Rec.Ts), std::tie(opened.Ns, opened.Ny, opened.Ts));

    // "Open output file" of a result whose input file is missing: the record stays.
    fs::copy_file(dir_ / "Wells.res", dir_ / "Lonely.res");
    const int fills = editor_.Fills;
    Pick({Path("Lonely.res")}, &TMainFormLogic::OutputOpen);
    EXPECT_EQ(ops_.TextLines, FileLines(dir_ / "Lonely.res"));
    EXPECT_EQ(ops_.StatusTexts.back(), msg::OutputOpenedNoInput);
    EXPECT_EQ(std::tie(dm_.Rec.Ns, dm_.Rec.Shell.FileName), std::tie(opened.Ns, opened.Shell.FileName));
    EXPECT_EQ(editor_.Fills, fills);
    // With its input file there, the record takes it and the Input page shows it.
    Pick({Path("Wells.res")}, &TMainFormLogic::OutputOpen);
    EXPECT_EQ(std::make_pair(int{dm_.Rec.Ns}, dm_.Rec.Shell.FileName), std::make_pair(4, Path("Wells.res")));
    EXPECT_EQ(ops_.Controls[ctl::FileNameLabel].Text, Path("Wells.inp"));
    EXPECT_EQ(editor_.Fills, fills + 1);
    // "Go" on it reads the run's shape into the output side only.
    dm_.Rec.Ny = 7;
    Go(5);
    EXPECT_EQ((std::vector<int>{dm_.Rec.Ny, logic_->OutputData().Rec.Ny}), (std::vector<int>{7, 10}));
}

// Graphs drawn, refused, saved and opened. Print prints what the page shows: the
// input on the Input page (as shown, titles as typed), the result file, a table or a
// group file on the Output page, the chart on the Graphics page; elsewhere, or with
// nothing shown, it says so.
TEST_F(OutputPage, GraphsDrawnRefusedSavedAndOpenedAndWhatPrintPrints)
{
    const auto nothing = [&] {
        const std::size_t printed = ops_.PrintedFiles.size() + ops_.PrintedTexts.size() + ops_.PrintedPictures.size();
        logic_->FilePrint();
        return ops_.Messages.back() == msg::NothingToPrint &&
               printed == ops_.PrintedFiles.size() + ops_.PrintedTexts.size() + ops_.PrintedPictures.size();
    };
    EXPECT_TRUE(nothing()); // the Intro page; then a new data set with nothing entered yet
    for (TPage page : {TPage::Input, TPage::Output, TPage::Graphics}) {
        logic_->PageShown(page);
        EXPECT_TRUE(nothing()) << static_cast<int>(page);
    }

    RunField();
    logic_->FilePrint();
    EXPECT_EQ(ops_.PrintedFiles, std::vector<std::string>{Path("Field.res")});
    Go(1);
    logic_->FilePrint();
    EXPECT_EQ(ops_.PrintedTexts, (std::vector<std::pair<std::string, TLines>>{{"Field.res", ops_.TextLines}}));
    const std::size_t calls = ops_.Canvas.Calls.size();
    logic_->SeeGraph();
    logic_->FilePrint();
    EXPECT_EQ(ops_.PrintedPictures, std::vector<std::string>{"Graph"});
    EXPECT_GT(ops_.Canvas.Calls.size(), calls);
    EXPECT_EQ(ops_.ShownPages.back(), TPage::Graphics);
    EXPECT_TRUE(logic_->State.GraphMade);
    ExpectEnabled(ops_, {ctl::GraphSave, ctl::GraphSymbolsButton});

    // Save graph: a bitmap unless PNG, SVG or PDF is asked for, in any case.
    EXPECT_EQ(Said({Path("salt")}, &TMainFormLogic::GraphSave), "The graph was saved in  " + Path("salt.bmp"));
    EXPECT_EQ(ops_.Canvas.EncodedFormat, "BMP");
    for (const auto& [name, format] :
         {std::pair{"salt.png", "PNG"}, {"salt.svg", "SVG"}, {"salt.PDF", "PDF"}, {"salt.jpg", "BMP"}}) {
        const bool bitmap = format == std::string("BMP"); // salt.bmp, which is there: overwrite
        Pick({Path(name)}, &TMainFormLogic::GraphSave, std::vector<bool>(bitmap ? 1 : 0, true));
        EXPECT_EQ(ops_.Canvas.EncodedFormat, format) << name;
        const std::string saved = bitmap ? Path("salt.bmp") : Path(name);
        EXPECT_EQ(ops_.Messages.back(), "The graph was saved in  " + saved) << name;
        EXPECT_TRUE(fs::exists(saved)) << name;
    }
    EXPECT_EQ(Said({std::nullopt}, &TMainFormLogic::GraphSave), msg::GraphNotSaved);
    // Overwrite declined: the picture stays, and nothing is said.
    const std::size_t said = ops_.Messages.size();
    const std::string png = ReadFile(Path("salt.png"));
    Pick({Path("salt.png")}, &TMainFormLogic::GraphSave, {false});
    EXPECT_EQ(ops_.Messages.size(), said);
    EXPECT_EQ(ReadFile(Path("salt.png")), png);
    ops_.Canvas.SaveFails = true;
    EXPECT_EQ(Said({Path("none.bmp")}, &TMainFormLogic::GraphSave),
              "The picture for \"" + Path("none.bmp") + "\" could not be made.");
    ops_.Canvas.SaveFails = false;
    // A file that cannot be written (a full device) is not reported as saved.
    test::MakeDevice(Path("full.bmp"), "/dev/full", 7);
    EXPECT_EQ(Said({Path("full.bmp")}, &TMainFormLogic::GraphSave), CannotWriteMessage(Path("full.bmp")));
    EXPECT_FALSE(fs::exists(Path("none.bmp")));

    // Showing the Output page clears GraphMade: the Graphics page shows its picture.
    logic_->PageShown(TPage::Output);
    logic_->PageShown(TPage::Graphics);
    EXPECT_FALSE(Visible(ctl::GraphImage));
    EXPECT_FALSE(Enabled(ctl::GraphSave));

    // A refused chart (salt storage never above the surface) sets nothing.
    logic_->PageShown(TPage::Output);
    Go(3);
    const std::size_t before = ops_.Canvas.Calls.size();
    logic_->SeeGraph();
    EXPECT_EQ(ops_.Messages.back(), NoDataMessage);
    EXPECT_EQ(ops_.Canvas.Calls.size(), before);
    EXPECT_EQ((std::vector<bool>{logic_->State.GraphMade, Enabled(ctl::GraphSave)}), std::vector<bool>(2, false));
    EXPECT_EQ(logic_->State.CurrentPage, TPage::Output);

    // Open graph: shown, and it may be saved again.
    WriteFile(dir_ / "old.bmp", "BM");
    Pick({Path("old.bmp")}, &TMainFormLogic::GraphOpen);
    EXPECT_EQ(ops_.Canvas.LoadedPath, Path("old.bmp"));
    ASSERT_TRUE(logic_->State.GraphMade);
    ExpectEnabled(ops_, {ctl::GraphSave, ctl::GraphSymbolsButton});
    EXPECT_EQ(ops_.ShownPages.back(), TPage::Graphics);
    EXPECT_EQ(Said({std::nullopt}, &TMainFormLogic::GraphOpen), msg::NoImageFile);
    Pick({Path("none.bmp")}, &TMainFormLogic::GraphOpen);
    EXPECT_EQ(ops_.Messages.back(), msg::FileMissing);

    logic_->PageShown(TPage::Figure);
    EXPECT_TRUE(nothing());
    logic_->PageShown(TPage::Input);
    ops_.SetControlText(ctl::Title1Edit, "As typed, not yet saved");
    logic_->FilePrint();
    TInputRecord shown = dm_.Rec;
    shown.Title1 = "As typed, not yet saved";
    ASSERT_EQ(ops_.PrintedTexts.size(), 2u);
    EXPECT_EQ(ops_.PrintedTexts.back(), std::make_pair(std::string("Field.INP"), Lines(InputFileText(shown))));
}

} // namespace
} // namespace veltra::test
