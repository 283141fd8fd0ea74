#include "curves/CurveTrace.h"

#include "plot/PixelMapping.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace
{

CurveHeader Header(
    int32_t n, float lower = 20.0f, float upper = 20000.0f, int32_t sampleRate = 48000)
{
    return CurveHeader {1.0f, sampleRate, n, upper, lower};
}

// A whole slot's worth of values; reads outside it show up under ASan.
std::vector<float> Values(float v)
{
    return std::vector<float>(kCurveCapacity, v);
}

// values[k] = k
std::vector<float> RampValues()
{
    std::vector<float> values(kCurveCapacity);
    for (int k = 0; k < kCurveCapacity; ++k)
        values[k] = static_cast<float>(k);
    return values;
}

// An impedance frame in which a value v is drawn at row 2000 - v: Ohm scale
// -2000 * 0.125 / 2500 * 10 * 1 = -1, Ohm offset 2000. Over RampValues the
// row gives back the bin, since the averages of stages 2 to 4 stay within
// half a unit of the centre bin.
const TraceFrame kRevealFrame {640, 2000, 20.0f, 20000.0f};
const AxisScales kRevealScales {60, 100, 2500, 0};

std::vector<int> BinsOf(const TraceResult& trace)
{
    std::vector<int> bins;
    for (const TracePoint& p : trace.points)
        bins.push_back(2000 - p.y);
    return bins;
}

TraceResult RevealBins(const CurveHeader& header, const std::vector<float>& values)
{
    return ComputeImpedanceTrace(header, values.data(), kRevealFrame, kRevealScales, 1.0f);
}

// first, first + step, ... below limit
void AppendBins(std::vector<int>& bins, int first, int step, int limit)
{
    for (int i = first; i < limit; i += step)
        bins.push_back(i);
}

TEST(CurveTrace, ThinsOutInFourStagesAt4096Bins)
{
    // first bin 2, end bin 1707, stage limits 171, 427 and 853
    std::vector<int> expected = {2};
    AppendBins(expected, 3, 1, 171); // 168 points
    AppendBins(expected, 171, 3, 427); // 86
    AppendBins(expected, 429, 5, 853); // 85
    AppendBins(expected, 854, 9, 1707); // 95
    ASSERT_EQ(expected.size(), 1u + 168 + 86 + 85 + 95);

    const auto values = RampValues();
    const TraceResult trace = RevealBins(Header(4096), values);
    EXPECT_FALSE(trace.fault);
    EXPECT_EQ(BinsOf(trace), expected);
    EXPECT_EQ(BinsOf(trace).back(), 1700);

    // The level trace walks the same bins: each x is the column of its bin.
    const auto ones = Values(1.0f);
    const TraceResult response
        = ComputeResponseTrace(Header(4096), ones.data(), {632, 404, 20, 20000}, {});
    const FreqMapping mapping = ComputeFreqMapping(20, 20000, 632);
    ASSERT_EQ(response.points.size(), expected.size());
    for (std::size_t k = 0; k < expected.size(); ++k) {
        SCOPED_TRACE(expected[k]);
        EXPECT_EQ(response.points[k].x, FreqToX(mapping, expected[k] * (48000.0L / 4096)));
    }
}

TEST(CurveTrace, BinRangeFollowsTheBandOfTheFile)
{
    struct Case {
        const char* name;
        CurveHeader header;
        std::vector<int> firstBins;
    };
    const std::vector<Case> cases = {
        // above fs / 24 the trace starts in a thinned stage at first bin + 1
        {"lower frequency 3 kHz", Header(4096, 3000.0f), {256, 257, 260, 263}},
        {"lower frequency 0", Header(4096, 0.0f), {2, 3, 4, 5}},
        {"lower frequency 5 Hz", Header(4096, 5.0f), {2, 3, 4, 5}},
        // 5N/24 = 12.5 rounds to 12: bin 12 already belongs to stage 4
        {"stage limit on a half", Header(60, 11.0f, 100.0f, 60), {11, 12, 21, 30}},
    };
    const auto values = RampValues();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto bins = BinsOf(RevealBins(c.header, values));
        ASSERT_GE(bins.size(), c.firstBins.size());
        EXPECT_EQ(std::vector<int>(bins.begin(), bins.begin() + 4), c.firstBins);
    }
}

