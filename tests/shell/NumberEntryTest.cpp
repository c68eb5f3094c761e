// Numbers typed into the editor and the calculator: either decimal separator, the
// editor's empty field, whole numbers, and numbers written back without the locale.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "model/NumberEntry.h"

namespace veltra {
namespace {

TEST(NumberEntry, EitherSeparatorAndNothingElse)
{
    const std::vector<std::pair<std::string, double>> numbers{
        {"2.5", 2.5},  {"2,5", 2.5},         {" 2,5\t", 2.5}, {"+2.5", 2.5}, {"-2,5", -2.5},
        {"1e3", 1000}, {"1E-2", 0.01},       {".5", 0.5},     {",5", 0.5},   {"5.", 5},
        {"0", 0},      {"-0.000001", -1e-6}, {"1,5e2", 150},  {"007", 7},
    };
    for (const auto& [text, value] : numbers) {
        EXPECT_EQ(ReadTypedNumber(text), std::optional<double>(value)) << '"' << text << '"';
        EXPECT_EQ(ReadFieldNumber(text), std::optional<double>(value)) << '"' << text << '"';
    }
    for (const char* text :
         {"",         " ",     "abc",    "1,234.5", "1.234,5", "2..5", "2,,5", "nan",  "NaN", "inf", "-inf",
          "infinity", "1e400", "-1e400", "0x10",    "+-1",     "--1",  "1 2",  "2.5x", "e5",  "."}) {
        EXPECT_FALSE(ReadTypedNumber(text)) << '"' << text << '"';
        if (std::string(text).find_first_not_of(' ') != std::string::npos) {
            EXPECT_FALSE(ReadFieldNumber(text)) << '"' << text << '"';
        }
    }
    // The editor's empty field is the "-1" that the cell test refuses.
    EXPECT_EQ(ReadFieldNumber(""), std::optional<double>(-1));
    EXPECT_EQ(ReadFieldNumber("  "), std::optional<double>(-1));
    EXPECT_EQ(NotANumberMessage("1.2.3"), "1.2.3 is not a valid number");
}

TEST(NumberEntry, WholeNumbers)
{
    EXPECT_EQ(ReadWholeNumber("12"), std::optional<long>(12));
    EXPECT_EQ(ReadWholeNumber(" -3 "), std::optional<long>(-3));
    EXPECT_EQ(ReadWholeNumber("+7"), std::optional<long>(7));
    for (const char* text : {"12.5", "12,0", "1e2", "", "abc", "99999999999", "+-1", "1 2"})
        EXPECT_FALSE(ReadWholeNumber(text)) << '"' << text << '"';
}

TEST(NumberEntry, WrittenBackAsPlainTextThatReadsBack)
{
    // 0.1 + 0.2: 15 digits at most, as a field shows it.
    for (const auto& [value, text] : std::vector<std::pair<double, std::string>>{{0.1, "0.1"},
                                                                                 {7, "7"},
                                                                                 {0.003, "0.003"},
                                                                                 {0.1 + 0.2, "0.3"},
                                                                                 {-0.0, "0"},
                                                                                 {-12.25, "-12.25"},
                                                                                 {1e-5, "1e-05"},
                                                                                 {100, "100"},
                                                                                 {2500, "2500"},
                                                                                 {-1.5e6, "-1500000"},
                                                                                 {1e20, "1e+20"}})
        EXPECT_EQ(PlainNumberText(value), text) << value;
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> mantissa(-1, 1);
    std::uniform_int_distribution<int> exponent(-8, 8);
    for (int i = 0; i < 20000; ++i) {
        char typed[32];
        std::snprintf(typed, sizeof typed, "%.12g", mantissa(random) * std::pow(10.0, exponent(random)));
        const double value = *ReadTypedNumber(typed);
        EXPECT_EQ(ReadTypedNumber(PlainNumberText(value)), std::optional<double>(value)) << typed;
    }
}

TEST(NumberEntry, FixedTextIsPrintfsFixedFormat)
{
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> mantissa(-1, 1);
    std::uniform_int_distribution<int> exponent(-7, 4);
    std::vector<double> values{0, -0.0, 0.000005, 0.0000049999, 0.000015, 2.5e-6, 123.456789, -0.000001, 1e6};
    for (int i = 0; i < 100000; ++i)
        values.push_back(mantissa(random) * std::pow(10.0, exponent(random)));
    for (double v : values) {
        char expected[64];
        std::snprintf(expected, sizeof expected, "%8.5f", v); // the test runs in the C locale
        ASSERT_EQ(FixedText(v, 8, 5), expected) << v;
    }
}

} // namespace
} // namespace veltra
