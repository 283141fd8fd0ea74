#pragma once
// The cycle of colours in which successively loaded curves are drawn.
// Colours are 0x00BBGGRR values; 0 stands for "no colour yet".

#include <cstdint>

constexpr uint32_t kNoCurveColour = 0;
constexpr uint32_t kCurveLime = 0x0000FF00; // (0, 255, 0): the first colour of the cycle
constexpr uint32_t kCurveAqua = 0x00FFFF00; // (0, 255, 255)
constexpr uint32_t kCurveFuchsia = 0x00FF00FF; // (255, 0, 255)
constexpr uint32_t kCurveSilver = 0x00C0C0C0; // (192, 192, 192)
constexpr uint32_t kCurveNavy = 0x00800000; // (0, 0, 128)
constexpr uint32_t kCurveBlue = 0x00FF0000; // (0, 0, 255)
constexpr uint32_t kCurvePurple = 0x00800080; // (128, 0, 128)
constexpr uint32_t kCurveTeal = 0x00808000; // (0, 128, 128)
constexpr uint32_t kCurveGreen = 0x00008000; // (0, 128, 0): the last colour, followed by lime

// The colour after `current` in the cycle lime, aqua, fuchsia, silver, navy,
// blue, purple, teal, green, lime, ...; "no colour" is followed by lime. A
// colour outside the cycle is returned unchanged.
uint32_t NextCurveColour(uint32_t current);

// The current curve colour, kept by the load flows.
class CurveColourCycle
{
public:
    uint32_t current() const { return m_current; }
    // Steps to the next colour and returns it.
    uint32_t next() { return m_current = NextCurveColour(m_current); }
    // Back to "no colour", so that next() gives lime again.
    void restart() { m_current = kNoCurveColour; }

private:
    uint32_t m_current = kNoCurveColour;
};
