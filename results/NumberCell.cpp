#include "results/NumberCell.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace veltra {

namespace {

// The exact powers of ten a double holds.
constexpr double Pow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                            1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The general way: std::to_chars rounds exactly as printf's "%.2E" does and never
// follows the locale.
std::string ByToChars(double v)
{
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

// |v| times 10^(2 - e): one multiplication or division by an exact power of ten,
// so a single rounding. False when the power is not exact.
bool Scaled(double a, int e, double& t)
{
    const int k = 2 - e;
    if (k >= 0 && k <= 22) {
        t = a * Pow10[k];
        return true;
    }
    if (k < 0 && -k <= 22) {
        t = a / Pow10[-k];
        return true;
    }
    return false;
}

} // namespace

namespace {

// The cell of v into out[0..9] by one correctly rounded scaling; false where the
// scaled value lies so near a rounding boundary that its last bit could matter, or
// outside the powers of ten a double holds exactly: the general way decides then.
bool FastCell(double v, char* out)
{
    const double a = std::fabs(v);
    if (!(a >= 1e-20 && a < 1e20))
        return false;
    // The decimal exponent from the binary one (a is a normal number here); the
    // scaling below corrects it when it is one too small.
    const int e2 = static_cast<int>((std::bit_cast<std::uint64_t>(a) >> 52) & 0x7ff) - 1023;
    int e = (e2 * 78913) >> 18; // floor(e2 * log10(2)) for these exponents
    double t = 0;
    if (!Scaled(a, e, t))
        return false;
    if (t < 100) {
        --e;
        if (!Scaled(a, e, t))
            return false;
    } else if (t >= 1000) {
        ++e;
        if (!Scaled(a, e, t))
            return false;
    }
    if (t < 100 || t >= 1000)
        return false;
    const int whole = static_cast<int>(t); // t is positive: truncation is the floor
    const double frac = t - whole;
    if (std::fabs(frac - 0.5) < 1e-6)
        return false;
    int digits = whole + (frac > 0.5 ? 1 : 0);
    if (digits == 1000) {
        digits = 100;
        ++e;
    }
    out[0] = v < 0 ? '-' : ' ';
    out[1] = static_cast<char>('0' + digits / 100);
    out[2] = '.';
    out[3] = static_cast<char>('0' + digits / 10 % 10);
    out[4] = static_cast<char>('0' + digits % 10);
    out[5] = 'E';
    out[6] = e < 0 ? '-' : '+';
    const int x = e < 0 ? -e : e; // below 100: |v| lies within 1e-20 and 1e20
    out[7] = '0';
    out[8] = static_cast<char>('0' + x / 10);
    out[9] = static_cast<char>('0' + x % 10);
    return true;
}

} // namespace

std::string NumberCell(double v)
{
    // A negative zero would print as "-0.00E+000"; readers and users expect plain 0.
    if (v == 0.0)
        return " 0.00E+000";
    char buf[10];
    if (FastCell(v, buf))
        return std::string(buf, 10);
    return ByToChars(v);
}

void AppendNumberCell(std::string& out, double v)
{
    char buf[10];
    if (v == 0.0)
        out.append(" 0.00E+000", 10);
    else if (FastCell(v, buf))
        out.append(buf, 10);
    else
        out += ByToChars(v);
}

std::string IntCell(int v, int width)
{
    char buf[16];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    std::string s(buf, r.ptr);
    if (static_cast<int>(s.size()) < width)
        s.insert(0, static_cast<std::size_t>(width) - s.size(), ' ');
    return s;
}

std::string FixedCell(double v, int width, int decimals)
{
    char buf[400];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
    std::string s(buf, r.ptr);
    if (static_cast<int>(s.size()) < width)
        s.insert(0, static_cast<std::size_t>(width) - s.size(), ' ');
    return s;
}

} // namespace veltra
