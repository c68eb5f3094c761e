#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "results/NumberCell.h"

namespace veltra {

TEST(NumberCell, TenCharactersThreeExponentDigits)
{
    const struct {
        double v;
        const char* text;
    } cases[] = {
        {0.0123, " 1.23E-002"},   {-0.5, "-5.00E-001"},    {0.0, " 0.00E+000"},    {-0.0, " 0.00E+000"},
        {-1.5, "-1.50E+000"},     {2.884, " 2.88E+000"},   {4.86, " 4.86E+000"},   {12.0, " 1.20E+001"},
        {9.999, " 1.00E+001"},    {0.001, " 1.00E-003"},   {1e-300, " 1.00E-300"}, {1.5e200, " 1.50E+200"},
        {-2.5e-12, "-2.50E-012"}, {123456.0, " 1.23E+005"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NumberCell(c.v), c.text) << c.v;
    EXPECT_EQ(std::string(AbsentCell), "     -    ");
}

TEST(NumberCell, DecimalPointWhateverTheLocale)
{
    // A locale with a decimal comma must not reach the files.
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = old ? old : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "nl_NL.UTF-8"))
        GTEST_SKIP() << "no locale with a decimal comma installed";
    EXPECT_EQ(NumberCell(-0.5), "-5.00E-001");
    std::setlocale(LC_NUMERIC, saved.c_str());
}

} // namespace veltra
