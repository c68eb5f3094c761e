#pragma once
// The text of one file of a run as it grows (the result file, the frequency file):
// where it goes, named after the run's base path, and whether it extends the file
// of the earlier years of a series. TRunFiles writes it at the end of the run.
#include <cstddef>
#include <string>

#include "model/TEngineState.h"
#include "model/UDataMod.h"
#include "results/PathWithExtension.h"
#include "results/TRunObserver.h"

namespace veltra {

class TRunFileText : public TRunObserver {
public:
    const std::string& Path() const { return path_; }
    const std::string& Text() const { return text_; }
    bool Extends() const { return extends_; }

protected:
    // At the run's start: the file is the base path with extension `ext`, its text
    // empty with room for `perSeason` bytes a season and `more` besides (one
    // allocation instead of twenty).
    void Start(const TRunStart& start, const TInputRecord& rec, const char* ext, std::size_t perSeason,
               std::size_t more)
    {
        base_ = start.BasePath;
        path_ = PathWithExtension(base_, ext);
        extends_ = start.ContinuesSeries;
        text_.clear();
        const std::size_t seasons = (start.ContinuesSeries ? 1u : rec.Ny + 1u) * rec.Ns;
        text_.reserve(seasons * perSeason + more);
    }
    // The path the files are named after (it names the input file in the texts).
    const std::string& Base() const { return base_; }
    std::string& Out() { return text_; }

private:
    std::string path_, base_, text_;
    bool extends_ = false;
};

} // namespace veltra
