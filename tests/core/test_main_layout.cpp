#include "ui/MainLayout.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace
{

// The soft keys as the label painter leaves them after start-up, placed at
// top 2 with height 20 by an earlier pass.
MainLayoutInput AfterStartUp(int w, int h)
{
    MainLayoutInput in;
    in.windowWidth = w;
    in.windowHeight = h;
    const int lefts[9] = {0, 196, 356, 435, 514, 593, 672, 751, 830};
    const int widths[9] = {196, 160, 79, 79, 79, 79, 79, 79, 79};
    for (int i = 0; i < 9; ++i)
        in.softKeys[i] = {lefts[i], 2, widths[i], 20};
    in.escButtonWidth = 79;
    in.datWinFrameWidth = ClampToInt(w - 8LL);
    in.sigWinFrameHeight = ClampToInt(h - 156LL);
    return in;
}

TEST(MainLayout, FreshConfigurationSizeGivesTheDesignedRectangles)
{
    const MainLayout m = ComputeMainLayout(AfterStartUp(640, 450));
    EXPECT_EQ(m.SigWinFrame, (Rect {50, 66, 532, 294}));
    EXPECT_EQ(m.SigWin, (Rect {2, 2, 528, 290}));
    EXPECT_EQ(m.bitmapWidth, 528);
    EXPECT_EQ(m.bitmapHeight, 290);
    EXPECT_EQ(m.DatWinFrame, (Rect {0, 44, 632, 338}));
    EXPECT_EQ(m.yAchse, (Rect {5, 20, 45, 298}));
    EXPECT_EQ(m.yAchseR, (Rect {582, 20, 40, 298}));
    EXPECT_EQ(m.xAchse, (Rect {35, 314, 577, 20}));
    EXPECT_EQ(m.Zeit, (Rect {502, 382, 130, 22}));
    EXPECT_EQ(m.MO, (Rect {0, 382, 502, 22}));
    EXPECT_EQ(m.InfoPanel, (Rect {324, 26, 306, 20}));
    EXPECT_EQ(m.PositionslabelLeft, 50);
    EXPECT_EQ(m.SoftKeyWidth, 79);
    EXPECT_FALSE(m.LayoutChanged);
    EXPECT_FALSE(m.windowResized);
}

TEST(MainLayout, SecondRowFollowsTheEscKey)
{
    const MainLayout m = ComputeMainLayout(AfterStartUp(640, 450));
    EXPECT_EQ(m.ESCButton, (Rect {0, 24, 79, 20}));
    EXPECT_EQ(m.PrintButton, (Rect {79, 24, 26, 20}));
    const Rect nav[] = {m.UpButton, m.ZoomYButton, m.ReZoomYButton, m.DownButton, m.LeftButton,
        m.ZoomXButton, m.ReZoomXButton, m.RightButton};
    const int lefts[] = {110, 136, 162, 188, 219, 245, 271, 297};
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(nav[i], (Rect {lefts[i], 24, 26, 20}));
    }
    EXPECT_EQ(m.Bevel1.top, 22);
    EXPECT_EQ(m.Bevel1.width, 1024);
    EXPECT_EQ(m.Bevel2.top, 0);
}

TEST(MainLayout, SoftKeysKeepTheirLeftsAndWidths)
{
    MainLayoutInput in = AfterStartUp(640, 450);
    in.softKeys[4] = {329, 5, 71, 20};
    const MainLayout m = ComputeMainLayout(in);
    for (int i = 0; i < 9; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(m.softKeys[i].left, in.softKeys[i].left);
        EXPECT_EQ(m.softKeys[i].width, in.softKeys[i].width);
        EXPECT_EQ(m.softKeys[i].top, 2);
        EXPECT_EQ(m.softKeys[i].height, 20);
    }
}

TEST(MainLayout, FirstPassTakesTheSecondRowTopFromTheDesignedF1)
{
    MainLayoutInput in = AfterStartUp(640, 450);
    in.softKeys[0] = {0, 5, 81, 20}; // designed F1, not placed yet
    in.escButtonWidth = 49; // designed ESC key
    const MainLayout m = ComputeMainLayout(in);
    EXPECT_EQ(m.PrintButton, (Rect {49, 27, 26, 20}));
    EXPECT_EQ(m.UpButton.top, 27);
    EXPECT_EQ(m.InfoPanel.top, 29);
    EXPECT_EQ(m.softKeys[0], (Rect {0, 2, 81, 20}));
    EXPECT_EQ(m.SigWinFrame.top, 66); // from the placed F1
}

