#include "results/NumberCell.h"

#include <charconv>
#include <cstring>

namespace veltra {

std::string NumberCell(double v)
{
    // A negative zero would print as "-0.00E+000"; readers and users expect plain 0.
    if (v == 0.0)
        v = 0.0;
    // std::to_chars rounds exactly as printf's "%.2E" does, is far faster (a run writes
    // tens of thousands of cells) and never follows the locale.
    char buf[40];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 2);
    std::string s(buf, r.ptr);
    const std::size_t e = s.find('e');
    if (e == std::string::npos) { // inf, nan
        for (char& c : s)
            c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    } else {
        s[e] = 'E';
        const std::size_t digits = s.size() - (e + 2); // after "E+" or "E-"
        if (digits < 3)
            s.insert(e + 2, 3 - digits, '0');
    }
    if (s.size() < 10)
        s.insert(0, 10 - s.size(), ' ');
    return s;
}

} // namespace veltra
