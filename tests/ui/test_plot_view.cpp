#include "UiFixture.h"

#include "curves/ArithmeticFault.h"
#include "curves/CurveSlot.h"
#include "curves/ExampleCurves.h"
#include "curves/LoadState.h"
#include "curves/qt/LoadFlows.h"
#include "plot/AxisLabels.h"
#include "plot/PixelMapping.h"
#include "plot/PlotState.h"
#include "plot/qt/PlotView.h"
#include "ui/qt/Colours.h"
#include "ui/qt/PaintBox.h"
#include "ui/qt/TMainForm.h"

#include <QApplication>
#include <QInputDialog>
#include <QPainter>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>

namespace
{

QRect geometryOf(const QWidget* w)
{
    return w->geometry();
}

class PlotView : public UiTest
{
protected:
    // A flat curve file at `level` dB (LevelFactor 1) or `ratio` of the serial resistor.
    void writeFlatCurve(const std::string& name, float value, int n = 4096)
    {
        CurveHeader h {1.0f, 48000, n, 20000.0f, 20.0f};
        const std::vector<float> values(std::size_t(n / 2), value);
        ASSERT_TRUE(WriteCurveFile(programDir() + name, h, values));
    }

    QRgb pixel(int x, int y) const { return OffscreenBitmap.pixel(x, y) & 0xFFFFFF; }

    // The colour found in column x, scanning every row.
    bool columnHas(int x, QRgb colour) const
    {
        for (int y = 0; y < OffscreenBitmap.height(); ++y)
            if (pixel(x, y) == colour)
                return true;
        return false;
    }

    void setOuterSize(int w, int h)
    {
        MainForm->setOuterSize(w, h);
        QApplication::processEvents();
        MainForm->SetSystemMetrics();
    }

    // The picture shows the empty grid laid out for a data window of w x h:
    // the 100 Hz column over the full height and the rows at h * i div 12
    // across the full width (default scales, 20 Hz to 20 kHz).
    bool showsGridFor(int w, int h) const
    {
        const QRgb grid = qRgb(128, 128, 128) & 0xFFFFFF;
        if (OffscreenBitmap.size() != QSize(w, h))
            return false;
        const int x100 = FreqToX(ComputeFreqMapping(20.0f, 20000.0f, w), 100);
        bool ok = pixel(x100, h - 3) == grid && pixel(x100 + 3, h - 3) != grid;
        for (int i = 1; i < 12; ++i)
            ok = ok && pixel(w - 3, h * i / 12) == grid && pixel(w - 3, h * i / 12 + 2) != grid;
        return ok;
    }

    // Runs an action; every modal box it opens is closed and counted.
    static int boxesOpenedBy(const std::function<void()>& action)
    {
        int boxes = 0;
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&boxes] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                ++boxes;
                modal->close();
            }
        });
        closer.start(10);
        action();
        return boxes;
    }

    // Waits for the paints after a change of size; true once the picture
    // shows the grid for the data window's new size.
    bool waitForGridOfNewSize() const
    {
        return QTest::qWaitFor(
            [this] { return showsGridFor(MainForm->SigWin->width(), MainForm->SigWin->height()); });
    }
};

TEST_F(PlotView, LayoutAt640x450MatchesTheDesignedNumbers)
{
    const TMainForm& f = *MainForm;
    EXPECT_EQ(geometryOf(f.SigWinFrame), QRect(50, 66, 532, 294));
    EXPECT_EQ(f.SigWin->size(), QSize(528, 290));
    EXPECT_EQ(OffscreenBitmap.size(), QSize(528, 290));
    EXPECT_EQ(geometryOf(f.DatWinFrame), QRect(0, 44, 632, 338));
    EXPECT_EQ(geometryOf(f.yAchse), QRect(5, 20, 45, 298));
    EXPECT_EQ(geometryOf(f.yAchseR), QRect(582, 20, 40, 298));
    EXPECT_EQ(geometryOf(f.xAchse), QRect(35, 314, 577, 20));
    EXPECT_EQ(geometryOf(f.Zeit), QRect(502, 382, 130, 22));
    EXPECT_EQ(geometryOf(f.MO), QRect(0, 382, 502, 22));
    EXPECT_EQ(geometryOf(f.ESCButton), QRect(0, 24, 79, 20));
    EXPECT_EQ(f.PrintButton->x(), 79);
    const std::vector<int> lefts {110, 136, 162, 188, 219, 245, 271, 297};
    const auto nav = f.navigationButtons();
    for (std::size_t i = 0; i < nav.size(); ++i)
        EXPECT_EQ(geometryOf(nav[i]), QRect(lefts[i], 24, 26, 20)) << i;
    EXPECT_EQ(geometryOf(f.InfoPanel), QRect(324, 26, 306, 20));
}

