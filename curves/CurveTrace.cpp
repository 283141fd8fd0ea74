#include "curves/CurveTrace.h"

#include "plot/PixelMapping.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

namespace
{

// One thinning stage: from where the previous stage stopped, every `step`-th
// bin while below `limit`, plotted at the average of the bins within `half`
// of it.
struct ThinningStage {
    int limit;
    int step;
    int half;
    long double multiplier; // applied to the sum of a full neighbourhood
    bool centreLast; // sum the neighbours first and the centre bin last
};

// What both traces share: the bins and the frequency axis.
struct BinLayout {
    int firstBin;
    int endBin; // the first bin not drawn, at most kCurveCapacity
    std::array<ThinningStage, 4> stages;
    FreqMapping mapping;
    float binWidth; // Hz
    double lnBinWidth;
};

// Stores an extended-precision working value in single precision; a finite
// value beyond the single range is a floating-point overflow (not an
// infinity that would fault later as an invalid operation).
float ToSingle(long double v)
{
    constexpr long double kFirstOverflowing = 0x1.ffffffp127L; // FLT_MAX plus half a unit
    if (std::fabs(v) >= kFirstOverflowing && std::isfinite(v))
        throw ArithmeticFault(FaultKind::FloatOverflow);
    return static_cast<float>(v);
}

// round(t) from a double-precision approximation t of an extended-precision
// expression: wherever t lies clearly away from a half the approximation
// decides; near a half, and for values that may fault, exact() (the
// extended-precision path with its faults) decides. `magnitude` bounds the
// size of the terms, which scales the approximation's error.
template <class Exact> int RoundApproximation(double t, double magnitude, Exact exact)
{
    const double r = std::rint(t);
    if (std::fabs(std::fabs(t - r) - 0.5) > 1e-12 * (1.0 + magnitude)
        && std::fabs(r) < std::numeric_limits<int>::max())
        return static_cast<int>(r);
    return exact();
}

// A stage value in double precision, and the value itself in extended
// precision when the approximation cannot decide.
struct StagePoint {
    double approx;
    bool usable; // approx is within a few units of the 16th digit of the value
};

// round(ln(v) * scale + offset) with the result and faults of
// CheckedRound(CheckedLn(v) * scale + offset), v = exactValue(). A
// double-precision logarithm is several times faster than the extended one;
// its error, a few units in the 16th digit, stays far inside the margin.
template <class Exact> int LogPixel(StagePoint v, float scale, float offset, Exact exactValue)
{
    auto exact = [&] { return CheckedRound(CheckedLn(exactValue()) * scale + offset); };
    if (!v.usable
        || !(v.approx >= std::numeric_limits<double>::min()
            && v.approx <= std::numeric_limits<double>::max()))
        return exact();
    const double scaledLog = std::log(v.approx) * scale;
    return RoundApproximation(
        scaledLog + offset, std::fabs(scaledLog) + std::fabs(offset) + std::fabs(scale), exact);
}

// round(v * scale + offset) with the result and faults of
// CheckedRound(v * scale + offset) in extended precision, v = exactValue().
template <class Exact> int LinearPixel(StagePoint v, float scale, float offset, Exact exactValue)
{
    auto exact = [&] { return CheckedRound(exactValue() * scale + offset); };
    if (!v.usable)
        return exact();
    const double scaled = v.approx * scale;
    return RoundApproximation(scaled + offset, std::fabs(scaled) + std::fabs(offset), exact);
}

// ln(i) for every bin of a slot, computed once: a bin's column needs
// ln(i * bin width) = ln(i) + ln(bin width).
const std::vector<double>& BinLogarithms()
{
    static const std::vector<double> table = [] {
        std::vector<double> t(kCurveCapacity, 0.0);
        for (int i = 1; i < kCurveCapacity; ++i)
            t[i] = std::log(static_cast<double>(i));
        return t;
    }();
    return table;
}

// round(N * frequency / fs)
int BinOf(const CurveHeader& h, float frequency)
{
    return CheckedRound(
        CheckedDiv(h.TransformLength * static_cast<long double>(frequency), h.SampleRate));
}

std::array<ThinningStage, 4> ThinningStages(int32_t n, int endBin)
{
    const long double len = n;
    return {{
        {std::min(CheckedRound(len / 24), endBin), 1, 0, 1.0L, false},
        {std::min(CheckedRound(len * 5 / 48), endBin), 3, 1, 0.3333L, true},
        {std::min(CheckedRound(len * 5 / 24), endBin), 5, 2, 0.2L, true},
        {endBin, 9, 4, 0.11111L, false},
    }};
}

BinLayout ComputeBinLayout(const CurveHeader& h, const TraceFrame& frame)
{
    BinLayout layout;
    const BinRange bins = DrawnBins(h);
    layout.firstBin = bins.first;
    layout.endBin = bins.end;
    layout.stages = ThinningStages(h.TransformLength, layout.endBin);
    layout.mapping = ComputeFreqMapping(frame.viewFreqLow, frame.viewFreqHigh, frame.width);
    layout.binWidth = ToSingle(CheckedDiv(h.SampleRate, h.TransformLength));
    layout.lnBinWidth = std::log(static_cast<double>(layout.binWidth));
    return layout;
}

// The value plotted at bin i, 0 <= i < kCurveCapacity. A neighbourhood cut
// by the ends of the slot is averaged over the values that exist.
long double StageValue(const float* values, int i, const ThinningStage& s)
{
    const int lo = i - s.half;
    const int hi = i + s.half;
    const bool full = lo >= 0 && hi < kCurveCapacity;
    long double sum = 0.0L;
    int count = 0;
    for (int j = std::max(lo, 0); j <= std::min(hi, kCurveCapacity - 1); ++j) {
        if (j == i && s.centreLast)
            continue;
        sum += values[j];
        ++count;
    }
    if (s.centreLast) {
        sum += values[i];
        ++count;
    }
    return full ? sum * s.multiplier : sum / count;
}

// StageValue in double precision for a full neighbourhood of values of one
// sign: the sum of at most nine singles then carries a relative error of a
// few units in the 16th digit. Mixed signs (where the sum may cancel), an end
// of the slot and non-finite values leave the decision to StageValue.
StagePoint ApproximateStageValue(const float* values, int i, const ThinningStage& s)
{
    if (i - s.half < 0 || i + s.half >= kCurveCapacity)
        return {0.0, false};
    double sum = 0.0;
    double magnitude = 0.0;
    for (int j = i - s.half; j <= i + s.half; ++j) {
        sum += values[j];
        magnitude += std::fabs(values[j]);
    }
    const bool oneSign = magnitude == std::fabs(sum);
    const double v = sum * static_cast<double>(s.multiplier);
    return {v, oneSign && std::isfinite(v)};
}

// How many points the walk below produces.
std::size_t PointCount(const BinLayout& layout)
{
    if (layout.firstBin >= kCurveCapacity)
        return 0;
    std::size_t count = 1;
    int i = layout.firstBin + 1;
    for (const ThinningStage& s : layout.stages) {
        if (i < s.limit) {
            const int steps = (s.limit - i + s.step - 1) / s.step;
            count += steps;
            i += steps * s.step;
        }
    }
    return count;
}

// Appends the move-to point and the line-to points of the four stages;
// `rowOf` turns a (possibly averaged) value into a pixel row. An arithmetic
// fault leaves the points appended so far.
template <class RowOf>
void WalkBins(
    const BinLayout& layout, const float* values, RowOf rowOf, std::vector<TracePoint>& points)
{
    if (layout.firstBin >= kCurveCapacity)
        return;
    const std::vector<double>& lnBin = BinLogarithms();
    const float a = layout.mapping.FrequencyScale;
    const float b = layout.mapping.FrequencyOffset;
    auto addPoint = [&](int i, StagePoint v, auto exactValue) {
        // the column FreqToX gives the bin's frequency i * bin width
        const double scaledLog = (lnBin[i] + layout.lnBinWidth) * a;
        const int x = RoundApproximation(
            scaledLog + b, std::fabs(scaledLog) + std::fabs(b) + std::fabs(a), [&] {
                return CheckedRound(
                    CheckedLn(i * static_cast<long double>(layout.binWidth)) * a + b);
            });
        points.push_back({x, rowOf(v, exactValue)});
    };
    const float first = values[layout.firstBin];
    addPoint(layout.firstBin, StagePoint {first, std::isfinite(first)},
        [first] { return static_cast<long double>(first); });
    int i = layout.firstBin + 1;
    for (const ThinningStage& s : layout.stages) {
        if (s.step == 1) {
            // Every bin on its own: the value is exact in double precision.
            for (; i < s.limit; ++i) {
                const float v = values[i];
                addPoint(i, StagePoint {v, std::isfinite(v)},
                    [v] { return static_cast<long double>(v); });
            }
            continue;
        }
        for (; i < s.limit; i += s.step)
            addPoint(
                i, ApproximateStageValue(values, i, s), [&] { return StageValue(values, i, s); });
    }
}

// Runs `trace` and turns an arithmetic fault into the result's fault kind.
template <class Trace> TraceResult CollectTrace(Trace trace)
{
    TraceResult result;
    try {
        trace(result.points);
    } catch (const ArithmeticFault& fault) {
        result.fault = fault.kind();
    }
    return result;
}

} // namespace

