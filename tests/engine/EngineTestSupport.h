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

using TScratch = TScratchFolder;

// Prepares `rec` as the save that starts a new run does, with the input file at `dir/name`.
inline void PrepareNewRun(TInputRecord& rec, TEngineState& st, const std::filesystem::path& dir,
                          const std::string& name)
{
    rec.Shell.FileName = (dir / name).string();
    rec.Shell.RunStage = 1;
    rec.Shell.YearNr = 1;
    rec.Shell.AnnualMode = rec.Ky;
    st.RunFirstFileName = rec.Shell.FileName;
}

// One call of the driver with the usual files (warning.lst in `dir`), and `extra`
// watching the run beside them.
inline void RunWithFiles(TInputRecord& rec, TEngineState& st, TAnnualCarry& carry, const std::filesystem::path& dir,
                         TRunProgress& progress, TRunObserver* extra = nullptr)
{
    TRunFiles files(dir.string());
    TRunObservers out{&files};
    if (extra)
        out.Add(*extra);
    RunSimulation(rec, st, carry, progress, out);
}

inline TInputRecord ReadRecord(const std::string& path)
{
    TInputRecord rec;
    rec.Shell.FileName = path;
    ReadInputFile(rec);
    return rec;
}

} // namespace veltra::test
