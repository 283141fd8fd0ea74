#include "plot/LegendPlacement.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

// A horizontal trace at row y across a window 400 pixels wide.
std::vector<TracePoint> Row(int y)
{
    std::vector<TracePoint> trace;
    for (int x = 0; x <= 400; x += 4)
        trace.push_back({x, y});
    return trace;
}

// A trace from (x0, y) to (x1, y).
std::vector<TracePoint> Stretch(int x0, int x1, int y)
{
    std::vector<TracePoint> trace;
    for (int x = x0; x <= x1; x += 4)
        trace.push_back({x, y});
    return trace;
}

TEST(PlaceLegend, WhereItHidesTheFewestPoints)
{
    struct Case {
        const char* what;
        std::vector<std::vector<TracePoint>> traces;
        LegendBox expected;
    };
    // Window 400 x 300, legend 100 x 40, margin 6.
    const Case cases[] = {
        {"no curves: top right", {}, {294, 6, 100, 40}},
        {"a curve along the top: bottom right", {Row(20)}, {294, 254, 100, 40}},
        {"curves along top and bottom, a gap at the top left", {Stretch(120, 400, 20), Row(280)},
            {6, 6, 100, 40}},
        {"every corner crossed, the top middle free",
            {Stretch(0, 130, 20), Stretch(270, 400, 20), Row(280)}, {150, 6, 100, 40}},
        {"everywhere crossed: the fewest points", {Row(20), Row(280), Stretch(300, 400, 30)},
            {6, 6, 100, 40}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PlaceLegend(400, 300, 100, 40, 6, c.traces), c.expected) << c.what;
}

} // namespace
