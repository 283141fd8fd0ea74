#include "plot/TextFormat.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

namespace
{

TEST(TextFormat, FormatFixedRoundsPadsAndNeverCutsToTheWidth)
{
    struct Case {
        int width;
        int decimals;
        float value;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {3, 0, 20.0f, " 20"},
        {3, 1, 100.0f, "100.0"},
        {8, 1, 99.5f, "    99.5"},
        {3, 1, 39.808613f, "39.8"},
        {3, 1, 100.28708f, "100.3"},
        {8, 1, -25.0f, "   -25.0"},
        {0, 0, 123456.0f, "123456"},
        {2, -1, 7.4f, " 7"}, // negative decimals count as 0
        // exact binary halves go to the even digit
        {1, 0, 0.5f, "0"},
        {1, 0, 1.5f, "2"},
        {1, 0, 2.5f, "2"},
        {1, 1, 99.75f, "99.8"},
        {1, 1, -2.25f, "-2.2"},
        // 0.15f lies slightly above 0.15, 0.45f slightly below 0.45
        {1, 1, 0.15f, "0.2"},
        {1, 1, 0.45f, "0.4"},
        // the sign of a negative value survives rounding to zero, -0 has none
        {1, 2, -0.001f, "-0.00"},
        {5, 0, -0.0f, "    0"},
        {0, 0, 3.0e38f, "300000000549775575777803994281145270272"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(FormatFixed(c.width, c.decimals, c.value), c.expected);
    }
}

TEST(TextFormat, FormatFixedCutsOverlongResultsAt255Characters)
{
    const std::string manyDecimals = FormatFixed(0, 1000, 1.0f);
    EXPECT_EQ(manyDecimals, "1." + std::string(253, '0'));
    // The first 255 characters of a 300-wide field are all blanks.
    EXPECT_EQ(FormatFixed(300, 0, 5.0f), std::string(255, ' '));
    EXPECT_EQ(FormatFixed(255, 0, 5.0f), std::string(254, ' ') + "5");
}

TEST(TextFormat, FormatFixedWritesNonFiniteValuesWithoutFailing)
{
    const std::string nan = FormatFixed(3, 1, std::numeric_limits<float>::quiet_NaN());
    const std::string inf = FormatFixed(3, 1, -std::numeric_limits<float>::infinity());
    EXPECT_NE(nan.find("nan"), std::string::npos) << nan;
    EXPECT_EQ(inf, "-inf");
}

// The desktop's language sets the C library's decimal separator (Qt applies
// it at start); the program's numbers keep their point. The German locale is
// made by scripts/install-deps.sh.
TEST(TextFormat, FormatFixedWritesAPointUnderADesktopWithADecimalComma)
{
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    ASSERT_NE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"), nullptr) << "no German locale here";
    char commaCheck[16];
    std::snprintf(commaCheck, sizeof commaCheck, "%.1f", 76.8);
    EXPECT_STREQ(commaCheck, "76,8") << "the locale writes a comma";
    EXPECT_EQ(FormatFixed(3, 1, 76.8f), "76.8");
    EXPECT_EQ(FormatFixed(8, 1, 99.5f), "    99.5");
    std::setlocale(LC_NUMERIC, before.c_str());
}

TEST(TextFormat, PadLeftTrimsFirstThenPadsUpToTheWidth)
{
    struct Case {
        std::string text;
        char pad;
        int width;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"95", ' ', 8, "      95"},
        {"  12", '0', 5, "00012"},
        {"\t\n x", '*', 3, "**x"},
        {"", ' ', 3, "   "},
        {"abcdef", ' ', 3, "abcdef"}, // longer texts stay whole
        {"  abc", ' ', 3, "abc"}, // trimmed even when no padding is needed
        {" x", ' ', -4, "x"},
        {"x", '-', 1000, std::string(255, '-')},
        {"xyz", '-', 257, std::string(254, '-') + "x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text + " to " + std::to_string(c.width));
        EXPECT_EQ(PadLeft(c.text, c.pad, c.width), c.expected);
    }
}

TEST(TextFormat, TrimLeadingBlanksRemovesCodesUpTo32Only)
{
    struct Case {
        std::string text;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"  \t\x01\x1f"
         "abc  ",
            "abc  "},
        {std::string("\0 a", 3), "a"},
        {"   ", ""},
        {"", ""},
        {"\xA0x", "\xA0x"}, // code 160 is not a blank
        {"!a", "!a"}, // code 33 stays
        {std::string(300, 'a'), std::string(255, 'a')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(TrimLeadingBlanks(c.text), c.expected);
    }
}

} // namespace
