// The plot painter draws whole pictures without any window; its data window
// must be the viewer's own picture, pixel for pixel.

#include "UiFixture.h"

#include "curves/ExampleCurves.h"
#include "curves/LoadState.h"
#include "curves/qt/LoadFlows.h"
#include "plot/qt/PlotPainter.h"
#include "plot/qt/PlotView.h"
#include "ui/qt/Colours.h"
#include "ui/qt/PaintBox.h"
#include "ui/qt/TMainForm.h"

#include <QApplication>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <functional>
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

// The viewer writes the background back only over the lines it drew since
// the last one, while nothing else painted its picture. After loads, zooms,
// a scroll, a resize and an inscription the picture must be the one drawn
// afresh, every time.
TEST_F(PlotPainterTest, EveryRedrawIsThePictureDrawnAfresh)
{
    const std::map<std::string, ExampleCurve> examples = writeExamples();
    chooseWhenAsked("SPEAKER.EA");
    F1Click();
    chooseWhenAsked("SPEAKER.OHM");
    F2Click();
    const std::vector<float> speaker = slotValues(examples.at("SPEAKER.EA"));
    const std::vector<float> impedance = slotValues(examples.at("SPEAKER.OHM"));
    // A rebuild draws the response in the signal colour, the impedance curve
    // in the first colour of the cycle.
    CurveColours.restart();
    const std::vector<PlotCurve> curves {
        {examples.at("SPEAKER.EA").header, speaker.data(), false, ToQColor(Settings.SignalColor)},
        {examples.at("SPEAKER.OHM").header, impedance.data(), true, ToQColor(CurveColours.next())}};
    auto differingFromAFreshPicture = [&] {
        QImage fresh(OffscreenBitmap.size(), QImage::Format_RGB32);
        QPainter p(&fresh);
        viewerPainter().paintDataWindow(p, curves);
        p.end();
        int differing = 0;
        for (int y = 0; y < fresh.height(); ++y)
            for (int x = 0; x < fresh.width(); ++x)
                differing += fresh.pixel(x, y) != OffscreenBitmap.pixel(x, y);
        return differing;
    };
    TMainForm& f = *MainForm;
    const std::vector<std::pair<const char*, std::function<void()>>> steps = {
        {"zoom in", [&] { XButtonClick(f.ZoomXButton); }},
        {"zoom in again", [&] { XButtonClick(f.ZoomXButton); }},
        {"scroll", [&] { XButtonClick(f.RightButton); }},
        {"zoom out", [&] { XButtonClick(f.ReZoomXButton); }},
        {"an inscription, then a redraw",
            [&] {
                QPainter p(&OffscreenBitmap);
                p.fillRect(40, 40, 120, 30, Qt::white);
                p.end();
                RebuildPlot();
            }},
        {"a larger window",
            [&] {
                f.setOuterSize(900, 600);
                QApplication::processEvents();
                RebuildPlot();
            }},
        {"zoom out again", [&] { XButtonClick(f.ReZoomXButton); }},
    };
    for (const auto& [what, step] : steps) {
        step();
        EXPECT_EQ(differingFromAFreshPicture(), 0) << what;
    }
}

} // namespace

namespace
{

// The pixels of a polyline through the points, drawn the plain way: every
// point, a repeated one dropped (a segment of no length at the start draws a
// pixel of its own in Qt; the viewer has always dropped repeats).
QImage plainPolyline(QSize size, const std::vector<TracePoint>& points)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::black);
    std::vector<QPoint> all;
    for (const TracePoint& t : points)
        if (all.empty() || all.back() != QPoint(t.x, t.y))
            all.emplace_back(t.x, t.y);
    QPainter p(&image);
    p.setPen(QColor(0, 255, 0));
    p.drawPolyline(all.data(), int(all.size()));
    return image;
}

// The same pseudo-random numbers on every run.
struct TestRandom {
    uint32_t seed;

    uint32_t step()
    {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    }
    int below(int range) { return int(step() % uint32_t(range)); }
    float unit() { return float(step()) / float(1 << 24); }
};

int differingPixels(const QImage& a, const QImage& b)
{
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

} // namespace

// The painter draws a trace through its corners only; the picture must be
// the plain drawing through every point, pixel for pixel.
TEST(PlotPainterCorners, CurvesDrawTheSamePixelsAsThroughEveryPoint)
{
    TestRandom random {7};
    auto noise = [&random] { return random.unit(); };
    auto curve = [](auto valueAt) {
        std::vector<float> v(kCurveCapacity);
        for (int k = 0; k < kCurveCapacity; ++k)
            v[k] = valueAt(k);
        return v;
    };
    const std::vector<std::vector<float>> curves = {
        curve([](int k) { return 0.05f * (1.5f + std::sin(0.01f * float(k))); }),
        curve([&](int) { return 0.05f * std::pow(10.0f, 0.5f * noise()); }),
        curve([](int k) { return k % 2 ? 0.1f : 0.1001f; }),
        curve([](int k) { return 1e-4f * std::pow(float(k + 1) / 300.0f, 3.0f); }),
    };
    const CurveHeader header {20000.0f, 48000, 65536, 20000.0f, 20.0f};
    for (const QSize size : {QSize(528, 290), QSize(1808, 920)}) {
        const TraceFrame frame {size.width(), size.height(), 20.0f, 20000.0f};
        const PlotPainter painter(frame, {60, 100, 50, 0}, 150.0f, {Qt::black, Qt::gray, Qt::gray});
        for (std::size_t c = 0; c < curves.size(); ++c)
            for (const bool impedance : {false, true}) {
                SCOPED_TRACE(testing::Message()
                    << size.width() << ", curve " << c << (impedance ? ", impedance" : ", level"));
                const TraceResult trace = impedance
                    ? ComputeImpedanceTrace(
                        header, curves[c].data(), frame, {60, 100, 50, 0}, 150.0f)
                    : ComputeResponseTrace(header, curves[c].data(), frame, {60, 100, 50, 0});
                ASSERT_GT(trace.points.size(), 1000u);
                QImage fast(size, QImage::Format_RGB32);
                fast.fill(Qt::black);
                QPainter p(&fast);
                painter.paintCurve(p, {header, curves[c].data(), impedance, QColor(0, 255, 0)});
                p.end();
                EXPECT_EQ(differingPixels(fast, plainPolyline(size, trace.points)), 0);
            }
    }
}

