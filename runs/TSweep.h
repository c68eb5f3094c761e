#pragma once
// The grid of a sweep: every combination of the values given for a few input
// fields, each combination one case. "--set NAME=FROM:TO:STEP" (TO included when it
// lies within half a step of the grid) or "--set NAME=V1,V2,..." ("." as the decimal
// separator); NAME is a field of the input record (Dd, QH1, Cic, Dw0, Ny, ...), a
// seasonal field for all seasons (IaA) or for one (IaA[2]). The first --set varies
// slowest.
#include <cstddef>
#include <string>
#include <vector>

#include "model/UDataMod.h"
#include "runs/InputFields.h"

namespace veltra {

// A grid above this is refused before anything runs.
inline constexpr std::size_t MaxSweepCases = 100000;

struct TSweepAxis {
    std::string Name;           // as given: "Dd", "IaA", "IaA[2]"
    std::vector<double> Values; // as the input file holds them
};

// The name of case `index` of `count` ("field_07" for case 7 of 10 to 99 cases): the
// names sort in case order.
std::string SweepCaseName(const std::string& stem, std::size_t index, std::size_t count);

class TSweep;
// The plan of a sweep of the input file whose text is `baseText` (summary.csv's
// `plan`): the file's text and the grid's fields and values.
std::string SweepPlan(const std::string& baseText, const TSweep& sweep);

class TSweep {
public:
    // The settings refer to `base` (the record of the swept input file, named
    // `source` in messages). Refuses, with TVeltraError (Usage) naming the setting: an
    // unknown field, a field the keys leave out of the file (Dd with Kd = 0), a season
    // the file does not have, a field set twice, a value that is not a number, an
    // empty range, a step of 0, a value the input file cannot hold (more decimals
    // than it keeps, a key that is not a whole number) and a grid above MaxSweepCases.
    TSweep(const TInputRecord& base, const std::string& source, const std::vector<std::string>& settings);

    const std::vector<TSweepAxis>& Axes() const { return axes_; }
    std::size_t CaseCount() const { return count_; }
    // The values of case `index` (from 1), one per axis.
    std::vector<double> ValuesOf(std::size_t index) const;
    // Sets the values of case `index` in `rec`.
    void Apply(std::size_t index, TInputRecord& rec) const;
    // Fields of the base record that the input file keeps with fewer decimals than
    // the record holds (a file written by hand): every case's input holds them as
    // the file writer rounds them. One line each.
    const std::vector<std::string>& Notes() const { return notes_; }

    // The names --set accepts, for messages and help.
    static std::string FieldNames();

private:
    // One --set: refused as the constructor says, or an axis of the grid.
    void AddAxis(const TInputRecord& base, const std::string& source, const std::string& setting);

    std::vector<TSweepAxis> axes_;
    std::vector<TFieldRef> targets_;
    std::size_t count_ = 1;
    std::vector<std::string> notes_;
};

} // namespace veltra
