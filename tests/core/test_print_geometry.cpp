#include "output/PrintGeometry.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace
{

TEST(PrintGeometry, CaptureAndDataRectanglesFollowTheWindow)
{
    struct Case {
        std::string name;
        Rect window, datWinFrame, sigWinFrame;
        int zeitHeight, escHeight;
        Rect capture;
        DataRect data;
    };
    // Layouts of 640 x 450 and 800 x 600; the data rectangle's corner falls
    // on SigWin, which lies at client (52, 68), 22 rows below the capture's top.
    const std::vector<Case> cases = {
        {"640 x 450", {10, 20, 640, 450}, {0, 44, 632, 338}, {50, 66, 532, 294}, 22, 20,
            {14, 84, 632, 382}, {52, 46, 580, 336}},
        {"800 x 600", {0, 0, 800, 600}, {0, 44, 792, 488}, {50, 66, 692, 444}, 22, 20,
            {4, 64, 792, 532}, {52, 46, 740, 486}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ComputeCaptureRect(c.window, c.datWinFrame, c.zeitHeight), c.capture);
        EXPECT_EQ(ComputeDataRect(c.sigWinFrame, c.datWinFrame, c.escHeight), c.data);
    }
}

TEST(PrintGeometry, VisibilityMaskRoundTrips)
{
    struct Case {
        std::string name;
        std::array<bool, 8> visible; // Up, Down, Left, Right, ReZoomX, ZoomX, ReZoomY, ZoomY
        int mask;
    };
    const std::vector<Case> cases = {
        {"none", {false, false, false, false, false, false, false, false}, 0},
        {"all", {true, true, true, true, true, true, true, true}, 255},
        {"mixed", {true, false, true, false, true, false, true, false}, 128 + 32 + 8 + 2},
        {"zoom y only", {false, false, false, false, false, false, false, true}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int mask = BuildVisibilityMask(c.visible);
        EXPECT_EQ(mask, c.mask);
        for (std::size_t i = 0; i < kMaskOrder.size(); ++i)
            EXPECT_EQ(IsVisibleInMask(mask, kMaskOrder[i]), c.visible[i]) << i;
    }
}

TEST(PrintGeometry, TitleRowLeavesRoomForTheStatusText)
{
    struct Case {
        int infoWidth, expectedWidth;
    };
    const std::vector<Case> cases = {{0, 632}, {10, 622}, {11, 611}, {200, 422}, {5000, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.infoWidth);
        const TitleRow row = ComputeTitleRow(0, 632, c.infoWidth);
        EXPECT_EQ(row.left, 1);
        EXPECT_EQ(row.width, c.expectedWidth);
    }
    const std::string blanks(110, ' ');
    EXPECT_EQ(ComputeTitleRow(0, 632, 0).caption, blanks + "Sonivex" + blanks);
}

TEST(PrintGeometry, PagePlacementKeepsTheAspectRatio)
{
    struct Case {
        std::string name;
        int pw, ph, w, h;
        Rect expected;
    };
    const std::vector<Case> cases = {
        {"portrait", 4760, 6734, 632, 382, {476, 673, 3808, 2302}},
        {"landscape", 6734, 4760, 632, 382, {673, 476, 5387, 3256}},
        {"half rounds down to even", 100, 50, 32, 1, {10, 5, 80, 2}},
        {"half rounds up to even", 100, 50, 32, 3, {10, 5, 80, 8}},
        {"empty picture", 100, 50, 0, 382, {10, 5, 80, 0}},
        {"negative page", -100, -50, 632, 382, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ComputePagePlacement(c.pw, c.ph, c.w, c.h), c.expected);
    }
}

constexpr uint32_t kBackground = 0xFFC0C0C0; // window background, also at (3, 3)
constexpr uint32_t kDataWindow = 0xFF000000;
constexpr uint32_t kCurve = 0xFFFF0000;
constexpr uint32_t kLabel = 0xFF00FF00;

// A 12 x 10 picture on the background colour; the data rectangle (3, 4) to
// (8, 7) is filled with the data window colour and holds a curve pixel, a
// background pixel and a data window pixel with another alpha byte. Outside
// it: label pixels left of, above and below it, and a data-window-coloured
// pixel right of it.
PixelImage SyntheticCapture()
{
    PixelImage img {12, 10, std::vector<uint32_t>(120, kBackground)};
    auto at = [&img](int x, int y) -> uint32_t& { return img.pixels[y * 12 + x]; };
    for (int y = 4; y <= 7; ++y)
        for (int x = 3; x <= 8; ++x)
            at(x, y) = kDataWindow;
    at(5, 5) = kCurve;
    at(6, 6) = kBackground;
    at(4, 5) = 0x00000000; // data window colour, alpha 0
    at(1, 5) = kLabel;
    at(10, 2) = kLabel;
    at(5, 9) = kLabel;
    at(10, 5) = kDataWindow;
    return img;
}

const DataRect kData {3, 4, 8, 7};

struct PixelCase {
    std::string what;
    int x, y;
    uint32_t expected;
};

void ExpectPixels(const PixelImage& img, const std::vector<PixelCase>& cases)
{
    for (const PixelCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(img.pixels[c.y * img.width + c.x], c.expected)
            << std::hex << img.pixels[c.y * img.width + c.x];
    }
}

TEST(PrintGeometry, ColourCleanUpWhitensOnlyTheDataWindowBackground)
{
    PixelImage img = SyntheticCapture();
    CleanUpColour(img, kData, kDataWindow);
    ExpectPixels(img,
        {
            {"data window corner", 3, 4, kWhitePixel},
            {"data window far corner (inclusive)", 8, 7, kWhitePixel},
            {"alpha byte ignored", 4, 5, kWhitePixel},
            {"curve keeps its colour", 5, 5, kCurve},
            {"background inside stays", 6, 6, kBackground},
            {"data window colour outside stays", 10, 5, kDataWindow},
            {"label outside stays", 1, 5, kLabel},
            {"background outside stays", 0, 0, kBackground},
        });
}

TEST(PrintGeometry, BlackWhiteCleanUpAppliesTheFourRules)
{
    PixelImage img = SyntheticCapture();
    CleanUpBlackWhite(img, kData, kDataWindow, *ReferenceColour(img));
    ExpectPixels(img,
        {
            {"1: data window colour inside -> white", 4, 4, kWhitePixel},
            {"1: alpha byte ignored", 4, 5, kWhitePixel},
            {"1: background inside -> white", 6, 6, kWhitePixel},
            {"1: curve -> black", 5, 5, kBlackPixel},
            {"2: background left of the data -> white", 2, 5, kWhitePixel},
            {"2: background right of the data -> white", 9, 6, kWhitePixel},
            {"2: label left of the data keeps its colour", 1, 5, kLabel},
            {"2: data window colour right of the data stays", 10, 5, kDataWindow},
            {"3: background above -> white", 5, 1, kWhitePixel},
            {"3: background below -> white", 4, 8, kWhitePixel},
            {"3: label above keeps its colour", 10, 2, kLabel},
            {"3: label below keeps its colour", 5, 9, kLabel},
            {"4: first column grey", 0, 5, kGreyPixel},
            {"4: first column top", 0, 0, kGreyPixel},
            {"4: last column grey", 11, 9, kGreyPixel},
        });
}

TEST(PrintGeometry, CleanUpClipsToThePicture)
{
    const std::vector<DataRect> rects = {
        {-5, -3, 100, 100}, // larger than the picture
        {20, 20, 30, 30}, // beyond it
        {6, 6, 2, 2}, // empty: a data window frame narrower than its border
        {INT_MIN, INT_MIN, INT_MAX, INT_MAX},
    };
    for (const DataRect& d : rects) {
        SCOPED_TRACE(testing::Message() << d.x0 << ' ' << d.y0 << ' ' << d.x1 << ' ' << d.y1);
        PixelImage colour = SyntheticCapture();
        CleanUpColour(colour, d, kDataWindow);
        PixelImage bw = SyntheticCapture();
        CleanUpBlackWhite(bw, d, kDataWindow, kBackground);
        EXPECT_EQ(bw.pixels[0], kGreyPixel);
    }
    PixelImage whole = SyntheticCapture();
    CleanUpColour(whole, {-5, -3, 100, 100}, kDataWindow);
    EXPECT_EQ(whole.pixels[5 * 12 + 10], kWhitePixel);
}

TEST(PrintGeometry, MalformedPicturesAreLeftAlone)
{
    PixelImage shortBuffer {12, 10, std::vector<uint32_t>(50, kDataWindow)};
    CleanUpColour(shortBuffer, kData, kDataWindow);
    CleanUpBlackWhite(shortBuffer, kData, kDataWindow, kBackground);
    EXPECT_EQ(shortBuffer.pixels, std::vector<uint32_t>(50, kDataWindow));

    PixelImage empty;
    CleanUpBlackWhite(empty, kData, kDataWindow, kBackground);
    EXPECT_TRUE(empty.pixels.empty());
}

TEST(PrintGeometry, ReferenceColourIsPixelThreeThree)
{
    EXPECT_EQ(ReferenceColour(SyntheticCapture()), kBackground);
    PixelImage four {4, 4, std::vector<uint32_t>(16, 0)};
    four.pixels[15] = kCurve;
    EXPECT_EQ(ReferenceColour(four), kCurve);
    EXPECT_EQ(ReferenceColour(PixelImage {3, 10, std::vector<uint32_t>(30, 0)}), std::nullopt);
    EXPECT_EQ(ReferenceColour(PixelImage {}), std::nullopt);
    EXPECT_EQ(ReferenceColour(PixelImage {4, 4, {}}), std::nullopt);
    // Window pixel (3, 3) of a picture with twice as many device pixels.
    PixelImage seven {7, 7, std::vector<uint32_t>(49, 0)};
    seven.pixels[6 * 7 + 6] = kCurve;
    EXPECT_EQ(ReferenceColour(seven, 2), kCurve);
    EXPECT_EQ(ReferenceColour(four, 2), std::nullopt);
}

} // namespace

TEST(PrintGeometry, DataRectInDevicePixelsCoversEveryDevicePixelOfItsWindowPixels)
{
    struct Case {
        double ratio;
        DataRect window;
        DataRect device;
    };
    const Case cases[] = {
        {1, {58, 28, 586, 318}, {58, 28, 586, 318}},
        {2, {58, 28, 586, 318}, {116, 56, 1173, 637}},
        {3, {0, 0, 0, 0}, {0, 0, 2, 2}},
        {1.5, {1, 1, 2, 3}, {1, 1, 4, 5}},
        {1.25, {3, 4, 5, 7}, {3, 5, 7, 9}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ratio);
        EXPECT_EQ(DataRectInDevicePixels(c.window, c.ratio), c.device);
    }
}
