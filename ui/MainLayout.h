#pragma once
// The pixel layout of the main window, recomputed from the window's outer
// size on creation, on every resize, after colour changes and after printing.
//
// Sizes use the legacy frame model: the outer width W is the client width + 8
// and the outer height H the client height + 46. Every rectangle is in the
// coordinates of the control's parent: the client area, except SigWin (inside
// SigWinFrame) and yAchse, yAchseR and xAchse (inside DatWinFrame).
//
// The pass only computes geometry: the caller applies the rectangles, the
// colours (window, MO, Zeit and DatWinFrame in AxisPanelColor, SigWinFrame in
// DataWindowColor) and resizes OffscreenBitmap to the bitmap size.

#include "ui/Rect.h"

#include <array>

constexpr int kMinWindowWidth = 500;
constexpr int kMinWindowHeight = 300;

// What the pass reads besides the outer size: the controls as they stand
// before it runs.
struct MainLayoutInput {
    int windowWidth = 0; // outer width W, any value (a corrupt configuration)
    int windowHeight = 0; // outer height H
    // F1..F9: their lefts and widths are kept; F1's top and height give the
    // top of the second row before the keys are placed (designed F1: 27 in
    // the very first pass, 24 once placed).
    std::array<Rect, 9> softKeys {};
    int escButtonWidth = 0; // 49 as designed, 79 once the soft keys are painted
    int datWinFrameWidth = 0; // current sizes, to tell whether the data window changed
    int sigWinFrameHeight = 0;
};

struct MainLayout {
    int windowWidth = 0; // outer size after raising it to at least 500 x 300
    int windowHeight = 0;
    bool windowResized = false; // the outer size had to be raised
    bool LayoutChanged = false; // the data window changed size: rebuild the plot
    int SoftKeyWidth = 0;

    std::array<Rect, 9> softKeys {}; // F1..F9: top 2, height 20
    Rect ESCButton;
    Rect PrintButton;
    Rect UpButton, ZoomYButton, ReZoomYButton, DownButton;
    Rect LeftButton, ZoomXButton, ReZoomXButton, RightButton;
    Rect Bevel1, Bevel2;
    Rect InfoPanel;
    Rect Zeit;
    Rect MO;
    Rect SigWinFrame;
    int PositionslabelLeft = 0; // only its left is laid out
    Rect DatWinFrame;
    Rect SigWin; // inside SigWinFrame
    Rect yAchse, yAchseR, xAchse; // inside DatWinFrame
    int bitmapWidth = 0; // OffscreenBitmap = size of SigWin
    int bitmapHeight = 0;
};

// Lays the window out for any input without overflow: the outer size is
// raised to 500 x 300 (there is no upper limit), sums of corrupt control
// sizes saturate, and negative widths and heights are clamped at 0 (only the
// InfoPanel width can become negative by the rules, when the second row of
// buttons reaches past the right edge).
MainLayout ComputeMainLayout(const MainLayoutInput& input);

// A picture of the data window frame alone, as the command-line renderer
// draws it: the level strip left of the data window, the impedance strip
// right of it and the frequency strip below, at the places they have in a
// main window whose data window frame is width x height. Every rectangle is
// in the picture's coordinates.
struct PlotPictureLayout {
    int width = 0;
    int height = 0;
    Rect dataWindowFrame; // SigWinFrame
    Rect dataWindow; // SigWin, the picture the plot draws
    Rect levelStrip, impedanceStrip, frequencyStrip;
};

// The smallest picture: the data window frame of the smallest main window.
constexpr int kMinPlotPictureWidth = kMinWindowWidth - 8;
constexpr int kMinPlotPictureHeight = kMinWindowHeight - 112;

// The layout of a picture of at least kMinPlotPictureWidth x
// kMinPlotPictureHeight pixels; smaller sizes are raised to that.
PlotPictureLayout ComputePlotPictureLayout(int width, int height);
