#include "plot/qt/PlotPainter.h"

#include "curves/FrequencyGrid.h"
#include "plot/PolylineClip.h"
#include "plot/PolylineCorners.h"

#include <QFontMetrics>
#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPoint>
#include <algorithm>

PlotPainter::PlotPainter(const TraceFrame& frame, const AxisScales& scales, float serialResistor,
    const PlotColours& colours)
    : m_frame(frame)
    , m_scales(scales)
    , m_serialResistor(serialResistor)
    , m_colours(colours)
{
}

namespace
{

// The picture a painter draws into, when lines may be written into its
// pixels directly with the same result: a 32-bit picture of the frame's
// size, painted without transformation (a device pixel ratio's scaling
// included), clipping, transparency or blending.
QImage* directlyWritablePicture(QPainter& p, const TraceFrame& frame)
{
    if (p.device()->devType() != QInternal::Image || p.hasClipping()
        || !p.deviceTransform().isIdentity() || p.opacity() != 1.0
        || p.compositionMode() != QPainter::CompositionMode_SourceOver)
        return nullptr;
    auto* image = static_cast<QImage*>(p.device());
    if (image->format() != QImage::Format_RGB32 || image->width() != frame.width
        || image->height() != frame.height)
        return nullptr;
    return image;
}

// The colour of every column of a row without a grid line, and which rows
// are grid lines: the pixels a fill and a one-pixel pen give the lines from
// (0, y) to (W, y) and from (x, 0) to (x, H), clipped to the picture.
struct GridPixels {
    std::vector<QRgb> plainRow;
    std::vector<bool> gridRow;
};

GridPixels gridPixels(QSize size, const FrequencyGrid& grid, QRgb background, QRgb line)
{
    GridPixels g {std::vector<QRgb>(std::size_t(size.width()), background),
        std::vector<bool>(std::size_t(size.height()), false)};
    for (int x : grid.columns)
        if (x >= 0 && x < size.width())
            g.plainRow[std::size_t(x)] = line;
    for (int y : grid.rows)
        if (y >= 0 && y < size.height())
            g.gridRow[std::size_t(y)] = true;
    return g;
}

// The background and the grid written into the picture in one pass, without
// the painter's per-pixel work: a row is a copy of one prepared row.
void writeBackgroundAndGrid(QImage& image, const GridPixels& g, QRgb line)
{
    const int width = image.width();
    uchar* bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(bits + y * stride);
        if (g.gridRow[std::size_t(y)])
            std::fill_n(row, width, line);
        else
            std::copy(g.plainRow.begin(), g.plainRow.end(), row);
    }
}

// The same pixels written only over the spans of `lines`, in a picture that
// holds this background and grid everywhere else. The columns go in blocks
// as wide as a cache line, each written over the union of its columns'
// spans: whole lines of memory copied from a prepared row, and the extra
// pixels written are background already.
void restoreBackgroundAndGrid(
    QImage& image, const GridPixels& g, QRgb line, const LineFootprint& lines)
{
    constexpr int kBlock = 16; // pixels of 4 bytes in 64
    const std::vector<QRgb> lineRow(g.plainRow.size(), line);
    uchar* bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    const std::vector<RowSpan>& columns = lines.columns();
    const int width = int(columns.size());
    for (int x0 = 0; x0 < width; x0 += kBlock) {
        const int n = std::min(kBlock, width - x0);
        int top = image.height(), end = 0;
        for (int x = x0; x < x0 + n; ++x) {
            const RowSpan& span = columns[std::size_t(x)];
            if (span.end > span.top) {
                top = std::min(top, span.top);
                end = std::max(end, span.end);
            }
        }
        for (int y = top; y < end; ++y) {
            const std::vector<QRgb>& from = g.gridRow[std::size_t(y)] ? lineRow : g.plainRow;
            std::copy_n(from.begin() + x0, n, reinterpret_cast<QRgb*>(bits + y * stride) + x0);
        }
    }
}

} // namespace

void PlotPainter::paintBackground(QPainter& p, PictureMemo* memo) const
{
    const TraceFrame& f = m_frame;
    QImage* picture = directlyWritablePicture(p, f);
    const bool opaque = m_colours.dataWindow.alpha() == 255 && m_colours.grid.alpha() == 255;
    const bool memoUsable = memo && memo->valid;
    if (memo)
        memo->valid = false;
    if (!picture || !opaque) {
        p.fillRect(0, 0, f.width, f.height, m_colours.dataWindow);
        paintGridLines(p, computeGrid());
        return;
    }
    FrequencyGrid grid;
    try {
        grid = computeGrid();
    } catch (...) {
        // As on any picture: filled, without a grid.
        p.fillRect(0, 0, f.width, f.height, m_colours.dataWindow);
        throw;
    }
    const QRgb background = m_colours.dataWindow.rgb(), line = m_colours.grid.rgb();
    const bool sameBackground = memoUsable && memo->size == picture->size() && memo->grid == grid
        && memo->background == background && memo->line == line;
    const GridPixels pixels = gridPixels(picture->size(), grid, background, line);
    if (sameBackground)
        for (const LineFootprint& lines : memo->lines)
            restoreBackgroundAndGrid(*picture, pixels, line, lines);
    else
        writeBackgroundAndGrid(*picture, pixels, line);
    if (memo)
        *memo = {true, picture->size(), std::move(grid), background, line, {}};
}

