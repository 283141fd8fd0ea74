// The plot painter draws whole pictures without any window; its data window
// must be the viewer's own picture, pixel for pixel.

#include "UiFixture.h"

#include "curves/ExampleCurves.h"
#include "curves/qt/LoadFlows.h"
#include "plot/qt/PlotPainter.h"
#include "plot/qt/PlotView.h"
#include "ui/qt/Colours.h"
#include "ui/qt/PaintBox.h"
#include "ui/qt/TMainForm.h"

#include <QApplication>
#include <QPainter>
#include <map>

namespace
{

class PlotPainterTest : public UiTest
{
protected:
    // The example curves written into the program directory, by file name.
    std::map<std::string, ExampleCurve> writeExamples()
    {
        std::map<std::string, ExampleCurve> byName;
        for (ExampleCurve& c : MakeExampleCurves()) {
            EXPECT_TRUE(WriteCurveFile(programDir() + c.fileName, c.header, c.values));
            byName[c.fileName] = std::move(c);
        }
        return byName;
    }

    // A curve as a fresh slot holds it: its values, then empty ones.
    static std::vector<float> slotValues(const ExampleCurve& c)
    {
        std::vector<float> values(kCurveCapacity, EmptyCurveValue);
        std::copy(c.values.begin(), c.values.end(), values.begin());
        return values;
    }

    static PlotPainter viewerPainter()
    {
        const TraceFrame frame {MainForm->SigWin->width(), MainForm->SigWin->height(),
            Plot.ViewFreqLow, Plot.ViewFreqHigh};
        return PlotPainter(frame, ScalesOf(Settings), Settings.SerialResistor,
            {ToQColor(Settings.DataWindowColor), ToQColor(Settings.GridColor),
                ToQColor(Settings.AxisPanelColor)});
    }
};

Rect rectOf(const QRect& r)
{
    return {r.left(), r.top(), r.width(), r.height()};
}

TEST_F(PlotPainterTest, PictureLayoutIsTheWindowsDataWindowFrame)
{
    for (const QSize outer : {QSize(632, 424), QSize(500, 300), QSize(1100, 760)}) {
        MainForm->setOuterSize(outer.width(), outer.height());
        QApplication::processEvents();
        const TMainForm& f = *MainForm;
        const PlotPictureLayout layout
            = ComputePlotPictureLayout(f.DatWinFrame->width(), f.DatWinFrame->height());
        SCOPED_TRACE(outer.width());
        const QPoint frameOrigin = f.SigWinFrame->pos() - f.DatWinFrame->pos();
        EXPECT_EQ(layout.dataWindowFrame, rectOf(QRect(frameOrigin, f.SigWinFrame->size())));
        EXPECT_EQ(
            layout.dataWindow, rectOf(QRect(frameOrigin + f.SigWin->pos(), f.SigWin->size())));
        EXPECT_EQ(layout.levelStrip, rectOf(f.yAchse->geometry()));
        EXPECT_EQ(layout.impedanceStrip, rectOf(f.yAchseR->geometry()));
        EXPECT_EQ(layout.frequencyStrip, rectOf(f.xAchse->geometry()));
    }
}

TEST_F(PlotPainterTest, DataWindowOfAPictureIsTheViewersAfterLoadingTheSameFiles)
{
    const std::map<std::string, ExampleCurve> examples = writeExamples();
    for (const char* name : {"SPEAKER.EA", "WOOFER.EA"}) {
        chooseWhenAsked(name);
        F1Click();
    }
    chooseWhenAsked("SPEAKER.OHM");
    F2Click();

    // Drawn in the order and the colours of the loads: lime, aqua, fuchsia.
    const std::vector<float> speaker = slotValues(examples.at("SPEAKER.EA"));
    const std::vector<float> woofer = slotValues(examples.at("WOOFER.EA"));
    const std::vector<float> impedance = slotValues(examples.at("SPEAKER.OHM"));
    const std::vector<PlotCurve> curves {
        {examples.at("SPEAKER.EA").header, speaker.data(), false, QColor(0, 255, 0)},
        {examples.at("WOOFER.EA").header, woofer.data(), false, QColor(0, 255, 255)},
        {examples.at("SPEAKER.OHM").header, impedance.data(), true, QColor(255, 0, 255)}};
    const PlotPictureLayout layout
        = ComputePlotPictureLayout(MainForm->DatWinFrame->width(), MainForm->DatWinFrame->height());
    QImage picture(layout.width, layout.height, QImage::Format_RGB32);
    QPainter p(&picture);
    const auto faults = viewerPainter().paintPicture(p, layout, curves, MainForm->xAchse->font());
    p.end();

    for (const auto& fault : faults)
        EXPECT_FALSE(fault.has_value());
    const Rect& d = layout.dataWindow;
    const QImage dataWindow = picture.copy(d.left, d.top, d.width, d.height);
    const QImage viewer = OffscreenBitmap.convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(dataWindow.size(), viewer.size());
    int differing = 0;
    for (int y = 0; y < viewer.height(); ++y)
        for (int x = 0; x < viewer.width(); ++x)
            differing += dataWindow.pixel(x, y) != viewer.pixel(x, y);
    EXPECT_EQ(differing, 0);
    // The curves are there: lime, aqua and fuchsia pixels in the data window.
    for (QRgb colour : {0xFF00FF00u, 0xFF00FFFFu, 0xFFFF00FFu}) {
        int count = 0;
        for (int y = 0; y < viewer.height(); ++y)
            for (int x = 0; x < viewer.width(); ++x)
                count += viewer.pixel(x, y) == colour;
        EXPECT_GT(count, 50) << std::hex << colour;
    }
}

} // namespace
