#pragma once
// How the editor and the calculator read the numbers typed into their fields (the
// texts they write back: model/NumberText.h). A number may use "." or "," as its
// decimal separator; the program keeps no separator of its own, so either is
// accepted everywhere.
#include <optional>
#include <string>

namespace veltra {

// The value of a typed text: blanks around it are ignored; "." or "," serves as
// the decimal separator (not both). Nothing for an empty text, for a text that is
// not a number and for "nan", "inf" and values too large for a double.
std::optional<double> ReadTypedNumber(const std::string& text);

// The editor's rule: an empty (or blank) field reads as -1, which the cell test
// then refuses; otherwise as ReadTypedNumber.
std::optional<double> ReadFieldNumber(const std::string& text);

// A whole number such as "12" or "-3" (blanks around it ignored); nothing for
// "12.5", "1e2", an empty text or a value that does not fit 32 bits.
std::optional<long> ReadWholeNumber(const std::string& text);

// What the user is told about a text that is not a number.
std::string NotANumberMessage(const std::string& text);

} // namespace veltra
