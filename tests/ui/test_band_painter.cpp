// The painter's statistics band, limit lines and legend: under and over the
// curves as designed, and safe with values far beyond any picture.

#include "plot/DataWindowPoints.h"
#include "plot/qt/PlotPainter.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace
{

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

const TraceFrame kFrame {600, 300, 20.0f, 20000.0f};
const AxisScales kScales {60, 100, 50, 0};
const PlotColours kColours {Qt::black, QColor(128, 128, 128), Qt::gray};

// A band from -1e308 to 1e308 dB between 100 Hz and 10 kHz with a median
// that leaves the picture, limits of 1e308, infinite dB and no number.
PlotExtras HugeExtras()
{
    StatsBand band;
    band.frequencies = {100, 1000, 10000};
    band.minimum = {-1e308, -kInf, -1e308};
    band.maximum = {1e308, kInf, 1e308};
    band.lowest = {-1e308, 60, kNaN};
    band.highest = {1e308, 70, 1e308};
    band.median = {65, 1e308, 65};
    band.rangeName = "P5 to P95";
    band.medianName = "median (P50)";
    PlotExtras extras;
    extras.band = band;
    extras.limits = {{{100, 60}, {1000, 1e308}}, {{20, -kInf}, {500, 40}, {600, kNaN}, {0, 70}}};
    extras.legend = true;
    return extras;
}

TEST(BandPainter, NoNumberThatIsNotFiniteReachesAVectorPicture)
{
    QByteArray svg;
    QBuffer buffer(&svg);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(QSize(kFrame.width, kFrame.height));
    QPainter p(&generator);
    const PlotPainter painter(kFrame, kScales, 150.0f, kColours);
    painter.paintDataWindow(p, {}, HugeExtras(), QFont("Liberation Sans"));
    p.end();
    const QString text = QString::fromUtf8(svg).toLower();
    EXPECT_TRUE(text.contains("<polyline") || text.contains("<path"));
    EXPECT_FALSE(text.contains("nan")) << svg.toStdString();
    EXPECT_FALSE(text.contains("inf")) << svg.toStdString();
    EXPECT_TRUE(text.contains(">p5 to p95</text>"));
}

// A limit from 60 dB at 100 Hz towards 1e308 dB at 1 kHz is a line straight
// up from its first point; the band from -1e308 to 1e308 dB fills the whole
// height between its frequencies.
TEST(BandPainter, LinesTowardsHugeValuesAreDrawnWhereTheyCrossThePicture)
{
    const PlotPainter painter(kFrame, kScales, 150.0f, kColours);
    const auto paint = [&](const PlotExtras& extras) {
        QImage picture(kFrame.width, kFrame.height, QImage::Format_RGB32);
        QPainter p(&picture);
        painter.paintDataWindow(p, {}, extras);
        return picture;
    };
    PlotExtras extras = HugeExtras();
    extras.legend = false;
    extras.limits.resize(1);
    const QImage picture = paint(extras);
    const QImage plain = paint(PlotExtras());

    const DataWindowPoints onWindow(CurveKind::Response, kScales, kFrame);
    const ClipPoint start = onWindow(100, 60);
    int lowest = -1, highest = kFrame.height;
    for (int y = 0; y < kFrame.height; ++y)
        for (int x = 0; x < kFrame.width; ++x)
            if (picture.pixel(x, y) == qRgb(255, 0, 0)) {
                EXPECT_LE(std::fabs(x - start.x), 1.0) << x << "," << y;
                lowest = std::max(lowest, y);
                highest = std::min(highest, y);
            }
    EXPECT_NEAR(lowest, start.y, 1.0);
    EXPECT_LE(highest, 1); // up to the top edge

    // Shaded from top to bottom at 1.5 kHz, untouched at 50 Hz.
    const int inside = int(onWindow(1500, 0).x), outside = int(onWindow(50, 0).x);
    for (int y = 0; y < kFrame.height; ++y) {
        EXPECT_NE(picture.pixel(inside, y), plain.pixel(inside, y)) << y;
        EXPECT_EQ(picture.pixel(outside, y), plain.pixel(outside, y)) << y;
    }
}

} // namespace
