#pragma once
// Size and position of the program's message box, from the measured text
// widths of its lines and the main window's geometry.
//
// All values in pixels. The box size is its outer size including title bar
// and border. Every division by 2 truncates toward zero. Text widths are
// measured by the caller in the box's canvas font.

#include "ui/Rect.h"

#include <optional>
#include <vector>

struct BoxGeometryInput {
    int titleWidth = 0; // line 0, which becomes the box's title
    std::vector<int> bodyLineWidths; // lines 1..n
    bool btn1Shown = false; // first caption not empty
    bool btn2Shown = false; // second caption not empty
    int btn1Width = 80; // as designed
    int btn1Height = 25;
    int clientOriginX = 0; // main window's client origin on the screen
    int clientOriginY = 0;
    int mainWindowWidth = 0; // outer width of the main window
    int sigWinFrameTop = 0; // in the main window's client area
    int sigWinHeight = 0;
};

struct BoxGeometry {
    int width = 0; // outer size of the box
    int height = 0;
    int L1Left = 0; // the body label; its top stays as designed
    int L1Width = 0;
    int btn1Left = 0;
    int btn1Top = 0;
    std::optional<int> btn2Left; // only placed when Btn2 is shown
    int btn2Top = 0;
    int left = 0; // screen position: centred on the main window horizontally,
    int top = 0; // on the data window vertically
};

// The text width w starts at the title + 30; a wider body line sets w to its
// own width. Height = n x 16 + Btn1 height + 44 with Btn1, n x 16 + 40
// without. With Btn2, w is at least 2.5 x Btn1 width (rounded, halves to
// even). Box width = w + 30, at least 50. Sums saturate at the int range.
BoxGeometry ComputeBoxGeometry(const BoxGeometryInput& input);
