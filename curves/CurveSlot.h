#pragma once
// A curve slot: the five-field header of a curve file and room for the values.

#include <cstdint>

constexpr int kCurveCapacity = 32768; // values a slot holds
constexpr int kMaxTransformLength = 65536; // 2 * kCurveCapacity
constexpr float EmptyCurveValue = 1.0e-20f; // marks an empty point (-400 dB)

struct CurveHeader {
    float LevelFactor = 0.0f; // frequency response: level = 20 log10(LevelFactor * value)
    int32_t SampleRate = 0; // Hz
    int32_t TransformLength = 0; // N; the file holds N/2 values
    float UpperFrequency = 0.0f; // Hz, no value above it is drawn
    float LowerFrequency = 0.0f; // Hz, no value below it is drawn

    bool operator==(const CurveHeader&) const = default;
};

// The header of a slot that holds no curve: 512 bins of 20 Hz to 20 kHz at
// 48 kHz with the level factor 1. With every value EmptyCurveValue it draws
// at -400 dB or at and below the bottom edge of the impedance scale, outside
// the data window, and cannot fault.
constexpr CurveHeader kEmptyCurveHeader {1.0f, 48000, 512, 20000.0f, 20.0f};

struct CurveSlot {
    CurveHeader header;
    float* values = nullptr; // kCurveCapacity values, allocated once at start-up
};

// The last frequency response and the last impedance curve loaded.
extern CurveSlot ResponseCurve;
extern CurveSlot ImpedanceCurve;

// Removes the curve a slot holds: every value becomes EmptyCurveValue and the
// header kEmptyCurveHeader.
void EmptyCurveSlot(CurveSlot& slot);
