#include "curves/FrequencyGrid.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

// The lines from 40 Hz to 15 kHz that every grid has.
std::vector<int> CommonFrequencies()
{
    return {40, 50, 60, 70, 80, 90, 100, 150, 200, 300, 400, 500, 600, 700, 800, 900, 1000, 1500,
        2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000, 10000, 15000};
}

std::vector<int> Concat(std::vector<int> head, const std::vector<int>& tail)
{
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

TEST(FrequencyGrid, VerticalLinesFollowTheWindowEdges)
{
    const int width = 632;
    struct Case {
        float low;
        float high;
        std::vector<int> frequencies;
    };
    const std::vector<Case> cases = {
        {20, 20000, Concat({20, 30}, CommonFrequencies())},
        {10, 20000, Concat({10, 15, 20, 30}, CommonFrequencies())},
        {9.99f, 20000, Concat({5, 6, 7, 8, 9, 10, 15, 20, 30}, CommonFrequencies())},
        {5, 20000, Concat({5, 6, 7, 8, 9, 10, 15, 20, 30}, CommonFrequencies())},
        {19.5f, 20000, Concat({10, 15, 20, 30}, CommonFrequencies())},
        {40, 20000, CommonFrequencies()},
        {20, 24000, Concat(Concat({20, 30}, CommonFrequencies()), {30000, 20000})},
        {300, 1200, CommonFrequencies()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.low << " to " << c.high << " Hz");
        const FreqMapping mapping = ComputeFreqMapping(c.low, c.high, width);
        std::vector<int> expected;
        for (int f : c.frequencies)
            expected.push_back(FreqToX(mapping, f));
        EXPECT_EQ(ComputeFrequencyGrid(400, 60, c.low, c.high, mapping).columns, expected);
    }
}

TEST(FrequencyGrid, LinesOutsideThePictureAreKept)
{
    const FreqMapping mapping = ComputeFreqMapping(20, 24000, 632);
    const auto columns = ComputeFrequencyGrid(400, 60, 20, 24000, mapping).columns;
    ASSERT_GE(columns.size(), 2u);
    EXPECT_EQ(columns.front(), 0); // 20 Hz at the left edge
    EXPECT_GT(columns[columns.size() - 2], 632); // 30 kHz beyond the right edge
    EXPECT_LT(columns.back(), 632); // 20 kHz inside
}

TEST(FrequencyGrid, HorizontalLinesDivideTheLevelRange)
{
    struct Case {
        int32_t levelRange;
        std::vector<int> rows;
    };
    const std::vector<Case> cases = {
        {60, {33, 66, 100, 133, 166, 200, 233, 266, 300, 333, 366}},
        {120, {33, 66, 100, 133, 166, 200, 233, 266, 300, 333, 366}},
        {40, {50, 100, 150, 200, 250, 300, 350}},
        {80, {50, 100, 150, 200, 250, 300, 350}},
        {5, {40, 80, 120, 160, 200, 240, 280, 320, 360}},
        {15, {40, 80, 120, 160, 200, 240, 280, 320, 360}},
        {100, {40, 80, 120, 160, 200, 240, 280, 320, 360}},
        {25, {}},
        {0, {}},
        {-60, {}},
    };
    const FreqMapping mapping = ComputeFreqMapping(20, 20000, 632);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.levelRange);
        const FrequencyGrid grid = ComputeFrequencyGrid(400, c.levelRange, 20, 20000, mapping);
        EXPECT_EQ(grid.rows, c.rows);
        EXPECT_EQ(grid.columns.size(), 30u); // vertical lines whatever the range
    }
}

TEST(FrequencyGrid, RowsUseIntegerDivision)
{
    const FreqMapping mapping = ComputeFreqMapping(20, 20000, 632);
    EXPECT_EQ(ComputeFrequencyGrid(358, 40, 20, 20000, mapping).rows,
        (std::vector<int> {44, 89, 134, 179, 223, 268, 313}));
}

} // namespace