TEST(CurveTrace, LevelRowsFollowTheDecibelScale)
{
    // y = H * (LevelTop - 20 log10(LevelFactor * v)) / LevelRange
    struct Case {
        float levelFactor;
        float value;
        int expectedY;
    };
    const std::vector<Case> cases = {
        {1.0f, 1.0f, 750}, // 0 dB: 100/60 of 450
        {1.0f, 10.0f, 600}, // 20 dB
        {10.0f, 1.0f, 600}, // a level factor of 10 is 20 dB higher
        {10.0f, 0.01f, 900}, {1.0f, 0.01f, 1050},
        {1.0f, EmptyCurveValue, 3750}, // -400 dB, far below the window
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.levelFactor << " x " << c.value);
        CurveHeader header = Header(4096);
        header.LevelFactor = c.levelFactor;
        const auto values = Values(c.value);
        const TraceResult trace
            = ComputeResponseTrace(header, values.data(), {640, 450, 20, 20000}, {60, 100, 50, 0});
        EXPECT_FALSE(trace.fault);
        ASSERT_FALSE(trace.points.empty());
        for (const TracePoint& p : trace.points)
            ASSERT_EQ(p.y, c.expectedY);
    }
}

// Below fs / 24 every bin is drawn at its own value, so each point can be
// checked against the plain pixel formulas of the shared helpers.
TEST(CurveTrace, PointsMatchThePlainPixelFormulas)
{
    std::vector<float> values(kCurveCapacity);
    uint32_t seed = 12345;
    for (float& v : values) {
        seed = seed * 1664525u + 1013904223u;
        v = std::exp(static_cast<float>(seed >> 8) / (1 << 24) * 18.4f - 9.2f); // 1e-4 .. 1e4
    }
    const CurveHeader header = Header(65536, 20.0f, 1900.0f); // bins 27 to 2594
    struct Case {
        TraceFrame frame;
        AxisScales scales;
    };
    const std::vector<Case> cases = {
        {{640, 450, 20, 20000}, {60, 100, 50, 0}},
        {{1920, 1080, 5, 30000}, {5, 37, 20, 30}},
        {{501, 333, 300, 1200}, {120, -60, 2000, 16000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.frame.width << " x " << c.frame.height);
        const auto& [width, height, low, high] = c.frame;
        const FreqMapping mapping = ComputeFreqMapping(low, high, width);
        const float levelScale
            = static_cast<float>(-20.0L * height / std::log(10.0L) / c.scales.LevelRange);
        const float levelOffset = static_cast<float>(
            static_cast<long double>(c.scales.LevelTop) / c.scales.LevelRange * height);
        const float ohmScale
            = static_cast<float>(-height * 0.125L / c.scales.ImpedanceStep * 10.0L * 150.0f);
        const float ohmOffset = static_cast<float>(
            (c.scales.ImpedanceBase * 0.125L / c.scales.ImpedanceStep + 1.0L) * height);
        const TraceResult level = ComputeResponseTrace(header, values.data(), c.frame, c.scales);
        const TraceResult ohm
            = ComputeImpedanceTrace(header, values.data(), c.frame, c.scales, 150.0f);
        ASSERT_EQ(level.points.size(), 2594u - 27u);
        ASSERT_EQ(ohm.points.size(), level.points.size());
        for (int i = 27; i < 2594; ++i) {
            const TracePoint& p = level.points[i - 27];
            const int x = FreqToX(mapping, i * static_cast<long double>(48000.0f / 65536));
            ASSERT_EQ(p.x, x) << i;
            ASSERT_EQ(p.y, CheckedRound(CheckedLn(values[i]) * levelScale + levelOffset)) << i;
            ASSERT_EQ(ohm.points[i - 27].x, x) << i;
            ASSERT_EQ(ohm.points[i - 27].y,
                CheckedRound(static_cast<long double>(values[i]) * ohmScale + ohmOffset))
                << i;
        }
    }
}

TEST(CurveTrace, RowsOnAHalfGoToTheEvenRow)
{
    // With value 1 the level row is LevelTop / LevelRange * H.
    struct Case {
        int height;
        int expectedY;
    };
    const std::vector<Case> cases = {{3, 2}, {5, 2}, {7, 4}, {9, 4}};
    const auto ones = Values(1.0f);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.height);
        const TraceResult trace = ComputeResponseTrace(
            Header(4096), ones.data(), {632, c.height, 20, 20000}, {2, 1, 50, 0});
        ASSERT_FALSE(trace.points.empty());
        EXPECT_EQ(trace.points.front().y, c.expectedY);
    }
}

