#pragma once
// The limits of check and render as texts: read as import reads a curve text
// of that name, and refused where they hold a value no measurement holds,
// so that no judgement or picture meets numbers such as 1e308 dB.

#include "curves/CurveInfo.h"
#include "curves/CurveText.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// What a measurement holds. Levels: the loudest sound in air is below
// 200 dB SPL and a 32-bit converter's floor near -200 dB, so +-1000 dB
// leaves room for any reference while keeping every distance printable.
// Impedances: above a nanoohm and up to a gigaohm, far beyond what a
// loudspeaker, an amplifier or an open terminal shows. Frequencies: up to
// a gigahertz, above any sample rate a curve file can name.
constexpr double kMaxMeasuredLevel = 1000; // dB, either sign
constexpr double kMinMeasuredImpedance = 1e-9; // Ohm
constexpr double kMaxMeasuredImpedance = 1e9; // Ohm
constexpr double kMaxMeasuredFrequency = 1e9; // Hz

// Why no measurement holds the point (its frequency or its magnitude, dB or
// Ohm by the kind), in words, as "the level 1e+308 dB at 1000 Hz lies beyond
// what a measurement holds (-1000 to 1000 dB)"; nothing for a sound point.
std::optional<std::string> UnmeasurablePoint(CurveKind kind, const BandPoint& point);

// UnmeasurablePoint of the first point no measurement holds; nothing when
// all are sound.
std::optional<std::string> FirstUnmeasurablePoint(
    std::span<const BandPoint> points, CurveKind kind);

struct LimitText {
    CurveKind kind = CurveKind::Response;
    std::vector<BandPoint> points; // rising frequency, two or more
    std::optional<TextError> error; // set: nothing else is meaningful
};

// A limit text: its kind and points as ParseKindedCurveText reads a text of
// that extension (".zma" an impedance curve, ".frd" a response, any other by
// its header row), every point sound (UnmeasurablePoint, at its line).
LimitText ReadLimitText(std::string_view text, std::string_view extension);
