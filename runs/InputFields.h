#pragma once
// The input fields the command line names: a scalar (Dd, QH1, Flr, Ny), a seasonal
// field for every season of the file (IaA) or for one season (IaA[2]). `veltra
// sweep --set` and `veltra fit --fit` name them alike, from the table of fields in
// model/InputFields.h (which the Python module names them by too).
#include <cstddef>
#include <string>
#include <vector>

#include "model/UDataMod.h"

namespace veltra {

struct TFieldRef {
    std::size_t Field = 0; // in the table of fields
    int Season = 0;        // 0: every season of the file
};

// Resolves NAME or NAME[s] against `base`, the record of the input file named
// `source`. Refuses with TVeltraError (Usage), the message `prefix` + ": " + why:
// an unknown field (with the field that differs only in case as a hint), a season
// that is not 1 to 4 or that the file does not have, a season of a field that has
// none, and a field the keys leave out of the file (Dd with Kd = 0).
TFieldRef ResolveInputField(const std::string& name, const TInputRecord& base, const std::string& source,
                            const std::string& prefix);

// The field's name without a season ("IaA").
const char* InputFieldName(const TFieldRef& field);
// A key or count (Kr, Ny): whole numbers only.
bool IsWholeField(const TFieldRef& field);
// The two refer to the same value of some season.
bool Overlap(const TFieldRef& a, const TFieldRef& b);

// The value in `rec` (season 1 for every season).
double FieldValue(const TInputRecord& rec, const TFieldRef& field);
// Sets the value in `rec`: in every season of the file when the reference names none.
void SetFieldValue(TInputRecord& rec, const TFieldRef& field, double v);

// `rec` written as an input file and read back: the values the file keeps, each
// rounded as the writer rounds it.
TInputRecord AsTheFileHoldsIt(const TInputRecord& rec);
// Equal but for the last bits of a computation.
bool SameValue(double a, double b);

// The fields of `base` that its input file keeps with fewer decimals than the record
// holds (a file written by hand), one line each: "Flr = 0.805 is kept as 0.81.".
std::vector<std::string> KeptOtherwiseNotes(const TInputRecord& base);

// Every name, "Area, Kf, ..., Ts[s], ...", for messages and help.
std::string InputFieldNames();

// A number as the command line gives it: "." as the decimal separator, a leading
// "+" allowed, finite.
bool ParseCommandNumber(const std::string& text, double& v);

} // namespace veltra
