#pragma once
// Drawing of the data window and the axis strips, zoom and scroll, the
// read-out and the annotations.

#include <QImage>
#include <QPoint>
#include <cstdint>

class PaintBox;
class MouseFrame;
class QObject;

// The off-screen picture of the data window, kept at the size of SigWin.
extern QImage OffscreenBitmap;
// Gives the off-screen picture the size of SigWin; what it held stays in the
// top-left corner, new area takes the data window colour.
void SizeOffscreenBitmap();

// Axis labels: the level strip for the kinds 5, 6 and 7, the impedance strip
// for any other kind; the kind is recorded in ActiveDisplayKind.
void LabelYAxis(int32_t kind);
// Frequency labels for kind 14; any other kind only fills the strip.
void LabelXAxis(int32_t kind);
// The frequency response into the off-screen picture (cleared and with the
// grid when clear is set), then shown in SigWin. Throws ArithmeticFault with
// the picture drawn as far as it got.
void DrawResponseCurve(const float* values, bool clear, uint32_t colour);
// The impedance curve over the picture, then shown in SigWin.
void DrawImpedanceCurve(const float* values, uint32_t colour);

// Paint handler of SigWin, xAchse, yAchse and yAchseR (nullptr: a menu command).
void Redraw(PaintBox* sender);
void ResetPlot();
void RebuildPlot();
void YButtonClick(QObject* sender);
void XButtonClick(QObject* sender);
void CursorOut(MouseFrame* sender, QPoint position);
void SigWinMouseDown(
    MouseFrame* sender, int button, int modifiers, int buttons, QPoint position, bool doubleClick);
// Clicks on the level and impedance strips select the axis of the y buttons.
void yAchseClick();
void yAchseRClick();
