// On a screen of device pixel ratio 2 (the high-density run, ctest
// ui.high_density, puts one beside the first screen) the data window's
// picture and the axis strips are drawn at the screen's resolution; the
// read-out and the notes follow the pointer's device pixel. Skipped in the
// plain run, which has only the first screen.
#include "UiFixture.h"

#include "curves/ExampleCurves.h"
#include "curves/LoadState.h"
#include "curves/qt/LoadFlows.h"
#include "plot/ReadOut.h"
#include "plot/qt/PlotPainter.h"
#include "plot/qt/PlotView.h"
#include "ui/qt/Colours.h"
#include "ui/qt/PaintBox.h"
#include "ui/qt/TMainForm.h"

#include <QApplication>
#include <QInputDialog>
#include <QPainter>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <optional>

namespace
{

class HighDensity : public UiTest
{
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        if (!moveToHighDensityScreen())
            GTEST_SKIP() << "no screen of device pixel ratio 2";
        // The rebuild at the new ratio drew the empty impedance slot in the
        // first colour; the next load takes it as on a fresh plot.
        CurveColours.restart();
    }
    void TearDown() override
    {
        moveToFirstScreen();
        UiTest::TearDown();
    }

    // SPEAKER.EA loaded through the file box; returns the curve as drawn.
    PlotCurve loadSpeaker()
    {
        for (ExampleCurve& c : MakeExampleCurves())
            if (c.fileName == "SPEAKER.EA") {
                EXPECT_TRUE(WriteCurveFile(programDir() + c.fileName, c.header, c.values));
                m_values.assign(kCurveCapacity, EmptyCurveValue);
                std::copy(c.values.begin(), c.values.end(), m_values.begin());
                m_header = c.header;
            }
        chooseWhenAsked("SPEAKER.EA");
        F1Click();
        return {m_header, m_values.data(), false, QColor(0, 255, 0)};
    }

    // The picture the drawing rules give a data window of w x h pixels.
    static QImage rulesPicture(int w, int h, const std::vector<PlotCurve>& curves)
    {
        const PlotPainter painter({w, h, Plot.ViewFreqLow, Plot.ViewFreqHigh}, ScalesOf(Settings),
            Settings.SerialResistor,
            {ToQColor(Settings.DataWindowColor), ToQColor(Settings.GridColor),
                ToQColor(Settings.AxisPanelColor)});
        QImage picture(w, h, QImage::Format_RGB32);
        QPainter p(&picture);
        painter.paintDataWindow(p, curves);
        return picture;
    }

    static QImage shownPicture() { return OffscreenBitmap.convertToFormat(QImage::Format_RGB32); }

    CurveHeader m_header;
    std::vector<float> m_values;
};

// The pixels in which two pictures differ (all of them for different sizes).
int differingPixels(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return std::max(a.width() * a.height(), b.width() * b.height());
    int differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            differing += a.pixel(x, y) != b.pixel(x, y);
    return differing;
}

QImage blownUp(const QImage& image)
{
    QImage big = image.scaled(image.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    big.setDevicePixelRatio(1);
    return big.convertToFormat(QImage::Format_RGB32);
}

TEST_F(HighDensity, PictureIsTheRulesPictureOfTheDevicePixelsAndFollowsTheScreen)
{
    const PlotCurve speaker = loadSpeaker();
    const int w = MainForm->SigWin->width(), h = MainForm->SigWin->height();
    // Moved to the dense screen before the load: drawn at twice the size.
    EXPECT_EQ(MainForm->SigWin->devicePixelRatioF(), 2);
    EXPECT_EQ(differingPixels(shownPicture(), rulesPicture(2 * w, 2 * h, {speaker})), 0);

    // Back on the first screen the picture is drawn anew at its own size,
    // and again at twice the size on the dense one, with the held curve in
    // the signal colour as after any rebuild.
    PlotCurve rebuilt = speaker;
    rebuilt.colour = ToQColor(Settings.SignalColor);
    moveToFirstScreen();
    EXPECT_EQ(differingPixels(shownPicture(), rulesPicture(w, h, {rebuilt})), 0);
    ASSERT_TRUE(moveToHighDensityScreen());
    EXPECT_EQ(differingPixels(shownPicture(), rulesPicture(2 * w, 2 * h, {rebuilt})), 0);

    // The screen shows the picture's pixels one to one.
    const QImage screen = MainForm->SigWin->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(differingPixels(screen, shownPicture()), 0);
}

// The printer glyph's outline is a pen of one window pixel on whole pixel
// positions: drawn at the screen's resolution it covers two device pixels in
// full, so its top edge steps from the light button to black within one
// device pixel; a glyph of window pixels blown up shows only grey there.
TEST_F(HighDensity, ToolbarGlyphsAreDrawnAtTheScreensResolution)
{
    QToolButton* button = MainForm->PrintButton;
    const QImage shot = button->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shot.width(), 2 * button->width());
    const auto black = [&](int x, int y) {
        const QColor c = shot.pixelColor(x, y);
        return std::max({c.red(), c.green(), c.blue()}) < 32;
    };
    const auto light = [&](int x, int y) {
        const QColor c = shot.pixelColor(x, y);
        return std::min({c.red(), c.green(), c.blue()}) > 160;
    };
    std::optional<QPoint> top; // the topmost black device pixel
    for (int y = 1; y < shot.height() && !top; ++y)
        for (int x = 0; x < shot.width() && !top; ++x)
            if (black(x, y))
                top = QPoint(x, y);
    ASSERT_TRUE(top) << "no black device pixel in the glyph";
    EXPECT_TRUE(light(top->x(), top->y() - 1)) << top->x() << "," << top->y();
    EXPECT_TRUE(black(top->x(), top->y() + 1)) << "the pen is two device pixels wide";
}

