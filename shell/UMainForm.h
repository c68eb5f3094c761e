#pragma once
// The main window's logic without a toolkit: the window's entry point. The Qt
// window (qt/TMainForm) calls one public member per user event, which runs the
// event to its end; tests call them with scripted operations.
//
// The window owns its state and hands it, with the records and operations
// (TWindowCore.h), to its pages by reference:
//   TInputPage.h      the Input page: open an input file, save and run
//   TYearDialogue.h   one check and run, the year-by-year dialogue
//   TOutputDisplay.h  the outcome of a run, opening and closing a result file
//   TOutputPage.h     output groups, group files, clipboard, drawing
//   TGraphicsPage.h   the Graphics page: saving and opening a graph
// This file keeps the start, the pages brought to the front, print, exit and the
// help windows.
#include <string>

#include "model/SafeFile.h"
#include "model/TEngineState.h"
#include "model/UDataMod.h"
#include "shell/ShellOps.h"
#include "shell/TGraphicsPage.h"
#include "shell/TInputEditorHooks.h"
#include "shell/TInputPage.h"
#include "shell/TOutputDisplay.h"
#include "shell/TOutputPage.h"
#include "shell/TWindowCore.h"
#include "shell/TYearDialogue.h"

namespace veltra {

class TMainFormLogic final : private TPageFront {
public:
    // `dm`, `st` and `carry` live as long as the window; every file operation of the
    // window goes through `files` (tests make it fail).
    TMainFormLogic(ShellOps& ops, TDataMod& dm, TEngineState& st, TAnnualCarry& carry, TInputEditorHooks& editor,
                   TFileSystem& files = RealFileSystem());

    // The window was created: the Intro page in front, the start folder noted.
    void Start();
    // The user brought a page to the front (a tab click).
    void PageShown(TPage page);

    // ---- File menu and Input page
    void InputOpen();                            // "Open input file"
    void OpenInputFile(const std::string& path); // a file named at the start, as if chosen
    // "Open example": the bundled examples field.inp and wells.inp written into a
    // folder the user picks (a different file of either name replaced only after a
    // yes), then field.inp opened.
    void OpenExample();
    void InputSave(); // " Save / run "
    void FilePrint();
    void ProgramExit();
    void KrHelp();
    void InputSymbols(); // "Symbols" of the Input page, "Symbols list" of the Figure page

    // ---- Output page
    void OutputOpen();    // "Open output file", "Output file"
    void CloseOutput();   // "Close output"
    void OutputGroups();  // "Output groups"
    void Go();            // "Go"
    void GroupSave();     // "Save group"
    void GroupOpen();     // "Group file"
    void ToClipboard();   // "to Clipboard"
    void SeeGraph();      // "See graph"
    void OutputSymbols(); // "Symbols" of the Output and Graphics pages

    // ---- Graphics page
    void GraphSave(); // "Save graph"
    void GraphOpen(); // "Open graph "

    TShellState State;
    // The input record being edited and run, with the error and warning lines.
    TDataMod& Data() { return core_.Dm; }
    // The output side: the result, group or frequency file read last, its group
    // store and table, and its own copy of the run's shape (Ns, Ny, Ts), so that
    // reading output never changes the input being edited.
    const TDataMod& OutputData() const { return core_.Out; }

private:
    void BringToFront(TPage page) override;
    void ShowPageBehaviour(TPage page);
    void IntroShown();
    void FigureShown();

    TWindowCore core_;
    TYearDialogue years_;
    TInputPage input_;
    TOutputDisplay display_;
    TGraphicsPage graphics_;
    TOutputPage output_;
};

} // namespace veltra
