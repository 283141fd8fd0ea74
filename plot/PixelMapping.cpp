#include "plot/PixelMapping.h"

#include "curves/ArithmeticFault.h"

FreqMapping ComputeFreqMapping(float viewFreqLow, float viewFreqHigh, int width)
{
    const long double lnLow = CheckedLn(viewFreqLow);
    const long double lnHigh = CheckedLn(viewFreqHigh);
    FreqMapping m;
    m.FrequencyScale = static_cast<float>(CheckedDiv(width * 1.0L, lnHigh - lnLow));
    m.FrequencyOffset = static_cast<float>(-lnLow * m.FrequencyScale);
    return m;
}

int FreqToX(const FreqMapping& m, long double frequency)
{
    return CheckedRound(CheckedLn(frequency) * m.FrequencyScale + m.FrequencyOffset);
}
