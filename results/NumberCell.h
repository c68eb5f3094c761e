#pragma once
// The number cell of the result and frequency files.
#include <string>

namespace veltra {

// "%10.3e" with an upper-case E, at least three exponent digits and "." always:
// " 1.23E-002", "-5.00E-001", " 0.00E+000". Values too long for ten characters
// (none occur in a run) are not cut.
std::string NumberCell(double v);
// The same cell appended to `out`, without a string of its own.
void AppendNumberCell(std::string& out, double v);

// An integer right-aligned in `width` characters, as printf's "%<width>d".
std::string IntCell(int v, int width);

// A real in fixed notation with `decimals` decimals right-aligned in `width`
// characters, as printf's "%<width>.<decimals>f", with "." always.
std::string FixedCell(double v, int width, int decimals);

// A value that does not apply: five blanks, a hyphen, four blanks.
inline constexpr const char* AbsentCell = "     -    ";

} // namespace veltra