FrequencyGrid PlotPainter::computeGrid() const
{
    const TraceFrame& f = m_frame;
    const FreqMapping mapping = ComputeFreqMapping(f.viewFreqLow, f.viewFreqHigh, f.width);
    return ComputeFrequencyGrid(
        f.height, m_scales.LevelRange, f.viewFreqLow, f.viewFreqHigh, mapping);
}

void PlotPainter::paintGridLines(QPainter& p, const FrequencyGrid& grid) const
{
    p.setPen(m_colours.grid);
    for (int y : grid.rows)
        p.drawLine(0, y, m_frame.width, y);
    for (int x : grid.columns)
        p.drawLine(x, 0, x, m_frame.height);
}

void PlotPainter::addToFootprint(
    PictureMemo& memo, QPainter& p, const std::vector<TracePoint>& line) const
{
    // Lines the footprint cannot describe (drawn through a transformation,
    // say) leave the memo unusable.
    if (!directlyWritablePicture(p, m_frame)) {
        memo.valid = false;
        return;
    }
    // A footprint of its own for each curve, so that the spans of curves far
    // apart stay short; many overlays share the last one.
    constexpr std::size_t kFootprints = 8;
    if (memo.lines.size() < kFootprints)
        memo.lines.emplace_back(m_frame.width, m_frame.height);
    memo.lines.back().addPolyline(line);
}

TraceResult PlotPainter::traceOf(const PlotCurve& curve) const
{
    return curve.impedance
        ? ComputeImpedanceTrace(curve.header, curve.values, m_frame, m_scales, m_serialResistor)
        : ComputeResponseTrace(curve.header, curve.values, m_frame, m_scales);
}

std::optional<FaultKind> PlotPainter::paintCurve(
    QPainter& p, const PlotCurve& curve, PictureMemo* memo) const
{
    const TraceResult trace = traceOf(curve);
    p.setPen(curve.colour);
    const std::vector<TracePoint> corners
        = DrawTracePolyline(p, trace.points, m_frame.width, m_frame.height);
    if (memo)
        addToFootprint(*memo, p, corners);
    return trace.fault;
}

std::vector<LabelText> PlotPainter::levelLabels() const
{
    return LevelAxisLabels(m_scales.LevelRange, m_scales.LevelTop, m_frame.height);
}

std::vector<LabelText> PlotPainter::impedanceLabels() const
{
    return ImpedanceAxisLabels(m_scales.ImpedanceStep, m_scales.ImpedanceBase, m_frame.height);
}

std::vector<LabelText> PlotPainter::frequencyLabels() const
{
    return FrequencyAxisLabels(m_frame.viewFreqLow, m_frame.viewFreqHigh, m_frame.width);
}

void PlotPainter::paintStrip(
    QPainter& p, const QRect& fill, const std::vector<LabelText>& labels, const QFont& font) const
{
    p.fillRect(fill, m_colours.axisPanel);
    p.setFont(font);
    p.setPen(m_colours.labels);
    p.setBackground(m_colours.axisPanel);
    p.setBackgroundMode(Qt::OpaqueMode);
    const int ascent = p.fontMetrics().ascent();
    for (const LabelText& label : labels)
        p.drawText(label.x, label.y + ascent, QString::fromLatin1(label.text));
    p.setBackgroundMode(Qt::TransparentMode);
}

void PlotPainter::paintStripCut(QPainter& p, const QRect& fill, const QRect& visible,
    const std::vector<LabelText>& labels, const QFont& font) const
{
    const QFontMetrics metrics(font);
    auto boxOf = [&](const LabelText& label) {
        return QRect(label.x, label.y, metrics.horizontalAdvance(QString::fromLatin1(label.text)),
            metrics.height());
    };
    std::vector<LabelText> inside, cut;
    for (const LabelText& label : labels) {
        const QRect box = boxOf(label);
        if (visible.contains(box))
            inside.push_back(label);
        else if (visible.intersects(box))
            cut.push_back(label);
    }
    paintStrip(p, fill.intersected(visible), inside, font);
    QPainterPath strip;
    strip.addRect(visible);
    for (const LabelText& label : cut) {
        QPainterPath outline;
        outline.addText(label.x, label.y + metrics.ascent(), font, QString::fromLatin1(label.text));
        p.fillRect(boxOf(label).intersected(visible), m_colours.axisPanel);
        p.fillPath(outline.intersected(strip), m_colours.labels);
    }
}

