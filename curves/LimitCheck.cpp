#include "curves/LimitCheck.h"

#include "curves/CurveText.h"
#include "curves/NameQuoting.h"

#include <cmath>
#include <cstdio>

namespace
{

// Counts a point that lies `excess` beyond a limit.
void AddExcess(std::optional<LimitExcess>& range, double frequency, double excess)
{
    if (!(excess > 0))
        return;
    if (!range) {
        range = LimitExcess {frequency, frequency, excess, frequency};
        return;
    }
    range->lastFrequency = frequency;
    if (excess > range->worst) {
        range->worst = excess;
        range->worstFrequency = frequency;
    }
}

bool Covers(std::span<const BandPoint> limit, double f)
{
    return !limit.empty() && f >= limit.front().frequency && f <= limit.back().frequency;
}

std::string Fixed2(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

std::string ExcessWords(const LimitExcess& excess, const std::string& which, CurveKind kind)
{
    const std::string unit = kind == CurveKind::Response ? " dB" : " Ohm";
    const std::string span = excess.firstFrequency == excess.lastFrequency
        ? " at " + FormatNumber(excess.firstFrequency, 6) + " Hz"
        : " from " + FormatNumber(excess.firstFrequency, 6) + " to "
            + FormatNumber(excess.lastFrequency, 6) + " Hz";
    return which + span + " by up to " + Fixed2(excess.worst) + unit + " at "
        + FormatNumber(excess.worstFrequency, 6) + " Hz";
}

std::string ExcessJson(const std::optional<LimitExcess>& excess)
{
    if (!excess)
        return "null";
    return "{\"from\": " + FormatNumber(excess->firstFrequency, 9) + ", \"to\": "
        + FormatNumber(excess->lastFrequency, 9) + ", \"worst\": " + FormatNumber(excess->worst, 9)
        + ", \"at\": " + FormatNumber(excess->worstFrequency, 9) + "}";
}

} // namespace

LimitResult CheckLimits(std::span<const BandPoint> curve, CurveKind kind,
    std::span<const BandPoint> upper, std::span<const BandPoint> lower)
{
    LimitResult result;
    for (const BandPoint& p : curve) {
        if (Covers(upper, p.frequency))
            AddExcess(result.above, p.frequency,
                p.magnitude - InterpolateMagnitude(upper, kind, p.frequency));
        if (Covers(lower, p.frequency))
            AddExcess(result.below, p.frequency,
                InterpolateMagnitude(lower, kind, p.frequency) - p.magnitude);
    }
    return result;
}

std::optional<std::vector<BandPoint>> OffsetToZeroAt(std::span<const BandPoint> curve, double f)
{
    if (!Covers(curve, f))
        return std::nullopt;
    const double level = InterpolateMagnitude(curve, CurveKind::Response, f);
    std::vector<BandPoint> shifted(curve.begin(), curve.end());
    for (BandPoint& p : shifted)
        p.magnitude -= level;
    return shifted;
}

std::string FormatCheckLine(const std::string& name, const LimitResult& result, CurveKind kind)
{
    if (result.passed())
        return QuotedName(name) + ": pass";
    std::string line = QuotedName(name) + ": fail: ";
    if (result.above)
        line += ExcessWords(*result.above, "above the upper limit", kind);
    if (result.above && result.below)
        line += "; ";
    if (result.below)
        line += ExcessWords(*result.below, "below the lower limit", kind);
    return line;
}

std::string FormatCheckJson(const std::string& name, const LimitResult& result, CurveKind kind)
{
    return "{\"name\": " + JsonName(name) + ", \"result\": \"" + (result.passed() ? "pass" : "fail")
        + "\", \"unit\": \"" + (kind == CurveKind::Response ? "dB" : "Ohm") + "\", \"above\": "
        + ExcessJson(result.above) + ", \"below\": " + ExcessJson(result.below) + "}";
}
