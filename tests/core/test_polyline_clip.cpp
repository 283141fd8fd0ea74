#include "plot/PolylineClip.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

using ClipRun = std::vector<ClipPoint>;

TEST(PolylineClip, RunsInsideTheRectangle)
{
    struct Case {
        const char* what;
        std::vector<ClipPoint> points;
        std::vector<ClipRun> runs;
    };
    // The rectangle is [0, 100] x [0, 50].
    const std::vector<Case> cases {
        {"inside: unchanged", {{10, 10}, {20, 30}, {90, 40}}, {{{10, 10}, {20, 30}, {90, 40}}}},
        {"from left of the rectangle: cut at x = 0", {{-10, 20}, {10, 40}}, {{{0, 30}, {10, 40}}}},
        {"beyond the right and the bottom: cut twice", {{50, 25}, {150, 75}},
            {{{50, 25}, {100, 50}}}},
        {"through the rectangle: cut at both ends", {{-50, 25}, {150, 25}}, {{{0, 25}, {100, 25}}}},
        {"wholly outside", {{-10, -10}, {-5, 60}, {200, 60}}, {}},
        {"out and back in: two runs", {{10, 10}, {10, 70}, {20, 70}, {20, 10}},
            {{{10, 10}, {10, 50}}, {{20, 50}, {20, 10}}}},
        {"along an edge: kept", {{0, 0}, {0, 50}, {100, 50}}, {{{0, 0}, {0, 50}, {100, 50}}}},
        {"one point: nothing", {{10, 10}}, {}},
        {"between pixels", {{-0.5, 0.5}, {0.5, 1.5}}, {{{0, 1}, {0.5, 1.5}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ClipPolyline(c.points, 100, 50), c.runs);
    }
}

} // namespace
