#pragma once
// State shared by the load flows, the y buttons and the redraw.

#include <string>

// "--" when no curve kind is selected, the extension while a file is being
// chosen, "H2" after a frequency response, "Z2" after an impedance curve.
extern std::string CurveKindText;
// The name of the last file choice of either flow (empty after a cancel).
extern std::string CurveName;
