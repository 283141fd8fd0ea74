#include "curves/LimitCheck.h"

#include <gtest/gtest.h>

#include "curves/CheckReport.h"
#include "curves/CurveText.h"

#include <cmath>
#include <string>
#include <vector>

namespace
{

const std::vector<BandPoint> kCurve
    = {{100, 80}, {200, 84}, {400, 90}, {800, 86}, {1600, 75}, {3200, 70}};

std::string Line(const std::vector<BandPoint>& curve, const std::vector<BandPoint>& upper,
    const std::vector<BandPoint>& lower, CurveKind kind = CurveKind::Response)
{
    return FormatCheckLine("C", CheckLimits(curve, kind, upper, lower), kind);
}

// 70 dB as a curve file stores it: 10^(70/20) as a single, 69.9999998 dB.
double StoredLevel(double decibels)
{
    return 20 * std::log10(static_cast<double>(static_cast<float>(std::pow(10, decibels / 20))));
}

TEST(CheckLimits, EveryRunBeyondALimitWithTheMargins)
{
    struct Case {
        const char* what;
        std::vector<BandPoint> upper, lower;
        std::string line;
    };
    const Case cases[] = {
        {"within", {{100, 91}, {3200, 91}}, {{100, 69}, {3200, 69}},
            "C: pass; margin: upper 1.00 dB at 400 Hz, lower 1.00 dB at 3200 Hz"},
        {"on the limits", {{100, 90}, {3200, 90}}, {{100, 70}, {3200, 70}},
            "C: pass; margin: upper 0.00 dB at 400 Hz, lower 0.00 dB at 3200 Hz"},
        {"above", {{100, 85}, {3200, 85}}, {},
            "C: fail: above the upper limit from 400 to 800 Hz by up to 5.00 dB at 400 Hz; "
            "margin: upper -5.00 dB at 400 Hz"},
        {"below at one point", {}, {{100, 72}, {3200, 72}},
            "C: fail: below the lower limit at 3200 Hz by up to 2.00 dB at 3200 Hz; margin: lower "
            "-2.00 dB at 3200 Hz"},
        {"both", {{100, 89}, {3200, 89}}, {{100, 79}, {3200, 79}},
            "C: fail: above the upper limit at 400 Hz by up to 1.00 dB at 400 Hz; below the lower "
            "limit from 1600 to 3200 Hz by up to 9.00 dB at 3200 Hz; margin: upper -1.00 dB at "
            "400 Hz, lower -9.00 dB at 3200 Hz"},
        // Two separate runs, each with its own range and worst point.
        {"two runs", {{100, 79}, {200, 85}, {400, 91}, {800, 85}, {1600, 74}, {3200, 74}}, {},
            "C: fail: above the upper limit at 100 Hz by up to 1.00 dB at 100 Hz, from 800 to "
            "1600 Hz by up to 1.00 dB at 800 Hz; margin: upper -1.00 dB at 100 Hz"},
        // Interpolated linearly over log frequency: 82 dB at 400 Hz between 100 and 1600 Hz.
        {"sloped", {{100, 76}, {1600, 88}}, {},
            "C: fail: above the upper limit from 100 to 800 Hz by up to 8.00 dB at 400 Hz; margin: "
            "upper -8.00 dB at 400 Hz"},
        // A limit judges its own span only.
        {"narrow", {{150, 70}, {300, 70}}, {},
            "C: fail: above the upper limit at 200 Hz by up to 14.00 dB at 200 Hz; margin: upper "
            "-14.00 dB at 200 Hz"},
        // A limit between two points covers none of them: nothing is judged by it.
        {"between points", {{250, 100}, {300, 100}}, {{100, 60}, {3200, 60}},
            "C: not judged: the upper limit (250 to 300 Hz) covers none of its bins (100 to "
            "3200 Hz); margin: lower 10.00 dB at 3200 Hz"},
        {"fails where it judges", {{100, 85}, {3200, 85}}, {{5000, 60}, {8000, 60}},
            "C: fail: above the upper limit from 400 to 800 Hz by up to 5.00 dB at 400 Hz; the "
            "lower limit (5000 to 8000 Hz) covers none of its bins (100 to 3200 Hz); margin: upper "
            "-5.00 dB at 400 Hz"},
        // Beyond by less than 0.005 dB, yet far beyond the tolerance: not "by 0.00".
        {"by a little", {{100, 89.997}, {3200, 89.997}}, {},
            "C: fail: above the upper limit at 400 Hz by up to 0.003 dB at 400 Hz; margin: upper "
            "-0.003 dB at 400 Hz"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Line(kCurve, c.upper, c.lower), c.line) << c.what;
    EXPECT_EQ(Line({}, {{100, 90}, {200, 90}}, {}),
        "C: not judged: the upper limit (100 to 200 Hz) covers none of its bins (it has no "
        "drawable value)");
}

TEST(CheckLimits, ACurveAtItsLimitPassesWithinTheStoredPrecision)
{
    // (curve level, limit level, passes against it as an upper and as a lower limit)
    struct Case {
        double curve, limit;
        bool asUpper, asLower;
    };
    const double tolerance = LimitTolerance(CurveKind::Response, 70);
    EXPECT_NEAR(tolerance, 4.14e-6, 0.01e-6);
    const Case cases[] = {
        {StoredLevel(70), 70, true, true}, // 69.9999998 dB at a 70 dB limit
        {70 + 0.9 * tolerance, 70, true, true},
        {70 - 0.9 * tolerance, 70, true, true},
        {70 + 1.1 * tolerance, 70, false, true},
        {70 - 1.1 * tolerance, 70, true, false},
        {StoredLevel(-120), -120, true, true},
    };
    for (const Case& c : cases) {
        const std::vector<BandPoint> curve = {{100, c.curve}, {200, c.curve}};
        const std::vector<BandPoint> limit = {{100, c.limit}, {200, c.limit}};
        EXPECT_EQ(CheckLimits(curve, CurveKind::Response, limit, {}).passed(), c.asUpper)
            << c.curve << " against " << c.limit;
        EXPECT_EQ(CheckLimits(curve, CurveKind::Response, {}, limit).passed(), c.asLower)
            << c.curve << " against " << c.limit;
    }
    // Within the tolerance the margin is 0, not a negative hair.
    const LimitResult on = CheckLimits(std::vector<BandPoint> {{100, StoredLevel(70)}},
        CurveKind::Response, {}, std::vector<BandPoint> {{100, 70}, {200, 70}});
    ASSERT_TRUE(on.lower && on.lower->margin);
    EXPECT_EQ(on.lower->margin->distance, 0);
}

TEST(CheckLimits, ImpedanceInOhmInterpolatedInDecibels)
{
    const std::vector<BandPoint> curve = {{100, 10}, {400, 40}};
    // 10 and 40 Ohm over two octaves: 20 Ohm at 200 Hz on the dB scale.
    const LimitResult result
        = CheckLimits(curve, CurveKind::Impedance, {{{100, 19}, {400, 19}}}, {});
    ASSERT_TRUE(result.upper && result.upper->excesses.size() == 1);
    EXPECT_EQ(result.upper->excesses[0].firstFrequency, 400);
    EXPECT_NEAR(result.upper->excesses[0].worst, 21, 1e-9);
    EXPECT_EQ(FormatCheckJson("Z.OHM", result, CurveKind::Impedance),
        "{\"name\": \"Z.OHM\", \"result\": \"fail\", \"unit\": \"Ohm\", \"above\": [{\"from\": "
        "400, \"to\": 400, \"worst\": 21, \"at\": 400}], \"below\": [], \"margin\": {\"upper\": "
        "{\"distance\": -21, \"at\": 400}, \"lower\": null}}");
    // The tolerance is relative: 2^-21 of the limit's Ohm.
    const double ohm = 8 * (1 + 0.9 * kStoredRelativeTolerance);
    EXPECT_TRUE(CheckLimits(std::vector<BandPoint> {{100, ohm}}, CurveKind::Impedance,
        std::vector<BandPoint> {{50, 8}, {200, 8}}, {})
                    .passed());
}

TEST(LimitChecker, CurveAfterCurveJudgedAsEachAlone)
{
    // A sloped upper and a flat lower limit; curves at the same frequencies,
    // then at others of the same count, then of another count, then the first again.
    const std::vector<BandPoint> upper = {{100, 76}, {1600, 88}}, lower = {{150, 72}, {3200, 72}};
    std::vector<BandPoint> shifted = kCurve, moved = kCurve, shorter = kCurve;
    for (BandPoint& p : shifted)
        p.magnitude -= 3;
    for (BandPoint& p : moved)
        p.frequency *= 1.5;
    shorter.pop_back();
    LimitChecker checker(upper, lower, CurveKind::Response);
    for (const std::vector<BandPoint>& curve : {kCurve, shifted, moved, shorter, kCurve}) {
        const LimitResult alone = CheckLimits(curve, CurveKind::Response, upper, lower);
        EXPECT_EQ(FormatCheckLine("C", checker.Check(curve), CurveKind::Response),
            FormatCheckLine("C", alone, CurveKind::Response));
    }
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

TEST(PowerAverageOver, PowersOfTheBandsPointsAveraged)
{
    struct Case {
        const char* what;
        double low, high;
        std::optional<double> average;
    };
    // 80 and 84 dB: 10 log10((10^8 + 10^8.4) / 2) = 82.4515 dB, not the 82 dB of the levels.
    const Case cases[] = {
        {"two points", 100, 200, 10 * std::log10((1e8 + std::pow(10, 8.4)) / 2)},
        {"edges included", 400, 400, 90},
        {"one inside", 150, 300, 84},
        {"all", 1, 1e6,
            10
                * std::log10(
                    (1e8 + std::pow(10, 8.4) + 1e9 + std::pow(10, 8.6) + std::pow(10, 7.5) + 1e7)
                    / 6)},
        {"none between", 250, 350, std::nullopt},
        {"none beyond", 4000, 8000, std::nullopt},
    };
    for (const Case& c : cases) {
        const std::optional<double> got = PowerAverageOver(kCurve, c.low, c.high);
        ASSERT_EQ(got.has_value(), c.average.has_value()) << c.what;
        if (got) {
            EXPECT_NEAR(*got, *c.average, 1e-9) << c.what;
        }
    }
    // Levels near the bounds of a measurement do not overflow.
    EXPECT_NEAR(*PowerAverageOver(std::vector<BandPoint> {{1, 1000}, {2, 1000}}, 1, 2), 1000, 1e-9);
}

TEST(OffsetOntoLimitsOver, TheBandsPowerAverageLandsOnTheLimitsMean)
{
    const std::vector<BandPoint> flat80 = {{100, 80}, {3200, 80}};
    const std::vector<BandPoint> sloped = {{100, 70}, {3200, 90}};
    struct Case {
        const char* what;
        std::vector<BandPoint> upper, lower;
        double low, high;
        double shift; // expected, dB
    };
    // Curve over 100 ... 200 Hz: 82.4515 dB power average.
    const double curve = 10 * std::log10((1e8 + std::pow(10, 8.4)) / 2);
    // The sloped limit at 100 and 200 Hz: 70 and 74 dB.
    const double slopedAverage = 10 * std::log10((1e7 + std::pow(10, 7.4)) / 2);
    const Case cases[] = {
        {"around 80 dB", {{100, 83}, {3200, 83}}, {{100, 77}, {3200, 77}}, 100, 200, 80 - curve},
        {"the middle of unequal distances", {{100, 90}, {3200, 90}}, flat80, 100, 200, 85 - curve},
        {"one limit", sloped, {}, 100, 200, slopedAverage - curve},
        {"one point in the band", sloped, {}, 150, 250, 74 - 84},
    };
    for (const Case& c : cases) {
        const auto shifted = OffsetOntoLimitsOver(kCurve, c.upper, c.lower, c.low, c.high);
        ASSERT_TRUE(shifted) << c.what;
        ASSERT_EQ(shifted->size(), kCurve.size());
        for (std::size_t i = 0; i < kCurve.size(); ++i)
            EXPECT_NEAR((*shifted)[i].magnitude - kCurve[i].magnitude, c.shift, 1e-9) << c.what;
    }
    EXPECT_FALSE(OffsetOntoLimitsOver(kCurve, flat80, {}, 250, 350));
}

TEST(CheckTally, YieldAndTheClosestApproach)
{
    const std::vector<BandPoint> upper = {{100, 91}, {3200, 91}};
    const std::vector<BandPoint> lower = {{100, 60}, {3200, 60}};
    CheckTally tally(CurveKind::Response);
    EXPECT_EQ(tally.Lines(),
        "checked 0 files: 0 pass, 0 fail, 0 not judged, 0 refused or unreadable\n"
        "yield: no curve judged\n");
    tally.Add("A", CheckLimits(kCurve, CurveKind::Response, upper, lower));
    EXPECT_EQ(tally.Lines(),
        "checked 1 file: 1 pass, 0 fail, 0 not judged, 0 refused or unreadable\n"
        "yield 100.0 % (1 of 1 judged); closest to the limits at 400 Hz: 1.00 dB to the upper "
        "limit\n");
    EXPECT_TRUE(tally.allPassed());
    std::vector<BandPoint> low = kCurve;
    low[5].magnitude = 59.5;
    tally.Add("B", CheckLimits(low, CurveKind::Response, upper, lower));
    tally.Add("C", CheckLimits(kCurve, CurveKind::Response, {{{5000, 1}, {6000, 1}}}, lower));
    tally.AddRefused(2);
    EXPECT_EQ(tally.Lines(),
        "checked 5 files: 1 pass, 1 fail, 1 not judged, 2 refused or unreadable\n"
        "yield 50.0 % (1 of 2 judged); closest to the limits at 3200 Hz: -0.50 dB to the lower "
        "limit\n");
    EXPECT_FALSE(tally.allPassed());
    EXPECT_EQ(tally.JsonMembers(),
        "\"checked\": 5, \"pass\": 1, \"fail\": 1, \"notJudged\": 1, \"refused\": 2, \"judged\": "
        "2, \"yield\": 0.5, \"closest\": {\"name\": \"B\", \"limit\": \"lower\", \"distance\": "
        "-0.5, \"at\": 3200}");
}

} // namespace
