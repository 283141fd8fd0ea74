#include "ui/SoftKeyLayout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

const std::array<int, 8> kNavWidths = {26, 26, 26, 26, 26, 26, 26, 26};

std::array<int, 10> Widths(int f1, int f2, int esc)
{
    return {f1, f2, 5, 5, 5, 5, 5, 5, 0, esc};
}

TEST(SoftKeyLayout, KeyWidthAroundTheCaptionLimit)
{
    struct Case {
        std::string name;
        int textWidth, expectedWidth;
    };
    const std::vector<Case> cases = {
        {"empty caption", 0, 79},
        {"exactly the limit", 63, 79},
        {"one pixel over", 64, 80},
        {"long caption", 180, 196},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SoftKeyLayout s
            = ComputeSoftKeyLayout(Widths(c.textWidth, 0, 0), 79, 0, 26, kNavWidths);
        EXPECT_EQ(s.softKeyWidths[0], c.expectedWidth);
        EXPECT_EQ(s.softKeyLefts[1], c.expectedWidth);
    }
}

TEST(SoftKeyLayout, EscKeyWidthAroundItsLimit)
{
    struct Case {
        int textWidth, expectedWidth, printLeft;
    };
    const std::vector<Case> cases = {{55, 79, 79}, {56, 86, 86}, {0, 79, 79}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.textWidth);
        const SoftKeyLayout s
            = ComputeSoftKeyLayout(Widths(0, 0, c.textWidth), 79, 0, 26, kNavWidths);
        EXPECT_EQ(s.escButtonWidth, c.expectedWidth);
        EXPECT_EQ(s.printButtonLeft, c.printLeft);
    }
}

TEST(SoftKeyLayout, KeysLineUpFromTheLeftEdge)
{
    const SoftKeyLayout s = ComputeSoftKeyLayout(Widths(180, 144, 30), 79, 0, 26, kNavWidths);
    const std::array<int, 9> lefts = {0, 196, 356, 435, 514, 593, 672, 751, 830};
    const std::array<int, 9> widths = {196, 160, 79, 79, 79, 79, 79, 79, 79};
    EXPECT_EQ(s.softKeyLefts, lefts);
    EXPECT_EQ(s.softKeyWidths, widths);
}

TEST(SoftKeyLayout, SecondRowFollowsTheEscKeyWithTwoGaps)
{
    const SoftKeyLayout s = ComputeSoftKeyLayout(Widths(0, 0, 0), 79, 0, 26, kNavWidths);
    EXPECT_EQ(s.printButtonLeft, 79);
    const std::array<int, 8> lefts = {110, 136, 162, 188, 219, 245, 271, 297};
    EXPECT_EQ(s.navButtonLefts, lefts);
}

TEST(SoftKeyLayout, SecondRowUsesTheGivenWidthsAndEscLeft)
{
    const std::array<int, 8> nav = {10, 11, 12, 13, 14, 15, 16, 17};
    const SoftKeyLayout s = ComputeSoftKeyLayout(Widths(0, 0, 70), 79, 3, 30, nav);
    EXPECT_EQ(s.printButtonLeft, 3 + 100);
    const std::array<int, 8> lefts = {138, 148, 159, 171, 189, 203, 218, 234};
    EXPECT_EQ(s.navButtonLefts, lefts);
}

} // namespace
