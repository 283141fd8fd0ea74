#pragma once
// Texts and positions of the labels on the three axis strips around SigWin.
// The painters fill their strip and write each text with its top-left corner
// at (x, y) in strip coordinates, in the order returned. Labels that fall
// partly or wholly outside a strip are returned anyway; the strip clips them.

#include <cstdint>
#include <string>
#include <vector>

struct LabelText {
    std::string text;
    int x = 0;
    int y = 0;

    bool operator==(const LabelText&) const = default;
};

// Level strip (yAchse, dB). With n divisions of the data window height H:
//   range 5              : n = 10, label i = FormatFixed(8, 1, top - 0.5 i)
//   range 10/20/30/50/100: n = 10, label i = top - (i range) div 10
//   range 40/80          : n = 8,  label i = top - (i range) div 8
//   range 60/120         : n = 12, label i = top - (i range) div 12
// for i = 1 .. n - 1 (the edges carry no label); integer labels are written
// in decimal and padded with blanks to 8 characters. Label i stands at x = 5,
// y = (i H) div n - 2, div truncating toward zero. Any other range gives no
// numbers. Always followed by "dBxx" at (14, 1). Computed in 64 bits, so no
// top value can overflow; the 0.5 dB labels pass through single precision.
std::vector<LabelText> LevelAxisLabels(int32_t levelRange, int32_t levelTop, int height);

// Impedance strip (yAchseR, Ohm). Step and base are in tenths of an Ohm.
// For i = 1 .. 7 the value ((8 - i) step + base) / 10 Ohm at x = 0,
// y = (i H) div 8 - 2; then the bottom value base / 10 at (0, H - 8); then
// "Ohm" at (7, 1). The top edge carries no label.
//
// Each value is rounded to four significant digits and written in fixed
// notation with exactly one digit after the point, padded with blanks to 8
// characters: 35.0 -> "    35.0", 0.5 -> "     0.5", 2400.0 -> "  2400.0",
// 1234.5 -> "  1234.0", 1235.5 -> "  1236.0", 12345.6 -> " 12350.0",
// 99995.0 -> "100000.0" (halves to even, as every rounding of the program). Values below 1000.0 are
// exact, since they are whole tenths. Computed in 64-bit integers, so absurd scales from an edited
// settings file give long texts, never an overflow.
std::vector<LabelText> ImpedanceAxisLabels(
    int32_t impedanceStep, int32_t impedanceBase, int height);

// Frequency strip (xAchse) for the window viewFreqLow .. viewFreqHigh (Hz) over
// the data window width W. With r = W / (ln high - ln low) and
// s = 10 - r ln low, each stored in single precision, the label of f stands at
// y = 1, x = round(r ln f + s), halves to even: 10 pixels right of FreqToX(f).
// Labels in this order and when they appear:
//   "1" "1.5" "2" "3" "5"   low < 10
//   "10" "15" "20"          always
//   "30"                    high >= 30
//   "50" "100" "200"        always
//   "300" "500" "1k" "2k" "3k" "5k"   high >= 300, 500, 1000, 2000, 3000, 5000
//   "8k"                    high exactly 8000
//   "15k" (at 15000 Hz)     high exactly 16000
//   "10k" "20k" "30k" "40k" high >= 10000, 20000, 30000, 40000
// then "Hz" at y = 1, x = 20 + round(r ln high + s). All comparisons use the
// single-precision edges. The caller raises low to 5 Hz first; it is not
// clamped here.
//
// Faults: equal edges, an edge that is 0, negative or not finite, or a column
// that does not fit 32 bits give no labels at all (an empty list), so the
// painter only fills the strip.
std::vector<LabelText> FrequencyAxisLabels(float viewFreqLow, float viewFreqHigh, int width);
