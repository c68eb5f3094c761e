#pragma once
// What the main window's workflow tells the input editor (the data-group selector
// and panels of the Input page): one call per event of the workflow, each at a
// fixed point of it. TInputEditor (shell/TInputEditor.h) answers them; the window's
// own tests put a recorder in its place. The editor keeps what it needs to know of
// the workflow (whether a file is loaded, Ns and Ny of that file) from these calls.
namespace veltra {

class TInputEditorHooks {
public:
    virtual ~TInputEditorHooks() = default;

    // The Input page was shown (after Ny and Ky of the file were put back, when a
    // run had changed them). With a file loaded every group may be chosen; during
    // the guided entry of a new data set the entry goes on where it was; otherwise
    // the guided entry starts with fresh keys.
    virtual void InputPageShown() = 0;
    // "Open input file" read a file into the record: the pages show it, every group
    // may be chosen and the General data group is open.
    virtual void InputFileOpened() = 0;
    // "Open output file" read the input file of the result into the record: the
    // pages show it.
    virtual void ResultInputRead() = 0;
    // " Save / run " has named its file: Ns and Ny count as the file's from now on.
    virtual void SavingInput() = 0;
    // " Save / run " wrote the input file: a new data set is a loaded file now.
    virtual void InputSaved() = 0;
    // A run (one year of a series) finished: the values the engine wrote into the
    // record are shown.
    virtual void RunFinished() = 0;
    // The window changed keys of the record (the Intro page cleared Ky, a
    // discontinued series lowered Ny): the selectors show them.
    virtual void KeysReset() = 0;

    // An input file was read (opened, or with a result file) or saved since the
    // start: the Input page shows a file, not a new data set.
    virtual bool DataLoaded() const = 0;
    // How many times a group was saved with "Save group" since the start: the window
    // compares it with the count when the input was last read or written.
    virtual int GroupSaves() const = 0;
};

} // namespace veltra
