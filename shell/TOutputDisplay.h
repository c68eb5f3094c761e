#pragma once
// What a run produced, on the Output page: its input errors, its runtime warnings
// and its result file (the page shown after a run); opening a result file chosen by
// the user, with the input file it was calculated from; closing the output.
#include <optional>
#include <string>
#include <vector>

#include "shell/TWindowCore.h"
#include "shell/TYearDialogue.h"

namespace veltra {

class TOutputDisplay {
public:
    TOutputDisplay(TWindowCore& w, TYearDialogue& years) : w_(w), years_(years) {}

    void Shown();
    void OpenOutput();  // "Open output file", "Output file"
    void CloseOutput(); // "Close output"

private:
    // The page's buttons and status, whatever it shows.
    void PreparePage();
    // The input errors of the run, in the text view.
    void ShowInputErrors(bool series);
    // The runtime warnings of the run, and a series stopped at the aquifer bottom.
    void ShowRunEnd();
    // The result file of the run, in the text view.
    void ShowResultFile();

    // The result file `path` read as `lines`: the output side holds it, the text view
    // shows it.
    void TakeResultFile(const std::string& path, std::vector<std::string> lines);
    // The input file of the result, read into the record; false when it cannot be
    // read (the record stays as it was).
    bool ReadInputOfResult(const std::string& inputPath, const std::string& resultPath);
    // The page after a result file was opened.
    void ShowOpenedOutput(const std::string& path);

    TWindowCore& w_;
    TYearDialogue& years_;
};

} // namespace veltra
