#include "curves/CurveStats.h"
#include "curves/StatsPartial.h"
#include "curves/StatsTable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace
{

TEST(Percentile, LinearBetweenTheClosestRanks)
{
    struct Case {
        std::vector<float> values;
        double p;
        double expected;
    };
    const Case cases[] = {
        {{5, 1, 4, 2, 3}, 0, 1},
        {{5, 1, 4, 2, 3}, 100, 5},
        {{5, 1, 4, 2, 3}, 50, 3},
        {{5, 1, 4, 2, 3}, 25, 2},
        {{5, 1, 4, 2, 3}, 10, 1.4},
        {{5, 1, 4, 2, 3}, 95, 4.8},
        {{2, 1}, 50, 1.5},
        {{7}, 37, 7},
        {{3, 3, 1, 3}, 50, 3},
    };
    for (Case c : cases)
        EXPECT_NEAR(Percentile(c.values, c.p), c.expected, 1e-12) << c.p;
}

TEST(ExactMean, IndependentOfOrderAndWithoutCancellation)
{
    // Summed in double from the left, 1e30 swallows the 1 and the mean is 0.
    std::vector<float> values = {1e30f, 1.0f, -1e30f};
    EXPECT_EQ(ExactMean(values), 1.0 / 3.0);
    values = {-1e30f, 1e30f, 1.0f};
    EXPECT_EQ(ExactMean(values), 1.0 / 3.0);
    const float tiny = std::numeric_limits<float>::denorm_min();
    EXPECT_EQ(ExactMean(std::vector<float> {tiny, tiny}), static_cast<double>(tiny));
    EXPECT_EQ(ExactMean(std::vector<float> {-2.5f, -3.5f}), -3.0);

    std::mt19937 random(7);
    std::uniform_real_distribution<float> level(40, 110);
    std::vector<float> many(10001);
    for (float& v : many)
        v = level(random);
    const double mean = ExactMean(many);
    std::shuffle(many.begin(), many.end(), random);
    EXPECT_EQ(ExactMean(many), mean);
    double naive = 0;
    for (const float v : many)
        naive += v;
    EXPECT_NEAR(mean, naive / many.size(), 1e-9);
}

// A band of flat level from low to high Hz.
std::vector<BandPoint> Flat(double low, double high, double level)
{
    return {{low, level}, {std::sqrt(low * high), level}, {high, level}};
}

TEST(CurveStats, GridPointsACurveCoversOnly)
{
    CurveStats stats;
    stats.perOctave = 2;
    ASSERT_TRUE(AddBandToStats(stats, Flat(1000, 4000, 60), 2));
    ASSERT_TRUE(AddBandToStats(stats, Flat(500, 2000, 80), 2));
    // Shorter than a grid step and between two points: no point to count.
    EXPECT_FALSE(AddBandToStats(stats, Flat(1100, 1200, 70), 2));
    const std::vector<double> percentiles = {50};
    const std::vector<StatsRow> rows = ComputeStatsRows(stats, percentiles);
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(stats.curves, 2u);
    const double expectedFrequencies[] = {
        500, 1000 / std::sqrt(2.0), 1000, 1000 * std::sqrt(2.0), 2000, 2000 * std::sqrt(2.0), 4000};
    const uint64_t counts[] = {1, 1, 2, 2, 2, 1, 1};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_NEAR(rows[i].frequency, expectedFrequencies[i], 1e-9);
        EXPECT_EQ(rows[i].count, counts[i]) << i;
    }
    EXPECT_EQ(rows[3].minimum, 60);
    EXPECT_EQ(rows[3].maximum, 80);
    EXPECT_EQ(rows[3].mean, 70);
    EXPECT_EQ(rows[3].percentiles[0], 70);
    EXPECT_EQ(rows[0].mean, 80);
    EXPECT_EQ(rows[6].mean, 60);
}

// Curves of random bands and levels, each a flat band with a slope.
std::vector<std::vector<BandPoint>> RandomBands(int count, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> low(10, 100), high(5000, 24000), level(40, 110);
    std::vector<std::vector<BandPoint>> bands;
    for (int i = 0; i < count; ++i)
        bands.push_back(
            {{low(random), level(random)}, {1000, level(random)}, {high(random), level(random)}});
    return bands;
}

std::string CsvOf(CurveStats stats)
{
    const std::vector<double> percentiles = {0, 5, 50, 95, 99.9, 100};
    const std::vector<StatsRow> rows = ComputeStatsRows(stats, percentiles);
    return FormatStatsCsv(stats, rows, percentiles);
}

