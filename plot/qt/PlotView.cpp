#include "plot/qt/PlotView.h"

#include "app/SettingsRecord.h"
#include "app/Texts.h"
#include "app/qt/FileNames.h"
#include "app/qt/Pictures.h"
#include "curves/CurveSlot.h"
#include "curves/CurveTrace.h"
#include "curves/FrequencyGrid.h"
#include "curves/LoadState.h"
#include "plot/AxisLabels.h"
#include "plot/PlotState.h"
#include "plot/ReadOut.h"
#include "plot/StepRules.h"
#include "ui/qt/Colours.h"
#include "ui/qt/PaintBox.h"
#include "ui/qt/TMainForm.h"

#include <QApplication>
#include <QFontMetrics>
#include <QInputDialog>
#include <QPainter>
#include <algorithm>

QImage OffscreenBitmap;

namespace
{

TraceFrame currentFrame()
{
    return {
        MainForm->SigWin->width(), MainForm->SigWin->height(), Plot.ViewFreqLow, Plot.ViewFreqHigh};
}

} // namespace

void SizeOffscreenBitmap()
{
    const QSize size(
        std::max(1, MainForm->SigWin->width()), std::max(1, MainForm->SigWin->height()));
    if (OffscreenBitmap.size() == size)
        return;
    OffscreenBitmap = ResizedPicture(OffscreenBitmap, size, ToQColor(Settings.DataWindowColor));
}

namespace
{

void drawGrid(QPainter& p, const FrequencyGrid& grid, int width, int height)
{
    p.setPen(ToQColor(Settings.GridColor));
    for (int y : grid.rows)
        p.drawLine(0, y, width, y);
    for (int x : grid.columns)
        p.drawLine(x, 0, x, height);
}

// Draws the points of a trace (a move to the first, lines to the others);
// then raises the fault the trace stopped at, leaving the picture as far as
// it was drawn and the screen not updated.
void drawTrace(QPainter& p, const TraceResult& trace, uint32_t colour)
{
    p.setPen(ToQColor(colour));
    if (trace.points.size() > 1) {
        std::vector<QPoint> points;
        points.reserve(trace.points.size());
        // Many bins share a pixel at high frequencies; a repeated point adds nothing.
        for (const TracePoint& t : trace.points)
            if (points.empty() || points.back() != QPoint(t.x, t.y))
                points.emplace_back(t.x, t.y);
        p.drawPolyline(points.data(), int(points.size()));
    }
    if (trace.fault) {
        p.end();
        throw ArithmeticFault(*trace.fault);
    }
}

void showPicture()
{
    MainForm->SigWin->showCanvas();
}

// Writes a label with its top-left corner at (x, y).
void drawLabel(QPainter& p, const LabelText& label)
{
    p.drawText(label.x, label.y + p.fontMetrics().ascent(), QString::fromLatin1(label.text));
}

void labelStrip(PaintBox* strip, const QRect& fill, const std::vector<LabelText>& labels)
{
    QPainter p(&strip->canvas());
    p.fillRect(fill, ToQColor(Settings.AxisPanelColor));
    p.setFont(strip->font());
    p.setPen(Qt::black);
    for (const LabelText& label : labels)
        drawLabel(p, label);
    p.end();
    strip->showCanvas();
}

bool isLevelAxisSelected()
{
    return CurveKindText == "H2";
}

} // namespace

void LabelYAxis(int32_t kind)
{
    Plot.ActiveDisplayKind = kind;
    const int height = MainForm->SigWin->height();
    if (IsLevelKind(kind)) {
        PaintBox* strip = MainForm->yAchse;
        labelStrip(
            strip, strip->rect(), LevelAxisLabels(Settings.LevelRange, Settings.LevelTop, height));
    } else {
        PaintBox* strip = MainForm->yAchseR;
        labelStrip(strip, strip->rect(),
            ImpedanceAxisLabels(Settings.ImpedanceStep, Settings.ImpedanceBase, height));
    }
}

void LabelXAxis(int32_t kind)
{
    ClampViewFreqLow(Plot);
    Plot.FreqAxisKind = kind;
    PaintBox* strip = MainForm->xAchse;
    const int width = MainForm->SigWin->width();
    const QRect fill(0, 0, width + 100, strip->height());
    labelStrip(strip, fill,
        kind == kLogFrequencyAxis ? FrequencyAxisLabels(Plot.ViewFreqLow, Plot.ViewFreqHigh, width)
                                  : std::vector<LabelText> {});
}

void DrawResponseCurve(const float* values, bool clear, uint32_t colour)
{
    ClampViewFreqLow(Plot);
    SizeOffscreenBitmap();
    QPainter p(&OffscreenBitmap);
    const TraceFrame frame = currentFrame();
    if (clear)
        p.fillRect(0, 0, frame.width, frame.height, ToQColor(Settings.DataWindowColor));
    TraceResult trace;
    if (IsLevelKind(Plot.ActiveDisplayKind)) {
        trace = ComputeResponseTrace(ResponseCurve.header, values, frame, ScalesOf(Settings));
        if (trace.fault && trace.points.empty()) { // the working values failed
            p.end();
            throw ArithmeticFault(*trace.fault);
        }
    }
    if (clear) {
        const FreqMapping mapping
            = ComputeFreqMapping(frame.viewFreqLow, frame.viewFreqHigh, frame.width);
        drawGrid(p,
            ComputeFrequencyGrid(
                frame.height, Settings.LevelRange, frame.viewFreqLow, frame.viewFreqHigh, mapping),
            frame.width, frame.height);
    }
    drawTrace(p, trace, colour);
    p.end();
    showPicture();
}

