#pragma once
// Limit curves of `check` and `render`: a curve file, or a text read as import
// reads it, each of one kind (a text's by its extension and header row).

#include "curves/CurveInfo.h"

#include <string>
#include <variant>
#include <vector>

class Limit
{
public:
    // Reads the limit; UsageError when it cannot be read, is no curve, has
    // no drawable value or holds a value no measurement holds
    // (UnmeasurablePoint).
    Limit(std::string path, float serialResistor);

    const std::string& path() const { return path_; }
    CurveKind kind() const { return kind_; }
    // Rising frequency, at least one.
    const std::vector<BandPoint>& points() const { return points_; }

    // The limit's points for curves of the kind, or why it has none (it is
    // a limit of the other kind).
    std::variant<std::vector<BandPoint>, std::string> PointsFor(CurveKind kind) const;

private:
    std::string path_;
    CurveKind kind_ = CurveKind::Response;
    std::vector<BandPoint> points_;
};

// "a frequency response" or "an impedance curve".
std::string CurveKindWords(CurveKind kind);
