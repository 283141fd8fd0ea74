#include "ui/qt/Colours.h"

#include "ui/ColourValue.h"

#include <QGuiApplication>
#include <QPalette>

QColor ToQColor(uint32_t value)
{
    if (IsSystemColour(value))
        return QGuiApplication::palette().color(QPalette::Button);
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}
