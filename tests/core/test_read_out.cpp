#include "plot/ReadOut.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace
{

constexpr int kWidth = 528;
constexpr int kHeight = 209;

AxisScales defaultScales()
{
    AxisScales s;
    s.LevelRange = 60;
    s.LevelTop = 100;
    s.ImpedanceStep = 50;
    s.ImpedanceBase = 0;
    return s;
}

std::string readOut(int frameX, int frameY)
{
    return CursorOutText(20.0f, 20000.0f, defaultScales(), kWidth, kHeight, frameX, frameY);
}

TEST(ReadOut, TopLeftPixelReadsLowEdgeTopLevelAndTheImpedanceOfRowOne)
{
    // Z = 40 * 208 / 209 Ohm
    EXPECT_EQ(readOut(2, 2), "f:  20 Hz   y: 100.0 dBxx    39.8 Ohm");
}

TEST(ReadOut, PositionsAcrossAndAroundTheDataWindow)
{
    struct Case {
        int frameX;
        int frameY;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {2 + kWidth, 2, "f: 20000 Hz   y: 100.0 dBxx    39.8 Ohm"},
        {2, 1, "f:  20 Hz   y: 100.3 dBxx    40.0 Ohm"}, // frame border above the window
        {2, 1 + kHeight, "f:  20 Hz   y: 40.3 dBxx    0.0 Ohm"}, // bottom row
        {2, 0, "f:  20 Hz   y: 100.6 dBxx    40.2 Ohm"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.frameX) + "," + std::to_string(c.frameY));
        EXPECT_EQ(readOut(c.frameX, c.frameY), c.expected);
    }
}

TEST(ReadOut, ArithmeticFailuresGiveAnEmptyText)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const int bigX = std::numeric_limits<int>::max();
    struct Case {
        const char* name;
        float low;
        float high;
        int width;
        int height;
        int frameX;
    };
    const std::vector<Case> cases = {
        {"zero height", 20, 20000, kWidth, 0, 2},
        {"zero width", 20, 20000, 0, kHeight, 2},
        {"equal edges", 1000, 1000, kWidth, kHeight, 2},
        {"zero low edge", 0, 20000, kWidth, kHeight, 2},
        {"negative edge", -20, 20000, kWidth, kHeight, 2},
        {"NaN edge", nan, 20000, kWidth, kHeight, 2},
        {"frequency beyond single precision", 20, 20000, 1, kHeight, bigX},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(
            CursorOutText(c.low, c.high, defaultScales(), c.width, c.height, c.frameX, 2), "");
    }
}

TEST(ReadOut, AbsurdScalesAndPositionsDoNotOverflow)
{
    AxisScales s;
    s.LevelRange = std::numeric_limits<int32_t>::min();
    s.LevelTop = std::numeric_limits<int32_t>::max();
    s.ImpedanceStep = std::numeric_limits<int32_t>::max();
    s.ImpedanceBase = std::numeric_limits<int32_t>::min();
    const int far = std::numeric_limits<int>::min();
    const std::string text = CursorOutText(20.0f, 20000.0f, s, kWidth, kHeight, 2, far);
    EXPECT_EQ(text.rfind("f:  20 Hz   y: ", 0), 0u) << text;
    EXPECT_NE(text.find(" Ohm"), std::string::npos) << text;
}

} // namespace

TEST(ReadOut, AtADevicePixelRatioTheDevicePixelUnderThePointerIsRead)
{
    struct Case {
        double ratio, frameX, frameY;
        int pixelX, pixelY; // the device pixel read
    };
    const Case cases[] = {
        {2, 2, 2.5, 0, 1},
        {2, 102.5, 52, 201, 100},
        {1.5, 3, 4, 2, 3}, // 1.5 and 3 device pixels right of and below the corner
        {3, 2 + 1 / 3.0, 2 + 2 / 3.0, 1, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ratio);
        const int w = int(kWidth * c.ratio), h = int(kHeight * c.ratio);
        EXPECT_EQ(
            CursorOutText(20.0f, 20000.0f, defaultScales(), w, h, c.frameX, c.frameY, c.ratio),
            CursorOutText(20.0f, 20000.0f, defaultScales(), w, h, 2 + c.pixelX, 2 + c.pixelY));
    }
}
