#include "plot/FittedScales.h"
#include "plot/StepRules.h"

#include <gtest/gtest.h>

namespace
{

struct LevelCase {
    double minimum, maximum;
    int32_t range, top;
};

TEST(FittedScales, ResponseFillsTheFinestRangeThatHoldsIt)
{
    const LevelCase cases[] = {
        {80, 95, 20, 95}, // a flat response: 20 dB, top on a 5 dB step
        {81, 96, 20, 100}, {70, 96, 30, 100}, {50, 96, 50, 100},
        {30, 96, 80, 100}, // 60 dB from 100 would end at 40
        {-40, 96, 120, 100}, // wider than any range: the widest
        {-200, -150, 120, -40}, // the bottom edge held at -160 dB
        {150, 300, 20, 160}, // the top held at 160 dB
    };
    for (const LevelCase& c : cases) {
        const AxisScales s = FittedScales(CurveKind::Response, c.minimum, c.maximum, {});
        EXPECT_EQ(s.LevelRange, c.range) << c.minimum << " ... " << c.maximum;
        EXPECT_EQ(s.LevelTop, c.top) << c.minimum << " ... " << c.maximum;
        EXPECT_TRUE(UnreachableScaleFields(s).empty()) << c.minimum << " ... " << c.maximum;
    }
}

TEST(FittedScales, ImpedanceFromZeroToTheFinestStepReachingTheMaximum)
{
    const std::pair<double, int32_t> cases[]
        = {{3.9, 5}, {4.0, 5}, {4.1, 10}, {42, 100}, {90, 200}, {1000, 2000}, {1e9, 2000}};
    for (const auto& [maximum, step] : cases) {
        AxisScales given;
        given.ImpedanceBase = 300;
        const AxisScales s = FittedScales(CurveKind::Impedance, 0.5, maximum, given);
        EXPECT_EQ(s.ImpedanceStep, step) << maximum;
        EXPECT_EQ(s.ImpedanceBase, 0) << maximum;
    }
}

TEST(FittedScales, NoValuesKeepTheScalesGiven)
{
    AxisScales given;
    given.LevelTop = 70;
    EXPECT_EQ(FittedScales(CurveKind::Response, std::nullopt, std::nullopt, given).LevelTop, 70);
}

} // namespace
