#include "plot/ReadOut.h"

#include "curves/ArithmeticFault.h"
#include "plot/PixelMapping.h"
#include "plot/TextFormat.h"

#include <cmath>
#include <limits>

namespace
{

// SigWin's offset inside SigWinFrame.
constexpr int kSigWinInset = 2;

// A read-out number stored in single precision; one that does not fit, or is
// not finite, is a fault like a float overflow of the legacy unit.
float toSingle(long double v)
{
    if (!(std::fabs(v) <= std::numeric_limits<float>::max()))
        throw ArithmeticFault(FaultKind::FloatOverflow);
    return static_cast<float>(v);
}

// The data-window pixel under a pointer position in frame coordinates (whole
// at a ratio of 1, so then exactly position - inset).
long double pixelUnder(double framePosition, double ratio)
{
    return std::floor((static_cast<long double>(framePosition) - kSigWinInset) * ratio + 0.5L);
}

std::string readOutOrFault(float viewFreqLow, float viewFreqHigh, const AxisScales& scales,
    int width, int height, double frameX, double frameY, double ratio)
{
    const FreqMapping m = ComputeFreqMapping(viewFreqLow, viewFreqHigh, width);
    // long double products of 32-bit values: exact for every screen size.
    const long double x = pixelUnder(frameX, ratio);
    const long double y = pixelUnder(frameY, ratio);
    const long double h = height;

    const float f = toSingle(std::exp(CheckedDiv(x - m.FrequencyOffset, m.FrequencyScale)));
    const float level = toSingle(scales.LevelTop - CheckedDiv(y * scales.LevelRange, h));
    const long double rowsBelow = h - y - 1;
    const float impedance = toSingle(
        (scales.ImpedanceBase + CheckedDiv(8.0L * scales.ImpedanceStep * rowsBelow, h)) / 10.0L);

    return "f: " + FormatFixed(3, 0, f) + " Hz   y: " + FormatFixed(3, 1, level) + " dBxx    "
        + FormatFixed(3, 1, impedance) + " Ohm";
}

} // namespace

std::string CursorOutText(float viewFreqLow, float viewFreqHigh, const AxisScales& scales,
    int width, int height, double frameX, double frameY, double ratio)
{
    try {
        return readOutOrFault(
            viewFreqLow, viewFreqHigh, scales, width, height, frameX, frameY, ratio);
    } catch (const ArithmeticFault&) {
        return {};
    }
}
