#pragma once
// Properties that must hold for any curve text that import reads, checked by
// the fuzz target of curve texts and replayed on its corpus by the test
// suite (as the checks of fuzz/InputChecks.h are).

#include <optional>
#include <span>
#include <string>

// The bytes as a curve text that import reads or a limit file of check: the
// first byte chooses the columns (the text's own, numbers or names), the
// rest is the text. Read as a response and as an impedance curve, it is
// either refused with a message or gives two or more points of rising,
// finite, non-negative frequency with finite magnitudes (impedances above
// 0) on rising lines; a response then imports to a curve file the viewer
// reads, and as a limit of check the curve passes against itself.
std::optional<std::string> CheckCurveTextInput(std::span<const unsigned char> bytes);
