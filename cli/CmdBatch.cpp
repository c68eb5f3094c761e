// veltra batch [-j N] [--out FOLDER] FILE.inp... [--list FILE]: many inputs in one
// process. Each input (with the year files NAME2.inp, ... a year-by-year input takes
// along) is copied into FOLDER/<name>/ and run there, as `veltra run` (or `veltra
// series`) would run it in that folder; summary.csv lists the outcomes.
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "cli/BatchOptions.h"
#include "cli/Commands.h"
#include "cli/RunOutput.h"
#include "model/InputFile.h"
#include "model/SafeFile.h"
#include "model/TVeltraError.h"
#include "runs/Batch.h"
#include "runs/CaseRun.h"
#include "runs/SummaryTable.h"

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
    return ListFileEntries(ReadWholeFile(list, MaxListBytes, "a list of input files"));
}

// Each input with the year files it takes along, and the plan of them all (their
// texts). An input that is a year file another given input takes along runs with
// that one, not on its own. An input that cannot be read is kept: its case fails
// with the reader's message.
std::vector<TBatchInput> CollectInputs(const std::vector<std::string>& given, std::string& planText)
{
    std::vector<TBatchInput> inputs;
    std::unordered_set<std::string> takenAlong;
    std::vector<std::string> hashes; // each input's own, to be taken in case order
    for (const std::string& file : given) {
        TBatchInput input{AbsolutePath(file), {}};
        TPlanHash hash;
        try {
            const std::string text = ReadWholeFile(input.Path, InputFileLimit, "an input file");
            hash.Add(text);
            TInputRecord rec;
            ReadInputText(text, input.Path, rec);
            if (rec.Ky == 1)
                input.YearFiles = SeriesYearFiles(input.Path, rec.Ny);
            for (const std::string& year : input.YearFiles)
                hash.Add(ReadWholeFile(year, InputFileLimit, "an input file"));
        } catch (const TVeltraError&) {
            hash.Add("(not an input file)");
        }
        takenAlong.insert(input.YearFiles.begin(), input.YearFiles.end());
        inputs.push_back(std::move(input));
        hashes.push_back(hash.Text());
    }
    std::vector<TBatchInput> cases;
    TPlanHash plan;
    plan.Add("batch");
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        if (takenAlong.count(inputs[i].Path)) {
            std::cout << inputs[i].Path << " is a later year of a series given too; it runs with that series.\n";
        } else {
            plan.Add(hashes[i]);
            cases.push_back(std::move(inputs[i]));
        }
    }
    planText = plan.Text();
    return cases;
}

// The case's input files, read: the input, then its year files.
std::vector<TCaseInput> ReadInputs(const TBatchInput& input)
{
    std::vector<std::string> files{input.Path};
    files.insert(files.end(), input.YearFiles.begin(), input.YearFiles.end());
    std::vector<TCaseInput> read;
    for (const std::string& file : files)
        read.push_back({fs::path(file).filename().string(), ReadWholeFile(file, InputFileLimit, "an input file")});
    return read;
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
    TBatchPlan plan;
    auto inputs = std::make_shared<const std::vector<TBatchInput>>(CollectInputs(given, plan.Plan));

    std::vector<std::string> baseNames;
    for (std::size_t index = 1; index <= inputs->size(); ++index) {
        const TBatchInput& input = (*inputs)[index - 1];
        baseNames.push_back(fs::path(input.Path).stem().string());
        plan.Sources.emplace_back(index, input.Path);
        for (const std::string& year : input.YearFiles)
            plan.Sources.emplace_back(index, year);
    }
    plan.Names = UniqueCaseNames(baseNames);
    plan.Inputs = [inputs](std::size_t index) { return ReadInputs((*inputs)[index - 1]); };
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
