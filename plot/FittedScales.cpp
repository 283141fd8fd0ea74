#include "plot/FittedScales.h"

#include "plot/StepRules.h"

#include <algorithm>
#include <cmath>

namespace
{

constexpr int32_t kLevelLimit = 160; // dB, the top's and the bottom's furthest
constexpr int32_t kWidestLevelRange = 120;
constexpr int32_t kCoarsestImpedanceStep = 2000; // tenths of an Ohm

// The top on the range's step at or above the level, the bottom edge kept
// above -160 dB.
int32_t TopAbove(double level, int32_t range)
{
    const int32_t step = range >= 40 ? 10 : 5;
    const double top = step * std::ceil(std::clamp(level, -1e4, 1e4) / step);
    return int32_t(std::clamp(top, double(range - kLevelLimit), double(kLevelLimit)));
}

void FitLevels(double minimum, double maximum, AxisScales& scales)
{
    scales.LevelRange = 20;
    scales.LevelTop = TopAbove(maximum, scales.LevelRange);
    while (scales.LevelTop - scales.LevelRange > minimum && scales.LevelRange < kWidestLevelRange) {
        CoarserLevelRange(scales);
        scales.LevelTop = TopAbove(maximum, scales.LevelRange);
    }
}

void FitImpedances(double maximum, AxisScales& scales)
{
    scales.ImpedanceBase = 0;
    scales.ImpedanceStep = 5;
    while (8.0 * scales.ImpedanceStep < 10.0 * maximum
        && scales.ImpedanceStep < kCoarsestImpedanceStep)
        CoarserImpedanceStep(scales);
}

} // namespace

AxisScales FittedScales(
    CurveKind kind, std::optional<double> minimum, std::optional<double> maximum, AxisScales scales)
{
    if (!minimum || !maximum)
        return scales;
    if (kind == CurveKind::Response)
        FitLevels(*minimum, *maximum, scales);
    else
        FitImpedances(*maximum, scales);
    return scales;
}