TEST(CurveTrace, LevelFactorTenMovesEveryPointUpTwentyDecibels)
{
    std::vector<float> values(kCurveCapacity);
    for (int k = 0; k < kCurveCapacity; ++k)
        values[k] = std::pow(10.0f, static_cast<float>(k % 7 - 3)); // whole decades
    CurveHeader header = Header(4096);
    const TraceFrame frame {640, 450, 20, 20000};
    const AxisScales scales {60, 100, 50, 0};
    const TraceResult base = ComputeResponseTrace(header, values.data(), frame, scales);
    header.LevelFactor = 10.0f;
    const TraceResult raised = ComputeResponseTrace(header, values.data(), frame, scales);
    ASSERT_EQ(base.points.size(), raised.points.size());
    for (std::size_t k = 0; k < base.points.size(); ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(raised.points[k].x, base.points[k].x);
        EXPECT_EQ(raised.points[k].y, base.points[k].y - 450 * 20 / 60);
    }
}

TEST(CurveTrace, ImpedanceRowsFollowTheOhmScale)
{
    // y = H * (1 - (10 * R * v - ImpedanceBase) / (8 * ImpedanceStep)), H = 404
    struct Case {
        const char* name;
        float serialResistor;
        AxisScales scales;
        float value;
        int expectedY;
    };
    const std::vector<Case> cases = {
        {"6 Ohm, 1.2 divisions up", 150.0f, {60, 100, 50, 0}, 0.04f, 343}, // 404 * (1 - 60/400)
        {"doubled resistor, 12 Ohm", 300.0f, {60, 100, 50, 0}, 0.04f, 283}, // 404 * (1 - 120/400)
        {"30 Ohm over a 10 Ohm base", 150.0f, {60, 100, 50, 100}, 0.2f, 202}, // 404 * (1 - 200/400)
        {"zero at the bottom edge", 150.0f, {60, 100, 50, 0}, 0.0f, 404},
        {"negative below it", 150.0f, {60, 100, 50, 0}, -0.04f, 465},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto values = Values(c.value);
        const TraceResult trace = ComputeImpedanceTrace(
            Header(4096), values.data(), {632, 404, 20, 20000}, c.scales, c.serialResistor);
        EXPECT_FALSE(trace.fault);
        ASSERT_FALSE(trace.points.empty());
        for (const TracePoint& p : trace.points)
            ASSERT_EQ(p.y, c.expectedY);
    }
}

TEST(CurveTrace, BadValueStopsTheTraceAndKeepsWhatWasDrawn)
{
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        const char* name;
        bool level;
        float bad;
        std::optional<FaultKind> fault;
    };
    const std::vector<Case> cases = {
        {"level of zero", true, 0.0f, FaultKind::Unknown},
        {"level of a negative value", true, -1.0f, FaultKind::InvalidOperation},
        {"level of NaN", true, nan, FaultKind::InvalidOperation},
        {"level of infinity", true, inf, FaultKind::InvalidOperation},
        {"impedance of NaN", false, nan, FaultKind::InvalidOperation},
        {"impedance of infinity", false, inf, FaultKind::InvalidOperation},
        {"impedance beyond 32 bits", false, 3.0e38f, FaultKind::InvalidOperation},
        {"impedance of zero", false, 0.0f, std::nullopt},
        {"impedance of a negative value", false, -1.0f, std::nullopt},
    };
    const TraceFrame frame {632, 404, 20, 20000};
    const AxisScales scales {60, 100, 50, 0};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto values = Values(0.5f);
        values[100] = c.bad; // a stage-1 bin: bins 2 (move-to) and 3 to 99 come before it
        const TraceResult trace = c.level
            ? ComputeResponseTrace(Header(4096), values.data(), frame, scales)
            : ComputeImpedanceTrace(Header(4096), values.data(), frame, scales, 150.0f);
        EXPECT_EQ(trace.fault, c.fault);
        EXPECT_EQ(trace.points.size(), c.fault ? 98u : 435u);
    }
}