BinRange DrawnBins(const CurveHeader& header)
{
    return {std::max(2, BinOf(header, header.LowerFrequency)),
        std::min(BinOf(header, header.UpperFrequency), kCurveCapacity)};
}

void ClampViewFreqLow(PlotState& plot)
{
    if (plot.ViewFreqLow < kMinViewFreqLow)
        plot.ViewFreqLow = kMinViewFreqLow;
}

bool IsLevelKind(int displayKind)
{
    return displayKind >= 5 && displayKind <= 7;
}

TraceResult ComputeResponseTrace(const CurveHeader& header, const float* values,
    const TraceFrame& frame, const AxisScales& scales)
{
    return CollectTrace([&](std::vector<TracePoint>& points) {
        const BinLayout layout = ComputeBinLayout(header, frame);
        const float levelScale
            = ToSingle(CheckedDiv(-20.0L * frame.height / std::log(10.0L), scales.LevelRange));
        const float levelOffset = ToSingle(CheckedLn(header.LevelFactor) * levelScale
            + CheckedDiv(scales.LevelTop, scales.LevelRange) * frame.height);
        points.reserve(PointCount(layout));
        WalkBins(
            layout, values,
            [&](StagePoint v, auto exact) { return LogPixel(v, levelScale, levelOffset, exact); },
            points);
    });
}

TraceResult ComputeImpedanceTrace(const CurveHeader& header, const float* values,
    const TraceFrame& frame, const AxisScales& scales, float serialResistor)
{
    return CollectTrace([&](std::vector<TracePoint>& points) {
        const BinLayout layout = ComputeBinLayout(header, frame);
        const float ohmScale = ToSingle(
            CheckedDiv(-frame.height * 0.125L, scales.ImpedanceStep) * 10.0L * serialResistor);
        const float ohmOffset
            = ToSingle((CheckedDiv(scales.ImpedanceBase * 0.125L, scales.ImpedanceStep) + 1.0L)
                * frame.height);
        points.reserve(PointCount(layout));
        WalkBins(
            layout, values,
            [&](StagePoint v, auto exact) { return LinearPixel(v, ohmScale, ohmOffset, exact); },
            points);
    });
}
