#pragma once
// Curves as the text that loudspeaker design and room measurement programs
// exchange: FRD (frequency response), ZMA (impedance) and CSV, written and
// read; resampling over a logarithmic frequency axis; the curve file made
// from such a text.

#include "curves/CurveInfo.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

enum class TextFormat { Frd, Zma, Csv };

// "frd", "zma" or "csv" (lower case only); nothing for any other text.
std::optional<TextFormat> TextFormatOfName(std::string_view name);
// The file extension of a format, "frd", "zma" or "csv".
std::string TextFormatExtension(TextFormat format);
// FRD for a response, ZMA for an impedance curve.
TextFormat DefaultTextFormat(CurveKind kind);
// FRD holds responses, ZMA impedances, CSV either.
bool TextFormatFitsKind(TextFormat format, CurveKind kind);

// The comment lines (without their "* ") that head an export of the summary's
// file: source, kind, transform length, rate, bin width, band, level factor
// (or serial resistor), the smoothing (SmoothingComment) when smoothing is
// set, the resampling when pointsPerOctave is set, and that the phase column
// is 0. Only printable ASCII: other bytes of the name become '?'.
std::vector<std::string> ExportComments(const CurveSummary& summary,
    std::optional<int> pointsPerOctave, std::optional<int> smoothing = std::nullopt);

// The text: for FRD and ZMA every comment as "* " + comment and the column
// titles as a comment; for CSV no comments (spreadsheets take any line
// before the header row as data) but the header row first, whose names
// give the kind ("Magnitude (dB)" or "Impedance (Ohm)"); then one line per point: frequency in Hz
// (9 significant digits), magnitude (dB with 4 decimals, Ohm with 7 significant digits) and the
// phase 0, separated by one blank (by a comma in CSV), point decimals, "\n" endings.
std::string FormatCurveText(TextFormat format, CurveKind kind,
    const std::vector<std::string>& comments, std::span<const BandPoint> points);

// The magnitude at frequency f (Hz), interpolated linearly in dB over the
// natural logarithm of the frequency between the two neighbouring points;
// the first point's magnitude at or below its frequency, the last one's at
// or above. A point at 0 Hz lies infinitely far left on that axis, so it
// only gives the magnitude at 0 Hz. For an impedance curve the magnitudes
// are Ohm and are interpolated as 20 log10(Ohm). points: rising frequency,
// none negative, at least one; Ohm > 0.
double InterpolateMagnitude(std::span<const BandPoint> points, CurveKind kind, double f);

// The grid points k of 1000 * 2^(k / perOctave) Hz that lie in low ... high
// (both included, within a millionth of a step), as first ... last; empty
// (first > last) when none does. perOctave >= 1, 0 < low.
struct OctaveIndices {
    long long first = 0;
    long long last = -1;
};
OctaveIndices OctaveIndicesBetween(double low, double high, int perOctave);

// The frequency of grid point k, 1000 * 2^(k / perOctave) Hz.
double OctaveFrequency(long long k, int perOctave);

// The magnitude as export writes it: dB with 4 decimals, Ohm with 7
// significant digits.
std::string FormatMagnitude(CurveKind kind, double magnitude);

// A frequency as comments and messages write it: 9 significant digits and " Hz".
std::string FormatFrequency(double f);

// The frequencies 1000 * 2^(k / perOctave) Hz, for every integer k, that lie
// in low ... high (both included, within a millionth of a step: a text
// holds a frequency to about nine digits), rising.
// perOctave >= 1, 0 < low.
std::vector<double> OctaveFrequencies(double low, double high, int perOctave);

// The points resampled at perOctave points per octave over the span of
// their frequencies (InterpolateMagnitude at OctaveFrequencies). Empty for
// no points. Every frequency must be above 0 Hz.
std::vector<BandPoint> ResamplePerOctave(
    std::span<const BandPoint> points, CurveKind kind, int perOctave);

