#include "plot/qt/PlotView.h"

#include "app/SettingsRecord.h"
#include "app/Texts.h"
#include "app/qt/FileNames.h"
#include "app/qt/Pictures.h"
#include "curves/CurveSlot.h"
#include "curves/CurveTrace.h"
#include "curves/LoadState.h"
#include "plot/PlotState.h"
#include "plot/ReadOut.h"
#include "plot/StepRules.h"
#include "plot/qt/PlotPainter.h"
#include "ui/qt/Colours.h"
#include "ui/qt/PaintBox.h"
#include "ui/qt/TMainForm.h"

#include <QApplication>
#include <QFontMetrics>
#include <QInputDialog>
#include <QPainter>
#include <algorithm>
#include <map>
#include <optional>

QImage OffscreenBitmap;

namespace
{

// The device pixels of the screen for one pixel of the window, and those the
// off-screen picture was sized for.
qreal screenRatio()
{
    return MainForm->SigWin->devicePixelRatioF();
}
qreal PictureRatio = 1;

// The data window in the window's own pixels: the strips are laid out and
// labelled for it.
TraceFrame windowFrame()
{
    return {
        MainForm->SigWin->width(), MainForm->SigWin->height(), Plot.ViewFreqLow, Plot.ViewFreqHigh};
}

// The data window in the device pixels of the off-screen picture: grid and
// curves follow the same rules for this larger window.
TraceFrame pictureFrame()
{
    const QSize size = DeviceSize(MainForm->SigWin->size(), PictureRatio);
    return {size.width(), size.height(), Plot.ViewFreqLow, Plot.ViewFreqHigh};
}

} // namespace

void SizeOffscreenBitmap()
{
    const qreal ratio = screenRatio();
    // A picture drawn for another resolution is drawn anew at the next paint,
    // like one of another size.
    if (ratio != PictureRatio) {
        PictureRatio = ratio;
        LayoutChanged = true;
    }
    const QSize size = DeviceSize(
        QSize(std::max(1, MainForm->SigWin->width()), std::max(1, MainForm->SigWin->height())),
        ratio);
    if (OffscreenBitmap.size() == size)
        return;
    OffscreenBitmap = ResizedPicture(OffscreenBitmap, size, ToQColor(Settings.DataWindowColor));
}

namespace
{

PlotPainter painterFor(const TraceFrame& frame)
{
    const PlotColours colours {ToQColor(Settings.DataWindowColor), ToQColor(Settings.GridColor),
        ToQColor(Settings.AxisPanelColor)};
    return PlotPainter(frame, ScalesOf(Settings), Settings.SerialResistor, colours);
}

// The painter of the off-screen picture and that of the strips.
PlotPainter picturePainter()
{
    return painterFor(pictureFrame());
}
PlotPainter stripPainter()
{
    return painterFor(windowFrame());
}

// What the drawings of the curves put into OffscreenBitmap, and the
// picture's cache key after the last of them: while the key is unchanged
// nothing else (an inscription, a resize, the splash) has painted it.
PictureMemo Drawn;
qint64 DrawnKey = 0;

void beginDrawing()
{
    if (OffscreenBitmap.cacheKey() != DrawnKey)
        Drawn.valid = false;
}

void endDrawing()
{
    DrawnKey = OffscreenBitmap.cacheKey();
}

// Draws the curve a slot holds; a fault of its trace ends the painting and
// is raised for the slot, with the picture as far as it was drawn and the
// screen not updated.
void drawSlot(QPainter& p, CurveSlot& slot, const float* values, bool impedance, uint32_t colour)
{
    const PlotCurve curve {slot.header, values, impedance, ToQColor(colour)};
    if (const std::optional<FaultKind> fault = picturePainter().paintCurve(p, curve, &Drawn)) {
        p.end();
        throw CurveDrawingFault(*fault, slot);
    }
}

void showPicture()
{
    MainForm->SigWin->showCanvas();
}

// What a strip's canvas was last labelled with, and the canvas's key right
// after: a canvas whose key is unchanged has not been painted or resized since.
struct StripLabelling {
    qint64 canvasKey = 0;
    QRect fill;
    std::vector<LabelText> labels;
    QRgb panel = 0;
    QFont font;

