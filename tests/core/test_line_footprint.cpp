#include "plot/LineFootprint.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace
{

// The span of every column, for a footprint of 10 x 8.
std::vector<RowSpan> SpansOf(const std::vector<std::vector<TracePoint>>& lines)
{
    LineFootprint footprint(10, 8);
    for (const auto& line : lines)
        footprint.addPolyline(line);
    return footprint.columns();
}

} // namespace

TEST(LineFootprint, EachSegmentsBoxWidenedByTwoAndCutToThePicture)
{
    const RowSpan none {8, 0}; // no line near the column
    struct Case {
        const char* what;
        std::vector<std::vector<TracePoint>> lines;
        std::vector<RowSpan> spans;
    };
    const std::vector<Case> cases = {
        {"nothing drawn", {}, std::vector<RowSpan>(10, none)},
        {"one point", {{{5, 4}}},
            {none, none, none, {2, 7}, {2, 7}, {2, 7}, {2, 7}, {2, 7}, none, none}},
        {"a column run at the top", {{{1, 0}, {1, 3}}},
            {{0, 6}, {0, 6}, {0, 6}, {0, 6}, none, none, none, none, none, none}},
        {"a turn: each segment its own box", {{{4, 1}, {5, 1}, {5, 6}}},
            {none, none, {0, 4}, {0, 8}, {0, 8}, {0, 8}, {0, 8}, {0, 8}, none, none}},
        {"two lines merge into one span", {{{2, 1}, {2, 1}}, {{4, 6}, {4, 6}}},
            {{0, 4}, {0, 4}, {0, 8}, {0, 8}, {0, 8}, {4, 8}, {4, 8}, none, none, none}},
        {"beyond the edges", {{{-50, -40}, {-2, 2}}, {{11, 9}, {30, 12}}},
            {{0, 5}, none, none, none, none, none, none, none, none, {7, 8}}},
        {"far beyond 32 bits' ends", {{{INT_MIN, INT_MAX}, {INT_MAX, INT_MIN}}},
            std::vector<RowSpan>(10, {0, 8})},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SpansOf(c.lines), c.spans) << c.what;
}
