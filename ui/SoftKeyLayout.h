#pragma once
// Sizes of the soft-key bar from the captions' text widths, and the second
// row of buttons that follows the ESC key.
//
// Text widths are measured by the caller in the main window's own font
// (13 pixels bold), not in the font the buttons show. All values in pixels.

#include <array>

constexpr int kSoftKeyWidth = 79; // the normal key width, set by every layout pass
constexpr int kButtonGroupGap = 5; // after PrintButton and after DownButton

// Index of the navigation buttons in the second row, left to right.
enum NavRowIndex {
    UpButtonIndex,
    ZoomYButtonIndex,
    ReZoomYButtonIndex,
    DownButtonIndex,
    LeftButtonIndex,
    ZoomXButtonIndex,
    ReZoomXButtonIndex,
    RightButtonIndex,
};

struct SoftKeyLayout {
    std::array<int, 9> softKeyLefts {}; // F1..F9; F1 at 0, each key follows the previous
    std::array<int, 9> softKeyWidths {};
    int escButtonWidth = 0; // its left is not changed here
    int printButtonLeft = 0;
    std::array<int, 8> navButtonLefts {}; // indexed by NavRowIndex
};

// textWidths: F1..F9, then ESCButton. A key whose caption is wider than
// softKeyWidth - 16 gets caption width + 16, else softKeyWidth; the ESC key
// gets caption width + 30 above softKeyWidth - 24, else softKeyWidth.
// PrintButton follows the ESC key, the navigation buttons follow it with a
// 5-pixel gap before UpButton and before LeftButton. Keys beyond the window's
// right edge are simply cut off by the window. Sums saturate at the int range.
SoftKeyLayout ComputeSoftKeyLayout(const std::array<int, 10>& textWidths, int softKeyWidth,
    int escButtonLeft, int printButtonWidth, const std::array<int, 8>& navButtonWidths);
