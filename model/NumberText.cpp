#include "model/NumberText.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>

namespace veltra {

namespace {

void PadLeft(std::string& s, int width)
{
    if (static_cast<int>(s.size()) < width)
        s.insert(0, static_cast<std::size_t>(width) - s.size(), ' ');
}

// std::to_chars into a string: a small buffer first, `room` characters where that
// is too small (the largest doubles written out in full).
template <class... TFormat>
std::string CharsOf(double v, std::size_t room, TFormat... format)
{
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, format...);
    if (r.ec == std::errc())
        return std::string(buf, r.ptr);
    std::string s(room, ' ');
    const auto big = std::to_chars(s.data(), s.data() + s.size(), v, format...);
    s.resize(static_cast<std::size_t>(big.ptr - s.data()));
    return s;
}

std::size_t Room(int digits)
{
    return 330 + static_cast<std::size_t>(std::max(digits, 0));
}

char Upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

std::string WholeText(long long v, int width)
{
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    std::string s(buf, r.ptr);
    PadLeft(s, width);
    return s;
}

std::string FixedText(double v, int width, int decimals)
{
    std::string s = CharsOf(v, Room(decimals), std::chars_format::fixed, decimals);
    PadLeft(s, width);
    return s;
}

std::string ScientificText(double v, int decimals)
{
    std::string s = CharsOf(v, Room(decimals), std::chars_format::scientific, decimals);
    for (char& c : s) // "e", and "inf" and "nan" as printf's "%E" writes them
        c = Upper(c);
    return s;
}

std::string GeneralText(double v, int digits)
{
    return CharsOf(v, Room(digits), std::chars_format::general, digits);
}

std::string ShortestText(double v)
{
    return CharsOf(v, 40);
}

std::string PlainNumberText(double value)
{
    if (value == 0)
        return "0"; // not "-0"
    for (int digits = 1; digits <= 15; ++digits) {
        std::string text = GeneralText(value, digits);
        double back = 0;
        std::from_chars(text.data(), text.data() + text.size(), back, std::chars_format::general);
        if (back != value && digits < 15)
            continue;
        // Fewer digits than places before the point would come out as "1e+02":
        // whole hundreds and thousands are written out, as a field shows them.
        const std::size_t e = text.find('e');
        if (e != std::string::npos && text[e + 1] == '+') {
            int exponent = 0;
            std::from_chars(text.data() + e + 2, text.data() + text.size(), exponent);
            if (exponent + 1 <= 15)
                text = GeneralText(value, exponent + 1);
        }
        return text;
    }
    return {};
}

// ---------------------------------------------------------------- the result file's cell

namespace {

// The general way: "%.2E" with the exponent widened to three digits.
std::string CellByToChars(double v)
{
    std::string s = ScientificText(v, 2);
    const std::size_t e = s.find('E');
    if (e != std::string::npos) {
        const std::size_t digits = s.size() - (e + 2); // after "E+" or "E-"
        if (digits < 3)
            s.insert(e + 2, 3 - digits, '0');
    }
    PadLeft(s, 10);
    return s;
}

// The exact powers of ten a double holds.
constexpr double Pow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                            1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

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

// The cell of v into out[0..9] by one correctly rounded scaling; false where the
// scaled value lies so near a rounding boundary that its last bit could matter, or
// outside the powers of ten a double holds exactly: the general way decides then.
// A result file holds hundreds of thousands of cells, so this way is the usual one.
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
    return CellByToChars(v);
}

void AppendNumberCell(std::string& out, double v)
{
    char buf[10];
    if (v == 0.0)
        out.append(" 0.00E+000", 10);
    else if (FastCell(v, buf))
        out.append(buf, 10);
    else
        out += CellByToChars(v);
}

} // namespace veltra
