#pragma once
// Step rules of the eight navigation buttons. Each changes the plot state in
// place and cannot fail; the caller relabels and redraws afterwards.
//
// Values read from an edited settings file outside the sets the rules produce
// are stepped by the rules for "any other value". Integer results are
// computed in 64 bits; a result that would not fit 32 bits (only possible with
// absurd settings) is held at the nearest 32-bit value instead of wrapping.

#include "plot/PlotState.h"

#include <string>
#include <vector>

// Level axis (LevelRange and LevelTop in dB).
//
// With a range of 40 or more, LevelTop is first snapped to a multiple of 10:
// LevelTop := 10 N - 500, N = round(LevelTop / 10 + 50), halves to even (15
// and 25 both give 20, 35 and 45 both give 40). Then it moves by the step of
// the range (1 dB at 5, 2 at 10, 5 at 20 and 30, 10 at 40 and above, 0 for
// any other range): up only while LevelTop < 160, down only while the bottom
// edge LevelTop - LevelRange lies above -160 dB.
void ShiftLevelTop(AxisScales& scales, bool up);
// 120 -> 100 -> 80 -> 60 -> 50 -> ... -> 10 -> 5, and 5 stays; the top stays.
void FinerLevelRange(AxisScales& scales);
// 5 -> 10 -> ... -> 60 -> 80 -> 100 -> 120, and 120 stays; the top stays.
void CoarserLevelRange(AxisScales& scales);

// Impedance axis (ImpedanceStep and ImpedanceBase in tenths of an Ohm; the
// window spans 8 steps above the base).
//
// Up: base += 2 steps while 10 steps + base < 24000, so the top stays below
// 2400.0 Ohm.
void ImpedanceUp(AxisScales& scales);
// Down: base -= 2 steps when 2 steps < base, otherwise base := 0.
void ImpedanceDown(AxisScales& scales);
// Step 5 -> 2, 10 -> 5, 20 -> 10, 50 -> 20, 100 -> 50, 200 -> 100, 500 -> 200,
// 1000 -> 500, any other -> 1000 (so 2 wraps to 1000). Then the base is
// lowered to 24000 - 8 steps if the top would lie above 2400.0 Ohm.
void FinerImpedanceStep(AxisScales& scales);
// Step 5 -> 10 -> 20 -> 50 -> 100 -> 200 -> 500 -> 1000 -> 2000, any other
// -> 5 (so 2000 wraps to 5). The top is not limited.
void CoarserImpedanceStep(AxisScales& scales);

// Frequency axis (ViewFreqLow fL and ViewFreqHigh fH in Hz). Arithmetic and
// comparisons are in single precision; R(v) is v rounded to the nearest
// integer, halves to even, compared without any integer conversion, so
// absurd, infinite or NaN edges step by the "otherwise" branches and never
// overflow.
//
// Left: the range moves down keeping its ratio fH / fL: fL := 10 if fL <= 10,
// fL - 10 if <= 50, 50 if <= 100, fL - 100 if <= 500, else 500; then
// fH := fL * ratio.
void ScrollFreqDown(PlotState& plot);
// Right: the range moves up keeping its ratio: fH := 30000 if fH >= 20000,
// 20000 if >= 10000, 10000 if >= 5000, fH + 1000 if >= 1000, 1000 if >= 500,
// else 500; then fL := fH / ratio.
void ScrollFreqUp(PlotState& plot);
// Zoom in: fL := 1000 if R(fL) = 500, fL + 100 if R(fL) in 100..400, 100 if
// R(fL) = 50, fL + 10 if R(fL) in 10..40, else unchanged. fH := fH - 1000 if
// R(fH) in 2000..5000, 5000 if R(fH) = 10000, 10000 if R(fH) = 20000, else
// 20000. Finally fH := 4 fL if fH / fL < 4.
void ZoomFreqIn(PlotState& plot);
// Zoom out: fH := fH + 100 if R(fH) < 1000, fH + 1000 if R(fH) <= 4000, 10000
// if R(fH) = 5000, 20000 if R(fH) = 10000, else 30000. fL := 10 if fL <= 20,
// fL - 10 if <= 50, 50 if <= 100, fL - 100 if <= 500, else 500.
void ZoomFreqOut(PlotState& plot);

// The scales the buttons reach from any state they produce, field by field:
// LevelRange     one of 5, 10, 20, 30, 40, 50, 60, 80, 100, 120
// LevelTop       -160 to 164 dB
// ImpedanceStep  one of 2, 5, 10, 20, 50, 100, 200, 500, 1000, 2000
// ImpedanceBase  an even number from 0 to 23982 (tenths of an Ohm)
// Returns the names of the fields outside those sets, in that order.
std::vector<std::string> UnreachableScaleFields(const AxisScales& scales);
