#pragma once
// Scales chosen for one curve, so that its whole trace fills most of a small
// picture (a file manager's thumbnail): values the viewer's own steps reach.

#include "curves/CurveInfo.h"
#include "plot/PlotState.h"

#include <optional>

// For a response: the finest level range of 20 dB or more (up to 120 dB)
// that holds the levels from minimum to maximum below a top on the range's
// step (5 dB up to 30 dB, 10 dB above), within -160 ... 160 dB. For an
// impedance curve: the base at 0 Ohm and the finest step from 0.5 Ohm (up to
// 200 Ohm) whose eight divisions reach the maximum. Without values (nothing
// drawable) the scales stay as given.
AxisScales FittedScales(CurveKind kind, std::optional<double> minimum,
    std::optional<double> maximum, AxisScales scales);
