// The ten-character cells of the result file: "%.2E" with three exponent digits,
// rounded exactly as printf rounds, near every rounding boundary too.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>

#include "results/NumberCell.h"

namespace veltra {

TEST(NumberCell, RoundsAsPrintfDoes)
{
    // printf's "%.2E" with the exponent widened to three digits, right-aligned in ten.
    auto printf3 = [](double v) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.2E", v == 0 ? 0.0 : v);
        std::string s(buf);
        const std::size_t e = s.find('E');
        if (s.size() - (e + 2) < 3)
            s.insert(e + 2, 3 - (s.size() - (e + 2)), '0');
        if (s.size() < 10)
            s.insert(0, 10 - s.size(), ' ');
        return s;
    };
    const std::pair<double, const char*> worked[] = {
        {0.0123, " 1.23E-002"}, {-0.5, "-5.00E-001"},    {-0.0, " 0.00E+000"},     {9.999, " 1.00E+001"},
        {1e-300, " 1.00E-300"}, {1.5e200, " 1.50E+200"}, {-2.5e-12, "-2.50E-012"},
    };
    for (const auto& [v, text] : worked) {
        EXPECT_EQ(NumberCell(v), text) << v;
        EXPECT_EQ(printf3(v), text) << v;
    }
    std::mt19937_64 random(20261206);
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    std::uniform_int_distribution<int> exponent(-25, 25);
    int checked = 0, mismatches = 0;
    auto check = [&](double v) {
        ++checked;
        if (NumberCell(v) != printf3(v) && ++mismatches < 10)
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
    for (double v : {9.995, 99.95, 0.0009995, 1e-20, 9.9999e19, 1e20, 1e22, 1e23, 5e-324, 1.7e308, 1.125, 0.125})
        check(v);
    EXPECT_EQ(mismatches, 0);
    EXPECT_GT(checked, 1000000);
}

} // namespace veltra
