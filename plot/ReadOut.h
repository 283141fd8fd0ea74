#pragma once
// The mouse read-out of the data window: frequency, level and impedance
// under the pointer, as shown in Positionslabel.

#include "plot/PlotState.h"

#include <string>

// Text for a pointer at (frameX, frameY) in SigWinFrame coordinates. SigWin
// (width W, height H pixels) lies at (2, 2) inside its frame, so the pointer
// is over data-window pixel x = frameX - 2, y = frameY - 2:
//   f = exp((x - b) / a) Hz, a and b the single-precision frequency mapping;
//   L = LevelTop - y LevelRange / H dB (a real division);
//   Z = (ImpedanceBase + 8 ImpedanceStep (H - y - 1) / H) / 10 Ohm, the
//       impedance of row y + 1, one row below the level's.
// Each number is stored in single precision and written by FormatFixed:
//   "f: " f(3, 0) " Hz   y: " L(3, 1) " dBxx    " Z(3, 1) " Ohm"
// e.g. "f:  20 Hz   y: 100.0 dBxx    39.8 Ohm". Positions outside the data
// window are read out too (frame row 1 reads above LevelTop).
//
// At a device pixel ratio r above 1, W and H are the data window's size in
// device pixels and the pointer (in window pixels, with fractions) is over the
// device pixel x = round((frameX - 2) r), y = round((frameY - 2) r): the same
// rules read the picture drawn for the device pixels.
//
// Any arithmetic failure (W or H of 0, equal or non-positive frequency
// edges, a number that is not finite in single precision) gives the empty
// text; nothing is reported and nothing throws.
std::string CursorOutText(float viewFreqLow, float viewFreqHigh, const AxisScales& scales,
    int width, int height, double frameX, double frameY, double ratio = 1);
