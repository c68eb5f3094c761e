#pragma once
// What a run hands out while it goes: its start, every finished season, every
// finished year, every runtime warning and its end. The result, frequency, warning
// and marker files are observers; so is anything else that wants a run's seasons
// (batch summaries, in-memory tables). Observers only read the record and the
// state: the engine has finished the season's arithmetic before it calls them.
#include <string>
#include <vector>

#include "model/TEngineState.h"
#include "model/UDataMod.h"

namespace veltra {

struct TRunStart {
    // The path the result and frequency files are named after: the input file, or
    // the first input file of a year-by-year series.
    std::string BasePath;
    // A later year of a year-by-year series: the files of the earlier years are
    // extended and carry no new header.
    bool ContinuesSeries = false;
    // The result file starts with its header (not repeated by the later years of a
    // series).
    bool Header = true;
    // The warning list starts with its heading.
    bool WarningHeading = true;
};

struct TSeasonDone {
    int Year = 0;   // as the result file prints it (0 for the initial block)
    int Season = 0; // 1..Ns
    int StepNr = 0; // 0 for the initial block
    // The permanent non-irrigated fraction as the season record prints it: the
    // engine clips values below 0.001 only after the record shows it.
    double UcShown = 0;
};

struct TRunEnd {
    // The run went through all its seasons (no stop by the model).
    bool Completed = false;
    // The run completed a whole run or a whole series: the run marker is due, at
    // MarkerPath (the input path with the extension ".trf").
    bool MarkerDue = false;
    std::string MarkerPath;
};

class TRunObserver {
public:
    virtual ~TRunObserver() = default;
    virtual void RunStarted(const TRunStart&, const TInputRecord&, const TEngineState&) {}
    virtual void SeasonDone(const TSeasonDone&, const TInputRecord&, const TEngineState&) {}
    // After the last season of a year, once the year-end carry is done.
    virtual void YearDone(int /*year*/, const TInputRecord&, const TEngineState&) {}
    // One message block of warning.lst, line by line (without line ends).
    virtual void Warning(const std::vector<std::string>& /*lines*/) {}
    virtual void RunEnded(const TRunEnd&, const TInputRecord&, const TEngineState&) {}
};

// Hands every event to each observer in the order they were added: a file that
// must be complete before another is written (the run marker) is added last.
class TRunObservers final : public TRunObserver {
public:
    TRunObservers() = default;
    TRunObservers(std::initializer_list<TRunObserver*> observers) : list_(observers) {}
    void Add(TRunObserver& observer) { list_.push_back(&observer); }

    void RunStarted(const TRunStart& e, const TInputRecord& r, const TEngineState& s) override
    {
        for (TRunObserver* o : list_)
            o->RunStarted(e, r, s);
    }
    void SeasonDone(const TSeasonDone& e, const TInputRecord& r, const TEngineState& s) override
    {
        for (TRunObserver* o : list_)
            o->SeasonDone(e, r, s);
    }
    void YearDone(int year, const TInputRecord& r, const TEngineState& s) override
    {
        for (TRunObserver* o : list_)
            o->YearDone(year, r, s);
    }
    void Warning(const std::vector<std::string>& lines) override
    {
        for (TRunObserver* o : list_)
            o->Warning(lines);
    }
    void RunEnded(const TRunEnd& e, const TInputRecord& r, const TEngineState& s) override
    {
        for (TRunObserver* o : list_)
            o->RunEnded(e, r, s);
    }

private:
    std::vector<TRunObserver*> list_;
};

} // namespace veltra