TEST(CurveTrace, BadFirstValueGivesNoPoints)
{
    auto values = Values(1.0f);
    values[2] = 0.0f;
    const TraceResult trace
        = ComputeResponseTrace(Header(4096), values.data(), {632, 404, 20, 20000}, {});
    EXPECT_EQ(trace.fault, FaultKind::Unknown);
    EXPECT_TRUE(trace.points.empty());
}

TEST(CurveTrace, FaultInTheWorkingValuesGivesNoPoints)
{
    struct Case {
        const char* name;
        bool level;
        CurveHeader header;
        TraceFrame frame;
        AxisScales scales;
        float serialResistor;
        FaultKind fault;
    };
    const CurveHeader good = Header(4096);
    const TraceFrame frame {632, 404, 20, 20000};
    const AxisScales scales {60, 100, 50, 0};
    CurveHeader zeroFactor = good;
    zeroFactor.LevelFactor = 0.0f;
    CurveHeader negativeFactor = good;
    negativeFactor.LevelFactor = -1.0f;
    const std::vector<Case> cases = {
        {"level range 0", true, good, frame, {0, 100, 50, 0}, 150, FaultKind::Unknown},
        {"level factor 0", true, zeroFactor, frame, scales, 150, FaultKind::Unknown},
        {"negative level factor", true, negativeFactor, frame, scales, 150,
            FaultKind::InvalidOperation},
        {"sample rate 0", true, Header(4096, 20, 20000, 0), frame, scales, 150, FaultKind::Unknown},
        {"transform length 0", false, Header(0), frame, scales, 150, FaultKind::Unknown},
        {"equal frequency edges", true, good, {632, 404, 1000, 1000}, scales, 150,
            FaultKind::Unknown},
        {"impedance step 0", false, good, frame, {60, 100, 0, 0}, 150, FaultKind::Unknown},
        {"Ohm scale beyond single precision", false, good, frame, scales, 1.0e38f,
            FaultKind::FloatOverflow},
    };
    const auto values = Values(1.0f);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TraceResult trace = c.level
            ? ComputeResponseTrace(c.header, values.data(), c.frame, c.scales)
            : ComputeImpedanceTrace(c.header, values.data(), c.frame, c.scales, c.serialResistor);
        EXPECT_EQ(trace.fault, c.fault);
        EXPECT_TRUE(trace.points.empty());
    }
}

// Under ASan these also prove that no value outside the slot is read.
TEST(CurveTrace, NeighbourhoodsCutByTheSlotAverageTheValuesThatExist)
{
    // Ohm scale -1000, offset 1000: y = 1000 - 1000 v
    const TraceFrame frame {632, 1000, 20, 20000};
    const AxisScales scales {60, 100, 125, 0};
    const auto ones = Values(1.0f);

    // N = 8, band far beyond fs / 2: every stage limit lies below the first
    // bin, so bin 3 is a ninth bin whose neighbourhood starts at -1. Its mean
    // is 1 (y 0); the full-neighbourhood multiplier would give 8 * 0.11111.
    const TraceResult tiny
        = ComputeImpedanceTrace(Header(8, 20, 1.0e6f), ones.data(), frame, scales, 100.0f);
    EXPECT_FALSE(tiny.fault);
    ASSERT_EQ(tiny.points.size(), 1u + 19); // bins 2, then 3, 12, ... 165 below the end bin 167
    EXPECT_EQ(tiny.points[1].y, 0);

    // A first bin near the end of the slot: bin 32765 averages 32761 ... 32767.
    const auto ramp = RampValues();
    const TraceResult top = RevealBins(Header(65536, 23997.0703125f, 48000), ramp);
    EXPECT_FALSE(top.fault);
    EXPECT_EQ(BinsOf(top), (std::vector<int> {32764, 32764}));
}

