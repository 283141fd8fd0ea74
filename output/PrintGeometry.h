#pragma once
// Geometry and picture clean-up of the print command: the rectangle of the
// window that is captured, the data window inside that picture, the title
// row that replaces the second row of buttons during the capture, the
// placement on the printed page, and the clean-up of the picture for paper.
//
// All values in pixels.

#include "ui/Rect.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The capture rectangle in screen coordinates, from the main window's outer
// rectangle (legacy frame model: 4 pixels left, right and bottom, 42 above
// the client area), DatWinFrame's rectangle in the client area and Zeit's
// height: left + 4, top + DatWinFrame top + 20, W = width - 8,
// H = DatWinFrame height + Zeit height + 22. Sums saturate at the int range.
Rect ComputeCaptureRect(const Rect& mainWindow, const Rect& datWinFrame, int zeitHeight);

// The inside of the data window frame in the captured picture (0,0 = top
// left of the capture); x1 and y1 are inclusive, so the rectangle holds
// (x1 - x0 + 1) x (y1 - y0 + 1) pixels. It may reach past the picture: the
// clean-up clips every position.
struct DataRect {
    int x0 = 0;
    int y0 = 0;
    int x1 = 0;
    int y1 = 0;

    bool operator==(const DataRect&) const = default;
};

// x0 = SigWinFrame left + DatWinFrame left + 2,
// y0 = SigWinFrame top - DatWinFrame top + 4 + ESCButton height,
// x1 = x0 + SigWinFrame width - 4, y1 = y0 + SigWinFrame height - 4.
DataRect ComputeDataRect(const Rect& sigWinFrame, const Rect& datWinFrame, int escButtonHeight);
// The same rectangle in a picture taken at a device pixel ratio: every device
// pixel of its window pixels (the rectangle itself at a ratio of 1).
DataRect DataRectInDevicePixels(const DataRect& data, double ratio);

// The navigation buttons' bits in the visibility mask remembered during the
// capture.
enum class NavButtonBit : int {
    UpButton = 128,
    DownButton = 64,
    LeftButton = 32,
    RightButton = 16,
    ReZoomXButton = 8,
    ZoomXButton = 4,
    ReZoomYButton = 2,
    ZoomYButton = 1,
};

// The order in which the buttons are recorded and hidden.
constexpr std::array<NavButtonBit, 8> kMaskOrder
    = {NavButtonBit::UpButton, NavButtonBit::DownButton, NavButtonBit::LeftButton,
        NavButtonBit::RightButton, NavButtonBit::ReZoomXButton, NavButtonBit::ZoomXButton,
        NavButtonBit::ReZoomYButton, NavButtonBit::ZoomYButton};

// The mask of the visible buttons; visible[i] tells about kMaskOrder[i].
int BuildVisibilityMask(const std::array<bool, 8>& visible);
// True when the button's bit is set in the mask.
bool IsVisibleInMask(int mask, NavButtonBit button);

// PrintButton as the title row of the captured picture: left = ESCButton
// left + 1, width = W - t, where t is the width of InfoPanel's caption in its
// font, plus 10 when that is more than 10; clamped at 0 when the caption is
// wider than the picture. The caption is 110 blanks, "Sonivex", 110 blanks.
struct TitleRow {
    int left = 0;
    int width = 0;
    std::string caption;
};
TitleRow ComputeTitleRow(int escButtonLeft, int captureWidth, int infoCaptionWidth);

// Placement of the W x H picture on the printable area PW x PH (printer
// device pixels, origin at the printable area's top left): left = PW div 10,
// top = PH div 10, width = PW x 8 div 10, height = width x H / W in floating
// point, rounded with halves to even. A picture without width (W <= 0) or a
// negative size gives height 0; negative sizes are clamped at 0.
Rect ComputePagePlacement(int pageWidth, int pageHeight, int pictureWidth, int pictureHeight);

// A picture as a plain pixel buffer, row-major, pixel (x, y) at
// pixels[y * width + x]. Pixels are 0xAARRGGBB like QImage::Format_RGB32;
// comparisons look at red, green and blue only and ignore the alpha byte.
// The settings keep colours as 0x00BBGGRR: the caller converts them with
// BgrToRgb32 (ui/ColourValue.h), after resolving system colours. A picture whose pixel
// count does not match width x height is left alone by the clean-up.
struct PixelImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};

constexpr uint32_t kWhitePixel = 0xFFFFFFFFu;
constexpr uint32_t kBlackPixel = 0xFF000000u;
constexpr uint32_t kGreyPixel = 0xFF808080u; // red, green and blue 128

// The reference background colour: pixel (3, 3), which lies in the title row
// outside every control. Empty for a picture smaller than 4 x 4.
// In a picture taken at a device pixel ratio, the first device pixel of that
// window pixel: (floor(3 r), floor(3 r)).
std::optional<uint32_t> ReferenceColour(const PixelImage& image, double ratio = 1);

// Colour output: inside the data rectangle every pixel of the data window's
// colour becomes white; nothing else changes.
void CleanUpColour(PixelImage& image, const DataRect& data, uint32_t dataWindowColour);

// Black-and-white output, in this order:
// 1. inside the data rectangle, pixels of the data window's colour or of the
//    reference colour become white, every other pixel black;
// 2. in the rows of the data rectangle, left and right of it, pixels of the
//    reference colour become white;
// 3. in the rows above and below it, across the whole width, pixels of the
//    reference colour become white;
// 4. the first and the last column are drawn over in grey.
// Other pixels outside the data rectangle keep their colours.
void CleanUpBlackWhite(
    PixelImage& image, const DataRect& data, uint32_t dataWindowColour, uint32_t referenceColour);
