#include "output/PrintGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace
{

constexpr uint32_t kRgbMask = 0x00FFFFFFu;

bool SameColour(uint32_t a, uint32_t b)
{
    return ((a ^ b) & kRgbMask) == 0;
}

bool IsConsistent(const PixelImage& image)
{
    return image.width >= 0 && image.height >= 0
        && image.pixels.size()
        == static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
}

// A rectangle of pixel positions, inclusive on both ends; wide integers so
// that x1 + 1 and the like never overflow.
struct Region {
    long long x0, y0, x1, y1;
};

// Calls recolour(pixel) for every pixel of the region that lies in the
// picture.
template <typename Recolour> void ForEachPixelIn(PixelImage& image, Region r, Recolour recolour)
{
    const long long xFrom = std::max(r.x0, 0LL);
    const long long xTo = std::min(r.x1, image.width - 1LL);
    const long long yFrom = std::max(r.y0, 0LL);
    const long long yTo = std::min(r.y1, image.height - 1LL);
    for (long long y = yFrom; y <= yTo; ++y)
        for (long long x = xFrom; x <= xTo; ++x)
            recolour(image.pixels[static_cast<std::size_t>(y * image.width + x)]);
}

void WhitenColour(PixelImage& image, Region r, uint32_t colour)
{
    ForEachPixelIn(image, r, [colour](uint32_t& p) {
        if (SameColour(p, colour))
            p = kWhitePixel;
    });
}

} // namespace

Rect ComputeCaptureRect(const Rect& mainWindow, const Rect& datWinFrame, int zeitHeight)
{
    return {ClampToInt(mainWindow.left + 4LL),
        ClampToInt(static_cast<long long>(mainWindow.top) + datWinFrame.top + 20),
        ClampToInt(mainWindow.width - 8LL),
        ClampToInt(static_cast<long long>(datWinFrame.height) + zeitHeight + 22)};
}

DataRect ComputeDataRect(const Rect& sigWinFrame, const Rect& datWinFrame, int escButtonHeight)
{
    DataRect d;
    d.x0 = ClampToInt(static_cast<long long>(sigWinFrame.left) + datWinFrame.left + 2);
    d.y0 = ClampToInt(
        static_cast<long long>(sigWinFrame.top) - datWinFrame.top + 4 + escButtonHeight);
    d.x1 = ClampToInt(static_cast<long long>(d.x0) + sigWinFrame.width - 4);
    d.y1 = ClampToInt(static_cast<long long>(d.y0) + sigWinFrame.height - 4);
    return d;
}

DataRect DataRectInDevicePixels(const DataRect& data, double ratio)
{
    if (ratio == 1)
        return data;
    auto first = [ratio](int x) { return ClampToInt(std::llround(std::floor(x * ratio))); };
    auto last = [ratio](int x) {
        return ClampToInt(std::llround(std::ceil((static_cast<double>(x) + 1) * ratio)) - 1);
    };
    return {first(data.x0), first(data.y0), last(data.x1), last(data.y1)};
}

int BuildVisibilityMask(const std::array<bool, 8>& visible)
{
    int mask = 0;
    for (std::size_t i = 0; i < kMaskOrder.size(); ++i)
        if (visible[i])
            mask |= static_cast<int>(kMaskOrder[i]);
    return mask;
}

bool IsVisibleInMask(int mask, NavButtonBit button)
{
    return (mask & static_cast<int>(button)) != 0;
}

TitleRow ComputeTitleRow(int escButtonLeft, int captureWidth, int infoCaptionWidth)
{
    const std::string blanks(110, ' ');
    const long long t = infoCaptionWidth > 10 ? infoCaptionWidth + 10LL : infoCaptionWidth;
    return {ClampToInt(escButtonLeft + 1LL), ClampToInt(std::max(captureWidth - t, 0LL)),
        blanks + "Sonivex" + blanks};
}

Rect ComputePagePlacement(int pageWidth, int pageHeight, int pictureWidth, int pictureHeight)
{
    const int pw = std::max(pageWidth, 0);
    const int ph = std::max(pageHeight, 0);
    Rect r {pw / 10, ph / 10, ClampToInt(pw * 8LL / 10), 0};
    if (pictureWidth > 0 && pictureHeight > 0)
        r.height = RoundToInt(static_cast<double>(r.width) * pictureHeight / pictureWidth);
    return r;
}

std::optional<uint32_t> ReferenceColour(const PixelImage& image, double ratio)
{
    const int at = static_cast<int>(std::floor(3 * ratio));
    if (!IsConsistent(image) || image.width <= at || image.height <= at)
        return std::nullopt;
    return image.pixels[static_cast<std::size_t>(at) * static_cast<std::size_t>(image.width)
        + static_cast<std::size_t>(at)];
}

void CleanUpColour(PixelImage& image, const DataRect& d, uint32_t dataWindowColour)
{
    if (!IsConsistent(image))
        return;
    WhitenColour(image, {d.x0, d.y0, d.x1, d.y1}, dataWindowColour);
}

void CleanUpBlackWhite(
    PixelImage& image, const DataRect& d, uint32_t dataWindowColour, uint32_t referenceColour)
{
    if (!IsConsistent(image))
        return;
    const long long right = image.width - 1LL;
    const long long bottom = image.height - 1LL;

    ForEachPixelIn(image, {d.x0, d.y0, d.x1, d.y1}, [&](uint32_t& p) {
        const bool background = SameColour(p, dataWindowColour) || SameColour(p, referenceColour);
        p = background ? kWhitePixel : kBlackPixel;
    });

    WhitenColour(image, {0, d.y0, d.x0 - 1LL, d.y1}, referenceColour);
    WhitenColour(image, {d.x1 + 1LL, d.y0, right, d.y1}, referenceColour);

    WhitenColour(image, {0, 0, right, d.y0 - 1LL}, referenceColour);
    WhitenColour(image, {0, d.y1 + 1LL, right, bottom}, referenceColour);

    const auto paintGrey = [](uint32_t& p) { p = kGreyPixel; };
    ForEachPixelIn(image, {0, 0, 0, bottom}, paintGrey);
    ForEachPixelIn(image, {right, 0, right, bottom}, paintGrey);
}
