#include "plot/AxisLabels.h"

#include "plot/PixelMapping.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace
{

std::vector<std::string> textsOf(const std::vector<LabelText>& labels)
{
    std::vector<std::string> texts;
    for (const LabelText& l : labels)
        texts.push_back(l.text);
    return texts;
}

bool hasLabel(const std::vector<LabelText>& labels, const std::string& text)
{
    return std::any_of(
        labels.begin(), labels.end(), [&](const LabelText& l) { return l.text == text; });
}

TEST(LevelAxisLabels, DefaultScaleHasElevenLabelsAtTwelfthsOfTheHeight)
{
    const int h = 209;
    const auto labels = LevelAxisLabels(60, 100, h);
    ASSERT_EQ(labels.size(), 12u);
    for (int i = 1; i <= 11; ++i) {
        SCOPED_TRACE(i);
        const LabelText& l = labels[i - 1];
        EXPECT_EQ(l.text, std::string(6, ' ') + std::to_string(100 - 5 * i));
        EXPECT_EQ(l.x, 5);
        EXPECT_EQ(l.y, i * h / 12 - 2);
    }
    EXPECT_EQ(labels[0].y, 15); // 209 / 12 = 17.4 truncates to 17
    EXPECT_EQ(labels.back().text, "dBxx");
    EXPECT_EQ(labels.back().x, 14);
    EXPECT_EQ(labels.back().y, 1);
}

TEST(LevelAxisLabels, TextsFollowTheRangeTable)
{
    struct Case {
        int32_t range;
        int32_t top;
        std::vector<std::string> expected; // without the trailing "dBxx"
    };
    const std::vector<Case> cases = {
        {5, 100,
            {"    99.5", "    99.0", "    98.5", "    98.0", "    97.5", "    97.0", "    96.5",
                "    96.0", "    95.5"}},
        {40, -20,
            {"     -25", "     -30", "     -35", "     -40", "     -45", "     -50", "     -55"}},
        {10, 0,
            {"      -1", "      -2", "      -3", "      -4", "      -5", "      -6", "      -7",
                "      -8", "      -9"}},
        {120, 160,
            {"     150", "     140", "     130", "     120", "     110", "     100", "      90",
                "      80", "      70", "      60", "      50"}},
        {15, 100, {}},
        {0, 100, {}},
        {-60, 100, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.range) + "/" + std::to_string(c.top));
        auto expected = c.expected;
        expected.push_back("dBxx");
        EXPECT_EQ(textsOf(LevelAxisLabels(c.range, c.top, 300)), expected);
    }
}

TEST(LevelAxisLabels, ExtremeTopsDoNotOverflow)
{
    const auto low = LevelAxisLabels(100, std::numeric_limits<int32_t>::min(), 300);
    EXPECT_EQ(low[8].text, "-2147483738");
    const auto high = LevelAxisLabels(5, std::numeric_limits<int32_t>::max(), 300);
    EXPECT_EQ(high.size(), 10u);
}

TEST(ImpedanceAxisLabels, DefaultScaleGoesFrom35Down5AndZeroAtTheBottom)
{
    const int h = 209;
    const auto labels = ImpedanceAxisLabels(50, 0, h);
    ASSERT_EQ(labels.size(), 9u);
    const std::vector<std::string> expected = {"    35.0", "    30.0", "    25.0", "    20.0",
        "    15.0", "    10.0", "     5.0", "     0.0", "Ohm"};
    EXPECT_EQ(textsOf(labels), expected);
    for (int i = 1; i <= 7; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(labels[i - 1].x, 0);
        EXPECT_EQ(labels[i - 1].y, i * h / 8 - 2);
    }
    EXPECT_EQ(labels[7].x, 0);
    EXPECT_EQ(labels[7].y, h - 8);
    EXPECT_EQ(labels[8].x, 7);
    EXPECT_EQ(labels[8].y, 1);
}

