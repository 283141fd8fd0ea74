#include "ui/qt/Colours.h"

#include "ui/ColourValue.h"

#include <QApplication>
#include <QPalette>

QColor ToQColor(uint32_t value)
{
    if (IsSystemColour(value))
        return QApplication::palette().color(QPalette::Button);
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}
