// veltra sweep FILE.inp --set NAME=FROM:TO:STEP [--set NAME=V1,V2,...] ...: the
// grid of runs over a few input fields. Case k's input is written to
// FOLDER/<input>_<k>/<input>_<k>.inp and run from that file, as `veltra run` would
// run it; summary.csv has a column per varied field.
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli/BatchOptions.h"
#include "cli/Commands.h"
#include "cli/RunOutput.h"
#include "model/InputFile.h"
#include "model/SafeFile.h"
#include "model/TVeltraError.h"
#include "runs/Batch.h"
#include "runs/CaseRun.h"
#include "runs/TSweep.h"

namespace veltra::cli {

namespace {

namespace fs = std::filesystem;

int Sweep(const std::string& file, const std::vector<std::string>& settings, const TBatchOptions& options)
{
    const std::string path = AbsolutePath(file);
    auto base = std::make_shared<TInputRecord>();
    const std::string baseText = ReadWholeFile(path, InputFileLimit, "an input file");
    ReadInputText(baseText, path, *base);
    auto sweep = std::make_shared<const TSweep>(*base, path, settings);
    for (const std::string& note : sweep->Notes())
        std::cout << "Note: " << fs::path(path).filename().string()
                  << " holds more decimals than an input file keeps: " << note << "\n";

    const std::string stem = SafeCaseName(fs::path(path).stem().string());
    TBatchPlan plan;
    plan.Plan = SweepPlan(baseText, *sweep);
    plan.Sources.emplace_back(0, path);
    for (std::size_t index = 1; index <= sweep->CaseCount(); ++index)
        plan.Names.push_back(SweepCaseName(stem, index, sweep->CaseCount()));
    for (const TSweepAxis& axis : sweep->Axes())
        plan.VariedNames.push_back(axis.Name);
    plan.Varied = [sweep](std::size_t index) {
        std::vector<std::string> texts;
        for (double v : sweep->ValuesOf(index))
            texts.push_back(FullNumber(v));
        return texts;
    };
    std::shared_ptr<const TInputRecord> record = base;
    plan.Inputs = [sweep, record, stem](std::size_t index) {
        TInputRecord rec = *record;
        sweep->Apply(index, rec);
        return std::vector<TCaseInput>{{SweepCaseName(stem, index, sweep->CaseCount()) + ".inp", InputFileText(rec)}};
    };
    return RunPlan(plan, options);
}

} // namespace

void AddSweepCommand(CLI::App& app, int& status)
{
    auto* cmd =
        app.add_subcommand("sweep", "Run the grid of values of a few input fields, each case in its own folder");
    auto file = std::make_shared<std::string>();
    auto settings = std::make_shared<std::vector<std::string>>();
    auto options = std::make_shared<TBatchOptions>();
    cmd->add_option("file", *file, "The input file (.inp) the cases start from")->required();
    cmd->add_option("--set", *settings,
                    "NAME=FROM:TO:STEP (TO included) or NAME=V1,V2,...; NAME[s] for one season. Fields: " +
                        TSweep::FieldNames())
        ->allow_extra_args(false)
        ->required();
    AddBatchOptions(*cmd, *options, "sweep");
    cmd->callback([file, settings, options, &status]() { status = Sweep(*file, *settings, *options); });
}

} // namespace veltra::cli
