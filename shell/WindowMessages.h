#pragma once
// The window's own texts: status lines, messages, questions and busy-box lines,
// in one place so that the workflow and its tests use the same words.
// Texts are written exactly as users and their files know them, odd spellings included;
// do not correct them.
#include <string>
#include <vector>

#include "model/ValueTests.h"

namespace veltra::msg {

// ---- Status lines of the pages
inline constexpr const char* IntroStatus = "Use the Input tabsheet to continue";
inline constexpr const char* InputStatus =
    "Enter data or use \"Open\" to see examples of input files in any folder or to edit existing files. "
    "Thereafter use \"Save / run\".";
inline constexpr const char* OutputStatus =
    "Click \"Output groups\" or \"Group file\" to see graphs. Alternatively click \"Output file\" to open an output "
    "file to make graphs.";
inline constexpr const char* OutputOpenedStatus =
    "Click \"Output group\" or \"Group file\" to see graphs. Alternatively click \"Output file\" to open an output "
    "file to make graphs.";
// "Open output file": which input file came with it.
inline std::string OutputOpenedWithInput(const std::string& inputPath)
{
    return "Input file read with the output: " + inputPath + ".  " + OutputOpenedStatus;
}
inline constexpr const char* OutputOpenedNoInput =
    "No input file of this output was found: the Input tabsheet keeps its data.  Click \"Output group\" or "
    "\"Group file\" to see graphs. Alternatively click \"Output file\" to open an output file to make graphs.";
// The Output page without output names only the buttons it shows.
inline constexpr const char* OutputErrorsStatus =
    "The input has errors, listed here: adjust it on the Input tabsheet. Alternatively click \"Open output file\" "
    "to open an output file to make graphs.";
inline constexpr const char* NoOutputStatus =
    "Click \"Open output file\" to open an output file to make graphs, or \"Group file\" to see a saved output "
    "group.";
inline constexpr const char* GraphicsStatus =
    "Graphics presentations of output data can be seen and saved. Use \"Output file\" to open an output file and "
    "make graphs.";
inline constexpr const char* FigureStatus = "The figure gives explanations of symbols used in the input tabsheet";
inline constexpr const char* InputOpenedStatus =
    "Edit the data.  Then use \"Save/run\", after which calculations will be done.";
inline constexpr const char* GroupSaveStatus = "Group data are saved as *.PRN files for spreadsheet use";
inline constexpr const char* CloseStatus = "Click on the Finish button to end the program.";

// ---- Files chosen or not
inline constexpr const char* NoInputFile = "No input file was selected";
inline constexpr const char* NoOutputFile = "No output file was selected";
inline constexpr const char* NoOutputGroup = "No output group was selected";
inline constexpr const char* NoImageFile = "No image file was selected";
inline constexpr const char* FileMissing = "File does not exist, please select another one,";
inline constexpr const char* InputOpened = "The input file is opened.";
inline constexpr const char* Overwrite = "The file already exists, overwrite?";
// Unsaved input (groups saved with "Save group" or titles changed since the input was
// last read or written) is given up only after a yes.
inline constexpr const char* QuitUnsaved = "The input has changed since it was last saved. Quit anyway?";
inline constexpr const char* OpenInputUnsaved =
    "The input has changed since it was last saved. Open the other input file anyway?";
inline constexpr const char* OpenOutputUnsaved =
    "The input has changed since it was last saved. The output file comes with its own input file, which takes "
    "its place. Open it anyway?";
inline constexpr const char* OpenExampleUnsaved =
    "The input has changed since it was last saved. Open the example anyway?";

// ---- "Open example"
inline constexpr const char* NoExampleFolder = "No folder was selected";
inline std::string FolderNotMade(const std::string& folder)
{
    return "The folder " + folder + " could not be made.";
}
inline std::string ReplaceByExamples(const std::string& folder, const std::vector<std::string>& names)
{
    const bool one = names.size() == 1;
    std::string listed;
    for (std::size_t i = 0; i < names.size(); ++i)
        listed += (i == 0 ? "" : " and ") + names[i];
    return "In " + folder + (one ? " the file " : " the files ") + listed + (one ? " differs" : " differ") +
           " from the example" + (one ? "" : "s") + ". Replace " + (one ? "it" : "them") + " by the example" +
           (one ? "" : "s") + "?";
}
inline constexpr const char* ExamplesNotWritten = "The examples were not written";
inline std::string ExamplesWritten(const std::string& folder)
{
    return "The example input files field.inp and wells.inp are in " + folder + ".";
}

inline constexpr const char* TooManyDots =
    "The number of dots (.) in the file name should not be greater than 1. Please adjust.";

// ---- Save and run
inline constexpr const char* ChooseSaveName = "Please determine file and folder name for saving the data";
inline constexpr const char* InputNotSaved = "The input data were not saved";
inline constexpr const char* SavingBusy = " Saving the data";
inline constexpr const char* CalculatingBusy = " Calculating .....";
inline constexpr const char* FinalizingBusy = " Finalizing ......";
inline constexpr const char* InputErrorsFound = "One or more errors in the input were detected.";
inline std::string DataPathFixed(const std::string& folder)
{
    return " During calculations with annual input changes, the data-path cannot be changed. Please save the input "
           "file in  " +
           folder;
}
inline std::string DoCalculations(const std::string& name)
{
    return "The data were saved in: " + name + ". Do you wish to do the calculations?";
}
inline std::string CalculationsDone(const std::string& resultPath)
{
    return "Calculations were done and the output is saved in " + resultPath +
           "   Use the Output tabsheet to see the results.";
}

// ---- The year-by-year dialogue
inline std::string YearReached(const std::string& inputName, int ny, const std::string& prevYear,
                               const std::string& resultName)
{
    return "By setting the yearly calculation index Ky equal to 1 you have requested Veltra calculations using the "
           "input file  " +
           inputName + "  for a time series of  " + std::to_string(ny) +
           "  years with the option to introduce annual input changes.  The end of the intermediate annual "
           "calculations of year  " +
           prevYear + "  is reached. The intermediate results can be seen in output file  " + resultName;
}
inline std::string ContinueWithYear(int year)
{
    return "Do you wish to continue with the next year Nr " + std::to_string(year);
}
inline std::string SeriesDiscontinued(const std::string& resultName)
{
    return "The calculations for the time series are discontinued. Yet the intermediate results can be seen in  " +
           resultName;
}
inline constexpr const char* MakeInputChanges =
    "Do you wish to make input changes? If not, the program does the calculations for the next time step "
    "straightaway.";
inline constexpr const char* UseInputMenu =
    "Use the input menu to continue. It is not necessary to adjust the initial values of soil salinity and water "
    "level, this is done automatically. To keep record if input changes, the input file may be saved in the same "
    "folder under a different (sequential) name at each annual run. Use button Save/Run when ready.";
inline std::string SeriesEnd(const std::string& resultName)
{
    return "The end of the time series is reached. The results can be seen in  " + resultName;
}
inline constexpr const char* RuntimeWarningsGiven = "One or more runtime warnings are given.";

// ---- The outcome of a run on the Output page
inline constexpr const char* CouldNotBeDone = " CALCULATIONS COULD NOT BE DONE";
inline constexpr const char* AdjustInput = " Please adjust the input.";
inline constexpr const char* RuntimeCommentsGiven = "One or more runtime comments are given.";
inline constexpr const char* WaterTableAtBottom =
    "The watertable reached the bottom of the aquifer. The output can be partially seen, but the annual "
    "calculations cannot be continued. Please adjust the input and start the annual procedure again.";

// ---- Output and Graphics pages
inline constexpr const char* GroupNotSaved = "The group data were not saved";
inline std::string NotAGroupFile(const std::string& path)
{
    return "The file " + path + " is not a group file: it is shown as text, without a graph.";
}
inline constexpr const char* NothingToPrint = "This tabsheet shows nothing to print.";
inline std::string GroupSaved(const std::string& path)
{
    return "The group data are saved in " + path;
}
inline constexpr const char* OnClipboard = "The data are on the clipboard to be pasted elsewhere.";
inline constexpr const char* NoGroupChosen = "No output group could be selected";
inline constexpr const char* GraphNotSaved = "The graph was not saved";
inline std::string GraphSaved(const std::string& path)
{
    return "The graph was saved in  " + path;
}

// ---- The input editor
inline constexpr const char* CellTest =
    "There are one or more empty cells or cells withnegative values. Please complete/adjust.";
inline constexpr const char* DrainsInstalled = "A drainage system will be installed. Please check the drainage data.";
inline constexpr const char* WellsPresent =
    "A system of pumped wells is present. Please check the well and water use data.";
inline constexpr const char* YearByYearHalts =
    " The program will temporarily halt after each year of calculations to provide the option to make input changes.";
inline constexpr const char* RunsUninterruptedly = " The program will run uniterruptedly.";
inline constexpr const char* TooManyYears = TooManyYearsMessage;
inline std::string NotAValidReal(const std::string& text)
{
    return text + " is not a valid real";
}
inline constexpr const char* NegativeMaxSalinity = NegativeMaxSalinityMessage;

// ---- Where Error.lst and warning.lst go when the start folder cannot be written
inline std::string ListsElsewhere(const std::string& folder, const std::string& startDir)
{
    return "Error.lst and warning.lst are kept in " + folder + ": the start folder " + startDir + " cannot be written.";
}

} // namespace veltra::msg
