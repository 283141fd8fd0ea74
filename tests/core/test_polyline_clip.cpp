#include "plot/PolylineClip.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
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

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

bool Finite(const std::vector<ClipPoint>& points)
{
    for (const ClipPoint& p : points)
        if (!std::isfinite(p.x) || !std::isfinite(p.y))
            return false;
    return true;
}

// Points far beyond any picture (a limit of 1e308 dB, an infinite level)
// still give the line where it crosses the rectangle, in finite numbers; a
// point of no number breaks the line.
TEST(PolylineClip, FarAndInfinitePointsCrossTheRectangleWhereTheirLineDoes)
{
    struct Case {
        const char* what;
        std::vector<ClipPoint> points;
        std::vector<ClipRun> runs; // to within 0.001 pixels
    };
    const std::vector<Case> cases {
        {"up to 1e308: straight up", {{10, 40}, {20, -1e308}}, {{{10, 40}, {10, 0}}}},
        {"down to infinity: straight down", {{10, 40}, {20, kInf}}, {{{10, 40}, {10, 50}}}},
        {"from minus to plus infinity", {{30, -kInf}, {30, kInf}}, {{{30, 0}, {30, 50}}}},
        {"from the far left", {{-kInf, 20}, {50, 20}}, {{{0, 20}, {50, 20}}}},
        {"along the far top: nothing", {{10, -1e308}, {90, -1e308}}, {}},
        {"a point of no number breaks the line",
            {{10, 10}, {20, 20}, {kNaN, 30}, {40, 30}, {50, 40}},
            {{{10, 10}, {20, 20}}, {{40, 30}, {50, 40}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<ClipRun> runs = ClipPolyline(c.points, 100, 50);
        ASSERT_EQ(runs.size(), c.runs.size());
        for (std::size_t r = 0; r < runs.size(); ++r) {
            ASSERT_EQ(runs[r].size(), c.runs[r].size());
            EXPECT_TRUE(Finite(runs[r]));
            for (std::size_t i = 0; i < runs[r].size(); ++i) {
                EXPECT_NEAR(runs[r][i].x, c.runs[r][i].x, 1e-3);
                EXPECT_NEAR(runs[r][i].y, c.runs[r][i].y, 1e-3);
            }
        }
    }
}

TEST(PolygonClip, ThePartInsideTheRectangle)
{
    struct Case {
        const char* what;
        std::vector<ClipPoint> polygon;
        double area; // of the part inside [0, 100] x [0, 50]
    };
    const std::vector<Case> cases {
        {"inside: unchanged", {{10, 10}, {20, 10}, {20, 20}, {10, 20}}, 100},
        {"over the right edge", {{90, 10}, {120, 10}, {120, 20}, {90, 20}}, 100},
        {"covering it all", {{-10, -10}, {110, -10}, {110, 60}, {-10, 60}}, 5000},
        {"wholly outside", {{110, 10}, {120, 10}, {120, 20}}, 0},
        {"a band from -1e308 to 1e308 between x 20 and 60",
            {{20, -1e308}, {60, -1e308}, {60, 1e308}, {20, 1e308}}, 2000},
        {"infinite corners", {{20, -kInf}, {60, -kInf}, {60, kInf}, {20, kInf}}, 2000},
        {"a corner of no number left out", {{10, 10}, {20, 10}, {kNaN, 0}, {20, 20}, {10, 20}},
            100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<ClipPoint> inside = ClipPolygon(c.polygon, 100, 50);
        EXPECT_TRUE(Finite(inside));
        double twiceArea = 0;
        for (std::size_t i = 0; i < inside.size(); ++i) {
            const ClipPoint a = inside[i], b = inside[(i + 1) % inside.size()];
            EXPECT_TRUE(a.x >= 0 && a.x <= 100 && a.y >= 0 && a.y <= 50) << a.x << "," << a.y;
            twiceArea += a.x * b.y - b.x * a.y;
        }
        EXPECT_NEAR(std::fabs(twiceArea) / 2, c.area, 1e-6);
        EXPECT_TRUE(c.area > 0 || inside.empty());
    }
}

} // namespace
