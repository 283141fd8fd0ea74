#pragma once
// Small text routines shared by the axis labels, the read-out and the status
// texts. Every result is a single-byte text of at most 255 characters; a
// longer result is cut there (its first 255 characters stay).

#include <string>
#include <string_view>

// The value in decimal fixed-point notation with exactly `decimals` digits
// after the point (no point for 0 decimals), a leading '-' for negative values,
// right-aligned with blanks in a field of at least `width` characters; a
// longer number is never cut to the width.
//
// Rounding: the single value is widened exactly to double and converted by a
// correctly rounded decimal conversion, so the result is the exact binary value
// rounded to the nearest. A tie can only occur when the binary value is exactly
// halfway (e.g. 0.5 with 0 decimals, 0.25 or 99.75 with 1 decimal); it goes to
// the even last digit ("0", "0.2", "99.8"). Decimal fractions such as 0.15 are
// not exactly representable and round by their true binary value.
//
// Negative decimals count as 0. Zero (also -0) is written without a sign; a
// negative value that rounds to zero keeps its sign ("-0.0"). NaN and infinity
// are written as the C library writes them ("nan", "-inf"), right-aligned.
std::string FormatFixed(int width, int decimals, float value);

// TrimLeadingBlanks(text), then padChar put in front until it is `width`
// characters long; a text of `width` characters or more stays as it is.
std::string PadLeft(std::string_view text, char padChar, int width);

// The text without its leading characters of code 0 to 32 (blanks and
// control characters); the rest is unchanged.
std::string TrimLeadingBlanks(std::string_view text);
