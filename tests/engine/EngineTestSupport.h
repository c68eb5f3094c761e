#pragma once
// Small helpers for running the engine in a scratch folder.
#include <filesystem>
#include <string>

#include "engine/UCalculate.h"
#include "model/InputFile.h"
#include "results/TRunFiles.h"
#include "support/TScratchFolder.h"
#include "support/TestFiles.h"

namespace veltra::test {

inline int CountOf(const std::string& text, const std::string& what)
{
    int n = 0;
    for (std::size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1))
        ++n;
    return n;
}

// A run in a scratch folder of its own; the state and the carry stay for a look after it.
struct TEngineRun {
    explicit TEngineRun(const std::string& folder) : Scratch(folder) {}

    // Prepares `rec` as the save that starts a new run does, with the input file at `name`.
    void Prepare(TInputRecord& rec, const std::string& name)
    {
        rec.Shell.FileName = Scratch.Path(name);
        rec.Shell.RunStage = 1;
        rec.Shell.YearNr = 1;
        rec.Shell.AnnualMode = rec.Ky;
        St.RunFirstFileName = rec.Shell.FileName;
    }
    // One call of the driver with the usual files (warning.lst in the folder), and
    // `extra` watching the run beside them.
    void Run(TInputRecord& rec, TRunProgress& progress, TRunObserver* extra = nullptr)
    {
        TRunFiles files(Scratch.Dir.string());
        TRunObservers out{&files};
        if (extra)
            out.Add(*extra);
        RunSimulation(rec, St, Carry, progress, out);
    }
    // Both, without progress texts.
    void Start(TInputRecord& rec, const std::string& name, TRunObserver* extra = nullptr)
    {
        Prepare(rec, name);
        Run(rec, Silent, extra);
    }
    std::string Read(const std::string& name) const { return ReadFile(Scratch.Dir / name); }

    TScratchFolder Scratch;
    TEngineState St;
    TAnnualCarry Carry;
    TSilentProgress Silent;
};

} // namespace veltra::test