TEST(CurveTrace, BinsBeyondTheSlotAreNotDrawn)
{
    const auto ramp = RampValues();
    // Upper frequency at fs: the end bin 65536 lies beyond the slot's 32768 values.
    const auto bins = BinsOf(RevealBins(Header(65536, 20, 48000), ramp));
    EXPECT_EQ(bins.back(), 32761);

    // A first bin beyond the slot draws nothing and is no fault.
    const TraceResult none = RevealBins(Header(65536, 30000, 48000), ramp);
    EXPECT_FALSE(none.fault);
    EXPECT_TRUE(none.points.empty());
}

TEST(CurveTrace, ViewFreqLowIsRaisedToFiveHertz)
{
    struct Case {
        float low;
        float expected;
    };
    const std::vector<Case> cases = {{1.0f, 5.0f}, {4.99f, 5.0f}, {5.0f, 5.0f}, {20.0f, 20.0f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.low);
        PlotState plot;
        plot.ViewFreqLow = c.low;
        ClampViewFreqLow(plot);
        EXPECT_EQ(plot.ViewFreqLow, c.expected);
        EXPECT_EQ(plot.ViewFreqHigh, 20000.0f);
    }
}

TEST(CurveTrace, LevelKindsAreFiveToSeven)
{
    for (int kind : {0, 4, 8, 14})
        EXPECT_FALSE(IsLevelKind(kind)) << kind;
    for (int kind : {5, 6, 7})
        EXPECT_TRUE(IsLevelKind(kind)) << kind;
}

} // namespace

namespace
{

// The value a stage plots at bin i, by the plain rules in extended precision:
// stage 2 and 3 add the neighbours first and the centre last, stage 4 adds
// i - 4 ... i + 4 in order; a full neighbourhood is multiplied, one cut by
// the slot's ends averaged.
long double PlainStageValue(const std::vector<float>& v, int i, int half, long double multiplier)
{
    const int lo = std::max(i - half, 0), hi = std::min(i + half, kCurveCapacity - 1);
    long double sum = 0;
    int count = 0;
    const bool centreLast = half == 1 || half == 2;
    for (int j = lo; j <= hi; ++j)
        if (!(centreLast && j == i)) {
            sum += v[j];
            ++count;
        }
    if (centreLast) {
        sum += v[i];
        ++count;
    }
    const bool full = i - half >= 0 && i + half < kCurveCapacity;
    return half == 0 ? sum : (full ? sum * multiplier : sum / count);
}

struct PlainPoint {
    int bin;
    long double value;
};

// Every bin and value the four stages plot, by the plain rules.
std::vector<PlainPoint> PlainStagePoints(const CurveHeader& h, const std::vector<float>& v)
{
    const BinRange bins = DrawnBins(h);
    const long double n = h.TransformLength;
    const int limits[4]
        = {std::min(CheckedRound(n / 24), bins.end), std::min(CheckedRound(n * 5 / 48), bins.end),
            std::min(CheckedRound(n * 5 / 24), bins.end), bins.end};
    const int steps[4] = {1, 3, 5, 9}, halves[4] = {0, 1, 2, 4};
    const long double multipliers[4] = {1.0L, 0.3333L, 0.2L, 0.11111L};
    std::vector<PlainPoint> points {{bins.first, v[bins.first]}};
    int i = bins.first + 1;
    for (int s = 0; s < 4; ++s)
        for (; i < limits[s]; i += steps[s])
            points.push_back({i, PlainStageValue(v, i, halves[s], multipliers[s])});
    return points;
}

} // namespace