    bool operator==(const StripLabelling&) const = default;
};

void labelStrip(PaintBox* strip, const QRect& fill, const std::vector<LabelText>& labels)
{
    static std::map<const PaintBox*, StripLabelling> lastLabelling;
    QImage& canvas = strip->canvas();
    StripLabelling wanted {
        canvas.cacheKey(), fill, labels, ToQColor(Settings.AxisPanelColor).rgb(), strip->font()};
    // Every rebuild relabels all three strips; most of the time with the
    // labels they show already.
    if (lastLabelling[strip] != wanted) {
        QPainter p(&canvas);
        stripPainter().paintStrip(p, fill, labels, strip->font());
        p.end();
        wanted.canvasKey = canvas.cacheKey();
        lastLabelling[strip] = std::move(wanted);
    }
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
    if (IsLevelKind(kind)) {
        PaintBox* strip = MainForm->yAchse;
        labelStrip(strip, strip->rect(), stripPainter().levelLabels());
    } else {
        PaintBox* strip = MainForm->yAchseR;
        labelStrip(strip, strip->rect(), stripPainter().impedanceLabels());
    }
}

void LabelXAxis(int32_t kind)
{
    ClampViewFreqLow(Plot);
    Plot.FreqAxisKind = kind;
    PaintBox* strip = MainForm->xAchse;
    const QRect fill(0, 0, MainForm->SigWin->width() + 100, strip->height());
    labelStrip(strip, fill,
        kind == kLogFrequencyAxis ? stripPainter().frequencyLabels() : std::vector<LabelText> {});
}

CurveDrawingFault::CurveDrawingFault(
    FaultKind kind, CurveSlot& slot, const std::string& consequence)
    : ArithmeticFault(kind,
        &slot == &ImpedanceCurve ? "Drawing the impedance curve failed"
                                 : "Drawing the frequency-response curve failed",
        consequence)
    , m_slot(&slot)
{
}

void DrawResponseCurve(const float* values, bool clear, uint32_t colour)
{
    ClampViewFreqLow(Plot);
    SizeOffscreenBitmap();
    beginDrawing();
    QPainter p(&OffscreenBitmap);
    // Background and grid come before the trace, so a trace that faults
    // never leaves the data window without its grid.
    if (clear)
        picturePainter().paintBackground(p, &Drawn);
    if (IsLevelKind(Plot.ActiveDisplayKind))
        drawSlot(p, ResponseCurve, values, false, colour);
    p.end();
    endDrawing();
    showPicture();
}

void DrawImpedanceCurve(const float* values, uint32_t colour)
{
    ClampViewFreqLow(Plot);
    SizeOffscreenBitmap();
    if (Plot.ActiveDisplayKind == kImpedanceKind) {
        beginDrawing();
        QPainter p(&OffscreenBitmap);
        drawSlot(p, ImpedanceCurve, values, true, colour);
        p.end();
        endDrawing();
    }
    showPicture();
}

void Redraw(PaintBox* sender)
{
    TMainForm& f = *MainForm;
    // The first paint of SigWin after a change of size or of the screen's
    // device pixel ratio rebuilds the picture at the new size (which clears
    // the flag); the strips, often painted before it, leave the flag alone.
    if (sender == f.SigWin) {
        SizeOffscreenBitmap();
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
    // The picture is drawn anew at the current size.
    LayoutChanged = false;
    Plot.ViewFreqHigh = 20000.0f;
    Plot.ViewFreqLow = 20.0f;
    // The header of an empty slot too (with 512 values for the response):
    // the header of a curve that was there may not be drawable.
    for (CurveSlot* slot : {&ResponseCurve, &ImpedanceCurve})
        EmptyCurveSlot(*slot);
    LabelYAxis(DisplayKind);
    LabelXAxis(kLogFrequencyAxis);
    DrawResponseCurve(ResponseCurve.values, true, Settings.SignalColor);
}

namespace
{

void drawHeldCurves()
{
    LabelXAxis(kLogFrequencyAxis);
    LabelYAxis(DisplayKind);
    DrawResponseCurve(ResponseCurve.values, true, Settings.SignalColor);
    CurveColours.restart();
    LabelYAxis(kImpedanceKind);
    DrawImpedanceCurve(ImpedanceCurve.values, CurveColours.next());
}

constexpr int kCurveSlots = 2;

} // namespace

void RebuildPicture()
{
    // The picture is drawn anew at the current size; cleared first, so that a
    // rebuild that fails is not tried again by every later paint.
    LayoutChanged = false;
    std::optional<CurveDrawingFault> removed;
    for (int removals = 0;; ++removals) {
        try {
            drawHeldCurves();
            break;
        } catch (const CurveDrawingFault& fault) {
            // With both slots emptied a fault is no curve's own.
            if (removals == kCurveSlots)
                throw;
            EmptyCurveSlot(fault.slot());
            if (!removed)
                removed = fault;
        }
    }
    if (removed)
        throw CurveDrawingFault(
            removed->kind(), removed->slot(), "The curve has been removed from the display.");
}

void RebuildPlot()
{
    auto showCurveName = [] { MainForm->MO->setText(FileNameText(WithoutExtension(CurveName))); };
    try {
        RebuildPicture();
    } catch (const CurveDrawingFault&) {
        showCurveName();
        throw;
    }
    showCurveName();
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

void CursorOut(MouseFrame* sender, QPointF position)
{
    TMainForm& f = *MainForm;
    if (sender == f.SigWinFrame) {
        f.SigWinFrame->setCursor(ReadOutCursor());
        // The rules of the picture's own pixels, read at the device pixel
        // under the pointer.
        const TraceFrame frame = pictureFrame();
        const std::string text
            = CursorOutText(Plot.ViewFreqLow, Plot.ViewFreqHigh, ScalesOf(Settings), frame.width,
                frame.height, position.x(), position.y(), PictureRatio);
        f.Positionslabel->setText(QString::fromLatin1(text));
    } else {
        f.Positionslabel->clear();
        f.SigWinFrame->unsetCursor();
    }
}

void SigWinMouseDown(
    MouseFrame* sender, int button, int modifiers, int buttons, QPointF position, bool doubleClick)
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
    // Placed in window pixels, drawn in the picture's device pixels: the
    // note lands where the press was, in the font at the screen's resolution.
    if (PictureRatio != 1)
        p.scale(PictureRatio, PictureRatio);
    p.setFont(MainForm->SigWin->font());
    p.setPen(ToQColor(Settings.InscriptionColor));
    p.setBackground(ToQColor(Settings.DataWindowColor));
    p.setBackgroundMode(Qt::OpaqueMode);
    p.drawText(QPointF(position.x(), position.y() - 8 + p.fontMetrics().ascent()), text);
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
