#include "plot/StepRules.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace
{

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

AxisScales levelScales(int32_t range, int32_t top)
{
    AxisScales s;
    s.LevelRange = range;
    s.LevelTop = top;
    return s;
}

AxisScales impedanceScales(int32_t step, int32_t base)
{
    AxisScales s;
    s.ImpedanceStep = step;
    s.ImpedanceBase = base;
    return s;
}

PlotState freqRange(float low, float high)
{
    PlotState p;
    p.ViewFreqLow = low;
    p.ViewFreqHigh = high;
    return p;
}

TEST(StepRules, ShiftLevelTopSnapsStepsAndStopsAtTheLimits)
{
    struct Case {
        int32_t range;
        int32_t top;
        bool up;
        int32_t expectedTop;
    };
    const std::vector<Case> cases = {
        {60, 100, true, 110},
        {60, 100, false, 90},
        {40, 25, true, 30}, // snaps to 20 first
        {40, 15, true, 30}, // 15 snaps to 20 as well
        {40, 35, true, 50}, // 35 and 45 both snap to 40
        {40, 45, true, 50},
        {40, -25, false, -30}, // -25 snaps to -20
        {30, 25, true, 30}, // no snap below 40
        {5, 100, true, 101},
        {10, 100, true, 102},
        {20, 100, false, 95},
        {15, 100, true, 100}, // a range outside the table has step 0
        {60, 160, true, 160},
        {60, 159, true, 160}, // snaps to 160, then stops
        {30, 159, true, 164},
        {60, -100, false, -100}, // bottom edge at -160
        {60, -99, false, -100}, // only the snap
        {20, -139, false, -144},
        {20, -144, false, -144},
        // absurd tops from an edited file: the snap stays inside 32 bits
        {60, kMax, true, 2147483640},
        {60, kMin, false, -2147483640},
        {kMin, kMin, false, kMin},
        {kMax, 0, true, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(
            std::to_string(c.range) + "/" + std::to_string(c.top) + (c.up ? " up" : " down"));
        AxisScales s = levelScales(c.range, c.top);
        ShiftLevelTop(s, c.up);
        EXPECT_EQ(s.LevelTop, c.expectedTop);
        EXPECT_EQ(s.LevelRange, c.range);
    }
}

TEST(StepRules, LevelRangeZoomsThroughItsSetAndStaysAtTheEnds)
{
    AxisScales s = levelScales(120, 100);
    std::vector<int32_t> finer;
    for (int i = 0; i < 10; ++i) {
        FinerLevelRange(s);
        finer.push_back(s.LevelRange);
    }
    EXPECT_EQ(finer, (std::vector<int32_t> {100, 80, 60, 50, 40, 30, 20, 10, 5, 5}));
    EXPECT_EQ(s.LevelTop, 100);

    std::vector<int32_t> coarser;
    for (int i = 0; i < 10; ++i) {
        CoarserLevelRange(s);
        coarser.push_back(s.LevelRange);
    }
    EXPECT_EQ(coarser, (std::vector<int32_t> {10, 20, 30, 40, 50, 60, 80, 100, 120, 120}));
    EXPECT_EQ(s.LevelTop, 100);
}

TEST(StepRules, LevelRangeOutsideTheSetStepsByTheGeneralRule)
{
    struct Case {
        int32_t range;
        int32_t finer;
        int32_t coarser;
    };
    const std::vector<Case> cases = {
        {15, 5, 25},
        {0, 5, 10},
        {70, 50, 90},
        {kMax, kMax - 20, 120},
        {kMin, 5, kMin + 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.range);
        AxisScales s = levelScales(c.range, 100);
        FinerLevelRange(s);
        EXPECT_EQ(s.LevelRange, c.finer);
        s.LevelRange = c.range;
        CoarserLevelRange(s);
        EXPECT_EQ(s.LevelRange, c.coarser);
    }
}

TEST(StepRules, RezoomThenShiftUsesTheNewRange)
{
    AxisScales s = levelScales(30, 25);
    CoarserLevelRange(s);
    EXPECT_EQ(s.LevelRange, 40);
    EXPECT_EQ(s.LevelTop, 25);
    ShiftLevelTop(s, true);
    EXPECT_EQ(s.LevelTop, 30);
}

TEST(StepRules, ImpedanceBaseMovesByTwoStepsWithinItsLimits)
{
    struct Case {
        int32_t step;
        int32_t base;
        bool up;
        int32_t expectedBase;
    };
    const std::vector<Case> cases = {
        {50, 0, true, 100},
        {50, 100, false, 0},
        {50, 60, false, 0},
        {50, 300, false, 200},
        {50, 101, false, 1},
        {2000, 3000, true, 7000}, // top 20000 + 3000 < 24000
        {2000, 4000, true, 4000}, // top would reach 2400.0 Ohm
        {kMin, 0, true, kMin}, // held at the 32-bit limits
        {kMin, 0, false, kMax},
        {kMax, kMax, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(
            std::to_string(c.step) + "/" + std::to_string(c.base) + (c.up ? " up" : " down"));
        AxisScales s = impedanceScales(c.step, c.base);
        if (c.up)
            ImpedanceUp(s);
        else
            ImpedanceDown(s);
        EXPECT_EQ(s.ImpedanceBase, c.expectedBase);
        EXPECT_EQ(s.ImpedanceStep, c.step);
    }
}

TEST(StepRules, ImpedanceStepTablesWrapAndFinerLimitsTheTop)
{
    struct Case {
        int32_t step;
        int32_t base;
        int32_t finerStep;
        int32_t finerBase;
        int32_t coarserStep;
    };
    const std::vector<Case> cases = {
        {2, 0, 1000, 0, 5},
        {2, 20000, 1000, 16000, 5},
        {5, 0, 2, 0, 10},
        {50, 0, 20, 0, 100},
        {50, 23900, 20, 23840, 100},
        {1000, 0, 500, 0, 2000},
        {2000, 0, 1000, 0, 5},
        {7, kMax, 1000, 16000, 5},
        {kMin, kMin, 1000, kMin, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.step) + "/" + std::to_string(c.base));
        AxisScales s = impedanceScales(c.step, c.base);
        FinerImpedanceStep(s);
        EXPECT_EQ(s.ImpedanceStep, c.finerStep);
        EXPECT_EQ(s.ImpedanceBase, c.finerBase);
        s = impedanceScales(c.step, c.base);
        CoarserImpedanceStep(s);
        EXPECT_EQ(s.ImpedanceStep, c.coarserStep);
        EXPECT_EQ(s.ImpedanceBase, c.base); // no limit on the top
    }
}

using FreqStep = void (*)(PlotState&);

struct FreqCase {
    const char* name;
    FreqStep step;
    float low;
    float high;
    float expectedLow;
    float expectedHigh;
};

TEST(StepRules, FrequencyButtonsStepTheEdges)
{
    const std::vector<FreqCase> cases = {
        {"left", ScrollFreqDown, 20, 20000, 10, 10000},
        {"left again", ScrollFreqDown, 10, 10000, 10, 10000},
        {"left ratio 1000", ScrollFreqDown, 15, 15000, 5, 5000},
        {"left from 80", ScrollFreqDown, 80, 800, 50, 500},
        {"left from 400", ScrollFreqDown, 400, 1600, 300, 1200},
        {"left from 1000", ScrollFreqDown, 1000, 4000, 500, 2000},
        {"right", ScrollFreqUp, 20, 20000, 30, 30000},
        {"right again", ScrollFreqUp, 30, 30000, 30, 30000},
        {"right from 1200", ScrollFreqUp, 300, 1200, 550, 2200},
        {"right from 400", ScrollFreqUp, 100, 400, 125, 500},
        {"zoom in", ZoomFreqIn, 20, 20000, 30, 10000},
        {"zoom in", ZoomFreqIn, 30, 10000, 40, 5000},
        {"zoom in", ZoomFreqIn, 40, 5000, 50, 4000},
        {"zoom in", ZoomFreqIn, 50, 4000, 100, 3000},
        {"zoom in", ZoomFreqIn, 100, 3000, 200, 2000},
        {"zoom in, factor 4", ZoomFreqIn, 200, 2000, 300, 1200},
        {"zoom in below 2000", ZoomFreqIn, 300, 1200, 400, 20000},
        {"zoom in from 500", ZoomFreqIn, 500, 20000, 1000, 10000},
        {"zoom in, odd edges", ZoomFreqIn, 12.5f, 7000, 22.5f, 20000},
        {"zoom in, R halves to even", ZoomFreqIn, 40.5f, 20000, 50.5f, 10000},
        {"zoom out", ZoomFreqOut, 20, 20000, 10, 30000},
        {"zoom out", ZoomFreqOut, 300, 1200, 200, 2200},
        {"zoom out below 1000", ZoomFreqOut, 60, 600, 50, 700},
        {"zoom out from 5000", ZoomFreqOut, 600, 5000, 500, 10000},
        {"zoom out from 10000", ZoomFreqOut, 30, 10000, 20, 20000},
    };
    for (const FreqCase& c : cases) {
        SCOPED_TRACE(
            std::string(c.name) + " " + std::to_string(c.low) + ".." + std::to_string(c.high));
        PlotState p = freqRange(c.low, c.high);
        c.step(p);
        EXPECT_EQ(p.ViewFreqLow, c.expectedLow);
        EXPECT_EQ(p.ViewFreqHigh, c.expectedHigh);
    }
}

TEST(StepRules, AbsurdFrequencyEdgesStepWithoutFailing)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float big = std::numeric_limits<float>::max();
    PlotState p = freqRange(nan, big);
    ZoomFreqIn(p);
    EXPECT_EQ(p.ViewFreqHigh, 20000.0f);
    p = freqRange(big, big);
    ZoomFreqOut(p);
    EXPECT_EQ(p.ViewFreqLow, 500.0f);
    EXPECT_EQ(p.ViewFreqHigh, 30000.0f);
    p = freqRange(0, 20000);
    ScrollFreqDown(p);
    EXPECT_EQ(p.ViewFreqLow, 10.0f);
}

} // namespace
