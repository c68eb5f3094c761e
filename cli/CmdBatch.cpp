// veltra batch [-j N] [--out FOLDER] FILE.inp... [--list FILE]: many inputs in one
// process. Each input (with the year files NAME2.inp, ... a year-by-year input takes
// along) is copied into FOLDER/<name>/ and run there, as `veltra run` (or `veltra
// series`) would run it in that folder; summary.csv lists the outcomes.
#include <filesystem>
#include <iostream>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "cli/BatchOptions.h"
#include "cli/Commands.h"
#include "cli/RunOutput.h"
#include "model/SafeFile.h"
#include "model/TVeltraError.h"
#include "results/TextLists.h"
#include "runs/Batch.h"
#include "runs/CaseRun.h"

namespace veltra::cli {

namespace {

namespace fs = std::filesystem;

constexpr std::size_t MaxListBytes = 64u * 1024 * 1024;

struct TBatchInput {
    std::string Path;                   // absolute
    std::vector<std::string> YearFiles; // a year-by-year input's later years, absolute
};

// The input files of the list file: one path a line, blank lines skipped.
std::vector<std::string> ListedFiles(const std::string& list)
{
    std::vector<std::string> files;
    for (std::string& line : SplitLines(ReadWholeFile(list, MaxListBytes, "a list of input files")))
        if (line.find_first_not_of(" \t") != std::string::npos)
            files.push_back(std::move(line));
    return files;
}

// Each input with the year files it takes along. An input that is a year file another
// given input takes along runs with that one, not on its own. An input that cannot be
// read is kept: its case fails with the reader's message.
std::vector<TBatchInput> CollectInputs(const std::vector<std::string>& given)
{
    std::vector<TBatchInput> inputs;
    std::set<std::string> takenAlong;
    for (const std::string& file : given) {
        TBatchInput input{AbsolutePath(file), {}};
        try {
            TInputRecord rec;
            ReadCaseInput(input.Path, rec);
            if (rec.Ky == 1)
                input.YearFiles = SeriesYearFiles(input.Path, rec.Ny);
        } catch (const TVeltraError&) {}
        takenAlong.insert(input.YearFiles.begin(), input.YearFiles.end());
        inputs.push_back(std::move(input));
    }
    std::vector<TBatchInput> cases;
    for (TBatchInput& input : inputs) {
        if (takenAlong.count(input.Path))
            std::cout << input.Path << " is a later year of a series given too; it runs with that series.\n";
        else
            cases.push_back(std::move(input));
    }
    return cases;
}

// Copies the case's input files into its folder (clearing what an earlier run of the
// same case left there) and returns the copies. The inputs are read before anything is
// removed: an input may lie in the very folder (a case run again from its own copy).
std::vector<std::string> CopyInputs(const TBatchInput& input, const std::string& folder)
{
    std::vector<std::string> files{input.Path};
    files.insert(files.end(), input.YearFiles.begin(), input.YearFiles.end());
    std::vector<std::string> texts;
    for (const std::string& file : files)
        texts.push_back(ReadWholeFile(file, InputFileLimit, "an input file"));
    RemoveCaseFiles(folder, fs::path(input.Path).filename().string());
    std::vector<std::string> copies;
    for (std::size_t k = 0; k < files.size(); ++k) {
        const std::string copy = (fs::path(folder) / fs::path(files[k]).filename()).string();
        WriteWholeFile(copy, texts[k]);
        copies.push_back(copy);
    }
    return copies;
}

int Batch(const std::vector<std::string>& files, const std::string& list, const TBatchOptions& options)
{
    std::vector<std::string> given = files;
    if (!list.empty()) {
        const std::vector<std::string> listed = ListedFiles(list);
        given.insert(given.end(), listed.begin(), listed.end());
    }
    if (given.empty())
        throw TVeltraError(TErrorKind::Usage, "No input files: name them, or give --list FILE.");
    auto inputs = std::make_shared<const std::vector<TBatchInput>>(CollectInputs(given));

    std::vector<std::string> baseNames;
    for (const TBatchInput& input : *inputs)
        baseNames.push_back(fs::path(input.Path).stem().string());
    TBatchPlan plan;
    plan.Names = UniqueCaseNames(baseNames);
    plan.Prepare = [inputs](std::size_t index, const std::string& folder) {
        return CopyInputs((*inputs)[index - 1], folder);
    };
    return RunPlan(plan, options);
}

} // namespace

void AddBatchCommand(CLI::App& app, int& status)
{
    auto* cmd = app.add_subcommand("batch", "Run many input files in parallel, each in its own folder, with a summary");
    auto files = std::make_shared<std::vector<std::string>>();
    auto list = std::make_shared<std::string>();
    auto options = std::make_shared<TBatchOptions>();
    cmd->add_option("files", *files, "Input files (.inp)");
    cmd->add_option("--list", *list, "A file naming one input file a line");
    AddBatchOptions(*cmd, *options, "batch");
    cmd->callback([files, list, options, &status]() { status = Batch(*files, *list, *options); });
}

} // namespace veltra::cli
