#include "plot/qt/PlotView.h"

QImage OffscreenBitmap;

void Redraw(PaintBox*) {}
void ResetPlot() {}
void RebuildPlot() {}
void YButtonClick(QObject*) {}
void XButtonClick(QObject*) {}
void CursorOut(MouseFrame*, QPoint) {}
void SigWinMouseDown(MouseFrame*, int, int, int, QPoint, bool) {}
void yAchseClick() {}
void yAchseRClick() {}