// The trace decides most points in double precision; every point must still
// be the one the plain extended-precision formulas give, for curves that
// look measured, are noisy, sit on a rounding half, fall steeply or change
// sign, in every stage.
TEST(CurveTrace, EveryStageMatchesThePlainFormulasInExtendedPrecision)
{
    auto curve = [](auto valueAt) {
        std::vector<float> v(kCurveCapacity);
        for (int k = 0; k < kCurveCapacity; ++k)
            v[k] = valueAt(k);
        return v;
    };
    uint32_t seed = 99;
    auto noise = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return float(seed >> 8) / float(1 << 24);
    };
    struct Curve {
        const char* name;
        std::vector<float> values;
    };
    const std::vector<Curve> curves = {
        {"measured", curve([](int k) { return 0.05f * (1.5f + std::sin(0.01f * float(k))); })},
        {"noisy", curve([&](int) { return std::pow(10.0f, 3.0f + 0.3f * noise()); })},
        // Ohm values on halves of the reveal frame's rows, and level values of 1.
        {"on a half", curve([](int k) { return k % 2 ? 1.0f : 100.5f; })},
        {"steep", curve([](int k) { return std::pow(float(k + 1) / 3000.0f, 3.0f); })},
        {"changing sign", curve([&](int) { return noise() - 0.3f; })},
    };
    const CurveHeader header {20000.0f, 48000, 65536, 23990.0f, 5.0f}; // bins 7 ... 32754
    struct View {
        TraceFrame frame;
        AxisScales scales;
        float resistor;
    };
    const std::vector<View> views = {{{640, 450, 20, 20000}, {60, 100, 50, 0}, 150.0f},
        {{1920, 1080, 5, 30000}, {5, 37, 20, 30}, 8.0f}, {kRevealFrame, kRevealScales, 1.0f},
        {{632, 5, 20, 20000}, {2, 1, 50, 0}, 1.0f}};
    for (const Curve& c : curves) {
        const std::vector<PlainPoint> plain = PlainStagePoints(header, c.values);
        for (const View& view : views) {
            SCOPED_TRACE(testing::Message()
                << c.name << ", " << view.frame.width << " x " << view.frame.height);
            const auto& [width, height, low, high] = view.frame;
            const FreqMapping mapping = ComputeFreqMapping(low, high, width);
            const float levelScale
                = static_cast<float>(-20.0L * height / std::log(10.0L) / view.scales.LevelRange);
            const float levelOffset = static_cast<float>(std::log(20000.0L) * levelScale
                + static_cast<long double>(view.scales.LevelTop) / view.scales.LevelRange * height);
            const float ohmScale = static_cast<float>(
                -height * 0.125L / view.scales.ImpedanceStep * 10.0L * view.resistor);
            const float ohmOffset = static_cast<float>(
                (view.scales.ImpedanceBase * 0.125L / view.scales.ImpedanceStep + 1.0L) * height);
            const TraceResult level
                = ComputeResponseTrace(header, c.values.data(), view.frame, view.scales);
            const TraceResult ohm = ComputeImpedanceTrace(
                header, c.values.data(), view.frame, view.scales, view.resistor);
            ASSERT_FALSE(ohm.fault);
            ASSERT_EQ(ohm.points.size(), plain.size());
            std::size_t levelPoints = 0;
            for (std::size_t k = 0; k < plain.size(); ++k) {
                const auto [bin, value] = plain[k];
                const int x = FreqToX(mapping, bin * static_cast<long double>(48000.0f / 65536));
                ASSERT_EQ(
                    ohm.points[k], (TracePoint {x, CheckedRound(value * ohmScale + ohmOffset)}))
                    << "impedance at bin " << bin;
                if (value <= 0) // the level trace stops at its first value <= 0
                    break;
                ASSERT_LT(k, level.points.size());
                ASSERT_EQ(level.points[k],
                    (TracePoint {x, CheckedRound(CheckedLn(value) * levelScale + levelOffset)}))
                    << "level at bin " << bin;
                ++levelPoints;
            }
            EXPECT_EQ(level.points.size(), levelPoints);
        }
    }
}