TEST(CurveStats, MergedPartialsGiveTheTextOfOneRun)
{
    const auto bands = RandomBands(300, 11);
    CurveStats whole;
    for (const auto& band : bands)
        ASSERT_TRUE(AddBandToStats(whole, band, bands.size()));

    // Three partials of uneven size, merged in another order, through their bytes.
    CurveStats parts[3];
    for (std::size_t i = 0; i < bands.size(); ++i) {
        CurveStats& part = parts[i % 7 == 0 ? 0 : (i < 150 ? 1 : 2)];
        AddBandToStats(part, bands[i], 10);
        part.identities.push_back(CurveIdentity(1, i, 100, 0));
    }
    CurveStats merged;
    for (const int part : {2, 0, 1}) {
        DecodedStats decoded = DecodeStatsPartial(EncodeStatsPartial(parts[part], part));
        ASSERT_FALSE(decoded.error) << *decoded.error;
        ASSERT_FALSE(MergeStats(merged, std::move(decoded.stats)));
    }
    EXPECT_EQ(merged.curves, 300u);
    EXPECT_EQ(CsvOf(merged), CsvOf(whole));
}

TEST(CurveStats, PartialsOfAnotherGridOrKindDoNotMerge)
{
    CurveStats responses, impedances, coarse;
    AddBandToStats(responses, Flat(100, 1000, 60), 1);
    impedances.kind = CurveKind::Impedance;
    AddBandToStats(impedances, Flat(100, 1000, 8), 1);
    coarse.perOctave = 3;
    AddBandToStats(coarse, Flat(100, 1000, 60), 1);
    CurveStats copy = responses;
    EXPECT_EQ(MergeStats(copy, std::move(impedances)), "impedance curves, not responses");
    EXPECT_EQ(MergeStats(copy, std::move(coarse)), "made with 3 points per octave, not 48");
    EXPECT_EQ(copy.curves, 1u);
}

// One curve of level and identity, as a partial of run number run reads it.
CurveStats PartialOf(double level, uint64_t identity, uint64_t run, float resistor = 150,
    CurveKind kind = CurveKind::Response, int smoothing = 0)
{
    CurveStats stats;
    stats.kind = kind;
    stats.serialResistor = resistor;
    stats.smoothing = smoothing;
    AddBandToStats(stats, Flat(100, 1000, level), 1);
    stats.identities = {identity};
    stats.runs = {run};
    return stats;
}

TEST(CurveStats, NothingCountsTwiceAndResistorsOrSmoothingsDoNotMix)
{
    const CurveKind ohm = CurveKind::Impedance, dB = CurveKind::Response;
    struct Case {
        CurveStats first, second;
        std::optional<std::string> misfit;
    };
    const Case cases[] = {
        {PartialOf(60, 1, 10), PartialOf(70, 2, 11), std::nullopt},
        {PartialOf(60, 1, 10), PartialOf(60, 1, 10),
            "the same partial as one merged before (given twice, or a copy of it)"},
        {PartialOf(60, 1, 10), PartialOf(70, 1, 11),
            "it holds curves of a file that a partial merged before holds too (overlapping "
            "inputs)"},
        {PartialOf(8, 1, 10, 150, ohm), PartialOf(9, 2, 11, 1000, ohm),
            "impedance curves with a serial resistor of 1000 Ohm, not 150"},
        // The resistor does not change a response.
        {PartialOf(60, 1, 10, 150), PartialOf(70, 2, 11, 1000), std::nullopt},
        {PartialOf(60, 1, 10, 150, dB, 3), PartialOf(70, 2, 11, 150, dB, 6),
            "curves smoothed to 1/6 octave, not smoothed to 1/3 octave"},
        {PartialOf(60, 1, 10), PartialOf(70, 2, 11, 150, dB, 48),
            "curves smoothed to 1/48 octave, not unsmoothed"},
        {PartialOf(60, 1, 10, 150, dB, 12), PartialOf(70, 2, 11, 150, dB, 12), std::nullopt},
    };
    for (Case c : cases) {
        CurveStats merged;
        ASSERT_EQ(MergeStats(merged, std::move(c.first)), std::nullopt);
        EXPECT_EQ(MergeStats(merged, std::move(c.second)), c.misfit);
        EXPECT_EQ(merged.curves, c.misfit ? 1u : 2u);
    }
}

TEST(SampleDeviation, NMinusOneAroundTheMeanWhateverTheOrder)
{
    struct Case {
        std::vector<float> values;
        double expected; // NaN: none
    };
    const Case cases[] = {
        {{60, 70, 80}, 10},
        {{70, 70}, 0},
        {{1, 2, 3, 4}, std::sqrt(5.0 / 3.0)},
        {{1e30f, -1e30f}, std::sqrt(2.0) * 1e30f},
        {{42}, NAN},
    };
    for (const Case& c : cases) {
        const double deviation = SampleDeviation(c.values, ExactMean(c.values));
        if (std::isnan(c.expected))
            EXPECT_TRUE(std::isnan(deviation));
        else
            EXPECT_NEAR(deviation, c.expected, 1e-12 * std::max(1.0, c.expected));
    }
    // Large levels with a tiny spread: no cancellation, and no dependence on the order.
    std::mt19937 random(3);
    std::uniform_real_distribution<float> level(90, 90.001f);
    std::vector<float> many(10001);
    for (float& v : many)
        v = level(random);
    const double deviation = SampleDeviation(many, ExactMean(many));
    std::shuffle(many.begin(), many.end(), random);
    EXPECT_EQ(SampleDeviation(many, ExactMean(many)), deviation);
    EXPECT_NEAR(deviation, 0.001 / std::sqrt(12.0), 2e-5);
}