TEST(MainLayout, SmallWindowIsRaisedToTheMinimum)
{
    MainLayoutInput in = AfterStartUp(400, 250);
    in.softKeys[0] = {0, 5, 81, 20}; // the nested pass places F1 first
    const MainLayout m = ComputeMainLayout(in);
    EXPECT_EQ(m.windowWidth, 500);
    EXPECT_EQ(m.windowHeight, 300);
    EXPECT_TRUE(m.windowResized);
    EXPECT_TRUE(m.LayoutChanged);
    EXPECT_EQ(m.SigWinFrame, (Rect {50, 66, 392, 144}));
    EXPECT_EQ(m.SigWin, (Rect {2, 2, 388, 140}));
    EXPECT_EQ(m.DatWinFrame, (Rect {0, 44, 492, 188}));
    EXPECT_EQ(m.PrintButton.top, 24);
}

TEST(MainLayout, LayoutChangedWhenTheDataWindowChangesSize)
{
    struct Case {
        std::string name;
        int datWinFrameWidth, sigWinFrameHeight, w, h;
        bool changed;
    };
    const std::vector<Case> cases = {
        {"same size", 632, 294, 640, 450, false},
        {"wider", 632, 294, 800, 450, true},
        {"taller", 632, 294, 640, 600, true},
        {"maximised", 632, 294, 1032, 814, true},
        // the frames match the size asked for, but raising it starts a new pass
        {"only width raised", 292, 294, 300, 450, true},
        {"only height raised", 632, -56, 640, 100, true},
        {"first pass with designed frames", 0, 0, 640, 450, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MainLayoutInput in = AfterStartUp(c.w, c.h);
        in.datWinFrameWidth = c.datWinFrameWidth;
        in.sigWinFrameHeight = c.sigWinFrameHeight;
        EXPECT_EQ(ComputeMainLayout(in).LayoutChanged, c.changed);
    }
}

TEST(MainLayout, OtherSizesFollowTheRules)
{
    const MainLayout m = ComputeMainLayout(AfterStartUp(1024, 768));
    EXPECT_EQ(m.SigWinFrame, (Rect {50, 66, 916, 612}));
    EXPECT_EQ(m.DatWinFrame, (Rect {0, 44, 1016, 656}));
    EXPECT_EQ(m.yAchseR, (Rect {966, 20, 40, 616}));
    EXPECT_EQ(m.xAchse, (Rect {35, 632, 961, 20}));
    EXPECT_EQ(m.Zeit, (Rect {886, 700, 130, 22}));
    EXPECT_EQ(m.MO, (Rect {0, 700, 886, 22}));
    EXPECT_EQ(m.InfoPanel, (Rect {324, 26, 690, 20}));
}

TEST(MainLayout, CorruptInputGivesSaneOutput)
{
    struct Case {
        std::string name;
        int w, h, escWidth, f1Top, f1Height;
    };
    const std::vector<Case> cases = {
        {"zero size", 0, 0, 79, 2, 20},
        {"negative size", -5000, INT_MIN, 79, 2, 20},
        {"huge size", INT_MAX, INT_MAX, 79, 2, 20},
        {"huge ESC key", 640, 450, INT_MAX, 2, 20},
        {"negative ESC key", 640, 450, -300, 2, 20},
        {"huge F1", 640, 450, 79, INT_MAX, INT_MAX},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MainLayoutInput in = AfterStartUp(c.w, c.h);
        in.escButtonWidth = c.escWidth;
        in.softKeys[0].top = c.f1Top;
        in.softKeys[0].height = c.f1Height;
        const MainLayout m = ComputeMainLayout(in);
        EXPECT_GE(m.windowWidth, 500);
        EXPECT_GE(m.windowHeight, 300);
        const Rect all[] = {m.ESCButton, m.PrintButton, m.UpButton, m.RightButton, m.InfoPanel,
            m.Zeit, m.MO, m.SigWinFrame, m.DatWinFrame, m.SigWin, m.yAchse, m.yAchseR, m.xAchse};
        for (const Rect& r : all) {
            EXPECT_GE(r.width, 0) << r;
            EXPECT_GE(r.height, 0) << r;
        }
        EXPECT_GT(m.bitmapWidth, 0);
        EXPECT_GT(m.bitmapHeight, 0);
    }
}

TEST(MainLayout, InfoPanelWidthStopsAtZeroWhenTheRowIsTooWide)
{
    MainLayoutInput in = AfterStartUp(500, 300);
    in.escButtonWidth = 300; // the row ends at 300 + 26 + 5 + 4 x 26 + 5 + 4 x 26 + 1 = 545
    const MainLayout m = ComputeMainLayout(in);
    EXPECT_EQ(m.InfoPanel.left, 545);
    EXPECT_EQ(m.InfoPanel.width, 0);
}

} // namespace