TEST(ImpedanceAxisLabels, ValuesKeepFourSignificantDigitsAndOneDecimal)
{
    struct Case {
        int32_t baseTenths;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {5, "     0.5"},
        {9999, "   999.9"},
        {24000, "  2400.0"},
        {12345, "  1234.0"}, // a half goes to the even neighbour
        {12355, "  1236.0"},
        {12346, "  1235.0"},
        {12344, "  1234.0"},
        {123456, " 12350.0"},
        {99995, " 10000.0"},
        {999950, "100000.0"},
        {-5, "    -0.5"},
        {-12345, " -1234.0"},
        {-12355, " -1236.0"},
        {std::numeric_limits<int32_t>::max(), "214700000.0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.baseTenths);
        // With a step of 0 every label shows the base.
        const auto labels = ImpedanceAxisLabels(0, c.baseTenths, 200);
        EXPECT_EQ(labels[0].text, c.expected);
        EXPECT_EQ(labels[7].text, c.expected);
    }
}

TEST(ImpedanceAxisLabels, HalvesOfTheFourthDigitGoToTheEvenNeighbour)
{
    // base 2390.0 Ohm, 0.5 Ohm per division: every other label is a half
    const std::vector<std::string> expected {"  2394.0", "  2393.0", "  2392.0", "  2392.0",
        "  2392.0", "  2391.0", "  2390.0", "  2390.0"};
    const auto labels = ImpedanceAxisLabels(5, 23900, 200);
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(labels[i].text, expected[i]) << i;
}

TEST(ImpedanceAxisLabels, AbsurdScalesGiveLongTextsWithoutOverflow)
{
    const int32_t big = std::numeric_limits<int32_t>::max();
    // 8 * big tenths = 1717986917.6 Ohm
    EXPECT_EQ(ImpedanceAxisLabels(big, big, 200)[0].text, "1718000000.0");
    const int32_t small = std::numeric_limits<int32_t>::min();
    EXPECT_EQ(ImpedanceAxisLabels(small, small, 200)[0].text, "-1718000000.0");
}

TEST(FrequencyAxisLabels, AudioRangeLabelsInTableOrder)
{
    const int w = 528;
    const auto labels = FrequencyAxisLabels(20.0f, 20000.0f, w);
    const std::vector<std::string> expected = {"10", "15", "20", "30", "50", "100", "200", "300",
        "500", "1k", "2k", "3k", "5k", "10k", "20k", "Hz"};
    EXPECT_EQ(textsOf(labels), expected);

    const FreqMapping m = ComputeFreqMapping(20.0f, 20000.0f, w);
    const std::vector<long double> freqs
        = {10, 15, 20, 30, 50, 100, 200, 300, 500, 1000, 2000, 3000, 5000, 10000, 20000};
    for (std::size_t i = 0; i < freqs.size(); ++i) {
        SCOPED_TRACE(labels[i].text);
        EXPECT_EQ(labels[i].x, FreqToX(m, freqs[i]) + 10);
        EXPECT_EQ(labels[i].y, 1);
    }
    EXPECT_LT(labels[0].x, 0); // "10" lies left of the strip
    EXPECT_EQ(labels[2].x, 10);
    EXPECT_EQ(labels[14].x, w + 10);
    EXPECT_EQ(labels[15].x, w + 30);
    EXPECT_EQ(labels[15].y, 1);
}

TEST(FrequencyAxisLabels, ConditionalLabelsDependOnTheEdges)
{
    struct Case {
        float low;
        float high;
        const char* text;
        bool shown;
    };
    const std::vector<Case> cases = {
        {20, 16000, "15k", true},
        {20, 15999, "15k", false},
        {20, 16001, "15k", false},
        {20, 15000, "15k", false},
        {20, 8000, "8k", true},
        {20, 7999, "8k", false},
        {20, 8001, "8k", false},
        {20, 29.9f, "30", false},
        {20, 30, "30", true},
        {20, 4999, "5k", false},
        {20, 40000, "40k", true},
        {20, 39999, "40k", false},
        {5, 20000, "1.5", true},
        {9.99f, 20000, "5", true},
        {10, 20000, "1", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(
            std::string(c.text) + " " + std::to_string(c.low) + ".." + std::to_string(c.high));
        EXPECT_EQ(hasLabel(FrequencyAxisLabels(c.low, c.high, 528), c.text), c.shown);
    }
}

TEST(FrequencyAxisLabels, BelowTenHertzTheSmallLabelsComeFirst)
{
    const auto texts = textsOf(FrequencyAxisLabels(5.0f, 5000.0f, 400));
    const std::vector<std::string> expected = {"1", "1.5", "2", "3", "5", "10", "15", "20", "30",
        "50", "100", "200", "300", "500", "1k", "2k", "3k", "5k", "Hz"};
    EXPECT_EQ(texts, expected);
}

TEST(FrequencyAxisLabels, DegenerateRangesGiveNoLabels)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        float low;
        float high;
        int width;
    };
    const std::vector<Case> cases = {
        {1000, 1000, 528},
        {0, 20000, 528},
        {-20, 20000, 528},
        {20, -1, 528},
        {nan, 20000, 528},
        {20, inf, 528},
        {20, 20.000002f, std::numeric_limits<int>::max()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.low) + ".." + std::to_string(c.high));
        EXPECT_TRUE(FrequencyAxisLabels(c.low, c.high, c.width).empty());
    }
}

} // namespace
