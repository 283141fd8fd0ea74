#include "curves/LimitText.h"

#include "curves/KindedText.h"

#include <cmath>

namespace
{

std::string Number(double value)
{
    return std::isfinite(value) ? FormatNumber(value, 9) : "(not a finite number)";
}

} // namespace

std::optional<std::string> UnmeasurablePoint(CurveKind kind, const BandPoint& point)
{
    if (!(point.frequency >= 0 && point.frequency <= kMaxMeasuredFrequency))
        return "the frequency " + Number(point.frequency)
            + " Hz lies beyond what a measurement holds (0 to 1e+09 Hz)";
    const double m = point.magnitude;
    // The words are made only for a point that is refused: every point of
    // every curve of an archive passes here.
    const auto at = [&] { return " at " + Number(point.frequency) + " Hz"; };
    if (kind == CurveKind::Response && !(std::abs(m) <= kMaxMeasuredLevel))
        return "the level " + Number(m) + " dB" + at()
            + " lies beyond what a measurement holds (-1000 to 1000 dB)";
    if (kind == CurveKind::Impedance && !(m >= kMinMeasuredImpedance && m <= kMaxMeasuredImpedance))
        return "the impedance " + Number(m) + " Ohm" + at()
            + " lies beyond what a measurement holds (1e-09 to 1e+09 Ohm)";
    return std::nullopt;
}

std::optional<std::string> FirstUnmeasurablePoint(std::span<const BandPoint> points, CurveKind kind)
{
    for (const BandPoint& p : points)
        if (const auto why = UnmeasurablePoint(kind, p))
            return why;
    return std::nullopt;
}

LimitText ReadLimitText(std::string_view text, std::string_view extension)
{
    const KindedCurveText read = ParseKindedCurveText(text, extension);
    LimitText limit;
    limit.kind = read.kind;
    limit.error = read.parsed.error;
    if (limit.error)
        return limit;
    for (const TextPoint& p : read.parsed.points) {
        const BandPoint point {p.frequency, p.magnitude};
        if (const auto why = UnmeasurablePoint(limit.kind, point)) {
            limit.error = TextError {p.line, *why};
            limit.points.clear();
            return limit;
        }
        limit.points.push_back(point);
    }
    return limit;
}
