#include "curves/LimitCheck.h"

#include "curves/CurveText.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{

bool Covers(std::span<const BandPoint> limit, double f)
{
    return !limit.empty() && f >= limit.front().frequency && f <= limit.back().frequency;
}

// The curve against one limit whose levels at the curve's points are given
// (NaN where the limit does not cover a point); sign +1 for an upper limit
// (beyond it is above), -1 for a lower one.
LimitJudgement JudgeAgainst(std::span<const BandPoint> curve, CurveKind kind,
    std::span<const BandPoint> limit, std::span<const double> levels, double sign)
{
    LimitJudgement judgement;
    judgement.from = limit.front().frequency;
    judgement.to = limit.back().frequency;
    bool inRun = false;
    for (std::size_t i = 0; i < curve.size(); ++i) {
        const BandPoint& p = curve[i];
        const double level = levels[i];
        if (std::isnan(level))
            continue;
        const double beyond = sign * (p.magnitude - level);
        const double tolerance = LimitTolerance(kind, level);
        const bool outside = beyond > tolerance;
        const double distance = std::abs(beyond) <= tolerance ? 0.0 : -beyond;
        if (!judgement.margin || distance < judgement.margin->distance)
            judgement.margin = LimitMargin {distance, p.frequency};
        if (!outside) {
            inRun = false;
            continue;
        }
        if (!inRun)
            judgement.excesses.push_back({p.frequency, p.frequency, beyond, p.frequency});
        LimitExcess& run = judgement.excesses.back();
        run.lastFrequency = p.frequency;
        if (beyond > run.worst) {
            run.worst = beyond;
            run.worstFrequency = p.frequency;
        }
        inRun = true;
    }
    return judgement;
}

// The points within low ... high Hz (both included).
std::span<const BandPoint> PointsWithin(std::span<const BandPoint> points, double low, double high)
{
    const auto first = std::find_if(
        points.begin(), points.end(), [&](const BandPoint& p) { return p.frequency >= low; });
    const auto last
        = std::find_if(first, points.end(), [&](const BandPoint& p) { return p.frequency > high; });
    return {first, last};
}

// The power average of all the points' levels; nothing for no points.
std::optional<double> PowerAverage(std::span<const BandPoint> points)
{
    if (points.empty())
        return std::nullopt;
    // Relative to the loudest level, so that no power overflows.
    const double loudest = std::max_element(
        points.begin(), points.end(), [](const BandPoint& a, const BandPoint& b) {
            return a.magnitude < b.magnitude;
        })->magnitude;
    double sum = 0;
    for (const BandPoint& p : points)
        sum += std::pow(10.0, (p.magnitude - loudest) / 10);
    return loudest + 10 * std::log10(sum / static_cast<double>(points.size()));
}

// The levels of the limit at the points' frequencies.
std::vector<BandPoint> LimitAt(std::span<const BandPoint> points, std::span<const BandPoint> limit)
{
    std::vector<BandPoint> at;
    for (const BandPoint& p : points)
        at.push_back({p.frequency, InterpolateMagnitude(limit, CurveKind::Response, p.frequency)});
    return at;
}

} // namespace

double LimitTolerance(CurveKind kind, double limitMagnitude)
{
    static const double kLevel = 20 * std::log10(1 + kStoredRelativeTolerance);
    return kind == CurveKind::Response ? kLevel
                                       : std::abs(limitMagnitude) * kStoredRelativeTolerance;
}

bool LimitResult::failed() const
{
    return (upper && !upper->excesses.empty()) || (lower && !lower->excesses.empty());
}

bool LimitResult::judged() const
{
    return (!upper || upper->covers()) && (!lower || lower->covers());
}

LimitLevels::LimitLevels(std::span<const BandPoint> limit, CurveKind kind)
    : limit_(limit)
    , kind_(kind)
{
}

std::span<const double> LimitLevels::At(std::span<const BandPoint> curve)
{
    const bool same = curve.size() == frequencies_.size()
        && std::equal(curve.begin(), curve.end(), frequencies_.begin(),
            [](const BandPoint& p, double f) { return p.frequency == f; });
    if (same)
        return levels_;
    frequencies_.clear();
    levels_.clear();
    for (const BandPoint& p : curve) {
        frequencies_.push_back(p.frequency);
        levels_.push_back(Covers(limit_, p.frequency)
                ? InterpolateMagnitude(limit_, kind_, p.frequency)
                : std::numeric_limits<double>::quiet_NaN());
    }
    return levels_;
}

LimitChecker::LimitChecker(
    std::span<const BandPoint> upper, std::span<const BandPoint> lower, CurveKind kind)
    : upper_(upper, kind)
    , lower_(lower, kind)
    , kind_(kind)
{
}

LimitResult LimitChecker::Check(std::span<const BandPoint> curve)
{
    LimitResult result;
    if (!curve.empty()) {
        result.curveFrom = curve.front().frequency;
        result.curveTo = curve.back().frequency;
    }
    if (!upper_.limit().empty())
        result.upper = JudgeAgainst(curve, kind_, upper_.limit(), upper_.At(curve), +1);
    if (!lower_.limit().empty())
        result.lower = JudgeAgainst(curve, kind_, lower_.limit(), lower_.At(curve), -1);
    return result;
}

LimitResult CheckLimits(std::span<const BandPoint> curve, CurveKind kind,
    std::span<const BandPoint> upper, std::span<const BandPoint> lower)
{
    return LimitChecker(upper, lower, kind).Check(curve);
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

std::optional<double> PowerAverageOver(std::span<const BandPoint> points, double low, double high)
{
    return PowerAverage(PointsWithin(points, low, high));
}

std::optional<std::vector<BandPoint>> OffsetOntoLimitsOver(std::span<const BandPoint> curve,
    std::span<const BandPoint> upper, std::span<const BandPoint> lower, double low, double high)
{
    const std::span<const BandPoint> band = PointsWithin(curve, low, high);
    const std::optional<double> level = PowerAverage(band);
    if (!level)
        return std::nullopt;
    double target = 0;
    int limits = 0;
    for (const std::span<const BandPoint> limit : {upper, lower}) {
        if (limit.empty())
            continue;
        target += *PowerAverage(LimitAt(band, limit));
        ++limits;
    }
    std::vector<BandPoint> shifted(curve.begin(), curve.end());
    const double shift = limits > 0 ? target / limits - *level : 0;
    for (BandPoint& p : shifted)
        p.magnitude += shift;
    return shifted;
}
