#include "ui/MainLayout.h"

#include "ui/SoftKeyLayout.h"

#include <algorithm>

namespace
{

constexpr int kButtonHeight = 20;
constexpr int kSoftKeyTop = 2;
constexpr int kNavButtonWidth = 26; // 20 x 1.3, rounded
constexpr int kBevelWidth = 1024;
constexpr int kBevelHeight = 2; // a raised line: one light and one dark row
constexpr int kStatusRowHeight = 22;
constexpr int kZeitWidth = 130;
constexpr int kSigWinFrameLeft = 50;
constexpr int kDatWinFrameTop = 44;
constexpr int kAxisStripTop = 20;
constexpr int kXAchseHeight = 20;

int NonNegative(long long v)
{
    return ClampToInt(std::max(v, 0LL));
}

// Step 1 compares against the size as it stands, before the minimum is
// enforced; raising the size starts a nested pass that compares again with
// the corrected size, which then always differs from what step 1 just set.
bool DataWindowChanged(const MainLayoutInput& in, bool resized)
{
    const bool widthDiffers = in.datWinFrameWidth != in.windowWidth - 8LL;
    const bool heightDiffers = in.sigWinFrameHeight != in.windowHeight - 156LL;
    return widthDiffers || heightDiffers || resized;
}

// Top of the second row = top + height of F1 + 2, taken before F1 is placed.
// A nested pass (after the size was raised) has placed F1 already.
int SecondRowTop(const MainLayoutInput& in, bool resized)
{
    if (resized)
        return kSoftKeyTop + kButtonHeight + 2;
    const Rect& f1 = in.softKeys[0];
    return ClampToInt(static_cast<long long>(f1.top) + f1.height + 2);
}

void PlaceSecondRow(MainLayout& m, const MainLayoutInput& in, int rowTop)
{
    const int escWidth = std::max(in.escButtonWidth, 0);
    m.ESCButton = {0, rowTop, escWidth, kButtonHeight};
    m.PrintButton = {escWidth, rowTop, kNavButtonWidth, kButtonHeight};

    Rect* const row[] = {&m.UpButton, &m.ZoomYButton, &m.ReZoomYButton, &m.DownButton,
        &m.LeftButton, &m.ZoomXButton, &m.ReZoomXButton, &m.RightButton};
    long long left = static_cast<long long>(m.PrintButton.left) + kNavButtonWidth + kButtonGroupGap;
    for (Rect* button : row) {
        *button = {ClampToInt(left), rowTop, kNavButtonWidth, kButtonHeight};
        left += kNavButtonWidth;
        if (button == &m.DownButton)
            left += kButtonGroupGap;
    }
}

void PlaceSoftKeys(MainLayout& m, const MainLayoutInput& in)
{
    for (std::size_t i = 0; i < m.softKeys.size(); ++i) {
        const Rect& before = in.softKeys[i];
        m.softKeys[i] = {before.left, kSoftKeyTop, std::max(before.width, 0), kButtonHeight};
    }
}

void PlaceInfoPanel(MainLayout& m)
{
    const long long left = static_cast<long long>(m.RightButton.left) + kNavButtonWidth + 1;
    m.InfoPanel = {ClampToInt(left), ClampToInt(m.LeftButton.top + 2LL),
        NonNegative(m.windowWidth - left - 10), m.LeftButton.height};
}

void PlaceStatusRow(MainLayout& m)
{
    const int top = m.windowHeight - 47 - kStatusRowHeight + 1;
    m.Zeit = {m.windowWidth - kZeitWidth - 8, top, kZeitWidth, kStatusRowHeight};
    m.MO = {0, top, m.Zeit.left, kStatusRowHeight};
}

void PlaceDataWindow(MainLayout& m)
{
    const Rect& f1 = m.softKeys[0];
    m.SigWinFrame = {kSigWinFrameLeft, f1.top + 2 * f1.height + 24, m.windowWidth - 100 - 8,
        m.windowHeight - 178 + 22};
    m.PositionslabelLeft = m.SigWinFrame.left;
    m.DatWinFrame = {0, kDatWinFrameTop, m.windowWidth - 8, m.windowHeight - 51 - 40 - 43 + 22};
    m.SigWin = {2, 2, m.SigWinFrame.width - 4, m.SigWinFrame.height - 4};
}

// The axis strips lie in DatWinFrame's interior, placed from SigWinFrame's
// position in the window (DatWinFrame has left 0, so the columns line up).
void PlaceAxisStrips(MainLayout& m)
{
    const Rect& frame = m.SigWinFrame;
    const int yLeft = m.DatWinFrame.left + 5;
    m.yAchse = {yLeft, kAxisStripTop, frame.left - yLeft, m.DatWinFrame.height - 40};
    const int rLeft = frame.left + frame.width;
    m.yAchseR = {rLeft, kAxisStripTop, m.DatWinFrame.width - rLeft - 10, m.yAchse.height};
    m.xAchse = {frame.left - 15, frame.height + 20, frame.width + 45, kXAchseHeight};
}

} // namespace

MainLayout ComputeMainLayout(const MainLayoutInput& in)
{
    MainLayout m;
    m.windowWidth = std::max(in.windowWidth, kMinWindowWidth);
    m.windowHeight = std::max(in.windowHeight, kMinWindowHeight);
    m.windowResized = m.windowWidth != in.windowWidth || m.windowHeight != in.windowHeight;
    m.LayoutChanged = DataWindowChanged(in, m.windowResized);
    m.SoftKeyWidth = kSoftKeyWidth;

    PlaceSecondRow(m, in, SecondRowTop(in, m.windowResized));
    PlaceSoftKeys(m, in);
    m.Bevel1 = {0, m.softKeys[0].height + 2, kBevelWidth, kBevelHeight};
    m.Bevel2 = {0, 0, kBevelWidth, kBevelHeight};
    PlaceInfoPanel(m);
    PlaceStatusRow(m);
    PlaceDataWindow(m);
    PlaceAxisStrips(m);
    m.bitmapWidth = m.SigWin.width;
    m.bitmapHeight = m.SigWin.height;
    return m;
}

namespace
{

Rect offsetBy(const Rect& r, int dx, int dy)
{
    return {r.left + dx, r.top + dy, r.width, r.height};
}

} // namespace

PlotPictureLayout ComputePlotPictureLayout(int width, int height)
{
    // The main window whose data window frame has this size, laid out as
    // when it is created.
    MainLayoutInput in;
    in.windowWidth = ClampToInt(static_cast<long long>(std::max(width, kMinPlotPictureWidth)) + 8);
    in.windowHeight
        = ClampToInt(static_cast<long long>(std::max(height, kMinPlotPictureHeight)) + 112);
    in.softKeys[0] = {0, kSoftKeyTop, 81, kButtonHeight};
    const MainLayout m = ComputeMainLayout(in);

    PlotPictureLayout picture;
    picture.width = m.DatWinFrame.width;
    picture.height = m.DatWinFrame.height;
    const int dx = -m.DatWinFrame.left;
    const int dy = -m.DatWinFrame.top;
    picture.dataWindowFrame = offsetBy(m.SigWinFrame, dx, dy);
    picture.dataWindow
        = offsetBy(m.SigWin, picture.dataWindowFrame.left, picture.dataWindowFrame.top);
    picture.levelStrip = m.yAchse;
    picture.impedanceStrip = m.yAchseR;
    picture.frequencyStrip = m.xAchse;
    return picture;
}
