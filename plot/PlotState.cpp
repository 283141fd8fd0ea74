#include "plot/PlotState.h"

PlotState Plot;
int32_t DisplayKind = 7;
