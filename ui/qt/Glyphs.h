#pragma once
// The button pictures, drawn by the program itself.

#include <QIcon>

enum class Glyph { Printer, Up, Down, Left, Right, ZoomY, ReZoomY, ZoomX, ReZoomX };

QIcon MakeGlyph(Glyph glyph);
