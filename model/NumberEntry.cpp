#include "model/NumberEntry.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <system_error>

namespace veltra {

namespace {

std::string TrimBlanks(const std::string& s)
{
    const char* blanks = " \t\r\n";
    const std::size_t a = s.find_first_not_of(blanks);
    if (a == std::string::npos)
        return {};
    return s.substr(a, s.find_last_not_of(blanks) - a + 1);
}

// The whole text as a decimal number with "." as separator. from_chars takes no
// leading "+", which a typed number may carry.
std::optional<double> ParseWithPoint(const std::string& text)
{
    std::size_t at = 0;
    if (!text.empty() && text[0] == '+') {
        at = 1;
        if (at < text.size() && (text[at] == '+' || text[at] == '-'))
            return std::nullopt; // "+-1"
    }
    const char* first = text.data() + at;
    const char* last = text.data() + text.size();
    if (first == last)
        return std::nullopt;
    double value = 0;
    const auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec != std::errc() || ptr != last || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

std::optional<double> ReadTypedNumber(const std::string& text)
{
    const std::string t = TrimBlanks(text);
    if (t.empty())
        return std::nullopt;
    if (auto value = ParseWithPoint(t))
        return value;
    // Once more with "," as the separator; a "." is then no part of a number.
    if (t.find('.') != std::string::npos || t.find(',') == std::string::npos)
        return std::nullopt;
    std::string swapped = t;
    for (char& c : swapped)
        if (c == ',')
            c = '.';
    return ParseWithPoint(swapped);
}

std::optional<double> ReadFieldNumber(const std::string& text)
{
    if (TrimBlanks(text).empty())
        return -1.0;
    return ReadTypedNumber(text);
}

std::optional<long> ReadWholeNumber(const std::string& text)
{
    std::string t = TrimBlanks(text);
    if (!t.empty() && t[0] == '+') {
        t.erase(0, 1);
        if (!t.empty() && (t[0] == '+' || t[0] == '-'))
            return std::nullopt; // "+-1"
    }
    if (t.empty())
        return std::nullopt;
    long value = 0;
    const auto [ptr, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
    if (ec != std::errc() || ptr != t.data() + t.size() || value > INT_MAX || value < INT_MIN)
        return std::nullopt;
    return value;
}

std::string NotANumberMessage(const std::string& text)
{
    return text + " is not a valid number";
}

std::string PlainNumberText(double value)
{
    if (value == 0)
        return "0"; // not "-0"
    // to_chars and from_chars ignore the locale, which a window toolkit may have set.
    char buf[64];
    for (int digits = 1; digits <= 15; ++digits) {
        const auto end = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, digits).ptr;
        double back = 0;
        std::from_chars(buf, end, back, std::chars_format::general);
        if (back == value || digits == 15) {
            // Fewer digits than places before the point would come out as "1e+02":
            // whole hundreds and thousands are written out, as a field shows them.
            std::string text(buf, end);
            const std::size_t e = text.find('e');
            if (e != std::string::npos && text[e + 1] == '+') {
                const int places = std::atoi(text.c_str() + e + 2) + 1;
                if (places <= 15)
                    text.assign(buf,
                                std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, places).ptr);
            }
            return text;
        }
    }
    return {};
}

std::string FixedText(double value, int width, int decimals)
{
    char buf[400]; // room for the largest double with its decimals
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    std::string text = ec == std::errc() ? std::string(buf, end) : std::string("?");
    if (text.size() < static_cast<std::size_t>(width))
        text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    return text;
}

} // namespace veltra
