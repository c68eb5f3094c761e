#include "results/NumberCell.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace veltra {

std::string NumberCell(double v)
{
    // A negative zero would print as "-0.00E+000"; readers and users expect plain 0.
    if (v == 0.0)
        v = 0.0;
    char buf[64];
    // The C library writes at least two exponent digits and follows LC_NUMERIC;
    // widen the exponent and force "." ourselves.
    std::snprintf(buf, sizeof buf, "%.2E", v);
    std::string s(buf);
    for (char& c : s)
        if (c == ',')
            c = '.';
    const std::size_t e = s.find('E');
    if (e != std::string::npos && e + 2 < s.size()) {
        const std::size_t digits = s.size() - (e + 2);
        if (digits < 3)
            s.insert(e + 2, 3 - digits, '0');
    }
    if (s.size() < 10)
        s.insert(0, 10 - s.size(), ' ');
    return s;
}

} // namespace veltra
