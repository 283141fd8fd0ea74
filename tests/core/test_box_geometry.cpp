#include "app/BoxGeometry.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace
{

BoxGeometryInput Box(int titleWidth, std::vector<int> body, bool btn1, bool btn2)
{
    BoxGeometryInput in;
    in.titleWidth = titleWidth;
    in.bodyLineWidths = std::move(body);
    in.btn1Shown = btn1;
    in.btn2Shown = btn2;
    // Main window of 640 x 450 with its client area at (100, 142) on the screen.
    in.clientOriginX = 100;
    in.clientOriginY = 142;
    in.mainWindowWidth = 640;
    in.sigWinFrameTop = 66;
    in.sigWinHeight = 290;
    return in;
}

TEST(BoxGeometry, SizeFollowsTitleBodyAndButtons)
{
    struct Case {
        std::string name;
        BoxGeometryInput in;
        int width, height;
    };
    const std::vector<Case> cases = {
        {"one line with ok", Box(0, {}, true, false), 60, 69},
        {"narrow title with ok keeps the minimum", Box(-20, {}, true, false), 50, 69},
        {"yes and no need room for two buttons", Box(40, {60}, true, true), 230, 85},
        {"wide title with yes and no", Box(250, {60}, true, true), 310, 85},
        {"title alone: width + 60", Box(100, {20, 30}, true, false), 160, 101},
        {"wider body line: its width + 30", Box(100, {20, 300, 30}, true, false), 330, 117},
        {"body line as wide as title + 30 adds nothing", Box(100, {130}, true, false), 160, 85},
        {"no button", Box(100, {20, 30}, false, false), 160, 72},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const BoxGeometry b = ComputeBoxGeometry(c.in);
        EXPECT_EQ(b.width, c.width);
        EXPECT_EQ(b.height, c.height);
        EXPECT_EQ(b.L1Left, 5);
        EXPECT_EQ(b.L1Width, c.width - 10);
    }
}

TEST(BoxGeometry, TwoButtonWidthIsRoundedHalfToEven)
{
    BoxGeometryInput in = Box(0, {}, true, true);
    in.btn1Width = 81; // 2.5 x 81 = 202.5
    EXPECT_EQ(ComputeBoxGeometry(in).width, 232);
    in.btn1Width = 83; // 207.5
    EXPECT_EQ(ComputeBoxGeometry(in).width, 238);
}

TEST(BoxGeometry, ButtonsSitAboveTheBottomEdge)
{
    const BoxGeometry one = ComputeBoxGeometry(Box(100, {20}, true, false)); // 160 x 85
    EXPECT_EQ(one.btn1Top, 85 - 25 - 34);
    EXPECT_EQ(one.btn1Left, (160 - 80) / 2 - 3);
    EXPECT_FALSE(one.btn2Left.has_value());

    const BoxGeometry two = ComputeBoxGeometry(Box(40, {60}, true, true)); // 230 x 85
    EXPECT_EQ(two.btn1Top, 26);
    EXPECT_EQ(two.btn2Top, 26);
    EXPECT_EQ(two.btn1Left, 115 - 80 - 10);
    EXPECT_EQ(two.btn2Left, 125);
}

TEST(BoxGeometry, CentredOnTheMainWindowAndTheDataWindow)
{
    const BoxGeometry b = ComputeBoxGeometry(Box(40, {60}, true, true)); // 230 x 85
    EXPECT_EQ(b.left, 100 + (640 - 230) / 2);
    EXPECT_EQ(b.top, 142 + 66 + (290 - 85) / 2); // 102.5 truncated
}

TEST(BoxGeometry, DivisionsTruncateTowardZero)
{
    // A box wider than the main window and taller than the data window:
    // (640 - 1061) / 2 = -210.5 gives -210, (100 - 117) / 2 = -8.5 gives -8.
    BoxGeometryInput in = Box(1001, {1, 2, 3}, true, false);
    in.sigWinHeight = 100;
    const BoxGeometry b = ComputeBoxGeometry(in);
    ASSERT_EQ(b.width, 1061);
    ASSERT_EQ(b.height, 117);
    EXPECT_EQ(b.left, 100 - 210);
    EXPECT_EQ(b.top, 142 + 66 - 8);
}

TEST(BoxGeometry, ExtremeInputsStaySane)
{
    BoxGeometryInput in = Box(INT_MAX, {INT_MIN, INT_MAX}, true, true);
    in.btn1Width = INT_MIN;
    in.btn1Height = INT_MAX;
    in.clientOriginX = INT_MIN;
    in.sigWinHeight = INT_MIN;
    const BoxGeometry b = ComputeBoxGeometry(in);
    EXPECT_EQ(b.width, INT_MAX);
    EXPECT_GE(b.L1Width, 0);
}

} // namespace