TEST(CurveStats, StdBesideTheMeanAndPercentilesNamedApart)
{
    CurveStats stats;
    stats.perOctave = 1;
    AddBandToStats(stats, Flat(1000, 2000, 60), 3);
    AddBandToStats(stats, Flat(1000, 2000, 80), 3);
    AddBandToStats(stats, Flat(2000, 4000, 70), 3);
    const std::vector<double> percentiles = {50, 50.0000001};
    const std::vector<StatsRow> rows = ComputeStatsRows(stats, percentiles);
    EXPECT_EQ(FormatStatsCsv(stats, rows, percentiles),
        "Frequency (Hz),Mean (dB),Std (dB),Minimum (dB),Maximum (dB),P50 (dB),"
        "P50.0000001 (dB),Count\n"
        "1000,70.0000,14.1421,60.0000,80.0000,70.0000,70.0000,2\n"
        "2000,70.0000,10.0000,60.0000,80.0000,70.0000,70.0000,3\n"
        "4000,70.0000,,70.0000,70.0000,70.0000,70.0000,1\n");
    EXPECT_EQ(StatisticNames(percentiles),
        (std::vector<std::string> {
            "mean", "std", "minimum", "maximum", "p50", "p50.0000001", "count"}));
    // The file of the deviation leaves out the point of one curve.
    const std::string text = FormatStatisticText(stats, rows, percentiles, 1, TextFormat::Frd);
    EXPECT_NE(text.find("\n2000 10.0000 0\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("\n4000 "), std::string::npos) << text;
}

} // namespace

namespace
{

TEST(StatsCsv, ReadsBackWhatStatsWrites)
{
    CurveStats stats;
    stats.perOctave = 3;
    AddBandToStats(stats, Flat(100, 1000, 60), 2);
    AddBandToStats(stats, Flat(200, 2000, 80), 2);
    const std::vector<double> percentiles = {10, 50, 99.5};
    const std::vector<StatsRow> rows = ComputeStatsRows(stats, percentiles);
    const ParsedStatsTable parsed = ParseStatsCsv(FormatStatsCsv(stats, rows, percentiles));
    ASSERT_FALSE(parsed.error) << *parsed.error;
    const StatsTable& table = parsed.table;
    EXPECT_TRUE(table.hasDeviation);
    EXPECT_EQ(table.kind, CurveKind::Response);
    EXPECT_EQ(table.percentiles, percentiles);
    ASSERT_EQ(table.frequencies.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_NEAR(table.frequencies[i], rows[i].frequency, 1e-8 * rows[i].frequency);
        EXPECT_NEAR(table.minimum[i], rows[i].minimum, 1e-4);
        EXPECT_NEAR(table.maximum[i], rows[i].maximum, 1e-4);
        EXPECT_NEAR(table.mean[i], rows[i].mean, 1e-4);
        if (rows[i].count > 1)
            EXPECT_NEAR(table.deviation[i], rows[i].deviation, 1e-4);
        else
            EXPECT_TRUE(std::isnan(table.deviation[i]));
        EXPECT_NEAR(table.percentileValues[2][i], rows[i].percentiles[2], 1e-4);
    }
}

TEST(StatsCsv, OtherTextsRefusedInWords)
{
    const std::string header
        = "Frequency (Hz),Mean (dB),Minimum (dB),Maximum (dB),P50 (dB),Count\n";
    struct Case {
        std::string text;
        std::string words;
    };
    const Case cases[] = {
        {"Frequency (Hz),Magnitude (dB)\n20,1\n",
            "line 1: the header row is not that of voxacurve stats"},
        {"Frequency (Hz),Mean (dB),Minimum (dB),Maximum (dB),Px (dB),Count\n",
            "the column \"Px (dB)\" is no percentile"},
        {header + "20,1,1,1,1,1\n30,1,1\n", "line 3: not as many fields as the header row"},
        {header + "20,1,1,1,1,1\n30,1,x,1,1,1\n", "line 3: \"x\" is not a number"},
        {header + "20,1,1,1,1,1\n20,1,1,1,1,1\n", "line 3: the frequency does not rise"},
        {header + "20,1,1,1,1,1\n", "fewer than two rows of statistics"},
        {"", "fewer than two rows of statistics"},
    };
    for (const Case& c : cases) {
        const ParsedStatsTable parsed = ParseStatsCsv(c.text);
        ASSERT_TRUE(parsed.error) << c.text;
        EXPECT_NE(parsed.error->find(c.words), std::string::npos) << *parsed.error;
    }
}

} // namespace
