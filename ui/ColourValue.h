#pragma once
// Colour values of the settings: 0x00BBGGRR (red in the low byte), or
// 0x80000000 + n for the desktop's system colour n.

#include <cstdint>

constexpr bool IsSystemColour(uint32_t value)
{
    return (value & 0x80000000u) != 0;
}

// 0x00BBGGRR -> 0xFFRRGGBB, the pixel layout of a 32-bit RGB image.
constexpr uint32_t BgrToRgb32(uint32_t value)
{
    return 0xFF000000u | ((value & 0xFFu) << 16) | (value & 0xFF00u) | ((value >> 16) & 0xFFu);
}

// 0xAARRGGBB -> 0x00BBGGRR.
constexpr uint32_t Rgb32ToBgr(uint32_t pixel)
{
    return ((pixel & 0xFFu) << 16) | (pixel & 0xFF00u) | ((pixel >> 16) & 0xFFu);
}