namespace
{

QRect toQRect(const Rect& r)
{
    return QRect(r.left, r.top, r.width, r.height);
}

} // namespace

std::vector<std::optional<FaultKind>> PlotPainter::paintPicture(QPainter& p,
    const PlotPictureLayout& layout, const std::vector<PlotCurve>& curves, const QFont& stripFont,
    const PlotExtras& extras) const
{
    p.fillRect(0, 0, layout.width, layout.height, m_colours.axisPanel);
    // Each strip in its own coordinates, clipped to itself; the frequency
    // strip's fill reaches past its right end like the viewer's.
    auto strip = [&](const Rect& r, const QRect& fill, const std::vector<LabelText>& labels) {
        p.save();
        p.setClipRect(toQRect(r));
        p.translate(r.left, r.top);
        if (CannotClip(p))
            paintStripCut(p, fill, QRect(0, 0, r.width, r.height), labels, stripFont);
        else
            paintStrip(p, fill, labels, stripFont);
        p.restore();
    };
    strip(layout.levelStrip, QRect(0, 0, layout.levelStrip.width, layout.levelStrip.height),
        levelLabels());
    strip(layout.impedanceStrip,
        QRect(0, 0, layout.impedanceStrip.width, layout.impedanceStrip.height), impedanceLabels());
    strip(layout.frequencyStrip, QRect(0, 0, m_frame.width + 100, layout.frequencyStrip.height),
        frequencyLabels());

    p.fillRect(toQRect(layout.dataWindowFrame), m_colours.dataWindow);
    const Rect& d = layout.dataWindow;
    if (p.device()->devType() == QInternal::Image) {
        // Into a picture of the data window's own size, as the viewer draws:
        // a line cut at a clip rectangle can end one pixel away from the
        // same line cut at the edge of a picture.
        QImage dataWindow(d.width, d.height, QImage::Format_RGB32);
        QPainter dp(&dataWindow);
        const auto faults = paintDataWindow(dp, curves, extras, stripFont);
        dp.end();
        p.drawImage(d.left, d.top, dataWindow);
        return faults;
    }
    p.save();
    p.setClipRect(toQRect(d));
    p.translate(d.left, d.top);
    const auto faults = paintDataWindow(p, curves, extras, stripFont);
    p.restore();
    return faults;
}

std::vector<std::optional<FaultKind>> PlotPainter::paintDataWindow(QPainter& p,
    const std::vector<PlotCurve>& curves, const PlotExtras& extras, const QFont& legendFont) const
{
    paintBackground(p);
    if (extras.band)
        paintBand(p, *extras.band);
    std::vector<std::optional<FaultKind>> faults;
    for (const PlotCurve& curve : curves)
        faults.push_back(paintCurve(p, curve));
    paintLimits(p, extras.limitKind, extras.limits);
    if (extras.legend)
        paintLegend(p, curves, extras, legendFont);
    return faults;
}

std::vector<TracePoint> DrawTracePolyline(
    QPainter& p, const std::vector<TracePoint>& points, int width, int height)
{
    if (points.size() < 2)
        return points;
    std::vector<TracePoint> corners = PolylineCorners(points, width, height);
    if (CannotClip(p)) {
        std::vector<ClipPoint> line;
        for (const TracePoint& t : corners)
            line.push_back({double(t.x), double(t.y)});
        DrawPolylineWithin(p, line, width, height);
        return corners;
    }
    std::vector<QPointF> line;
    line.reserve(corners.size());
    for (const TracePoint& t : corners)
        line.emplace_back(t.x, t.y);
    // Without a clip of its own, Qt's one-pixel line drawing hands every
    // pixel to a span filler clipped to the picture; with the picture's own
    // rectangle as the clip it writes an opaque pen's pixels straight into a
    // 32-bit picture. The line is clipped to the picture's edges either way,
    // so its pixels are the same. (Under a transformation the rectangle would
    // not be the picture's, nor on a picture with a device pixel ratio.)
    const bool directPixels = p.device()->devType() == QInternal::Image && !p.hasClipping()
        && p.deviceTransform().isIdentity() && p.pen().color().alpha() == 255;
    if (directPixels) {
        p.save();
        p.setClipRect(QRect(0, 0, p.device()->width(), p.device()->height()));
    }
    p.drawPolyline(line.data(), int(line.size()));
    if (directPixels)
        p.restore();
    return corners;
}

bool CannotClip(const QPainter& p)
{
    return p.paintEngine()->type() == QPaintEngine::SVG;
}

void DrawPolylineWithin(
    QPainter& p, const std::vector<ClipPoint>& points, double width, double height)
{
    for (const std::vector<ClipPoint>& run : ClipPolyline(points, width, height)) {
        std::vector<QPointF> line;
        for (const ClipPoint& c : run)
            line.emplace_back(c.x, c.y);
        p.drawPolyline(line.data(), int(line.size()));
    }
}