TEST_F(PlotView, SoftKeyWidthsFollowTheCaptionWidthsInTheWindowFont)
{
    const QFontMetrics m(MainForm->font());
    for (int i = 0; i < 2; ++i) {
        const int text = m.horizontalAdvance(MainForm->F[i]->text());
        EXPECT_EQ(MainForm->F[i]->width(), text > 63 ? text + 16 : 79);
    }
    for (int i = 2; i < 9; ++i)
        EXPECT_EQ(MainForm->F[i]->width(), 79);
    EXPECT_EQ(MainForm->F[1]->x(), MainForm->F[0]->width());
}

TEST_F(PlotView, SmallWindowIsRaisedTo500x300)
{
    setOuterSize(400, 250);
    EXPECT_EQ(MainForm->outerWidth(), 500);
    EXPECT_EQ(MainForm->outerHeight(), 300);
    EXPECT_EQ(MainForm->SigWinFrame->size(), QSize(392, 144));
    EXPECT_EQ(MainForm->SigWin->size(), QSize(388, 140));
    EXPECT_TRUE(waitForGridOfNewSize()) << "the picture is rebuilt at 388 x 140";
}

TEST_F(PlotView, MaximisingLaysTheWindowOutAgainAndRebuildsThePlot)
{
    MainForm->showMaximized();
    ASSERT_TRUE(QTest::qWaitFor([] { return MainForm->SigWin->width() > 528; }));
    EXPECT_TRUE(waitForGridOfNewSize()) << "the picture is rebuilt at the maximised size";
    MainForm->showNormal();
    ASSERT_TRUE(QTest::qWaitFor([] { return MainForm->SigWin->width() == 528; }));
    EXPECT_TRUE(waitForGridOfNewSize()) << "and again at 528 x 290";
    setOuterSize(700, 500);
    EXPECT_TRUE(waitForGridOfNewSize()) << "and after a plain resize";
}

// At the smallest height the first level label reaches into "dBxx", which
// is written after it. Each label is written on an opaque background in the
// strip colour, so "dBxx" reads as if it stood alone.
TEST_F(PlotView, OverlappingLabelsAreWrittenOnTheStripColour)
{
    setOuterSize(400, 250); // raised to 500 x 300: the data window is 140 high
    LabelYAxis(DisplayKind);
    PaintBox* strip = MainForm->yAchse;
    const QFontMetrics m(strip->font());
    const auto labels = LevelAxisLabels(Settings.LevelRange, Settings.LevelTop, 140);
    const LabelText& first = labels.front();
    const LabelText& unit = labels.back();
    ASSERT_EQ(unit.text, "dBxx");
    auto boxOf = [&](const LabelText& l) {
        return QRect(l.x, l.y, m.horizontalAdvance(QString::fromLatin1(l.text)), m.height());
    };
    ASSERT_TRUE(boxOf(unit).intersects(boxOf(first)));

    QImage alone(strip->canvas().size(), QImage::Format_RGB32);
    alone.fill(ToQColor(Settings.AxisPanelColor));
    QPainter p(&alone);
    p.setFont(strip->font());
    p.setPen(Qt::black);
    p.drawText(unit.x, unit.y + m.ascent(), QString::fromLatin1(unit.text));
    p.end();
    EXPECT_EQ(strip->canvas().copy(boxOf(unit)), alone.copy(boxOf(unit)));
}

// Whatever a slot holds (here a level factor below 0, NaN values and an
// infinite band), ResetPlot empties it and draws the grid.
TEST_F(PlotView, ResetNeverFailsWhateverTheSlotsHold)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    ResponseCurve.header.LevelFactor = -1.0f;
    std::fill_n(ResponseCurve.values, kCurveCapacity, nan);
    ImpedanceCurve.header.UpperFrequency = std::numeric_limits<float>::infinity();
    std::fill_n(ImpedanceCurve.values, kCurveCapacity, nan);
    OffscreenBitmap.fill(Qt::white);
    EXPECT_NO_THROW(ResetPlot());
    EXPECT_TRUE(showsGridFor(528, 290));
    for (const CurveSlot* slot : {&ResponseCurve, &ImpedanceCurve}) {
        EXPECT_EQ(slot->header, kEmptyCurveHeader);
        EXPECT_EQ(slot->values[kCurveCapacity - 1], EmptyCurveValue);
    }
    EXPECT_EQ(boxesOpenedBy([] { MainForm->ZoomXButton->click(); }), 0);
}