// A problem of a text, at a line (1 for the first; 0 for the text as a whole).
struct TextError {
    int line = 0;
    std::string message;
};

struct TextPoint {
    double frequency = 0; // Hz
    double magnitude = 0; // dB for a response, Ohm for an impedance curve
    int line = 0;
};

struct ParsedCurveText {
    std::vector<TextPoint> points; // rising frequency
    std::string header; // the header row (see ParseCurveText); empty for none
    std::optional<TextError> error; // set: points are not meaningful
};

// The columns a curve text's frequency and magnitude come from (0-based).
struct TextColumns {
    std::size_t frequency = 0;
    std::size_t magnitude = 1;
};

// The columns asked for: each a 1-based number or a name of the header row
// (a field equal to it, letter case ignored, or with it as a word, as
// "raw" in "Raw [dB]"); empty for the choice of the text itself.
struct ColumnChoice {
    std::string frequency;
    std::string magnitude;
};

// Reads a curve text tolerantly. A text with a UTF-16 byte order mark is
// read as UTF-16 (an odd length or a broken surrogate pair is an error), a
// leading UTF-8 byte order mark is skipped, and NUL bytes otherwise are an
// error. Lines end in "\n", "\r\n" or "\r". Blank lines and comment lines
// (first non-blank character '*', '#', '"' or ';') are skipped anywhere, and
// so is every line before the first data line; the last of those is the
// header row. A data line has two or more fields. The first data line
// decides the separator: ';' when it holds one, else blanks and tabs when
// they split it into fields that read as numbers with a decimal comma, else
// ','; fields are trimmed of blanks and tabs, and a decimal comma is read
// as a point unless the separator is ','. The frequency and the magnitude
// come from the columns chosen; else, when the header row has as many fields
// as the first data line, from its first field naming a frequency
// ("frequency", "freq", "Hz") and its first other field naming a magnitude
// ("spl", "dB", "raw", "magnitude", "impedance", "Ohm"; words, letter case
// ignored); else from the first column and the one after it. Errors: a later
// line that is not a data line, a number that is not finite, a negative
// frequency, a frequency not above the one before, a magnitude <= 0 for an
// impedance curve, fewer than two data lines.
ParsedCurveText ParseCurveText(
    std::string_view text, CurveKind kind, const ColumnChoice& columns = {});

// The kind of a curve text where a curve file is expected, by its file's
// extension (letter case ignored): ZMA an impedance curve, FRD a response;
// any other (CSV, TXT) an impedance curve when its header row names one
// ("impedance", "Ohm" or "Ohms" as a word, letter case ignored), else a
// response.
CurveKind CurveTextKind(std::string_view extension, std::string_view header);

struct ImportSettings {
    CurveKind kind = CurveKind::Response;
    int32_t sampleRate = 48000; // Hz, > 0
    int32_t transformLength = 65536; // even, 2 ... 65536
    float serialResistor = 150.0f; // Ohm, > 0; impedance curves only
};

struct ImportedCurve {
    CurveHeader header;
    std::vector<float> values; // N/2
    std::optional<TextError> error; // set: nothing else is meaningful
};

// The curve file of the parsed points: LevelFactor 1, the settings' rate and
// length, the band from the first to the last frequency cut to 0 ... rate/2.
// LowerFrequency is the first frequency; UpperFrequency lies at the bin just
// above the last frequency (within a thousandth of a bin), so that the
// viewer, which leaves out the bin at UpperFrequency, draws every bin up to
// the last frequency.
// Value k is the magnitude interpolated at k * rate / N (InterpolateMagnitude,
// so bins outside the band hold the nearest edge's magnitude) as
// 10^(dB / 20) for a response and Ohm / serial resistor for an impedance
// curve. Errors: a magnitude whose value a single cannot hold as a normal
// positive number (at its line), a band that lies wholly above rate/2.
ImportedCurve BuildImportedCurve(std::span<const TextPoint> points, const ImportSettings& settings);
