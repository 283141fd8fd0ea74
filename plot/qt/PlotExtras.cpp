// The extras of a rendered picture: the statistics band, limit lines and the
// legend, painted by the plot painter.

#include "plot/DataWindowPoints.h"
#include "plot/LegendPlacement.h"
#include "plot/qt/PlotPainter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

BandColours BandColoursOn(const QColor& dataWindow)
{
    if (dataWindow.lightness() < 128)
        return {QColor(255, 150, 0, 56), QColor(255, 150, 0, 64), QColor(255, 150, 0)};
    return {QColor(200, 110, 0, 56), QColor(200, 110, 0, 64), QColor(200, 110, 0)};
}

namespace
{

// The values at the frequencies as points of the data window.
std::vector<ClipPoint> PointsOf(const DataWindowPoints& onWindow,
    const std::vector<double>& frequencies, const std::vector<double>& magnitudes)
{
    std::vector<ClipPoint> points;
    points.reserve(frequencies.size());
    for (std::size_t i = 0; i < frequencies.size() && i < magnitudes.size(); ++i)
        points.push_back(onWindow(frequencies[i], magnitudes[i]));
    return points;
}

// The area between two lines of values, cut to the data window.
QPolygonF AreaBetween(const DataWindowPoints& onWindow, const std::vector<double>& frequencies,
    const std::vector<double>& low, const std::vector<double>& high, const TraceFrame& frame)
{
    std::vector<ClipPoint> outline = PointsOf(onWindow, frequencies, high);
    const std::vector<ClipPoint> below = PointsOf(onWindow, frequencies, low);
    outline.insert(outline.end(), below.rbegin(), below.rend());
    QPolygonF polygon;
    for (const ClipPoint& c : ClipPolygon(outline, frame.width, frame.height))
        polygon << QPointF(c.x, c.y);
    return polygon;
}

// A line of the legend: its text in its colour after a short line of that
// colour, or after a swatch of the areas it names (filled one over another).
struct LegendEntry {
    QString text;
    QColor colour;
    std::vector<QColor> fills;
};

std::vector<LegendEntry> LegendEntries(
    const std::vector<PlotCurve>& curves, const PlotExtras& extras, const BandColours& band)
{
    std::vector<LegendEntry> entries;
    for (std::size_t i = 0; i < curves.size() && i < extras.curveNames.size(); ++i)
        entries.push_back({extras.curveNames[i], curves[i].colour, {}});
    if (extras.band) {
        entries.push_back({"minimum to maximum", band.median, {band.outer}});
        if (!extras.band->lowest.empty())
            entries.push_back({QString::fromStdString(extras.band->rangeName), band.median,
                {band.outer, band.inner}});
        entries.push_back({QString::fromStdString(extras.band->medianName), band.median, {}});
    }
    if (!extras.limits.empty())
        entries.push_back({"limits", kLimitColour, {}});
    return entries;
}

// The pixels of the points that lie in the data window, for placing the
// legend.
std::vector<TracePoint> PixelsWithin(const std::vector<ClipPoint>& points, const TraceFrame& frame)
{
    std::vector<TracePoint> pixels;
    for (const ClipPoint& c : points)
        if (c.x >= 0 && c.x <= frame.width && c.y >= 0 && c.y <= frame.height)
            pixels.push_back({int(std::lround(c.x)), int(std::lround(c.y))});
    return pixels;
}

} // namespace

void PlotPainter::paintBand(QPainter& p, const StatsBand& band) const
{
    const DataWindowPoints onWindow(band.kind, m_scales, m_frame);
    const BandColours colours = BandColoursOn(m_colours.dataWindow);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(colours.outer);
    p.drawPolygon(AreaBetween(onWindow, band.frequencies, band.minimum, band.maximum, m_frame));
    if (!band.lowest.empty()) {
        p.setBrush(colours.inner);
        p.drawPolygon(AreaBetween(onWindow, band.frequencies, band.lowest, band.highest, m_frame));
    }
    p.setPen(colours.median);
    p.setBrush(Qt::NoBrush);
    DrawPolylineWithin(
        p, PointsOf(onWindow, band.frequencies, band.median), m_frame.width, m_frame.height);
    p.restore();
}

void PlotPainter::paintLimits(
    QPainter& p, CurveKind kind, const std::vector<std::vector<BandPoint>>& limits) const
{
    const DataWindowPoints onWindow(kind, m_scales, m_frame);
    p.save();
    p.setPen(kLimitColour);
    for (const std::vector<BandPoint>& limit : limits) {
        std::vector<ClipPoint> line;
        for (const BandPoint& point : limit)
            line.push_back(onWindow(point.frequency, point.magnitude));
        DrawPolylineWithin(p, line, m_frame.width, m_frame.height);
    }
    p.restore();
}

void PlotPainter::paintLegend(QPainter& p, const std::vector<PlotCurve>& curves,
    const PlotExtras& extras, const QFont& font) const
{
    const BandColours band = BandColoursOn(m_colours.dataWindow);
    const std::vector<LegendEntry> entries = LegendEntries(curves, extras, band);
    if (entries.empty())
        return;
    const QFontMetrics metrics(font);
    constexpr int kPad = 4, kSwatch = 14, kGap = 4, kMargin = 6;
    int textWidth = 0;
    for (const LegendEntry& e : entries)
        textWidth = std::max(textWidth, metrics.horizontalAdvance(e.text));
    const int line = metrics.height();
    std::vector<std::vector<TracePoint>> traces;
    for (const PlotCurve& c : curves)
        traces.push_back(traceOf(c).points);
    if (extras.band) {
        const DataWindowPoints onWindow(extras.band->kind, m_scales, m_frame);
        traces.push_back(PixelsWithin(
            PointsOf(onWindow, extras.band->frequencies, extras.band->median), m_frame));
    }
    const LegendBox box
        = PlaceLegend(m_frame.width, m_frame.height, 2 * kPad + kSwatch + kGap + textWidth,
            2 * kPad + line * int(entries.size()), kMargin, traces);
    p.save();
    p.setPen(m_colours.grid);
    p.setBrush(m_colours.dataWindow);
    p.drawRect(box.x, box.y, box.width, box.height);
    p.setFont(font);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const LegendEntry& e = entries[i];
        const int y = box.y + kPad + line * int(i);
        for (const QColor& fill : e.fills)
            p.fillRect(box.x + kPad, y + 2, kSwatch, line - 4, fill);
        p.setPen(e.colour);
        if (e.fills.empty())
            p.drawLine(box.x + kPad, y + line / 2, box.x + kPad + kSwatch, y + line / 2);
        p.drawText(box.x + kPad + kSwatch + kGap, y + metrics.ascent(), e.text);
    }
    p.restore();
}