// A clearing draw fills the background and draws the grid before the trace
// can fault.
TEST_F(PlotView, ClearingDrawLeavesTheGridWhenTheTraceFaults)
{
    ResponseCurve.header.LevelFactor = 0.0f;
    Plot.ActiveDisplayKind = 7;
    OffscreenBitmap.fill(Qt::white);
    EXPECT_THROW(
        DrawResponseCurve(ResponseCurve.values, true, Settings.SignalColor), CurveDrawingFault);
    EXPECT_TRUE(showsGridFor(528, 290));
    ResponseCurve.header = kEmptyCurveHeader;
}

TEST_F(PlotView, ResetDrawsTheEmptyGridAndLabels)
{
    const QRgb grid = qRgb(128, 128, 128) & 0xFFFFFF;
    const FreqMapping m = ComputeFreqMapping(20.0f, 20000.0f, 528);
    EXPECT_TRUE(columnHas(FreqToX(m, 100), grid));
    EXPECT_TRUE(columnHas(FreqToX(m, 30), grid));
    EXPECT_EQ(pixel(FreqToX(m, 100) + 3, 5), 0u) << "black background between the lines";
    EXPECT_EQ(pixel(3, 290 * 1 / 12), grid) << "the first of twelve rows";
    EXPECT_EQ(Plot.ActiveDisplayKind, 7);
    EXPECT_EQ(ResponseCurve.header.TransformLength, 512);
    EXPECT_FLOAT_EQ(ImpedanceCurve.values[100], EmptyCurveValue);
}

TEST_F(PlotView, ResponseCurveIsDrawnWhereTheLevelRulePutsIt)
{
    writeFlatCurve("FLAT.EA", 10000.0f); // 80 dB
    Plot.ActiveDisplayKind = 7;
    ReadResponseCurve("FLAT.EA");
    const int y = int(std::lround(290 * (100.0 - 80.0) / 60.0));
    const QRgb lime = qRgb(0, 255, 0) & 0xFFFFFF;
    EXPECT_EQ(pixel(250, y), lime);
    EXPECT_NE(pixel(250, y - 3), lime);
}

TEST_F(PlotView, ImpedanceCurveIsDrawnOnlyForTheImpedanceKind)
{
    writeFlatCurve("FLAT.OHM", 0.04f); // 6 Ohm at 150 Ohm serial resistor
    const int y = int(std::lround(290 * (1 - 60.0 / 400.0)));
    const QRgb lime = qRgb(0, 255, 0) & 0xFFFFFF;
    Plot.ActiveDisplayKind = 7;
    ReadImpedanceCurve("FLAT.OHM");
    EXPECT_NE(pixel(250, y), lime);
    Plot.ActiveDisplayKind = kImpedanceKind;
    ReadImpedanceCurve("FLAT.OHM");
    EXPECT_EQ(pixel(250, y), qRgb(0, 255, 255) & 0xFFFFFF) << "the second colour of the cycle";
}

TEST_F(PlotView, ZeroAndNegativeValuesRaiseTheirFaults)
{
    Plot.ActiveDisplayKind = 7;
    for (auto [value, kind] :
        {std::pair {0.0f, FaultKind::Unknown}, std::pair {-1.0f, FaultKind::InvalidOperation}}) {
        writeFlatCurve("BAD.EA", value);
        try {
            ReadResponseCurve("BAD.EA");
            ADD_FAILURE() << "no fault for " << value;
        } catch (const ArithmeticFault& fault) {
            EXPECT_EQ(fault.kind(), kind);
        }
    }
}

TEST_F(PlotView, YButtonsActOnTheImpedanceScaleUntilALevelCurveIsLoaded)
{
    CurveKindText = "--";
    CurveName = "ROOM.OHM";
    MainForm->UpButton->click();
    EXPECT_EQ(Settings.ImpedanceBase, 100);
    EXPECT_EQ(Settings.LevelTop, 100);
    EXPECT_EQ(MainForm->MO->text(), "ROOM");
    CurveKindText = "H2";
    MainForm->UpButton->click();
    EXPECT_EQ(Settings.LevelTop, 110);
    MainForm->ZoomXButton->click();
    EXPECT_FLOAT_EQ(Plot.ViewFreqLow, 30.0f);
    EXPECT_FLOAT_EQ(Plot.ViewFreqHigh, 10000.0f);
    EXPECT_EQ(Plot.ActiveDisplayKind, kImpedanceKind);
}

