#pragma once
// State shared by the load flows, the y buttons and the redraw.

#include "curves/ColourCycle.h"

#include <string>

// "--" when no curve kind is selected, the extension while a file is being
// chosen, "H2" after a frequency response, "Z2" after an impedance curve.
extern std::string CurveKindText;
// The name of the last file choice of either flow (empty after a cancel).
extern std::string CurveName;
// The folder of the last curve opened from the command line, which the curve
// boxes list for the rest of the run; empty when none was opened.
extern std::string CommandLineCurveFolder;
// The colour of the last curve drawn by a load.
extern CurveColourCycle CurveColours;

// The name without its extension (without the last point and what follows).
std::string WithoutExtension(const std::string& name);
