#pragma once
// The runtime warnings: every message block the engine gives, as warning.lst
// shows it. Each block is given by the step that detects its event; the one-shot
// flags that keep a block from repeating live in the engine state.
#include <string>
#include <vector>

#include "results/TRunObserver.h"

namespace veltra {

class TWarningList {
public:
    explicit TWarningList(TRunObserver& out) : out_(out) {}

    void SurfaceCorrected(int year, int season, bool sda, bool sdb, bool sro);
    void ReuseReduced(int year, int season);
    void AquiferBottom(int year);
    void IterationDidNotConverge(int year, int season);
    void ValueOutOfRange(int year, int season);
    void RootZoneIrrigationReduced();
    void PumpingReduced();
    void RotationKeyChanged(int initialKey, int newKey);
    void FarmersReducedA();
    void FarmersReducedB();

private:
    void Give(const std::vector<std::string>& lines) { out_.Warning(lines); }
    TRunObserver& out_;
};

} // namespace veltra
