#pragma once
// The fonts of the windows and of the plot's strips.

#include <QFont>
#include <QString>

// A font of the family at a size in pixels.
QFont PixelFont(const QString& family, int pixels, bool bold = false);

// The families the windows name ("System", "MS Sans Serif", "Arial") are
// drawn in Liberation Sans, which has Arial's metrics.
void InstallFontSubstitutes();
