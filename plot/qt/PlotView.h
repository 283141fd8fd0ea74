#pragma once
// Drawing of the data window and the axis strips, zoom and scroll, the
// read-out and the annotations.

#include "curves/ArithmeticFault.h"

#include <QImage>
#include <QPointF>
#include <cstdint>

struct CurveSlot;
class PaintBox;
class MouseFrame;
class QObject;

// The off-screen picture of the data window, kept at the size of SigWin in
// the screen's device pixels (larger than SigWin at a device pixel ratio
// above 1): grid and curves are drawn one device pixel wide, as for a larger
// window.
extern QImage OffscreenBitmap;
// Gives the off-screen picture the size of SigWin in device pixels; what it
// held stays in the top-left corner, new area takes the data window colour.
// A change of the device pixel ratio sets LayoutChanged, so the next paint of
// SigWin draws the picture anew.
void SizeOffscreenBitmap();

// Axis labels: the level strip for the kinds 5, 6 and 7, the impedance strip
// for any other kind; the kind is recorded in ActiveDisplayKind.
void LabelYAxis(int32_t kind);
// Frequency labels for kind 14; any other kind only fills the strip.
void LabelXAxis(int32_t kind);
// A fault in the trace of the curve a slot holds (ResponseCurve or
// ImpedanceCurve); the message names the curve.
class CurveDrawingFault : public ArithmeticFault
{
public:
    CurveDrawingFault(FaultKind kind, CurveSlot& slot, const std::string& consequence = "");
    CurveSlot& slot() const { return *m_slot; }

private:
    CurveSlot* m_slot;
};

// The frequency response into the off-screen picture (when clear is set,
// first filled with the background and the grid), then shown in SigWin. A
// fault of the trace throws CurveDrawingFault for ResponseCurve with the
// picture drawn as far as it got and SigWin not updated.
void DrawResponseCurve(const float* values, bool clear, uint32_t colour);
// The impedance curve over the picture, then shown in SigWin; a fault of the
// trace throws CurveDrawingFault for ImpedanceCurve.
void DrawImpedanceCurve(const float* values, uint32_t colour);

// Paint handler of SigWin, xAchse, yAchse and yAchseR (nullptr: a menu command).
void Redraw(PaintBox* sender);
// Empties both curve slots and draws the empty grid; it never faults for
// anything the slots held.
void ResetPlot();
// Relabels the axes and draws the curves held in memory on a cleared picture,
// then shows the last chosen name in MO.
void RebuildPlot();
// RebuildPlot without MO. A held curve whose drawing faults is removed from
// its slot and the picture is drawn again without it; then a
// CurveDrawingFault saying so is thrown.
void RebuildPicture();
void YButtonClick(QObject* sender);
void XButtonClick(QObject* sender);
// Positions in the sender's window pixels (with fractions at a device pixel
// ratio above 1).
void CursorOut(MouseFrame* sender, QPointF position);
void SigWinMouseDown(
    MouseFrame* sender, int button, int modifiers, int buttons, QPointF position, bool doubleClick);
// Clicks on the level and impedance strips select the axis of the y buttons.
void yAchseClick();
void yAchseRClick();
