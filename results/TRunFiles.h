#pragma once
// The files a run leaves: the result file and the frequency file beside the input
// file, warning.lst in the working folder and, for a completed run, the run marker
// (.trf) beside the input file.
#include <string>
#include <vector>

#include "model/SafeFile.h"
#include "results/FrequencyFile.h"
#include "results/ResultFile.h"
#include "results/TRunObserver.h"

namespace veltra {

// warning.lst as it grows: its heading, then every warning block.
class TWarningText final : public TRunObserver {
public:
    void RunStarted(const TRunStart& start, const TInputRecord& rec, const TEngineState& st) override;
    void Warning(const std::vector<std::string>& lines) override;
    const std::string& Text() const { return text_; }
    int Count() const { return count_; } // warning blocks

private:
    std::string text_;
    int count_ = 0;
};

// The usual files of a run, written so that they never lie. The run starts by
// removing the run marker of an earlier run. At its end (a stopped run included)
// the result file, the frequency file and warning.lst are written in full beside
// their targets and put in place only when all three were written: a failure
// leaves the earlier files as they were. A later year of a series extends its two
// files the same way (copy, extend, put in place). The run marker comes last, only
// for a run that completed a whole run or series.
class TRunFiles final : public TRunObserver {
public:
    // warning.lst goes into `workDir`.
    explicit TRunFiles(const std::string& workDir, TFileSystem& fs = RealFileSystem());
    TRunFiles(const TRunFiles&) = delete;
    TRunFiles& operator=(const TRunFiles&) = delete;

    void RunStarted(const TRunStart& e, const TInputRecord& r, const TEngineState& s) override;
    void SeasonDone(const TSeasonDone& e, const TInputRecord& r, const TEngineState& s) override;
    void Warning(const std::vector<std::string>& lines) override;
    void RunEnded(const TRunEnd& e, const TInputRecord& r, const TEngineState& s) override;

    const std::string& ResultPath() const { return res_.Path(); }
    const std::string& FrequencyPath() const { return frq_.Path(); }
    const std::string& WarningPath() const { return warnPath_; }
    // What this run wrote into the result file (a later year of a series: its own
    // records only) and into warning.lst.
    const std::string& ResultText() const { return res_.Text(); }
    const std::string& WarningText() const { return warn_.Text(); }
    int WarningCount() const { return warn_.Count(); }
    const TWarningText& Warnings() const { return warn_; }

private:
    TFileSystem& fs_;
    std::string warnPath_;
    TResultText res_;
    TFrequencyText frq_;
    TWarningText warn_;
};

} // namespace veltra
