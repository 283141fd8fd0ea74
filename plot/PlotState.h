#pragma once
// The plot state shared by the grid, the curve drawers, the axis labels and
// the read-out. The level and impedance scales live in the settings record.

#include "app/SettingsRecord.h"

#include <cstdint>

struct PlotState {
    float ViewFreqLow = 20.0f; // Hz at the left edge of SigWin (not saved)
    float ViewFreqHigh = 20000.0f; // Hz at the right edge
    int32_t ActiveDisplayKind = 0; // y axis labelled last: 4 impedance, 5/6/7 level
    int32_t FreqAxisKind = 0; // 0 until the x axis is first labelled, then 14
};

// The four axis scales, copied from (and back to) the settings record.
struct AxisScales {
    int32_t LevelRange = 60; // dB span of the data window height
    int32_t LevelTop = 100; // dB at the top edge
    int32_t ImpedanceStep = 50; // tenths of an Ohm per division (8 divisions)
    int32_t ImpedanceBase = 0; // tenths of an Ohm at the bottom edge
};

constexpr int32_t kImpedanceKind = 4;
constexpr int32_t kLogFrequencyAxis = 14;

extern PlotState Plot;
extern int32_t DisplayKind; // 5, 6 or 7, fixed at start-up

// The axis scales of a settings record, and back.
AxisScales ScalesOf(const SettingsRecord& record);
void StoreScales(SettingsRecord& record, const AxisScales& scales);
