#include "curves/OctaveSmoothing.h"

#include "curves/CurveInfo.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace
{

constexpr int kFractions[] = {1, 2, 3, 6, 12, 24, 48};

// Whether bin j lies in the window of bin i: within +-1/(2N) octave.
bool InWindow(int i, int j, int fraction)
{
    return j >= i * std::pow(2.0, -0.5 / fraction) && j <= i * std::pow(2.0, 0.5 / fraction);
}

} // namespace

TEST(OctaveSmoothing, FractionsOfTheCommandLine)
{
    const struct {
        const char* text;
        std::optional<int> fraction;
    } cases[] = {{"1/1", 1}, {"1/2", 2}, {"1/3", 3}, {"1/6", 6}, {"1/12", 12}, {"1/24", 24},
        {"1/48", 48}, {"1/4", {}}, {"1/96", {}}, {"3", {}}, {"1/03", {}}, {"1/3 ", {}}, {"2/3", {}},
        {"", {}}, {"1/", {}}};
    for (const auto& c : cases)
        EXPECT_EQ(ParseSmoothingFraction(c.text), c.fraction) << c.text;
}

TEST(OctaveSmoothing, AConstantStaysExactlyThatConstant)
{
    for (const float value : {1.0f, 0.1f, 3.3e-5f, 1234.567f, 7.0e30f, 1.0e-44f}) {
        for (const int fraction : kFractions) {
            for (const int firstBin : {0, 2, 37}) {
                std::vector<float> values(32768 - std::size_t(firstBin), value);
                SmoothBins(values, firstBin, fraction);
                for (std::size_t k = 0; k < values.size(); ++k)
                    ASSERT_EQ(values[k], value)
                        << "bin " << firstBin + int(k) << ", 1/" << fraction;
            }
        }
    }
}

TEST(OctaveSmoothing, ASpikesPowerSpreadsOverTheBinsWhoseWindowHoldsIt)
{
    constexpr int firstBin = 2, bins = 400, spike = 150;
    for (const int fraction : kFractions) {
        std::vector<float> values(bins, 1.0f); // power 1
        values[spike - firstBin] = 10.0f; // power 100
        SmoothBins(values, firstBin, fraction);
        int spread = 0;
        for (int i = firstBin; i < firstBin + bins; ++i) {
            const float got = values[std::size_t(i - firstBin)];
            if (!InWindow(i, spike, fraction)) {
                ASSERT_EQ(got, 1.0f) << "bin " << i << ", 1/" << fraction;
                continue;
            }
            ++spread;
            int window = 0;
            for (int j = firstBin; j < firstBin + bins; ++j)
                window += InWindow(i, j, fraction) ? 1 : 0;
            const double power = (window - 1 + 100.0) / window;
            EXPECT_FLOAT_EQ(got, float(std::sqrt(power))) << "bin " << i << ", 1/" << fraction;
        }
        // Bin 150 lies in the windows of bins 150 / 2^(+-1/(2N)): 107 ... 212
        // at 1/1 octave, 149 ... 151 at 1/48.
        if (fraction == 1) {
            EXPECT_EQ(spread, 106);
        }
        if (fraction == 48) {
            EXPECT_EQ(spread, 3);
        }
    }
}

TEST(OctaveSmoothing, UndrawableValuesStayAndAreLeftOutOfTheMeans)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    std::vector<float> values(200, 2.0f);
    values[100] = 0.0f;
    values[101] = nan;
    values[102] = -3.0f;
    values[103] = inf;
    values[150] = 0.0f;
    SmoothBins(values, 10, 3);
    for (std::size_t k = 0; k < values.size(); ++k) {
        if (k < 100 || k > 103) {
            EXPECT_EQ(values[k], k == 150 ? 0.0f : 2.0f) << k;
        }
    }
    EXPECT_EQ(values[100], 0.0f);
    EXPECT_TRUE(std::isnan(values[101]));
    EXPECT_EQ(values[102], -3.0f);
    EXPECT_EQ(values[103], inf);
}

TEST(OctaveSmoothing, ASmallLevelBesideAHugePeakKeepsItsLevel)
{
    // 140 dB of power beside -200 dB: a sum that subtracted the peak again
    // would leave nothing of the small powers after it.
    std::vector<float> values(4000, 1.0e-10f);
    values[100] = 1.0e7f;
    SmoothBins(values, 2, 12);
    for (std::size_t k = 200; k < values.size(); ++k)
        ASSERT_EQ(values[k], 1.0e-10f) << k;
    EXPECT_GT(values[99], 1.0e5f);
}

TEST(OctaveSmoothing, TheWindowIsCutAtTheBandsEdges)
{
    // 750 Hz bins; the band 3000 to 7500 Hz holds bins 4 ... 9 (the upper
    // edge's bin is not drawn).
    CurveFile file;
    file.status = CurveFileStatus::Ok;
    file.header = {1.0f, 48000, 64, 7500.0f, 3000.0f};
    file.values.assign(32, 1.0f);
    file.values[3] = 100.0f; // outside the band, in the octave around bin 4
    file.values[10] = 100.0f; // outside the band, in the octave around bin 9
    file.values[4] = 3.0f;
    const BinRange band = BandBins(file.header);
    ASSERT_EQ(band.first, 4);
    ASSERT_EQ(band.end, 10);
    SmoothCurveBand(file, 1);
    EXPECT_EQ(file.values[3], 100.0f);
    EXPECT_EQ(file.values[10], 100.0f);
    // Bin 4: 2.83 ... 5.66, cut to bins 4 and 5.
    EXPECT_FLOAT_EQ(file.values[4], std::sqrt(5.0f));
    // Bin 5: 3.54 ... 7.07, cut to bins 4 ... 7.
    EXPECT_FLOAT_EQ(file.values[5], std::sqrt(3.0f));
    // Bin 6: 4.24 ... 8.49, bins 5 ... 8; bin 9: 6.36 ... 12.7, cut to 7 ... 9.
    EXPECT_EQ(file.values[6], 1.0f);
    EXPECT_EQ(file.values[9], 1.0f);
}
