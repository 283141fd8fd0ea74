#include "curves/CurveStats.h"
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
    for (std::size_t i = 0; i < bands.size(); ++i)
        AddBandToStats(parts[i % 7 == 0 ? 0 : (i < 150 ? 1 : 2)], bands[i], 10);
    CurveStats merged;
    for (const int part : {2, 0, 1}) {
        DecodedStats decoded = DecodeStatsPartial(EncodeStatsPartial(parts[part]));
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

TEST(StatsPartial, RoundTripKeepsEveryValue)
{
    CurveStats stats;
    stats.kind = CurveKind::Impedance;
    stats.perOctave = 12;
    stats.refused = 4;
    AddBandToStats(stats, Flat(20, 20000, 6.5), 3);
    AddBandToStats(stats, Flat(200, 2000, 1e-3), 3);
    const DecodedStats decoded = DecodeStatsPartial(EncodeStatsPartial(stats));
    ASSERT_FALSE(decoded.error) << *decoded.error;
    EXPECT_EQ(decoded.stats.kind, CurveKind::Impedance);
    EXPECT_EQ(decoded.stats.perOctave, 12);
    EXPECT_EQ(decoded.stats.curves, 2u);
    EXPECT_EQ(decoded.stats.refused, 4u);
    EXPECT_EQ(decoded.stats.firstIndex, stats.firstIndex);
    EXPECT_EQ(decoded.stats.columns, stats.columns);
    // 52-byte header, 8-byte checksum, 4 bytes per grid point and per value.
    std::size_t values = 0;
    for (const auto& column : stats.columns)
        values += column.size();
    EXPECT_EQ(EncodeStatsPartial(stats).size(), 60 + 4 * stats.columns.size() + 4 * values);
}

uint64_t Checksum(const std::vector<unsigned char>& bytes, std::size_t end)
{
    uint64_t hash = 14695981039346656037ull;
    for (std::size_t i = 0; i < end; ++i)
        hash = (hash ^ bytes[i]) * 1099511628211ull;
    return hash;
}

// The bytes with a little-endian value put at offset and the checksum made to fit.
template <typename T>
std::vector<unsigned char> Forged(std::vector<unsigned char> bytes, std::size_t offset, T value)
{
    std::memcpy(bytes.data() + offset, &value, sizeof value);
    const uint64_t checksum = Checksum(bytes, bytes.size() - 8);
    std::memcpy(bytes.data() + bytes.size() - 8, &checksum, 8);
    return bytes;
}

std::string ErrorOf(const std::vector<unsigned char>& bytes)
{
    const DecodedStats decoded = DecodeStatsPartial(bytes);
    return decoded.error.value_or("");
}

TEST(StatsPartial, HostileBytesRefusedInWords)
{
    CurveStats stats;
    stats.perOctave = 3;
    AddBandToStats(stats, Flat(500, 4000, 70), 2);
    AddBandToStats(stats, Flat(1000, 2000, 75), 2);
    const std::vector<unsigned char> good = EncodeStatsPartial(stats);
    ASSERT_EQ(ErrorOf(good), "");

    // Every truncation and every changed byte is refused.
    for (std::size_t size = 0; size < good.size(); ++size) {
        const std::vector<unsigned char> cut(good.begin(), good.begin() + size);
        EXPECT_NE(ErrorOf(cut), "") << size;
    }
    for (std::size_t i = 0; i < good.size(); ++i) {
        std::vector<unsigned char> changed = good;
        changed[i] ^= 0x10;
        EXPECT_NE(ErrorOf(changed), "") << i;
    }
    std::vector<unsigned char> longer = good;
    longer.push_back(0);
    EXPECT_NE(ErrorOf(longer), "");

    // Forged with a fitting checksum: each refused for what it is.
    const std::size_t firstCount = 52;
    struct Case {
        std::vector<unsigned char> bytes;
        std::string words;
    };
    const Case cases[] = {
        {{'V', 'O', 'X'}, "it does not start with VOXASTAT"},
        {Forged<uint32_t>(good, 8, 2), "format version 2; this voxacurve reads 1"},
        {Forged<uint32_t>(good, 12, 7), "unknown curve kind 7"},
        {Forged<uint32_t>(good, 16, 0), "0 points per octave (1 to 1000 are made)"},
        {Forged<uint64_t>(good, 44, 1ull << 40), "a grid beyond any frequency a curve can hold"},
        {Forged<uint64_t>(good, 44, 1000), "truncated: 1000 grid points announced"},
        {Forged<int64_t>(good, 36, -(1ll << 62)), "a grid beyond any frequency a curve can hold"},
        {Forged<uint32_t>(good, firstCount, 3),
            "a grid point with more values than the "
            "partial's 2 curves"},
        {Forged<uint32_t>(Forged<uint64_t>(good, 20, 1000000), firstCount, 1000),
            "truncated within the values of a grid point"},
        {Forged<float>(good, firstCount + 4, NAN), "a value that is not a finite number"},
        {Forged<uint64_t>(good, 44, stats.columns.size() - 1),
            std::to_string(4 + 4 * stats.columns.back().size()) + " bytes after its last value"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ErrorOf(c.bytes).find("not a usable partial of voxacurve stats: " + c.words), 0u)
            << ErrorOf(c.bytes) << " instead of " << c.words;
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
    EXPECT_EQ(table.kind, CurveKind::Response);
    EXPECT_EQ(table.percentiles, percentiles);
    ASSERT_EQ(table.frequencies.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_NEAR(table.frequencies[i], rows[i].frequency, 1e-8 * rows[i].frequency);
        EXPECT_NEAR(table.minimum[i], rows[i].minimum, 1e-4);
        EXPECT_NEAR(table.maximum[i], rows[i].maximum, 1e-4);
        EXPECT_NEAR(table.mean[i], rows[i].mean, 1e-4);
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
