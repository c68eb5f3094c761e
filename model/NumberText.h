#pragma once
// The texts of the numbers the program writes: its files, its messages, the fields
// of the editor and the labels of the charts. Every text is made with std::to_chars,
// which follows no locale: a window toolkit sets the user's locale, and a file
// written with "," as the decimal separator would read differently elsewhere.
#include <string>

namespace veltra {

// printf's "%<width>d": right-aligned in `width` characters.
std::string WholeText(long long v, int width = 0);

// printf's "%<width>.<decimals>f".
std::string FixedText(double v, int width, int decimals);

// printf's "%.<decimals>E": one digit before the point, an upper-case E and at
// least two exponent digits ("1.10E+12", "-2.50E-03").
std::string ScientificText(double v, int decimals);

// printf's "%.<digits>g": at most `digits` significant digits, trailing zeros dropped.
std::string GeneralText(double v, int digits);

// The shortest text that reads back to exactly v ("0.1", "1e+22").
std::string ShortestText(double v);

// A number as a field shows it: the shortest of up to 15 significant digits ("0.1",
// "0.3" for 0.1 + 0.2, "1e-05"), whole hundreds and thousands written out ("2500").
std::string PlainNumberText(double v);

// The number cell of the result and frequency files: "%.2E" with at least three
// exponent digits, right-aligned in ten characters (" 1.23E-002", "-5.00E-001",
// " 0.00E+000", also for -0). Values too long for ten characters (none occur in a
// run) are not cut.
std::string NumberCell(double v);
// The same cell appended to `out`, without a string of its own.
void AppendNumberCell(std::string& out, double v);

// The cell of a value that does not apply: five blanks, a hyphen, four blanks.
inline constexpr const char* AbsentCell = "     -    ";

} // namespace veltra
