#pragma once
// The runtime warning list (warning.lst): every message block the engine writes.
// Each block is written by the step that detects its event; the one-shot flags
// that keep a block from repeating live in the engine state.
#include <ostream>
#include <string>

namespace veltra {

class TWarningList {
public:
    explicit TWarningList(std::ostream& out) : out_(out) {}

    void SurfaceCorrected(int year, int season, bool sda, bool sdb, bool sro);
    void ReuseReduced(int year, int season);
    void AquiferBottom(int year);
    void IterationDidNotConverge(int year, int season);
    void RootZoneIrrigationReduced();
    void PumpingReduced();
    void RotationKeyChanged(int initialKey, int newKey);
    void FarmersReducedA();
    void FarmersReducedB();

private:
    void Line(const std::string& text);
    std::ostream& out_;
};

// An integer right-aligned in a field of the given width.
std::string IntField(int value, int width);

} // namespace veltra
