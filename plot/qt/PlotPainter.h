#pragma once
// Painting the plot on any painter: the data window's background and grid,
// the curve traces and the three axis strips with their labels. It touches no
// window and reads no global: the viewer paints its off-screen picture and
// its strips with it, the command-line renderer whole pictures into files.

#include "curves/ArithmeticFault.h"
#include "curves/CurveSlot.h"
#include "curves/CurveTrace.h"
#include "curves/FrequencyGrid.h"
#include "curves/StatsTable.h"
#include "plot/AxisLabels.h"
#include "plot/LineFootprint.h"
#include "plot/PlotState.h"
#include "plot/PolylineClip.h"
#include "ui/MainLayout.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPolygonF>
#include <QRect>
#include <QRectF>
#include <optional>
#include <vector>

class QPainter;

struct PlotColours {
    QColor dataWindow;
    QColor grid;
    QColor axisPanel;
    QColor labels = Qt::black;
};

// A curve to draw: a frequency response in dB or an impedance curve in Ohm.
struct PlotCurve {
    CurveHeader header;
    const float* values = nullptr; // kCurveCapacity values
    bool impedance = false;
    QColor colour;
};

// What a picture of the command-line renderer adds to its curves: a
// statistics band under them (over the grid), limit lines over them, and a
// legend of what is drawn over all.
struct PlotExtras {
    std::optional<StatsBand> band;
    CurveKind limitKind = CurveKind::Response; // the scale of the limits
    std::vector<std::vector<BandPoint>> limits;
    bool legend = false;
    std::vector<QString> curveNames; // in the legend, one a curve in their order
};

// The band's colours on a data window: orange, which no curve of the colour
// cycle and no limit line has; translucent areas, so that the grid shows
// through, and a median line that stands out from the grid, the areas and
// the curves; brighter on a dark window, darker on paper.
struct BandColours {
    QColor outer; // minimum to maximum
    QColor inner; // the lowest to the highest percentile, over the outer area
    QColor median;
};

BandColours BandColoursOn(const QColor& dataWindow);

// The colour of limit lines.
inline const QColor kLimitColour(255, 0, 0);

// What a painter last put into a 32-bit picture: the background and grid it
// wrote and the footprint of the lines drawn over them since. While nothing
// else has painted the picture (its owner tells by the picture's cache key),
// a new background is written back only where those lines were.
struct PictureMemo {
    bool valid = false; // the picture holds just this background and these lines
    QSize size;
    FrequencyGrid grid;
    QRgb background = 0;
    QRgb line = 0;
    std::vector<LineFootprint> lines; // one footprint a curve, up to a few
};

class PlotPainter
{
public:
    // `frame` gives the data window's size and the frequencies at its edges
    // (the lower one already raised by ClampViewFreqLow).
    PlotPainter(const TraceFrame& frame, const AxisScales& scales, float serialResistor,
        const PlotColours& colours);

    // Fills the data window at the painter's origin and draws the grid over
    // it. With a memo of the picture, the background and grid are written
    // back only over the lines drawn since the last background, when that was
    // the same; the memo then describes the new background.
    void paintBackground(QPainter& p, PictureMemo* memo = nullptr) const;
    // Draws the trace of a curve as one polyline; returns the arithmetic fault
    // the trace stopped at, with the points before it drawn. The memo, if
    // given, adds the line to its footprint.
    std::optional<FaultKind> paintCurve(
        QPainter& p, const PlotCurve& curve, PictureMemo* memo = nullptr) const;

    // The labels of the three strips at this size and these scales.
    std::vector<LabelText> levelLabels() const;
    std::vector<LabelText> impedanceLabels() const;
    std::vector<LabelText> frequencyLabels() const;
    // Fills `fill` in the panel colour and writes each label on an opaque
    // background of that colour, so that a label over the one before stays
    // readable.
    void paintStrip(QPainter& p, const QRect& fill, const std::vector<LabelText>& labels,
        const QFont& font) const;

    // A whole picture as the viewer's data window frame shows it: the strips,
    // the data window with its grid and the curves in their order; `layout`
    // from ComputePlotPictureLayout at the frame's size. Returns the fault of
    // every curve whose drawing faulted (its points before the fault drawn).
    // The extras are drawn in the data window with them (the legend in
    // `stripFont`).
    std::vector<std::optional<FaultKind>> paintPicture(QPainter& p, const PlotPictureLayout& layout,
        const std::vector<PlotCurve>& curves, const QFont& stripFont,
        const PlotExtras& extras = PlotExtras()) const;

    // The background with the grid, the band of the extras, the curves in
    // their order, the limits and the legend; the fault of each curve, as
    // paintPicture.
    std::vector<std::optional<FaultKind>> paintDataWindow(QPainter& p,
        const std::vector<PlotCurve>& curves, const PlotExtras& extras = PlotExtras(),
        const QFont& legendFont = QFont()) const;

    // The statistics band in the data window at the painter's origin: minimum
    // to maximum shaded lightly, the lowest to the highest percentile
    // darker, the median as a line (BandColoursOn the data window colour).
    // Cut to the data window by the drawing itself, whatever the values:
    // no coordinate beyond kFarCoordinate nor one that is not a number
    // reaches the painter.
    void paintBand(QPainter& p, const StatsBand& band) const;
    // Limit lines in kLimitColour on the scale of `kind`, cut the same way.
    void paintLimits(
        QPainter& p, CurveKind kind, const std::vector<std::vector<BandPoint>>& limits) const;
    // The legend: each curve's name (of the extras) in its colour after a
    // short line of it, then the band's areas and median line and the limits
    // when drawn, in a box of the data window's colour framed in the grid's,
    // where it hides the fewest points of the curves and the median (see
    // PlaceLegend).
    // Nothing when there is nothing to name.
    void paintLegend(QPainter& p, const std::vector<PlotCurve>& curves, const PlotExtras& extras,
        const QFont& font) const;

private:
    FrequencyGrid computeGrid() const;
    // paintStrip for a painter that cannot clip (Qt's SVG writer), within
    // `visible`: a label wholly inside stays text, one partly inside is drawn
    // as its outline cut to the strip, one outside is left out.
    void paintStripCut(QPainter& p, const QRect& fill, const QRect& visible,
        const std::vector<LabelText>& labels, const QFont& font) const;
    void addToFootprint(PictureMemo& memo, QPainter& p, const std::vector<TracePoint>& line) const;
    void paintGridLines(QPainter& p, const FrequencyGrid& grid) const;
    TraceResult traceOf(const PlotCurve& curve) const;

    TraceFrame m_frame;
    AxisScales m_scales;
    float m_serialResistor;
    PlotColours m_colours;
};

// Draws a trace's points as one polyline in the painter's pen, through their
// corners only (see PolylineCorners) for a data window of width x height:
// the pixels of the line through every point, repeats dropped. Returns the
// corners, a line with the same pixels.
std::vector<TracePoint> DrawTracePolyline(
    QPainter& p, const std::vector<TracePoint>& points, int width, int height);

// Whether the painter ignores clip rectangles (Qt's SVG writer does): what
// it draws must be cut by the drawing itself.
bool CannotClip(const QPainter& p);

// The polyline's parts inside [0, width] x [0, height], for a painter that
// cannot clip.
void DrawPolylineWithin(
    QPainter& p, const std::vector<ClipPoint>& points, double width, double height);
