#include "tools/voxacurve/Limits.h"

#include "app/WriteWhole.h"
#include "curves/CurveFile.h"
#include "curves/CurveText.h"
#include "curves/LimitText.h"
#include "tools/voxacurve/Arguments.h"

std::string CurveKindWords(CurveKind kind)
{
    return kind == CurveKind::Response ? "a frequency response" : "an impedance curve";
}

Limit::Limit(std::string path, float serialResistor)
    : path_(std::move(path))
{
    if (const std::optional<CurveKind> kind = CurveKindOfName(path_)) {
        const CurveFile file = ReadCurveFile(path_);
        if (const auto refusal = CurveRefusal(file, *kind))
            throw UsageError(path_ + ": the limit cannot be used: " + *refusal);
        kind_ = *kind;
        points_ = ReadBandValues(file, *kind, serialResistor).points;
        if (points_.empty())
            throw UsageError(path_ + ": the limit cannot be used: no drawable value in its band");
        if (const auto why = FirstUnmeasurablePoint(points_, kind_))
            throw UsageError(path_ + ": the limit cannot be used: " + *why);
        return;
    }
    std::string text;
    if (const auto readError = ReadWholeFile(path_, kMaxTextBytes, text))
        throw UsageError(path_ + ": the limit cannot be read: " + *readError);
    LimitText limit = ReadLimitText(text, CurveExtension(path_));
    if (limit.error)
        throw UsageError("the limit " + path_
            + (limit.error->line > 0 ? ":" + std::to_string(limit.error->line) : "") + ": "
            + limit.error->message);
    kind_ = limit.kind;
    points_ = std::move(limit.points);
}

std::variant<std::vector<BandPoint>, std::string> Limit::PointsFor(CurveKind kind) const
{
    if (kind != kind_)
        return path_ + " is " + CurveKindWords(kind_) + ", not " + CurveKindWords(kind);
    return points_;
}
