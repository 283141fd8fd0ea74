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

// Paint handler of SigWin, xAchse, yAchse and yAchseR (nullptr: a menu command).
void Redraw(PaintBox* sender);
void ResetPlot();
void RebuildPlot();
void YButtonClick(QObject* sender);
void XButtonClick(QObject* sender);
void CursorOut(MouseFrame* sender, QPoint position);
void SigWinMouseDown(MouseFrame* sender, int button, int modifiers, int buttons, QPoint position,
                     bool doubleClick);
// Clicks on the level and impedance strips select the axis of the y buttons.
void yAchseClick();
void yAchseRClick();
