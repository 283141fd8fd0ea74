#pragma once
// Checking a curve against an upper and a lower limit, as production lines
// do: each limit interpolated at the curve's frequencies, the curve failing
// where it lies above the upper or below the lower one.

#include "curves/CurveInfo.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

// Where a curve crosses one limit: the first and last frequency that does
// (Hz), and the largest distance beyond the limit (dB for a response, Ohm
// for an impedance curve) with its frequency.
struct LimitExcess {
    double firstFrequency = 0;
    double lastFrequency = 0;
    double worst = 0; // > 0
    double worstFrequency = 0;
};

struct LimitResult {
    std::optional<LimitExcess> above; // above the upper limit
    std::optional<LimitExcess> below; // below the lower limit
    bool passed() const { return !above && !below; }
};

// The curve's points against the limits (rising frequency, either may be
// empty for no limit). A limit judges only the frequencies within its own
// first ... last frequency, interpolated as InterpolateMagnitude does; a
// point exactly on the limit passes.
LimitResult CheckLimits(std::span<const BandPoint> curve, CurveKind kind,
    std::span<const BandPoint> upper, std::span<const BandPoint> lower);

// The response's levels shifted so that the level at f Hz (interpolated
// between the neighbouring points) is 0 dB; nothing when f lies outside
// the points' frequencies.
std::optional<std::vector<BandPoint>> OffsetToZeroAt(std::span<const BandPoint> curve, double f);

// "NAME: pass", or "NAME: fail: above the upper limit from 1200 to 3400 Hz
// by up to 2.31 dB at 2500 Hz; below the lower limit ..." (levels and Ohm
// with two decimals, frequencies with up to six digits).
std::string FormatCheckLine(const std::string& name, const LimitResult& result, CurveKind kind);

// The result as a JSON object on one line: name, result ("pass" or
// "fail"), unit, and above/below as objects (from, to, worst, at) or null.
std::string FormatCheckJson(const std::string& name, const LimitResult& result, CurveKind kind);
