#pragma once
// Limit curves of `check` and `render`: a curve file (of one kind) or a text
// read for either kind.

#include "curves/CurveInfo.h"

#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

class Limit
{
public:
    // Reads the limit; UsageError when it cannot be read or is no curve.
    Limit(std::string path, float serialResistor);

    // The limit's points for curves of the kind, or why it has none.
    std::variant<std::vector<BandPoint>, std::string> PointsFor(CurveKind kind);

private:
    std::string path_;
    std::string text_;
    std::optional<CurveKind> curveKind_; // set for a curve file
    std::map<CurveKind, std::vector<BandPoint>> points_;
};
