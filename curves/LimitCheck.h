#pragma once
// Checking a curve against an upper and a lower limit, as production lines
// do: each limit interpolated at the curve's frequencies, the curve failing
// where it lies above the upper or below the lower one, and the smallest
// distance to each limit (the margin) found on the way.

#include "curves/CurveInfo.h"

#include <optional>
#include <span>
#include <vector>

// A curve within this of a limit lies on it. Curves and limits are stored
// as 32-bit floats, whose relative spacing is at most 2^-23 and each of
// whose roundings errs by half of that: the value, its level factor (or
// serial resistor) and a limit's own value from a curve file or a text
// make up to four roundings, 2^-22; the tolerance is twice that, 2^-21,
// for the double arithmetic of the interpolation and the shifts. As a
// level 20 log10(1 + 2^-21) = 4.1e-6 dB; for an impedance 2^-21 of the
// limit's Ohm.
constexpr double kStoredRelativeTolerance = 0x1p-21;

// The tolerance at a limit of the magnitude (dB or Ohm, by the kind).
double LimitTolerance(CurveKind kind, double limitMagnitude);

// One run of adjacent points of a curve beyond a limit: its first and last
// frequency (Hz), and the largest distance beyond the limit (dB for a
// response, Ohm for an impedance curve) with its frequency.
struct LimitExcess {
    double firstFrequency = 0;
    double lastFrequency = 0;
    double worst = 0; // > the tolerance
    double worstFrequency = 0;
};

// The smallest distance of a curve to a limit: positive inside the limit,
// negative beyond it, 0 within the tolerance of it.
struct LimitMargin {
    double distance = 0; // dB or Ohm
    double frequency = 0; // Hz
};

// A curve against one limit.
struct LimitJudgement {
    double from = 0, to = 0; // the limit's first and last frequency (Hz)
    std::vector<LimitExcess> excesses; // rising frequency, one per run beyond it
    std::optional<LimitMargin> margin; // over the points the limit covers
    // A limit that covers no point of the curve judged nothing.
    bool covers() const { return margin.has_value(); }
};

struct LimitResult {
    double curveFrom = 0, curveTo = 0; // the curve's first and last frequency; 0 without points
    std::optional<LimitJudgement> upper, lower; // nothing for a limit not given
    bool failed() const;
    // Every limit given covers a point of the curve.
    bool judged() const;
    bool passed() const { return judged() && !failed(); }
};

// The curve's points against the limits (rising frequency, either may be
// empty for no limit). A limit judges only the frequencies within its own
// first ... last frequency, interpolated as InterpolateMagnitude does; a
// point on the limit within LimitTolerance passes.
LimitResult CheckLimits(std::span<const BandPoint> curve, CurveKind kind,
    std::span<const BandPoint> upper, std::span<const BandPoint> lower);

// A limit's levels at a curve's frequencies (NaN where the limit does not
// cover one), kept for the next curve at the same frequencies: the curves
// of an archive mostly share their bins, so a run interpolates each level
// once. The limit's points must outlive it.
class LimitLevels
{
public:
    LimitLevels(std::span<const BandPoint> limit, CurveKind kind);
    std::span<const double> At(std::span<const BandPoint> curve);
    std::span<const BandPoint> limit() const { return limit_; }

private:
    std::span<const BandPoint> limit_;
    CurveKind kind_;
    std::vector<double> frequencies_, levels_;
};

// CheckLimits for curve after curve against the same limits (of the
// curves' kind), each limit interpolated once per set of frequencies.
class LimitChecker
{
public:
    LimitChecker(
        std::span<const BandPoint> upper, std::span<const BandPoint> lower, CurveKind kind);
    LimitResult Check(std::span<const BandPoint> curve);

private:
    LimitLevels upper_, lower_;
    CurveKind kind_;
};

// The response's levels shifted so that the level at f Hz (interpolated
// between the neighbouring points) is 0 dB; nothing when f lies outside
// the points' frequencies.
std::optional<std::vector<BandPoint>> OffsetToZeroAt(std::span<const BandPoint> curve, double f);

// The power average of the levels (dB) of the points within low ... high Hz
// (both included), as a sensitivity is averaged over a band:
// 10 log10 of the mean of 10^(L/10). Nothing when no point lies there.
std::optional<double> PowerAverageOver(std::span<const BandPoint> points, double low, double high);

// The response shifted so that its power average over low ... high Hz lies
// on the limits' mean there: the middle between the upper and the lower
// limit's power averages at the same frequencies (the curve's points in the
// band), or the one limit's when only one is given. For limits a fixed
// distance above and below a target this is the target's power average.
// Nothing when no point of the curve lies within the band. The limits
// given should reach over the band (else their edge levels count there).
std::optional<std::vector<BandPoint>> OffsetOntoLimitsOver(std::span<const BandPoint> curve,
    std::span<const BandPoint> upper, std::span<const BandPoint> lower, double low, double high);