void DrawImpedanceCurve(const float* values, uint32_t colour)
{
    ClampViewFreqLow(Plot);
    SizeOffscreenBitmap();
    if (Plot.ActiveDisplayKind == kImpedanceKind) {
        QPainter p(&OffscreenBitmap);
        drawTrace(p,
            ComputeImpedanceTrace(ImpedanceCurve.header, values, currentFrame(), ScalesOf(Settings),
                Settings.SerialResistor),
            colour);
    }
    showPicture();
}

void Redraw(PaintBox* sender)
{
    // Cleared even when the rebuild fails, so a faulty curve cannot make
    // every later paint fail again.
    struct ClearLayoutChanged {
        ~ClearLayoutChanged() { LayoutChanged = false; }
    } clearAtEnd;
    TMainForm& f = *MainForm;
    if (sender == f.SigWin) {
        if (LayoutChanged)
            RebuildPlot();
    }
    if (sender == f.xAchse)
        LabelXAxis(Plot.FreqAxisKind);
    LabelYAxis(DisplayKind);
    LabelYAxis(kImpedanceKind);
}

void ResetPlot()
{
    Plot.ViewFreqHigh = 20000.0f;
    Plot.ViewFreqLow = 20.0f;
    for (CurveSlot* slot : {&ResponseCurve, &ImpedanceCurve})
        std::fill_n(slot->values, kCurveCapacity, EmptyCurveValue);
    LabelYAxis(DisplayKind);
    LabelXAxis(kLogFrequencyAxis);
    ResponseCurve.header.TransformLength = 512;
    DrawResponseCurve(ResponseCurve.values, true, Settings.SignalColor);
}

void RebuildPlot()
{
    LabelXAxis(kLogFrequencyAxis);
    LabelYAxis(DisplayKind);
    DrawResponseCurve(ResponseCurve.values, true, Settings.SignalColor);
    CurveColours.restart();
    LabelYAxis(kImpedanceKind);
    DrawImpedanceCurve(ImpedanceCurve.values, CurveColours.next());
    MainForm->MO->setText(FileNameText(WithoutExtension(CurveName)));
}

void YButtonClick(QObject* sender)
{
    const TMainForm& f = *MainForm;
    AxisScales scales = ScalesOf(Settings);
    if (isLevelAxisSelected()) {
        if (sender == f.UpButton)
            ShiftLevelTop(scales, true);
        if (sender == f.DownButton)
            ShiftLevelTop(scales, false);
        if (sender == f.ZoomYButton)
            FinerLevelRange(scales);
        if (sender == f.ReZoomYButton)
            CoarserLevelRange(scales);
    } else {
        if (sender == f.UpButton)
            ImpedanceUp(scales);
        if (sender == f.DownButton)
            ImpedanceDown(scales);
        if (sender == f.ZoomYButton)
            FinerImpedanceStep(scales);
        if (sender == f.ReZoomYButton)
            CoarserImpedanceStep(scales);
    }
    StoreScales(Settings, scales);
    RebuildPlot();
}

void XButtonClick(QObject* sender)
{
    const TMainForm& f = *MainForm;
    if (sender) {
        if (sender == f.LeftButton)
            ScrollFreqDown(Plot);
        if (sender == f.RightButton)
            ScrollFreqUp(Plot);
        if (sender == f.ZoomXButton)
            ZoomFreqIn(Plot);
        if (sender == f.ReZoomXButton)
            ZoomFreqOut(Plot);
    }
    RebuildPlot();
}

void CursorOut(MouseFrame* sender, QPoint position)
{
    TMainForm& f = *MainForm;
    if (sender == f.SigWinFrame) {
        f.SigWinFrame->setCursor(ReadOutCursor());
        const std::string text = CursorOutText(Plot.ViewFreqLow, Plot.ViewFreqHigh,
            ScalesOf(Settings), f.SigWin->width(), f.SigWin->height(), position.x(), position.y());
        f.Positionslabel->setText(QString::fromLatin1(text));
    } else {
        f.Positionslabel->clear();
        f.SigWinFrame->unsetCursor();
    }
}

void SigWinMouseDown(
    MouseFrame* sender, int button, int modifiers, int buttons, QPoint position, bool doubleClick)
{
    const bool leftAlone = button == Qt::LeftButton && buttons == Qt::LeftButton
        && (modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) == 0
        && !doubleClick;
    if (!leftAlone) {
        CursorOut(sender, position);
        return;
    }
    const QString text
        = QInputDialog::getText(MainForm, "Sonivex", "Enter text to place at mouse position:")
              .left(int(kMaxTextLength));
    QApplication::processEvents();
    QPainter p(&OffscreenBitmap);
    p.setFont(MainForm->SigWin->font());
    p.setPen(ToQColor(Settings.InscriptionColor));
    p.setBackground(ToQColor(Settings.DataWindowColor));
    p.setBackgroundMode(Qt::OpaqueMode);
    p.drawText(position.x(), position.y() - 8 + p.fontMetrics().ascent(), text);
    p.end();
    showPicture();
}

void yAchseClick()
{
    CurveKindText = "H2";
}
void yAchseRClick()
{
    CurveKindText = "Z2";
}
