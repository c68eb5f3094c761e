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

} // namespace veltra
