#pragma once
// The files a run leaves: the result file and the frequency file beside the input
// file, warning.lst in the working folder and, for a completed run, the run marker
// (.trf) beside the input file.
#include <string>
#include <vector>

#include "results/FrequencyFile.h"
#include "results/ResultFile.h"
#include "results/TRunObserver.h"

namespace veltra {

// warning.lst: created anew by every run, its heading first.
class TWarningListWriter final : public TRunObserver {
public:
    explicit TWarningListWriter(std::string path) : path_(std::move(path)) {}
    void RunStarted(const TRunStart& start, const TInputRecord& rec, const TEngineState& st) override;
    void Warning(const std::vector<std::string>& lines) override;
    void RunEnded(const TRunEnd& end, const TInputRecord& rec, const TEngineState& st) override;
    const std::string& Path() const { return path_; }

private:
    std::string path_, text_;
};

// The run marker: one line holding 2, written when a run completes.
class TRunMarkerWriter final : public TRunObserver {
public:
    void RunEnded(const TRunEnd& end, const TInputRecord& rec, const TEngineState& st) override;
};

// The usual set of a run, in the order the files are finished: the marker last,
// so that it never stands beside files that are not complete.
class TRunFiles final : public TRunObserver {
public:
    // warning.lst goes into `workDir`.
    explicit TRunFiles(const std::string& workDir);
    TRunFiles(const TRunFiles&) = delete;
    TRunFiles& operator=(const TRunFiles&) = delete;

    void RunStarted(const TRunStart& e, const TInputRecord& r, const TEngineState& s) override { all_.RunStarted(e, r, s); }
    void SeasonDone(const TSeasonDone& e, const TInputRecord& r, const TEngineState& s) override
    {
        all_.SeasonDone(e, r, s);
    }
    void YearDone(int year, const TInputRecord& r, const TEngineState& s) override { all_.YearDone(year, r, s); }
    void Warning(const std::vector<std::string>& lines) override { all_.Warning(lines); }
    void RunEnded(const TRunEnd& e, const TInputRecord& r, const TEngineState& s) override { all_.RunEnded(e, r, s); }

    const std::string& ResultPath() const { return res_.Path(); }
    const std::string& ResultText() const { return res_.Text(); }
    const std::string& FrequencyPath() const { return frq_.Path(); }
    const std::string& WarningPath() const { return warn_.Path(); }

private:
    TResultFileWriter res_;
    TFrequencyFileWriter frq_;
    TWarningListWriter warn_;
    TRunMarkerWriter marker_;
    TRunObservers all_;
};

} // namespace veltra
