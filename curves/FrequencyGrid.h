#pragma once
// The grid of the data window: horizontal lines at the divisions of the level
// scale and vertical lines at round frequencies on the logarithmic axis.

#include "plot/PixelMapping.h"

#include <cstdint>
#include <vector>

// The divisions of the level axis for a span in dB: ten for 5, 10, 15, 20,
// 30, 50 or 100, eight for 40 or 80, twelve for 60 or 120, 0 (no rows) for
// any other span.
int LevelDivisions(int32_t levelRange);

struct FrequencyGrid {
    std::vector<int> rows; // each a line from (0, y) to (W, y), in drawing order
    std::vector<int> columns; // each a line from (x, 0) to (x, H), in drawing order
    bool operator==(const FrequencyGrid&) const = default;
};

// The grid lines of a window `height` pixels high showing viewFreqLow to
// viewFreqHigh Hz through `mapping` (see ComputeFreqMapping).
//
// Rows, y = height * i div d (integer division): ten divisions (i = 1..9) for
// a level range of 5, 10, 15, 20, 30, 50 or 100 dB, eight (i = 1..7) for 40
// or 80, twelve (i = 1..11) for 60 or 120, no rows for any other range.
//
// Columns, in this order: 5..9 Hz if viewFreqLow < 10; 10 and 15 Hz if
// viewFreqLow < 20; 20 and 30 Hz if viewFreqLow < 40; 40..100 Hz in steps of
// 10; 150; 200..1000 in steps of 100; 1500; 2000..10000 in steps of 1000;
// 15000; and if viewFreqHigh > 20000, 30000 then 20000 Hz. Columns outside
// 0..W are kept (the picture clips them).
//
// Faults: a column that does not fit 32 bits throws ArithmeticFault
// (InvalidOperation) from FreqToX.
FrequencyGrid ComputeFrequencyGrid(int height, int32_t levelRange, float viewFreqLow,
    float viewFreqHigh, const FreqMapping& mapping);
