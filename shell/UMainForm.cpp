// The main window: start, the pages brought to the front, each user event handed to
// its page, print, exit and the help windows.
#include "shell/UMainForm.h"

#include "engine/UCalculate.h"
#include "model/InputFile.h"
#include "shell/ControlNames.h"
#include "shell/WindowMessages.h"

namespace veltra {

namespace {

// The lines of a text with CR LF line ends.
std::vector<std::string> TextLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (std::size_t end; (end = text.find("\r\n", from)) != std::string::npos; from = end + 2)
        lines.push_back(text.substr(from, end - from));
    if (from < text.size())
        lines.push_back(text.substr(from));
    return lines;
}

} // namespace

TMainFormLogic::TMainFormLogic(ShellOps& ops, TDataMod& dm, TEngineState& st, TAnnualCarry& carry,
                               TInputEditorHooks& editor, TFileSystem& files)
    : core_(State, ops, dm, st, carry, editor, files, *this), years_(core_), input_(core_, years_),
      display_(core_, years_), graphics_(core_), output_(core_, graphics_)
{}

// ---------------------------------------------------------------- start and pages

void TMainFormLogic::Start()
{
    core_.Handle([&] {
        ShellOps& ops = core_.Ops;
        ops.ShowPage(TPage::Intro);
        State.CurrentPage = TPage::Intro;
        ShowPageBehaviour(TPage::Intro);
        State.StartDir = core_.Files.GetCurrentDir();
        State.CurrentDir = State.StartDir;
        core_.SetAllDialogFolders(State.StartDir);
        ops.DisableControl(ctl::InputSave);
        ops.DisableControl(ctl::GraphSave);
        State.OutputPresent = false;
        State.GraphMade = false;
        ClearOneShotFlags(core_.St);
        State.NewRun = true;
    });
}

void TMainFormLogic::PageShown(TPage page)
{
    core_.Handle([&] {
        State.CurrentPage = page;
        ShowPageBehaviour(page);
    });
}

void TMainFormLogic::BringToFront(TPage page)
{
    if (State.CurrentPage == page)
        return;
    core_.Ops.ShowPage(page);
    State.CurrentPage = page;
    ShowPageBehaviour(page);
}

void TMainFormLogic::ShowPageBehaviour(TPage page)
{
    switch (page) {
    case TPage::Intro: IntroShown(); break;
    case TPage::Input: input_.Shown(); break;
    case TPage::Output: display_.Shown(); break;
    case TPage::Graphics: graphics_.Shown(); break;
    case TPage::Figure: FigureShown(); break;
    }
}

void TMainFormLogic::IntroShown()
{
    core_.Ops.SetStatus(msg::IntroStatus);
    core_.Ops.DisableControl(ctl::InputSave);
    // A series going on keeps its Ky: the next year is run from the Input page.
    if (!core_.SeriesInProgress()) {
        core_.Dm.Rec.Ky = 0;
        core_.Editor.KeysReset();
    }
}

void TMainFormLogic::FigureShown()
{
    core_.Ops.SetStatus(msg::FigureStatus);
}

// ---------------------------------------------------------------- the events of the pages

void TMainFormLogic::InputOpen()
{
    core_.Handle([&] { input_.Open(); });
}

void TMainFormLogic::OpenInputFile(const std::string& path)
{
    core_.Handle([&] { input_.OpenFile(path); });
}

void TMainFormLogic::OpenExample()
{
    core_.Handle([&] { input_.OpenExample(); });
}

void TMainFormLogic::InputSave()
{
    core_.Handle([&] { input_.SaveAndRun(); });
}

void TMainFormLogic::OutputOpen()
{
    core_.Handle([&] { display_.OpenOutput(); });
}

void TMainFormLogic::CloseOutput()
{
    core_.Handle([&] { display_.CloseOutput(); });
}

void TMainFormLogic::OutputGroups()
{
    core_.Handle([&] { output_.ShowGroups(); });
}

void TMainFormLogic::Go()
{
    core_.Handle([&] { output_.Go(); });
}

void TMainFormLogic::GroupSave()
{
    core_.Handle([&] { output_.SaveGroup(); });
}

void TMainFormLogic::GroupOpen()
{
    core_.Handle([&] { output_.OpenGroupFile(); });
}

void TMainFormLogic::ToClipboard()
{
    core_.Handle([&] { output_.ToClipboard(); });
}

void TMainFormLogic::SeeGraph()
{
    core_.Handle([&] { output_.DrawGraph(); });
}

void TMainFormLogic::GraphSave()
{
    core_.Handle([&] { graphics_.SaveGraph(); });
}

void TMainFormLogic::GraphOpen()
{
    core_.Handle([&] { graphics_.OpenGraph(); });
}

// ---------------------------------------------------------------- print, exit, help windows

void TMainFormLogic::FilePrint()
{
    core_.Handle([&] {
        ShellOps& ops = core_.Ops;
        switch (State.CurrentPage) {
        case TPage::Input:
            // The input as the page has it, saved or not, with the titles as typed.
            if (core_.Editor.DataLoaded() || core_.Editor.GroupSaves() > 0) {
                TInputRecord shown = core_.Dm.Rec;
                shown.Title1 = ops.GetControlText(ctl::Title1Edit);
                shown.Title2 = ops.GetControlText(ctl::Title2Edit);
                const std::string file = ops.GetControlText(ctl::FileNameLabel);
                ops.PrintText(file.empty() ? "New data set" : FileNamePart(file), TextLines(InputFileText(shown)));
                return;
            }
            break;
        case TPage::Output:
            if (State.View == TOutputView::Result && !State.ResultFile.empty() &&
                core_.Files.FileExists(State.ResultFile)) {
                ops.PrintFile(State.ResultFile);
                return;
            }
            if (!core_.ShownText.empty()) {
                ops.PrintText(State.View == TOutputView::Errors ? "Input errors"
                                                                : FileNamePart(core_.Out.Rec.Shell.FileName),
                              core_.ShownText);
                return;
            }
            break;
        case TPage::Graphics:
            if (State.GraphMade) {
                ops.PrintPicture("Graph");
                return;
            }
            break;
        case TPage::Intro:
        case TPage::Figure: break;
        }
        ops.ShowMessage(msg::NothingToPrint);
    });
}

void TMainFormLogic::ProgramExit()
{
    core_.Handle([&] {
        // No: back to the window, the input as it is.
        if (core_.MayLoseInput(msg::QuitUnsaved))
            core_.Ops.ShowWindow(TWindow::Close);
    });
}

void TMainFormLogic::KrHelp()
{
    core_.Handle([&] { core_.Ops.ShowWindow(TWindow::Help); });
}

void TMainFormLogic::InputSymbols()
{
    core_.Handle([&] { core_.Ops.ShowWindow(TWindow::InputSymbols); });
}

void TMainFormLogic::OutputSymbols()
{
    core_.Handle([&] { core_.Ops.ShowWindow(TWindow::OutputSymbols); });
}

} // namespace veltra
