#pragma once
// What a curve file holds, as the viewer sees it: its kind, header, band and
// the range of its levels or impedances, or the reason the viewer refuses it.
// Used by the headless tool voxacurve.

#include "curves/CurveFile.h"
#include "curves/CurveTrace.h"
#include "curves/NameQuoting.h"

#include <optional>
#include <string>
#include <vector>

enum class CurveKind {
    Response, // EE, EA, AE, AA: level in dB = 20 log10(LevelFactor * value)
    Impedance, // OHM: impedance in Ohm = value * serial resistor
};

// The extension of a file name (after the last point of its last path
// component) in upper case; empty when there is none.
std::string CurveExtension(const std::string& name);

// The kind the extension names, letter case ignored; nothing for any other.
std::optional<CurveKind> CurveKindOfName(const std::string& name);

// Why the viewer refuses or cannot draw the file, in words; nothing for a
// file it draws. Covers the reader's statuses, a band whose bins fault
// (SampleRate 0 cannot occur after the reader, a non-finite or absurd band
// edge can) and, for a response, a LevelFactor that is not positive and
// finite. Single values are not judged here (see BandValues::undrawable).
std::optional<std::string> CurveRefusal(const CurveFile& file, CurveKind kind);

// The bins of the band that the file holds: DrawnBins(header) cut at N/2
// (bins beyond the file's values hold whatever the slot held before). end is
// never below first. The header must not be refused by CurveRefusal.
BinRange BandBins(const CurveHeader& header);

// Frequency of bin i, i * SampleRate / N, in Hz.
double BinFrequency(const CurveHeader& header, int i);

// A value as the viewer shows it: the level in dB (20 log10(LevelFactor *
// value), computed in double precision) for a response, value * serial
// resistor in Ohm for an impedance curve. Nothing for a value <= 0, NaN or
// infinite: the level trace faults on it, and it is no impedance (the
// viewer draws such an impedance at or below the bottom edge).
std::optional<double> CurveMagnitude(
    CurveKind kind, const CurveHeader& header, float value, float serialResistor);

struct BandPoint {
    double frequency = 0; // Hz
    double magnitude = 0; // dB or Ohm
    bool operator==(const BandPoint&) const = default;
};

struct BandValues {
    std::vector<BandPoint> points; // the drawable values of the band, rising frequency
    int undrawable = 0; // values of the band left out: <= 0, NaN or infinite
};

// The values of the band (BandBins) as magnitudes. The file must be ok and
// not refused.
BandValues ReadBandValues(const CurveFile& file, CurveKind kind, float serialResistor);

struct CurveSummary {
    std::string name; // as given on the command line
    std::optional<std::string> refusal; // set: nothing below is meaningful
    CurveKind kind = CurveKind::Response;
    std::string extension; // "EA", "OHM", ...
    CurveHeader header;
    float serialResistor = 0; // Ohm, for impedance curves
    int bandBins = 0; // bins in the band
    std::optional<double> minimum, maximum; // over the drawable values of the band
    int undrawable = 0;
};

// The summary of a file read with ReadCurveFile: the kind comes from the
// name, so a name with another extension is refused.
CurveSummary SummarizeCurveFile(
    const std::string& name, const CurveFile& file, float serialResistor);

// The summary of a curve of the kind given (a curve file made from a text).
CurveSummary SummarizeCurve(
    const std::string& name, const CurveFile& file, CurveKind kind, float serialResistor);

// One line, e.g.
//   "SPEAKER.EA: response EA, N 65536, 48000 Hz, bin 0.732421875 Hz,
//    band 20 to 20000 Hz, level factor 141500, 43.21 to 92.34 dB,
//    undrawable 0"
// (on one line), or "NAME: refused: REASON". Levels and Ohm are given with
// two decimals; "no values" stands for the range when the band is empty.
std::string FormatSummaryLine(const CurveSummary& summary);

// A JSON object of the summary on one line: name, and either refused, or
// kind, extension, transformLength, sampleRate, binWidth, lowerFrequency,
// upperFrequency, levelFactor (null when not finite: an impedance curve
// does not use it), unit ("dB" or "Ohm"), serialResistor (Ohm
// only), bandBins, minimum, maximum (null when the band has no values) and
// undrawable.
std::string FormatSummaryJson(const CurveSummary& summary);

// The bytes as UTF-8 text: each byte that does not belong to a UTF-8
// character is replaced by U+FFFD.
std::string Utf8OrReplaced(const std::string& bytes);

// A number in the shortest decimal form with at most `significant` digits,
// point as decimal separator, exponent only where plain digits would need
// more than `significant` digits ("1000", "0.732421875", "1.5e-07"). Not for
// NaN or infinity.
std::string FormatNumber(double value, int significant);