// Random walks with runs along rows and columns, turns and reversals, drawn
// the way the painter draws a trace: through their corners, with the pixels
// written directly.
TEST(PlotPainterCorners, RandomWalksDrawTheSamePixelsThroughTheirCorners)
{
    TestRandom random {2024u};
    auto next = [&random](int range) { return random.below(range); };
    const QSize size(120, 90);
    for (int walk = 0; walk < 5000; ++walk) {
        std::vector<TracePoint> points {{next(120), next(90)}};
        for (int k = 0; k < 60; ++k) {
            TracePoint p = points.back();
            switch (next(4)) {
            case 0:
                p.y += next(7) - 3; // along the column
                break;
            case 1:
                p.x += next(7) - 3; // along the row
                break;
            case 2:
                p.x += 1; // to the next column, anywhere
                p.y += next(21) - 10;
                break;
            default:
                break; // a repeated point
            }
            p.x = std::clamp(p.x, -5, 125); // some beyond the edges
            p.y = std::clamp(p.y, -5, 95);
            points.push_back(p);
        }
        QImage drawn(size, QImage::Format_RGB32);
        drawn.fill(Qt::black);
        QPainter p(&drawn);
        p.setPen(QColor(0, 255, 0));
        DrawTracePolyline(p, points, size.width(), size.height());
        p.end();
        ASSERT_EQ(differingPixels(drawn, plainPolyline(size, points)), 0) << "walk " << walk;
    }
}

// Lines drawn the painter's way and taken away by writing the background
// back over their footprint: random walks with long jumps, turns and points
// far beyond the edges must leave the background as written afresh.
TEST(PlotPainterMemo, BackgroundWrittenBackOverTheLinesIsTheFreshBackground)
{
    TestRandom random {99u};
    auto next = [&random](int range) { return random.below(range); };
    const QSize size(160, 100);
    const PlotPainter painter({size.width(), size.height(), 20.0f, 20000.0f}, {60, 100, 50, 0},
        150.0f, {QColor(0, 0, 0), QColor(128, 128, 128), QColor(200, 200, 200)});
    QImage fresh(size, QImage::Format_RGB32);
    QPainter f(&fresh);
    painter.paintBackground(f);
    f.end();
    QImage picture(size, QImage::Format_RGB32);
    PictureMemo memo;
    QPainter p(&picture);
    painter.paintBackground(p, &memo);
    for (int walk = 0; walk < 3000; ++walk) {
        ASSERT_TRUE(memo.valid);
        for (int line = 0; line < 2; ++line) {
            std::vector<TracePoint> points {{next(200) - 20, next(140) - 20}};
            for (int k = 0; k < 12; ++k) {
                TracePoint q = points.back();
                if (next(3) == 0) {
                    q = {next(400) - 120, next(340) - 120}; // anywhere, often beyond
                } else {
                    q.x += next(5) - 2;
                    q.y += next(41) - 20;
                }
                points.push_back(q);
            }
            // As the painter adds a curve: the corners it drew.
            p.setPen(line ? QColor(0, 255, 0) : QColor(255, 0, 255));
            memo.lines.emplace_back(size.width(), size.height());
            memo.lines.back().addPolyline(
                DrawTracePolyline(p, points, size.width(), size.height()));
        }
        painter.paintBackground(p, &memo);
        ASSERT_EQ(picture, fresh) << "walk " << walk;
    }
}

// On a plain 32-bit picture the grid is written into the pixels; it must be
// the grid the painter's lines give, for every kind of level range and for
// columns at and beyond the edges.
TEST(PlotPainterGrid, WrittenGridIsThePaintedGrid)
{
    struct View {
        QSize size;
        float low, high;
        int32_t levelRange;
    };
    const std::vector<View> views = {{{528, 290}, 20, 20000, 60}, {{1808, 920}, 5, 30000, 40},
        {{388, 140}, 100, 400, 5}, {{1000, 701}, 40, 20000, 50}, {{600, 300}, 20, 20000, 37},
        {{640, 480}, 1000, 20000, 120}};
    for (const View& v : views) {
        SCOPED_TRACE(testing::Message() << v.size.width() << " x " << v.size.height() << ", "
                                        << v.low << " to " << v.high << " Hz");
        const PlotPainter painter({v.size.width(), v.size.height(), v.low, v.high},
            {v.levelRange, 100, 50, 0}, 150.0f,
            {QColor(0, 0, 0), QColor(128, 128, 128), QColor(200, 200, 200)});
        QImage written(v.size, QImage::Format_RGB32), painted(v.size, QImage::Format_RGB32);
        QPainter w(&written);
        painter.paintBackground(w);
        w.end();
        QPainter p(&painted);
        p.setClipRect(QRect(QPoint(0, 0), v.size)); // the painter's own lines
        painter.paintBackground(p);
        p.end();
        EXPECT_EQ(differingPixels(written, painted), 0);
    }
}
