#include "curves/ColourCycle.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b)
{
    return r | g << 8 | b << 16;
}

TEST(ColourCycle, StepsThroughTheNineColours)
{
    struct Case {
        uint32_t current;
        uint32_t next;
    };
    const std::vector<Case> cases = {
        {0, Rgb(0, 255, 0)},
        {Rgb(0, 128, 0), Rgb(0, 255, 0)},
        {Rgb(0, 255, 0), Rgb(0, 255, 255)},
        {Rgb(0, 255, 255), Rgb(255, 0, 255)},
        {Rgb(255, 0, 255), Rgb(192, 192, 192)},
        {Rgb(192, 192, 192), Rgb(0, 0, 128)},
        {Rgb(0, 0, 128), Rgb(0, 0, 255)},
        {Rgb(0, 0, 255), Rgb(128, 0, 128)},
        {Rgb(128, 0, 128), Rgb(0, 128, 128)},
        {Rgb(0, 128, 128), Rgb(0, 128, 0)},
        // colours outside the cycle stay
        {Rgb(255, 0, 0), Rgb(255, 0, 0)},
        {Rgb(128, 128, 128), Rgb(128, 128, 128)},
        {0x8000000F, 0x8000000F},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.current);
        EXPECT_EQ(NextCurveColour(c.current), c.next);
    }
}

TEST(ColourCycle, RepeatsAfterNineCurvesAndRestartsAtLime)
{
    CurveColourCycle cycle;
    EXPECT_EQ(cycle.current(), kNoCurveColour);
    std::vector<uint32_t> drawn;
    for (int k = 0; k < 10; ++k)
        drawn.push_back(cycle.next());
    EXPECT_EQ(drawn,
        (std::vector<uint32_t> {kCurveLime, kCurveAqua, kCurveFuchsia, kCurveSilver, kCurveNavy,
            kCurveBlue, kCurvePurple, kCurveTeal, kCurveGreen, kCurveLime}));
    cycle.restart();
    EXPECT_EQ(cycle.next(), kCurveLime);
    EXPECT_EQ(cycle.next(), kCurveAqua);
}

} // namespace
