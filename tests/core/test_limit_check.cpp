#include "curves/LimitCheck.h"

#include <gtest/gtest.h>

#include "curves/CurveText.h"

#include <string>
#include <vector>

namespace
{

const std::vector<BandPoint> kCurve
    = {{100, 80}, {200, 84}, {400, 90}, {800, 86}, {1600, 75}, {3200, 70}};

TEST(CheckLimits, WhereACurveLeavesItsLimits)
{
    struct Case {
        const char* what;
        std::vector<BandPoint> upper, lower;
        std::string line;
    };
    const Case cases[] = {
        {"within", {{100, 91}, {3200, 91}}, {{100, 69}, {3200, 69}}, "C: pass"},
        {"on the limits", {{100, 90}, {3200, 90}}, {{100, 70}, {3200, 70}}, "C: pass"},
        {"above", {{100, 85}, {3200, 85}}, {},
            "C: fail: above the upper limit from 400 to 800 Hz by up to 5.00 dB at 400 Hz"},
        {"below at one point", {}, {{100, 72}, {3200, 72}},
            "C: fail: below the lower limit at 3200 Hz by up to 2.00 dB at 3200 Hz"},
        {"both", {{100, 89}, {3200, 89}}, {{100, 79}, {3200, 79}},
            "C: fail: above the upper limit at 400 Hz by up to 1.00 dB at 400 Hz; below the lower "
            "limit from 1600 to 3200 Hz by up to 9.00 dB at 3200 Hz"},
        // Interpolated linearly over log frequency: 82 dB at 400 Hz between 100 and 1600 Hz.
        {"sloped", {{100, 76}, {1600, 88}}, {},
            "C: fail: above the upper limit from 100 to 800 Hz by up to 8.00 dB at 400 Hz"},
        // A limit judges its own span only.
        {"narrow", {{150, 70}, {300, 70}}, {},
            "C: fail: above the upper limit at 200 Hz by up "
            "to 14.00 dB at 200 Hz"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatCheckLine("C", CheckLimits(kCurve, CurveKind::Response, c.upper, c.lower),
                      CurveKind::Response),
            c.line)
            << c.what;
}

TEST(CheckLimits, ImpedanceInOhmInterpolatedInDecibels)
{
    const std::vector<BandPoint> curve = {{100, 10}, {400, 40}};
    // 10 and 40 Ohm over two octaves: 20 Ohm at 200 Hz on the dB scale.
    const LimitResult result
        = CheckLimits(curve, CurveKind::Impedance, {{{100, 19}, {400, 19}}}, {});
    ASSERT_TRUE(result.above);
    EXPECT_EQ(result.above->firstFrequency, 400);
    EXPECT_NEAR(result.above->worst, 21, 1e-9);
    EXPECT_EQ(FormatCheckJson("Z.OHM", result, CurveKind::Impedance),
        "{\"name\": \"Z.OHM\", \"result\": \"fail\", \"unit\": \"Ohm\", \"above\": {\"from\": "
        "400, \"to\": 400, \"worst\": 21, \"at\": 400}, \"below\": null}");
}

TEST(OffsetToZeroAt, LevelAtTheFrequencyBecomesZero)
{
    const auto shifted = OffsetToZeroAt(kCurve, 283);
    ASSERT_TRUE(shifted);
    EXPECT_NEAR(InterpolateMagnitude(*shifted, CurveKind::Response, 283), 0, 1e-9);
    EXPECT_NEAR((*shifted)[0].magnitude - (*shifted)[1].magnitude, -4, 1e-12);
    EXPECT_FALSE(OffsetToZeroAt(kCurve, 99));
    EXPECT_FALSE(OffsetToZeroAt(kCurve, 3201));
    EXPECT_TRUE(OffsetToZeroAt(kCurve, 3200));
}

} // namespace
