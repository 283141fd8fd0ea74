#include "plot/AxisLabels.h"

#include "curves/ArithmeticFault.h"
#include "curves/FrequencyGrid.h"
#include "plot/PixelMapping.h"
#include "plot/TextFormat.h"

namespace
{

constexpr int kLabelWidth = 8;

// The labels follow the grid's divisions, except that a 15 dB span, which
// the grid divides in ten, carries no labels.
int LevelLabelDivisions(int32_t levelRange)
{
    return levelRange == 15 ? 0 : LevelDivisions(levelRange);
}

int divisionRow(int i, int height, int divisions)
{
    return static_cast<int>(int64_t {i} * height / divisions) - 2;
}

std::string levelText(int32_t levelRange, int32_t levelTop, int i, int divisions)
{
    if (levelRange == 5)
        return FormatFixed(kLabelWidth, 1, static_cast<float>(levelTop - 0.5 * i));
    const int64_t value = int64_t {levelTop} - int64_t {i} * levelRange / divisions;
    return PadLeft(std::to_string(value), ' ', kLabelWidth);
}

// Whole tenths of an Ohm rounded to four significant digits (halves to even)
// and written with one decimal.
std::string impedanceText(int64_t tenths)
{
    uint64_t magnitude = static_cast<uint64_t>(tenths);
    if (tenths < 0)
        magnitude = 0 - magnitude;
    uint64_t unit = 1;
    while (magnitude / unit >= 10000)
        unit *= 10;
    uint64_t kept = magnitude / unit;
    const uint64_t rest = magnitude % unit;
    if (rest > unit - rest || (rest == unit - rest && kept % 2 == 1))
        ++kept;
    magnitude = kept * unit;
    const std::string digits
        = std::to_string(magnitude / 10) + '.' + std::to_string(magnitude % 10);
    return PadLeft(tenths < 0 ? '-' + digits : digits, ' ', kLabelWidth);
}

struct FrequencyLabel {
    const char* text;
    long double frequency;
    bool shown;
};

std::vector<FrequencyLabel> frequencyLabelTable(float low, float high)
{
    const bool below10 = low < 10.0f;
    return {
        {"1", 1.0L, below10},
        {"1.5", 1.5L, below10},
        {"2", 2.0L, below10},
        {"3", 3.0L, below10},
        {"5", 5.0L, below10},
        {"10", 10.0L, true},
        {"15", 15.0L, true},
        {"20", 20.0L, true},
        {"30", 30.0L, high >= 30.0f},
        {"50", 50.0L, true},
        {"100", 100.0L, true},
        {"200", 200.0L, true},
        {"300", 300.0L, high >= 300.0f},
        {"500", 500.0L, high >= 500.0f},
        {"1k", 1000.0L, high >= 1000.0f},
        {"2k", 2000.0L, high >= 2000.0f},
        {"3k", 3000.0L, high >= 3000.0f},
        {"5k", 5000.0L, high >= 5000.0f},
        {"8k", 8000.0L, high == 8000.0f},
        {"15k", 15000.0L, high == 16000.0f},
        {"10k", 10000.0L, high >= 10000.0f},
        {"20k", 20000.0L, high >= 20000.0f},
        {"30k", 30000.0L, high >= 30000.0f},
        {"40k", 40000.0L, high >= 40000.0f},
    };
}

std::vector<LabelText> frequencyLabelsOrFault(float low, float high, int width)
{
    // r is the frequency scale of the data window; s is computed on its own
    // (not from the stored offset) and stored in single precision.
    const float r = ComputeFreqMapping(low, high, width).FrequencyScale;
    const float s = static_cast<float>(10.0L - r * CheckedLn(low));
    auto column = [&](long double f) { return CheckedRound(r * CheckedLn(f) + s); };

    std::vector<LabelText> labels;
    for (const FrequencyLabel& label : frequencyLabelTable(low, high)) {
        if (label.shown)
            labels.push_back({label.text, column(label.frequency), 1});
    }
    labels.push_back({"Hz", 20 + column(high), 1});
    return labels;
}

} // namespace

std::vector<LabelText> LevelAxisLabels(int32_t levelRange, int32_t levelTop, int height)
{
    std::vector<LabelText> labels;
    const int n = LevelLabelDivisions(levelRange);
    for (int i = 1; i < n; ++i)
        labels.push_back({levelText(levelRange, levelTop, i, n), 5, divisionRow(i, height, n)});
    labels.push_back({"dBxx", 14, 1});
    return labels;
}

std::vector<LabelText> ImpedanceAxisLabels(int32_t impedanceStep, int32_t impedanceBase, int height)
{
    std::vector<LabelText> labels;
    for (int i = 1; i <= 7; ++i) {
        const int64_t tenths = int64_t {8 - i} * impedanceStep + impedanceBase;
        labels.push_back({impedanceText(tenths), 0, divisionRow(i, height, 8)});
    }
    labels.push_back({impedanceText(impedanceBase), 0, height - 8});
    labels.push_back({"Ohm", 7, 1});
    return labels;
}

std::vector<LabelText> FrequencyAxisLabels(float viewFreqLow, float viewFreqHigh, int width)
{
    try {
        return frequencyLabelsOrFault(viewFreqLow, viewFreqHigh, width);
    } catch (const ArithmeticFault&) {
        return {};
    }
}
