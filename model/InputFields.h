#pragma once
// The fields of the input file by their symbols (Dd, IaA, Ny, ...): where the record
// keeps each and whether the file holds it only with drains. The sweep's settings and
// the Python module's attributes name the fields this way.
#include <cstdint>
#include <span>
#include <string_view>

#include "model/UDataMod.h"

namespace veltra {

struct TInputField {
    const char* Name;
    // Where the value is kept: exactly one of the three.
    double TInputRecord::*Scalar = nullptr;
    TSeasonal TInputRecord::*Seasonal = nullptr;
    std::uint8_t TInputRecord::*Whole = nullptr;
    bool Drains = false; // the file holds it only with Kd = 1
    // Kd, Ns and Ky decide the file's layout and the kind of run.
    bool Layout = false;
};

// Every field of the input file but the titles: the layout keys first, then in the
// order of the file's groups.
std::span<const TInputField> InputFields();

// The field named exactly `name`, or nullptr.
const TInputField* FindInputField(std::string_view name);

// The value of a field (season 1..4 for a seasonal field; ignored otherwise).
double FieldValue(const TInputField& f, const TInputRecord& rec, int season);
// Stores `v` (a whole field takes it as a whole number 0..255).
void SetFieldValue(const TInputField& f, TInputRecord& rec, int season, double v);

} // namespace veltra
