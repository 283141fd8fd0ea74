#include "plot/StepRules.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

namespace
{

int32_t saturateToInt32(int64_t v)
{
    return static_cast<int32_t>(std::clamp<int64_t>(
        v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

// The multiple of ten the level top snaps to. Halves go to even N, which is
// exact here: LevelTop / 10 + 50 is a whole or half number only when it is one
// exactly. The outermost multiples of ten inside 32 bits bound the result.
int32_t snappedLevelTop(int32_t levelTop)
{
    const auto n = static_cast<int64_t>(std::nearbyint(levelTop / 10.0L + 50.0L));
    constexpr int64_t kLimit = std::numeric_limits<int32_t>::max() / 10 * 10;
    return static_cast<int32_t>(std::clamp<int64_t>(10 * n - 500, -kLimit, kLimit));
}

int32_t levelStep(int32_t levelRange)
{
    switch (levelRange) {
    case 5:
        return 1;
    case 10:
        return 2;
    case 20:
    case 30:
        return 5;
    default:
        return levelRange >= 40 ? 10 : 0;
    }
}

constexpr int64_t kImpedanceTopLimit = 24000; // tenths of an Ohm

// R(v): nearest integer, halves to even, kept as a float.
float nearest(float v)
{
    return std::nearbyint(v);
}

float lowerEdgeSteppedDown(float fL, float firstLimit)
{
    if (fL <= firstLimit)
        return 10.0f;
    if (fL <= 50.0f)
        return fL - 10.0f;
    if (fL <= 100.0f)
        return 50.0f;
    if (fL <= 500.0f)
        return fL - 100.0f;
    return 500.0f;
}

} // namespace

void ShiftLevelTop(AxisScales& scales, bool up)
{
    if (scales.LevelRange >= 40)
        scales.LevelTop = snappedLevelTop(scales.LevelTop);
    const int32_t step = levelStep(scales.LevelRange);
    // The snap keeps the top within ten of the 32-bit limits, and the tests
    // below keep the step away from them.
    if (up && scales.LevelTop < 160)
        scales.LevelTop += step;
    if (!up && scales.LevelTop > int64_t {scales.LevelRange} - 160)
        scales.LevelTop -= step;
}

void FinerLevelRange(AxisScales& scales)
{
    if (scales.LevelRange > 60)
        scales.LevelRange -= 20;
    else if (scales.LevelRange > 10)
        scales.LevelRange -= 10;
    else
        scales.LevelRange = 5;
}

void CoarserLevelRange(AxisScales& scales)
{
    if (scales.LevelRange == 5)
        scales.LevelRange = 10;
    else if (scales.LevelRange < 60)
        scales.LevelRange += 10;
    else if (scales.LevelRange < 120)
        scales.LevelRange += 20;
    else
        scales.LevelRange = 120;
}

void ImpedanceUp(AxisScales& scales)
{
    const int64_t step = scales.ImpedanceStep;
    const int64_t base = scales.ImpedanceBase;
    if (10 * step + base < kImpedanceTopLimit)
        scales.ImpedanceBase = saturateToInt32(base + 2 * step);
}

void ImpedanceDown(AxisScales& scales)
{
    const int64_t step = scales.ImpedanceStep;
    const int64_t base = scales.ImpedanceBase;
    scales.ImpedanceBase = 2 * step < base ? saturateToInt32(base - 2 * step) : 0;
}

void FinerImpedanceStep(AxisScales& scales)
{
    switch (scales.ImpedanceStep) {
    case 5:
        scales.ImpedanceStep = 2;
        break;
    case 10:
        scales.ImpedanceStep = 5;
        break;
    case 20:
        scales.ImpedanceStep = 10;
        break;
    case 50:
        scales.ImpedanceStep = 20;
        break;
    case 100:
        scales.ImpedanceStep = 50;
        break;
    case 200:
        scales.ImpedanceStep = 100;
        break;
    case 500:
        scales.ImpedanceStep = 200;
        break;
    case 1000:
        scales.ImpedanceStep = 500;
        break;
    default:
        scales.ImpedanceStep = 1000;
        break;
    }
    // The step is now at most 1000, so the new base is at least 16000.
    const int64_t top = 8 * int64_t {scales.ImpedanceStep} + scales.ImpedanceBase;
    if (top > kImpedanceTopLimit)
        scales.ImpedanceBase = static_cast<int32_t>(kImpedanceTopLimit - 8 * scales.ImpedanceStep);
}

void CoarserImpedanceStep(AxisScales& scales)
{
    switch (scales.ImpedanceStep) {
    case 5:
        scales.ImpedanceStep = 10;
        break;
    case 10:
        scales.ImpedanceStep = 20;
        break;
    case 20:
        scales.ImpedanceStep = 50;
        break;
    case 50:
        scales.ImpedanceStep = 100;
        break;
    case 100:
        scales.ImpedanceStep = 200;
        break;
    case 200:
        scales.ImpedanceStep = 500;
        break;
    case 500:
        scales.ImpedanceStep = 1000;
        break;
    case 1000:
        scales.ImpedanceStep = 2000;
        break;
    default:
        scales.ImpedanceStep = 5;
        break;
    }
}

void ScrollFreqDown(PlotState& plot)
{
    const float ratio = plot.ViewFreqHigh / plot.ViewFreqLow;
    plot.ViewFreqLow = lowerEdgeSteppedDown(plot.ViewFreqLow, 10.0f);
    plot.ViewFreqHigh = plot.ViewFreqLow * ratio;
}

void ScrollFreqUp(PlotState& plot)
{
    const float ratio = plot.ViewFreqHigh / plot.ViewFreqLow;
    float& fH = plot.ViewFreqHigh;
    if (fH >= 20000.0f)
        fH = 30000.0f;
    else if (fH >= 10000.0f)
        fH = 20000.0f;
    else if (fH >= 5000.0f)
        fH = 10000.0f;
    else if (fH >= 1000.0f)
        fH += 1000.0f;
    else if (fH >= 500.0f)
        fH = 1000.0f;
    else
        fH = 500.0f;
    plot.ViewFreqLow = fH / ratio;
}

void ZoomFreqIn(PlotState& plot)
{
    float& fL = plot.ViewFreqLow;
    const float rL = nearest(fL);
    if (rL == 500.0f)
        fL = 1000.0f;
    else if (rL >= 100.0f && rL <= 400.0f)
        fL += 100.0f;
    else if (rL == 50.0f)
        fL = 100.0f;
    else if (rL >= 10.0f && rL <= 40.0f)
        fL += 10.0f;

    float& fH = plot.ViewFreqHigh;
    const float rH = nearest(fH);
    if (rH >= 2000.0f && rH <= 5000.0f)
        fH -= 1000.0f;
    else if (rH == 10000.0f)
        fH = 5000.0f;
    else if (rH == 20000.0f)
        fH = 10000.0f;
    else
        fH = 20000.0f;

    if (fH / fL < 4.0f)
        fH = 4.0f * fL;
}

void ZoomFreqOut(PlotState& plot)
{
    float& fH = plot.ViewFreqHigh;
    const float rH = nearest(fH);
    if (rH < 1000.0f)
        fH += 100.0f;
    else if (rH <= 4000.0f)
        fH += 1000.0f;
    else if (rH == 5000.0f)
        fH = 10000.0f;
    else if (rH == 10000.0f)
        fH = 20000.0f;
    else
        fH = 30000.0f;
    plot.ViewFreqLow = lowerEdgeSteppedDown(plot.ViewFreqLow, 20.0f);
}

std::vector<std::string> UnreachableScaleFields(const AxisScales& scales)
{
    constexpr std::array<int32_t, 10> kLevelRanges {5, 10, 20, 30, 40, 50, 60, 80, 100, 120};
    constexpr std::array<int32_t, 10> kImpedanceSteps {2, 5, 10, 20, 50, 100, 200, 500, 1000, 2000};
    // The top stops moving up at 160 dB and down when the bottom edge reaches
    // -160 dB; with steps of 1 to 10 dB it ends between -155 (range 5) and 164
    // (range 20 or 30, stepping 5 from 159), and the snap to a multiple of ten
    // of the wider ranges takes -155 on to -160.
    constexpr int32_t kLowestLevelTop = -160;
    constexpr int32_t kHighestLevelTop = 164;
    // The base moves up by two steps only while 10 steps + base < 24000, so it
    // stays below 24000 - 8 steps, at most 23982 with the smallest step 2;
    // every move (two steps, or down to 24000 - 8 steps) keeps it even.
    constexpr int32_t kHighestImpedanceBase = 23982;

    std::vector<std::string> names;
    if (std::ranges::find(kLevelRanges, scales.LevelRange) == kLevelRanges.end())
        names.emplace_back("LevelRange");
    if (scales.LevelTop < kLowestLevelTop || scales.LevelTop > kHighestLevelTop)
        names.emplace_back("LevelTop");
    if (std::ranges::find(kImpedanceSteps, scales.ImpedanceStep) == kImpedanceSteps.end())
        names.emplace_back("ImpedanceStep");
    if (scales.ImpedanceBase < 0 || scales.ImpedanceBase > kHighestImpedanceBase
        || scales.ImpedanceBase % 2 != 0)
        names.emplace_back("ImpedanceBase");
    return names;
}
