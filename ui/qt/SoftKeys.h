#pragma once
// The soft-key bar: captions of a mode, key widths from the captions' text widths.

#include <array>
#include <string>

// Ten captions: F1 ... F9, then ESCButton.
using SoftKeyLabels = std::array<std::string, 10>;

void PaintSoftKeys(const SoftKeyLabels& labels);
// Paints the label set of a mode, compared exactly; an unknown name changes nothing.
void ShowSoftKeyMode(const std::string& mode);
