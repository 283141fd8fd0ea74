#pragma once
// The button pictures, drawn by the program itself.

#include <QIcon>

enum class Glyph { Printer, Up, Down, Left, Right, ZoomY, ReZoomY, ZoomX, ReZoomX };

// The 16 x 16 glyph, drawn once for screens of device pixel ratio 1 and once
// at twice the resolution for those of ratio 2.
QIcon MakeGlyph(Glyph glyph);
