#include "curves/StatsPartial.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace
{

// A band of flat level from low to high Hz.
std::vector<BandPoint> Flat(double low, double high, double level)
{
    return {{low, level}, {std::sqrt(low * high), level}, {high, level}};
}

// Header offsets of format 3.
constexpr std::size_t kVersionAt = 8, kKindAt = 12, kPerOctaveAt = 16, kResistorAt = 20,
                      kSmoothingAt = 24, kCurvesAt = 36, kRefusedAt = 44, kFirstIndexAt = 52,
                      kPointsAt = 60, kFirstCountAt = 68;

TEST(StatsPartial, RoundTripKeepsEveryValueAndWhatIdentifiesTheInput)
{
    CurveStats stats;
    stats.kind = CurveKind::Impedance;
    stats.perOctave = 12;
    stats.refused = 4;
    stats.serialResistor = 1000;
    stats.smoothing = 24;
    AddBandToStats(stats, Flat(20, 20000, 6.5), 3);
    AddBandToStats(stats, Flat(200, 2000, 1e-3), 3);
    stats.identities = {CurveIdentity(1, 9, 100, 5), CurveIdentity(1, 8, 100, 5)};
    const std::vector<unsigned char> bytes = EncodeStatsPartial(stats, 77);
    const DecodedStats decoded = DecodeStatsPartial(bytes);
    ASSERT_FALSE(decoded.error) << *decoded.error;
    EXPECT_EQ(decoded.stats.kind, CurveKind::Impedance);
    EXPECT_EQ(decoded.stats.perOctave, 12);
    EXPECT_EQ(decoded.stats.curves, 2u);
    EXPECT_EQ(decoded.stats.refused, 4u);
    EXPECT_EQ(decoded.stats.serialResistor, 1000.0f);
    EXPECT_EQ(decoded.stats.smoothing, 24);
    EXPECT_EQ(decoded.stats.firstIndex, stats.firstIndex);
    EXPECT_EQ(decoded.stats.columns, stats.columns);
    EXPECT_EQ(decoded.stats.runs, std::vector<uint64_t> {77});
    std::vector<uint64_t> rising = stats.identities;
    std::sort(rising.begin(), rising.end());
    EXPECT_EQ(decoded.stats.identities, rising);
    // 68-byte header, 8-byte checksum, 4 bytes per grid point and value, 8 per curve.
    std::size_t values = 0;
    for (const auto& column : stats.columns)
        values += column.size();
    EXPECT_EQ(bytes.size(), 76 + 4 * stats.columns.size() + 4 * values + 8 * 2);
    EXPECT_NE(CurveIdentity(1, 9, 100, 5), CurveIdentity(2, 9, 100, 5));
    EXPECT_NE(CurveIdentity(1, 9, 100, 5), CurveIdentity(1, 9, 100, 6));
}

// The bytes with a little-endian value put at offset and the checksum made to fit.
template <typename T>
std::vector<unsigned char> Forged(
    const std::vector<unsigned char>& bytes, std::size_t offset, T value)
{
    std::vector<unsigned char> forged = bytes;
    std::memcpy(forged.data() + offset, &value, sizeof value);
    return WithPartialChecksum(forged);
}

std::string ErrorOf(const std::vector<unsigned char>& bytes)
{
    return DecodeStatsPartial(bytes).error.value_or("");
}

// Stats of the columns given outright, as a forger writes them.
std::vector<unsigned char> Written(CurveKind kind, uint64_t curves,
    std::vector<std::vector<float>> columns, std::vector<uint64_t> identities)
{
    CurveStats stats;
    stats.kind = kind;
    stats.curves = curves;
    stats.columns = std::move(columns);
    stats.identities = std::move(identities);
    return EncodeStatsPartial(stats, 1);
}

// A sound partial of two curves at 3 points per octave: 10 grid points from
// index -3 (500 Hz), 14 values.
std::vector<unsigned char> GoodPartial()
{
    CurveStats stats;
    stats.perOctave = 3;
    AddBandToStats(stats, Flat(500, 4000, 70), 2);
    AddBandToStats(stats, Flat(1000, 2000, 75), 2);
    stats.identities = {1, 2};
    return EncodeStatsPartial(stats, 5);
}

TEST(StatsPartial, EveryCutAndChangedByteRefused)
{
    const std::vector<unsigned char> good = GoodPartial();
    ASSERT_EQ(ErrorOf(good), "");
    for (std::size_t size = 0; size < good.size(); ++size)
        EXPECT_NE(ErrorOf({good.begin(), good.begin() + static_cast<long>(size)}), "") << size;
    for (std::size_t i = 0; i < good.size(); ++i) {
        std::vector<unsigned char> changed = good;
        changed[i] ^= 0x10;
        EXPECT_NE(ErrorOf(changed), "") << i;
    }
}

TEST(StatsPartial, ForgedPartialsRefusedForWhatTheyAre)
{
    const std::vector<unsigned char> good = GoodPartial();
    // Two curves far apart at 48 points per octave: hundreds of empty points between.
    CurveStats apart;
    AddBandToStats(apart, Flat(20, 22, 70), 2);
    AddBandToStats(apart, Flat(18000, 20000, 75), 2);
    apart.identities = {1, 2};
    const std::vector<unsigned char> apartBytes = EncodeStatsPartial(apart, 5);
    std::vector<unsigned char> longer = good;
    longer.insert(longer.end() - 8, 4, 0);
    struct Case {
        std::vector<unsigned char> bytes;
        std::string words;
    };
    const CurveKind dB = CurveKind::Response, ohm = CurveKind::Impedance;
    const Case cases[] = {
        {{'V', 'O', 'X'}, "it does not start with VOXASTAT"},
        {Forged<uint32_t>(good, kVersionAt, 2),
            "format version 2; this voxacurve reads 3 (write the partial again)"},
        {Forged<uint32_t>(good, kKindAt, 7), "unknown curve kind 7"},
        {Forged<uint32_t>(good, kPerOctaveAt, 0), "0 points per octave (1 to 1000 are made)"},
        {Forged<float>(good, kResistorAt, NAN),
            "a serial resistor that is no resistor of the viewer"},
        {Forged<uint32_t>(good, kSmoothingAt, 5), "smoothing to 1/5 octave, which no run does"},
        {Forged<uint32_t>(good, kSmoothingAt, 0xFFFFFFFF),
            "smoothing to 1/4294967295 octave, which no run does"},
        {Forged<int64_t>(good, kCurvesAt, -5),
            "18446744073709551611 curves announced, more than its bytes hold"},
        {Forged<uint64_t>(apartBytes, kCurvesAt, 50),
            "50 curves announced, more than its values hold"},
        {Forged<int64_t>(good, kRefusedAt, -1),
            "18446744073709551615 refused files announced, more than a run reads"},
        {Forged<uint64_t>(good, kPointsAt, 0), "curves without grid points"},
        {Written(dB, 0, {{70}}, {}), "grid points without curves"},
        {Forged<int64_t>(good, kFirstIndexAt, 100'000'000),
            "grid points at frequencies no curve file reaches"},
        {Forged<int64_t>(good, kFirstIndexAt, -100'000'000),
            "grid points at frequencies no curve file reaches"},
        {Forged<uint64_t>(good, kPointsAt, 100'000'000),
            "grid points at frequencies no curve file reaches"},
        {Forged<uint64_t>(good, kPointsAt, 60), "truncated: 60 grid points announced"},
        {Forged<uint32_t>(good, kFirstCountAt, 3),
            "a grid point with more values than the partial's 2 curves"},
        {Forged<float>(good, kFirstCountAt + 4, NAN), "a value that is not a finite number"},
        {Written(ohm, 1, {{-1}}, {1}), "an impedance that is not above 0 Ohm"},
        {Written(dB, 1, {{}, {70}}, {1}), "its grid starts or ends at a point no curve covers"},
        {Written(dB, 1, {{70}, {}}, {1}), "its grid starts or ends at a point no curve covers"},
        {Written(dB, 2, {{70, 71}}, {4, 4}),
            "the identities of its curves do not rise (one curve counted twice?)"},
        {longer, "4 bytes after its last value"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ErrorOf(c.bytes), "not a usable partial of voxacurve stats: " + c.words);
}

TEST(StatsPartial, TheGridOfEveryCurveFileFits)
{
    // Bin 1 of 65536 points at 1 Hz is 2^-16 Hz; half of 2^31 - 1 Hz the highest.
    const double lowest = 1.0 / 65536, highest = 2147483647 / 2.0;
    for (const int perOctave : {1, 48, 1000}) {
        const OctaveIndices grid = ReachableGrid(perOctave);
        EXPECT_GE(OctaveFrequency(grid.first, perOctave), lowest * (1 - 1e-9));
        EXPECT_LT(OctaveFrequency(grid.first - 1, perOctave), lowest);
        EXPECT_LE(OctaveFrequency(grid.last, perOctave), highest * (1 + 1e-9));
        EXPECT_GT(OctaveFrequency(grid.last + 1, perOctave), highest);
    }
}

} // namespace
