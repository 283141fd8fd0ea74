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

std::string readOutOrFault(float viewFreqLow, float viewFreqHigh, const AxisScales& scales,
    int width, int height, int frameX, int frameY)
{
    const FreqMapping m = ComputeFreqMapping(viewFreqLow, viewFreqHigh, width);
    // long double products of 32-bit values: exact for every screen size.
    const long double x = static_cast<long double>(frameX) - kSigWinInset;
    const long double y = static_cast<long double>(frameY) - kSigWinInset;
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
    int width, int height, int frameX, int frameY)
{
    try {
        return readOutOrFault(viewFreqLow, viewFreqHigh, scales, width, height, frameX, frameY);
    } catch (const ArithmeticFault&) {
        return {};
    }
}
