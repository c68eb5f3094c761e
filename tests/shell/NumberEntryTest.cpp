// Numbers typed into the editor and the calculator: either decimal separator, the
// editor's empty field and whole numbers (the texts written back: model/NumberTextTest).
#include <gtest/gtest.h>

#include <optional>
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

} // namespace
} // namespace veltra
