// Number texts: printf's formats made without the locale, the result file's cell
// rounded exactly as printf rounds, the texts of the editor's fields and the numbers
// typed into them.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <locale>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "model/NumberEntry.h"
#include "model/NumberText.h"
#include "support/TScratchFolder.h"

namespace veltra {
namespace {

std::string Printf(const char* format, double v)
{
    char buf[512];
    std::snprintf(buf, sizeof buf, format, v);
    return buf;
}

TEST(NumberText, PrintfFormatsWithoutTheLocale)
{
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> mantissa(-1, 1);
    std::uniform_int_distribution<int> exponent(-7, 4);
    std::vector<double> values{0, -0.0, 0.000005, 0.0000049999, 0.000015, 2.5e-6, 123.456789, -0.000001, 1e6, 1e300};
    for (int i = 0; i < 100000; ++i)
        values.push_back(mantissa(random) * std::pow(10.0, exponent(random)));
    for (double v : values) { // the tests run in the C locale
        ASSERT_EQ(FixedText(v, 8, 5), Printf("%8.5f", v)) << v;
        ASSERT_EQ(ScientificText(v, 2), Printf("%.2E", v)) << v;
        ASSERT_EQ(ScientificText(v, 14), Printf("%.14E", v)) << v;
        ASSERT_EQ(GeneralText(v, 15), Printf("%.15g", v)) << v;
        ASSERT_EQ(std::strtod(ShortestText(v).c_str(), nullptr), v) << v;
    }
    EXPECT_EQ(ScientificText(-HUGE_VAL, 2), "-INF");
    EXPECT_EQ(ShortestText(0.1), "0.1");
    EXPECT_EQ(WholeText(-7, 3), " -7");
    EXPECT_EQ(WholeText(1234, 2), "1234");
}

TEST(NumberText, ResultCellRoundsAsPrintfDoes)
{
    // printf's "%.2E" with the exponent widened to three digits, right-aligned in ten.
    auto printf3 = [](double v) {
        std::string s = Printf("%.2E", v == 0 ? 0.0 : v);
        const std::size_t e = s.find('E');
        if (s.size() - (e + 2) < 3)
            s.insert(e + 2, 3 - (s.size() - (e + 2)), '0');
        if (s.size() < 10)
            s.insert(0, 10 - s.size(), ' ');
        return s;
    };
    EXPECT_EQ(printf3(-1.5e200), "-1.50E+200");
    std::mt19937_64 random(20261206);
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    std::uniform_int_distribution<int> exponent(-25, 25);
    int checked = 0, mismatches = 0;
    auto check = [&](double v) {
        ++checked;
        std::string appended = "x";
        AppendNumberCell(appended, v);
        if ((NumberCell(v) != printf3(v) || appended.substr(1) != printf3(v)) && ++mismatches < 10)
            ADD_FAILURE() << v << ": " << NumberCell(v) << " against " << printf3(v);
    };
    for (int i = 0; i < 250000; ++i) {
        const double v = mantissa(random) * std::pow(10.0, exponent(random));
        check(v);
        check(-v);
        // Values at and beside the boundaries between two cells: d.dd5 and 9.995.
        const double boundary = (std::floor(mantissa(random) * 100) + 0.5) / 100 * std::pow(10.0, exponent(random));
        for (double b : {boundary, std::nextafter(boundary, 0.0), std::nextafter(boundary, 1e300)})
            check(b);
    }
    for (double v : {-0.0, 9.995, 9.999, 99.95, 0.0009995, 1e-20, 9.9999e19, 1e20, 1e22, 1e23, 1e-300, 5e-324, 1.7e308,
                     1.125, 0.125})
        check(v);
    EXPECT_EQ(mismatches, 0);
    EXPECT_GT(checked, 1000000);
}

TEST(NumberText, FieldTextIsPlainAndReadsBack)
{
    // 0.1 + 0.2: 15 digits at most, as a field shows it.
    const std::pair<double, const char*> plain[] = {
        {0.1, "0.1"},    {7, "7"},     {0.003, "0.003"}, {0.1 + 0.2, "0.3"},   {-0.0, "0"},    {-12.25, "-12.25"},
        {1e-5, "1e-05"}, {100, "100"}, {2500, "2500"},   {-1.5e6, "-1500000"}, {1e20, "1e+20"}};
    for (const auto& [value, text] : plain)
        EXPECT_EQ(PlainNumberText(value), text) << value;
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> mantissa(-1, 1);
    std::uniform_int_distribution<int> exponent(-8, 8);
    for (int i = 0; i < 20000; ++i) {
        const std::string typed = Printf("%.12g", mantissa(random) * std::pow(10.0, exponent(random)));
        const double value = *ReadTypedNumber(typed);
        EXPECT_EQ(ReadTypedNumber(PlainNumberText(value)), std::optional<double>(value)) << typed;
    }
}

// A window toolkit sets the user's locale, with "," as the decimal separator in much
// of the world. A locale of that kind, built for the test, changes no text.
TEST(NumberText, CommaLocaleChangesNoText)
{
    test::TScratchFolder folder("veltra-locale");
    std::ofstream(folder.Path("comma")) << "LC_NUMERIC\n"
                                           "decimal_point \"<U002C>\"\n"
                                           "thousands_sep \"<U002E>\"\n"
                                           "grouping 3;3\n"
                                           "END LC_NUMERIC\n";
    for (const char* category : {"LC_CTYPE", "LC_COLLATE", "LC_TIME", "LC_MONETARY", "LC_MESSAGES", "LC_PAPER",
                                 "LC_NAME", "LC_ADDRESS", "LC_TELEPHONE", "LC_MEASUREMENT", "LC_IDENTIFICATION"})
        std::ofstream(folder.Path("comma"), std::ios::app) << category << "\ncopy \"POSIX\"\nEND " << category << "\n";
    const std::string build = "localedef -c -i '" + folder.Path("comma") + "' -f ANSI_X3.4-1968 '" +
                              folder.Path("xx_XX") + "' >/dev/null 2>&1";
    (void)std::system(build.c_str());
    ASSERT_TRUE(std::filesystem::exists(folder.Path("xx_XX")))
        << "localedef built no locale: the test needs Debian's package locales (scripts/install-deps.sh)";

    auto texts = [] {
        return std::vector<std::string>{FixedText(-1234.5, 10, 2), ScientificText(0.000123, 2),
                                        GeneralText(2.0 / 3, 15),  ShortestText(0.1),
                                        PlainNumberText(2.5),      NumberCell(1.5),
                                        NumberCell(1e-30),         WholeText(1234567, 9)};
    };
    ::setenv("LOCPATH", folder.Dir.c_str(), 1);
    const bool set = std::setlocale(LC_ALL, "xx_XX") != nullptr;
    if (set)
        std::locale::global(std::locale("xx_XX"));
    const std::string printed = Printf("%.1f", 1.5);
    const std::vector<std::string> underComma = texts();
    std::locale::global(std::locale::classic());
    std::setlocale(LC_ALL, "C");
    ::unsetenv("LOCPATH");

    ASSERT_TRUE(set);
    EXPECT_EQ(printed, "1,5"); // the locale was in force
    EXPECT_EQ(underComma, (std::vector<std::string>{"  -1234.50", "1.23E-04", "0.666666666666667", "0.1", "2.5",
                                                    " 1.50E+000", " 1.00E-030", "  1234567"}));
    EXPECT_EQ(underComma, texts());
}

// Numbers typed into the editor and the calculator: either decimal separator, the
// editor's empty field and whole numbers.
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
