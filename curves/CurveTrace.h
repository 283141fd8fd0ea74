#pragma once
// The polylines of the two curve kinds in the data window: a frequency
// response as a level in dB, an impedance curve linearly in Ohm, both over
// the logarithmic frequency axis. Only the points are computed here; the
// painter fills, draws the grid, sets the pen and copies the picture.
//
// Bins drawn: from the first bin, round(N * LowerFrequency / fs) but at least
// 2, up to but excluding the end bin, round(N * UpperFrequency / fs). The
// trace thins out towards high frequencies in four stages, each continuing
// where the previous one stopped:
//   1. every bin, while i < min(round(N / 24), end bin);
//   2. every third bin at (v[i-1] + v[i+1] + v[i]) * 0.3333,
//      while i < min(round(5N / 48), end bin);
//   3. every fifth bin at (v[i-2] + v[i-1] + v[i+1] + v[i+2] + v[i]) * 0.2,
//      while i < min(round(5N / 24), end bin);
//   4. every ninth bin at (v[i-4] + ... + v[i+4]) * 0.11111, while i < end bin.
// The multipliers are exactly these decimals (the points of stages 2 and 4
// lie slightly below the true mean). Rounding is to the nearest integer,
// halves to even, throughout.
//
// Reads stay inside the kCurveCapacity values of the slot: a neighbourhood
// that reaches below index 0 or beyond the last value is averaged over the
// values that exist (their sum divided by their count), and bins at or
// beyond kCurveCapacity are not drawn (the trace ends at the last bin the
// slot holds; a first bin beyond it gives no points). Values between N/2
// and the end of the slot are read as they stand.
//
// The working values (level scale and offset, Ohm scale and offset, bin
// width, frequency mapping) are computed in extended precision and kept as
// floats; the averages and pixel positions are computed in extended precision.
//
// Faults: the trace stops at the first arithmetic fault and the result keeps
// the points computed before it. A fault in the working values gives no
// points: a zero divisor (LevelRange, ImpedanceStep, SampleRate or
// TransformLength 0) is Unknown, LevelFactor 0 is Unknown and a negative or
// non-finite one InvalidOperation, and a working value beyond the single
// range (say from an absurd SerialResistor) is FloatOverflow. At a point,
// the logarithm of a zero value is Unknown and of a negative or non-finite
// one InvalidOperation (level trace only); a pixel position that is not
// finite or does not fit 32 bits is InvalidOperation.

#include "curves/ArithmeticFault.h"
#include "curves/CurveSlot.h"
#include "plot/PlotState.h"

#include <optional>
#include <vector>

struct TracePoint {
    int x = 0;
    int y = 0;
    bool operator==(const TracePoint&) const = default;
};

struct TraceResult {
    // The first point is a move-to at the first bin, every further point a line-to.
    std::vector<TracePoint> points;
    // Set when the drawing stopped at an arithmetic fault: the painter draws
    // the points, then raises ArithmeticFault(*fault).
    std::optional<FaultKind> fault;
};

// The size of the data window and the frequencies at its edges.
struct TraceFrame {
    int width = 0; // pixels
    int height = 0; // pixels
    float viewFreqLow = 20.0f; // Hz at column 0, already raised by ClampViewFreqLow
    float viewFreqHigh = 20000.0f; // Hz at column width
};

// The bins a trace draws: first <= i < end. first is round(N * LowerFrequency
// / fs) but at least 2; end is round(N * UpperFrequency / fs), at most
// kCurveCapacity (bins beyond the slot do not exist). The trace's move-to
// point lies at first even when end <= first.
struct BinRange {
    int first = 0;
    int end = 0;
    bool operator==(const BinRange&) const = default;
};

// The bins of a header; throws ArithmeticFault where the drawing faults on
// them: SampleRate 0 (Unknown), a band edge whose bin is not finite or does
// not fit 32 bits (InvalidOperation).
BinRange DrawnBins(const CurveHeader& header);

// The lowest frequency the data window may start at.
constexpr float kMinViewFreqLow = 5.0f;

// Raises ViewFreqLow to kMinViewFreqLow when it is below; every curve
// drawing does this before it computes anything.
void ClampViewFreqLow(PlotState& plot);

// True for the frequency-response display kinds 5, 6 and 7.
bool IsLevelKind(int displayKind);

// The level trace: value v at bin i goes to
//   x = round(ln(i * fs / N) * FrequencyScale + FrequencyOffset),
//   y = round(ln(v) * level scale + level offset)
//     = height * (LevelTop - 20 log10(LevelFactor * v)) / LevelRange,
// with level scale = (-20 * height / ln 10) / LevelRange and
// level offset = ln(LevelFactor) * level scale + LevelTop / LevelRange * height.
// `values` points to kCurveCapacity values.
TraceResult ComputeResponseTrace(const CurveHeader& header, const float* values,
    const TraceFrame& frame, const AxisScales& scales);

// The impedance trace (LevelFactor is not used): value v at bin i goes to x as
// above and y = round(v * Ohm scale + Ohm offset)
//   = height * (1 - (10 * serialResistor * v - ImpedanceBase) / (8 * ImpedanceStep)),
// with Ohm scale = -height * 0.125 / ImpedanceStep * 10.0 * serialResistor and
// Ohm offset = (ImpedanceBase * 0.125 / ImpedanceStep + 1.0) * height.
// Zero and negative values are no fault. `values` points to kCurveCapacity values.
TraceResult ComputeImpedanceTrace(const CurveHeader& header, const float* values,
    const TraceFrame& frame, const AxisScales& scales, float serialResistor);
