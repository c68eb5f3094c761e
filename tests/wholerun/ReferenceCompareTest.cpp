// The comparison of the whole-run test must find what differs and forgive only the two
// edits the reviewed files carry: bare file names and the credit lines of a result header.
#include <gtest/gtest.h>

#include "wholerun/ReferenceCompare.h"

namespace veltra::wholerun {
namespace {

TEST(ReferenceCompare, PathsBecomeTheirLastPart)
{
    EXPECT_EQ(BareFileNames(" Name of this output (result) file: /tmp/veltra-1/field/field.RES"),
              " Name of this output (result) file: field.RES");
    EXPECT_EQ(BareFileNames("\"Data from: /a/b/c d.res\""), "\"Data from: c d.res\""); // a path ends at a blank
    EXPECT_EQ(BareFileNames("  YEAR:    1   Name of input (data) file used:/s/g.INP\r"),
              "  YEAR:    1   Name of input (data) file used:g.INP\r");
    // No path: units, a lone part, doubled separators.
    EXPECT_EQ(BareFileNames(" Cr4 = 2.62E+001 dS/m, Dw in m/season"), " Cr4 = 2.62E+001 dS/m, Dw in m/season");
    EXPECT_EQ(BareFileNames("/field.res"), "/field.res");
    EXPECT_EQ(BareFileNames("a//b/c"), "a/c");
}

// Only the credit lines of a result header are left out; line ends, digits and lengths
// count.
TEST(ReferenceCompare, FirstDifference)
{
    const std::string expected = "1\r\n2\r\n3\r\nour\r\nown\r\ncredit\r\nlines\r\nsix\r\nof them\r\n10\r\n";
    const std::string got = "1\r\n2\r\n3\r\nA\r\nB\r\nC\r\nD\r\nE\r\nF\r\n10\r\n";
    EXPECT_EQ(FirstDifference(expected, got, true), "");
    EXPECT_EQ(FirstDifference(expected, got, false), "line 4: expected \"our\\r\", got \"A\\r\"");
    EXPECT_EQ(FirstDifference(expected, "1\r\n2\r\n3\r\nA\r\nB\r\nC\r\nD\r\nE\r\nF\r\n11\r\n", true),
              "line 10: expected \"10\\r\", got \"11\\r\"");
    const std::string text = " 1.50E+000 2.00E-001\r\n 3.00E+000\r\n";
    EXPECT_EQ(FirstDifference(text, " 1.50E+000 2.00E-001\n 3.00E+000\n", false),
              "line 1: expected \" 1.50E+000 2.00E-001\\r\", got \" 1.50E+000 2.00E-001\"");
    EXPECT_EQ(FirstDifference(text, " 1.50E+000 2.00E-001\r\n 3.01E+000\r\n", false),
              "line 2: expected \" 3.00E+000\\r\", got \" 3.01E+000\\r\"");
    EXPECT_EQ(FirstDifference(text, " 1.50E+000 2.00E-001\r\n", false), "line 2: expected \" 3.00E+000\\r\", got \"\"");
    EXPECT_EQ(FirstDifference(text, text + "\r\n", false), "line 3: expected \"\", got \"\\r\"");
    EXPECT_EQ(FirstDifference(text, text + "extra", false), "line 3: expected \"\", got \"extra\"");
    EXPECT_EQ(FirstDifference("2\r\n", "", false), "line 1: expected \"2\\r\", got \"\"");
    EXPECT_EQ(FirstDifference("a\r\nb", "a\r\nb\nc", false), "line 3: expected the end of the file, got \"c\"");
}

} // namespace
} // namespace veltra::wholerun