TEST_F(HighDensity, StripsAreLabelledWithTheFontAtTheScreensResolution)
{
    for (PaintBox* strip : {MainForm->yAchse, MainForm->yAchseR, MainForm->xAchse}) {
        SCOPED_TRACE(strip->objectName().toStdString());
        const QImage& canvas = strip->canvas();
        EXPECT_EQ(canvas.devicePixelRatio(), 2);
        EXPECT_EQ(canvas.size(), strip->size() * 2);
        // The labels in the window's pixels, drawn by the font at 22 pixels:
        // not the picture of the first screen blown up.
        moveToFirstScreen();
        const QImage plain = strip->canvas().convertToFormat(QImage::Format_RGB32);
        ASSERT_TRUE(moveToHighDensityScreen());
        const QImage dense = strip->canvas().convertToFormat(QImage::Format_RGB32);
        EXPECT_NE(dense, blownUp(plain));
        // Each label stands where it stands on the first screen, in the same
        // colours: wherever the first screen shows a label's ink, so does
        // one of the four device pixels.
        int inked = 0, missing = 0;
        for (int y = 0; y < plain.height(); ++y)
            for (int x = 0; x < plain.width(); ++x)
                if (qGray(plain.pixel(x, y)) < 64) {
                    ++inked;
                    const int darkest = std::min({qGray(dense.pixel(2 * x, 2 * y)),
                        qGray(dense.pixel(2 * x + 1, 2 * y)), qGray(dense.pixel(2 * x, 2 * y + 1)),
                        qGray(dense.pixel(2 * x + 1, 2 * y + 1))});
                    missing += darkest >= 160;
                }
        EXPECT_GT(inked, 20);
        EXPECT_LT(missing, inked / 20);
    }
}

TEST_F(HighDensity, ReadOutNamesTheDevicePixelUnderThePointer)
{
    const int w = MainForm->SigWin->width(), h = MainForm->SigWin->height();
    const auto readOut = [](QPointF at) {
        CursorOut(MainForm->SigWinFrame, at);
        return MainForm->Positionslabel->text().toStdString();
    };
    // Half a window pixel is a device pixel: row 1 of 580 reads 99.9 dB.
    EXPECT_EQ(readOut(QPointF(2, 2.5)), "f:  20 Hz   y: 99.9 dBxx    39.9 Ohm");
    EXPECT_EQ(readOut(QPointF(2 + w, 2)).rfind("f: 20000 Hz   y: 100.0 dBxx", 0), 0u);
    for (const QPointF at : {QPointF(2.5, 7), QPointF(100.5, 150), QPointF(300, 200.5)})
        EXPECT_EQ(readOut(at),
            CursorOutText(Plot.ViewFreqLow, Plot.ViewFreqHigh, ScalesOf(Settings), 2 * w, 2 * h,
                2 + (at.x() - 2) * 2, 2 + (at.y() - 2) * 2));
}

TEST_F(HighDensity, NoteLandsWhereClickedInTheFontAtTheScreensResolution)
{
    const QPoint at(200, 100);
    whenModal([] {
        auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->setTextValue("WOOFER");
        dialog->accept();
    });
    QTest::mouseClick(MainForm->SigWinFrame, Qt::LeftButton, Qt::NoModifier, at);

    // The ink of the note, in device pixels.
    const QImage picture = shownPicture();
    const QRgb ink = ToQColor(Settings.InscriptionColor).rgb();
    QRect box;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixel(x, y) == ink)
                box |= QRect(x, y, 1, 1);
    ASSERT_FALSE(box.isEmpty());
    // Its top-left corner at (X, Y - 8) in window pixels, as on any screen.
    EXPECT_GE(box.left(), 2 * at.x());
    EXPECT_LT(box.left(), 2 * at.x() + 6);
    EXPECT_GE(box.top(), 2 * (at.y() - 8));
    // Glyphs taller than any line of the font at its own size.
    EXPECT_GT(box.height(), QFontMetrics(MainForm->SigWin->font()).height());
}

} // namespace
