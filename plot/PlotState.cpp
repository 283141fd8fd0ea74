#include "plot/PlotState.h"

PlotState Plot;
int32_t DisplayKind = 7;

AxisScales ScalesOf(const SettingsRecord& record)
{
    return {record.LevelRange, record.LevelTop, record.ImpedanceStep, record.ImpedanceBase};
}

void StoreScales(SettingsRecord& record, const AxisScales& scales)
{
    record.LevelRange = scales.LevelRange;
    record.LevelTop = scales.LevelTop;
    record.ImpedanceStep = scales.ImpedanceStep;
    record.ImpedanceBase = scales.ImpedanceBase;
}
