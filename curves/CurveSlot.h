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
};

struct CurveSlot {
    CurveHeader header;
    float* values = nullptr; // kCurveCapacity values, allocated once at start-up
};

// The last frequency response and the last impedance curve loaded.
extern CurveSlot ResponseCurve;
extern CurveSlot ImpedanceCurve;
