#include <gtest/gtest.h>

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

} // namespace veltra
