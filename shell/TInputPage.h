#pragma once
// The Input page's workflow: the page shown, opening an input file (chosen, named at
// the start, or a bundled example), and " Save / run ": naming and writing the
// input file, then the runs (TYearDialogue.h).
#include <string>

#include "shell/TWindowCore.h"
#include "shell/TYearDialogue.h"

namespace veltra {

class TInputPage {
public:
    TInputPage(TWindowCore& w, TYearDialogue& years) : w_(w), years_(years) {}

    void Shown();
    void Open();                            // "Open input file"
    void OpenFile(const std::string& path); // a file named at the start, as if chosen
    void OpenExample();                     // "Open example"
    void SaveAndRun();                      // " Save / run "

private:
    // `askFirst`: unsaved input is not given up without the user's yes.
    void OpenInput(const std::string& path, bool askFirst = true);
    // The record and the window after the file `path` was read.
    void ShowOpenedInput();

    // The naming step: true when the save may go on (FileName is the file).
    bool ChooseInputName(bool forceDialog);
    // The file the save goes to, asked for again while the dots rule or the data-path
    // rule refuses it; false when the save stops. `created`: the save made the file
    // (empty).
    bool NameTheFile(bool& created);
    enum class TNaming { Named, Stopped, AskAgain };
    TNaming NameOnce(bool forceDialog, bool& created);
    // The first input file of the run or series, its year-by-year mode and folders.
    void NoteRunFiles();
    // The data-path rule: a later year of a series is saved beside the first year's
    // file. True when it refuses FileName (the file this save made is gone again).
    bool RefusedByDataPath(bool& created);
    // The record written as FileName; false (after saying so) when it cannot be.
    bool WriteTheFile(bool created);
    // The file written is the input now: the run starts from the values it holds.
    void TakeTheSavedFile();
    // "Do you wish to do the calculations?"
    bool CalculationsWanted();
    // After the run: the year-by-year dialogue, or the outcome on the Output page.
    void FollowTheRun();

    TWindowCore& w_;
    TYearDialogue& years_;
};

} // namespace veltra
