#pragma once
// The serial resistor of the impedance measurement: the value the user
// enters, the ranges it must lie in and the status line that shows it.

#include <optional>
#include <string>

// The value stored for an answer of the entry box, in Ohm: the answer × 10
// rounded to an integer (halves to the even neighbour) × 0.1, then narrowed to
// single precision (the settings field is a float). So 0.14 gives 0.1f,
// 10.04 gives 10.0f, 10.06 gives 10.1f and 0.25 gives 0.2f.
// An answer that is not a number (nullopt), NaN, infinite, or so large that
// the result does not fit a float gives 0, which is outside the valid ranges.
float StoredSerialResistor(std::optional<double> answer);

// Whether a stored value lies in one of the two valid ranges, 0.1 to 10 Ohm or
// 100 to 4000 Ohm, bounds included. The bounds are compared in single
// precision, so a stored 0.1f (from 0.14) and 10.0f are inside. NaN is outside.
bool IsValidSerialResistor(float ohm);

// The entry box's preset: the value in fixed notation with one decimal and a
// '.' as decimal point ("150.0"); NaN and infinity as "nan" and "inf".
std::string SerialResistorPresetText(float ohm);

// "Serial Resistor: " + the value rounded to an integer (halves to the even
// neighbour, so 2.5 shows 2 and -0.3 shows 0) + " Ohm". Values of any size are
// written in full; NaN and infinity as "nan" and "inf".
std::string SerialResistorStatusText(float ohm);
