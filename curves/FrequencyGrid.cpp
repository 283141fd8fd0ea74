#include "curves/FrequencyGrid.h"

#include <initializer_list>

int LevelDivisions(int32_t levelRange)
{
    switch (levelRange) {
    case 5:
    case 10:
    case 15:
    case 20:
    case 30:
    case 50:
    case 100:
        return 10;
    case 40:
    case 80:
        return 8;
    case 60:
    case 120:
        return 12;
    default:
        return 0;
    }
}

namespace
{

std::vector<int> GridRows(int height, int32_t levelRange)
{
    const int divisions = LevelDivisions(levelRange);
    std::vector<int> rows;
    for (int i = 1; i < divisions; ++i)
        rows.push_back(height * i / divisions);
    return rows;
}

std::vector<int> GridColumns(float viewFreqLow, float viewFreqHigh, const FreqMapping& mapping)
{
    std::vector<int> columns;
    auto add = [&](std::initializer_list<int> frequencies) {
        for (int f : frequencies)
            columns.push_back(FreqToX(mapping, f));
    };
    if (viewFreqLow < 10)
        add({5, 6, 7, 8, 9});
    if (viewFreqLow < 20)
        add({10, 15});
    if (viewFreqLow < 40)
        add({20, 30});
    add({40, 50, 60, 70, 80, 90, 100});
    add({150});
    add({200, 300, 400, 500, 600, 700, 800, 900, 1000});
    add({1500});
    add({2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000, 10000});
    add({15000});
    // The right edge itself gets no line: 20 kHz only when the window reaches beyond it.
    if (viewFreqHigh > 20000)
        add({30000, 20000});
    return columns;
}

} // namespace

FrequencyGrid ComputeFrequencyGrid(int height, int32_t levelRange, float viewFreqLow,
    float viewFreqHigh, const FreqMapping& mapping)
{
    return {GridRows(height, levelRange), GridColumns(viewFreqLow, viewFreqHigh, mapping)};
}