TEST_F(PlotView, ReadOutShowsFrequencyLevelAndImpedanceUnderThePointer)
{
    setOuterSize(640, 369); // SigWin height 209
    ASSERT_EQ(MainForm->SigWin->height(), 209);
    QTest::mouseMove(MainForm->SigWinFrame, QPoint(2, 2));
    EXPECT_EQ(MainForm->Positionslabel->text(), "f:  20 Hz   y: 100.0 dBxx    39.8 Ohm");
    EXPECT_EQ(MainForm->SigWinFrame->cursor().shape(), Qt::BitmapCursor);
    QTest::mouseMove(MainForm->SigWinFrame, QPoint(2 + MainForm->SigWin->width(), 1));
    EXPECT_TRUE(MainForm->Positionslabel->text().startsWith("f: 20000 Hz   y: 100.3 dBxx"));
    QTest::mouseMove(MainForm->DatWinFrame, QPoint(10, 100));
    EXPECT_EQ(MainForm->Positionslabel->text(), "");
    EXPECT_EQ(MainForm->SigWinFrame->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(PlotView, LeftPressWritesAnAnnotationThatAZoomRemoves)
{
    const QPoint at(200, 100);
    const QRgb green = qRgb(0, 255, 0) & 0xFFFFFF;
    auto greenNear = [&] {
        for (int y = at.y() - 8; y < at.y() + 6; ++y)
            for (int x = at.x(); x < at.x() + 30; ++x)
                if (pixel(x, y) == green)
                    return true;
        return false;
    };
    whenModal([] {
        auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "Sonivex");
        EXPECT_EQ(dialog->labelText(), "Enter text to place at mouse position:");
        dialog->setTextValue("WOOFER");
        dialog->accept();
    });
    QTest::mouseClick(MainForm->SigWinFrame, Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_TRUE(greenNear());

    writeFlatCurve("FLAT.EA", 10000.0f);
    Plot.ActiveDisplayKind = 7;
    ReadResponseCurve("FLAT.EA");
    EXPECT_TRUE(greenNear()) << "a further load draws over the annotation";

    MainForm->ZoomXButton->click();
    EXPECT_FALSE(greenNear()) << "a zoom rebuilds the picture";
}

TEST_F(PlotView, ShiftOrRightPressOnlyRefreshesTheReadOut)
{
    // A dialog that opened by mistake is closed after a moment and recorded.
    auto opened = std::make_shared<bool>(false);
    QTimer::singleShot(100, [opened] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            *opened = true;
            modal->close();
        }
    });
    QTest::mouseClick(MainForm->SigWinFrame, Qt::LeftButton, Qt::ShiftModifier, QPoint(50, 50));
    QTest::mouseClick(MainForm->SigWinFrame, Qt::RightButton, Qt::NoModifier, QPoint(60, 50));
    QTest::qWait(150);
    EXPECT_FALSE(*opened);
    EXPECT_TRUE(MainForm->Positionslabel->text().startsWith("f: "));
}

TEST_F(PlotView, ResetEmptiesBothCurves)
{
    writeFlatCurve("FLAT.EA", 10000.0f);
    Plot.ActiveDisplayKind = 7;
    ReadResponseCurve("FLAT.EA");
    Plot.ViewFreqLow = 100.0f;
    ResetPlot();
    EXPECT_FLOAT_EQ(Plot.ViewFreqLow, 20.0f);
    EXPECT_FLOAT_EQ(ResponseCurve.values[10], EmptyCurveValue);
    const int y = int(std::lround(290 * (100.0 - 80.0) / 60.0));
    EXPECT_NE(pixel(250, y), qRgb(0, 255, 0) & 0xFFFFFF);
}

TEST_F(PlotView, StripClicksSelectTheAxisOfTheYButtons)
{
    CurveKindText = "--";
    QTest::mouseClick(MainForm->DatWinFrame, Qt::LeftButton, Qt::NoModifier,
        MainForm->yAchse->geometry().center());
    EXPECT_EQ(CurveKindText, "H2");
    QTest::mouseClick(MainForm->DatWinFrame, Qt::LeftButton, Qt::NoModifier,
        MainForm->yAchseR->geometry().center());
    EXPECT_EQ(CurveKindText, "Z2");
}

} // namespace
