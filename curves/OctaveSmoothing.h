#pragma once
// Fractional-octave smoothing of a curve's bins, as acoustic measurement
// tools smooth a response: each bin's power averaged over the bins within
// +-1/(2N) octave of it.

#include "curves/CurveFile.h"

#include <optional>
#include <span>
#include <string>

// 1/N of an octave for N = 1, 2, 3, 6, 12, 24 or 48 ("1/3"); nothing for
// any other text.
std::optional<int> ParseSmoothingFraction(const std::string& text);

// True for the N of a smoothing ParseSmoothingFraction accepts.
bool IsSmoothingFraction(int fraction);

// "smoothed to 1/3 octave"; "unsmoothed" for fraction 0.
std::string SmoothingWords(int fraction);

// Smooths the values of bins firstBin ... firstBin + values.size() - 1 over
// 1/fraction octave: each drawable value (> 0 and finite) becomes the root
// mean square of the drawable values in its window, the power average of
// its level or impedance. The window of bin i holds the bins j within
// +-1/(2N) octave of it, i 2^(-1/(2N)) <= j <= i 2^(1/(2N)), cut at the
// given bins. Values that
// cannot be drawn stay as they are and are left out of every mean. O(bins):
// the window's edges move forward only, and its sum of powers is kept
// without subtracting, so a -200 dB bin beside a 140 dB peak keeps its
// level, and a constant stays exactly that constant.
void SmoothBins(std::span<float> values, int firstBin, int fraction);

// SmoothBins over the band's bins (BandBins) of a file the viewer does not
// refuse; the bins outside the band stay as they are.
void SmoothCurveBand(CurveFile& file, int fraction);

// "Smoothing 1/3 octave: ..." for the header comment of an export.
std::string SmoothingComment(int fraction);
