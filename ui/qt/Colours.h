#pragma once

#include <QColor>
#include <cstdint>

// The screen colour of a settings colour value; the system colour 0x8000000F
// (and any other system colour) is the desktop's button face colour.
QColor ToQColor(uint32_t value);
