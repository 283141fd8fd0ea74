#include "tools/voxacurve/Limits.h"

#include "app/WriteWhole.h"
#include "curves/CurveFile.h"
#include "curves/CurveText.h"
#include "tools/voxacurve/Arguments.h"

namespace
{

std::string KindWords(CurveKind kind)
{
    return kind == CurveKind::Response ? "a frequency response" : "an impedance curve";
}

} // namespace

Limit::Limit(std::string path, float serialResistor)
    : path_(std::move(path))
{
    if (const std::optional<CurveKind> kind = CurveKindOfName(path_)) {
        const CurveFile file = ReadCurveFile(path_);
        if (const auto refusal = CurveRefusal(file, *kind))
            throw UsageError(path_ + ": the limit cannot be used: " + *refusal);
        curveKind_ = kind;
        points_[*kind] = ReadBandValues(file, *kind, serialResistor).points;
        return;
    }
    if (const auto readError = ReadWholeFile(path_, kMaxTextBytes, text_))
        throw UsageError(path_ + ": the limit cannot be read: " + *readError);
    // A text that is no curve at all is a wrong command line, whatever the curves.
    const auto points = PointsFor(CurveKind::Response);
    if (const auto* why = std::get_if<std::string>(&points))
        throw UsageError("the limit " + *why);
}

std::variant<std::vector<BandPoint>, std::string> Limit::PointsFor(CurveKind kind)
{
    if (curveKind_ && *curveKind_ != kind)
        return path_ + " is " + KindWords(*curveKind_) + ", not " + KindWords(kind);
    if (const auto found = points_.find(kind); found != points_.end())
        return found->second;
    const ParsedCurveText parsed = ParseCurveText(text_, kind);
    if (parsed.error)
        return path_ + (parsed.error->line > 0 ? ":" + std::to_string(parsed.error->line) : "")
            + ": " + parsed.error->message;
    std::vector<BandPoint>& points = points_[kind];
    for (const TextPoint& p : parsed.points)
        points.push_back({p.frequency, p.magnitude});
    return points;
}
