#include "curves/CurveText.h"

#include "curves/OctaveSmoothing.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>

namespace
{

// The magnitude on the axis the interpolation is linear on: dB.
double ToDecibels(CurveKind kind, double magnitude)
{
    return kind == CurveKind::Impedance ? 20.0 * std::log10(magnitude) : magnitude;
}

double FromDecibels(CurveKind kind, double decibels)
{
    return kind == CurveKind::Impedance ? std::pow(10.0, decibels / 20.0) : decibels;
}

// The value a curve file stores for a magnitude (LevelFactor 1).
double StoredValue(const ImportSettings& settings, double magnitude)
{
    return settings.kind == CurveKind::Response ? std::pow(10.0, magnitude / 20.0)
                                                : magnitude / settings.serialResistor;
}

// The UpperFrequency of a band whose last frequency is `last`. The viewer
// draws the bins below round(N * UpperFrequency / fs), so the band ends at
// the first bin above the last bin that `last` reaches (within a thousandth
// of a bin, the precision of a frequency in a text), at most at rate/2:
// every bin up to the last frequency is drawn, and an exported band imports
// to the same bins.
double UpperBandEdge(double last, const ImportSettings& settings)
{
    const double binWidth = static_cast<double>(settings.sampleRate) / settings.transformLength;
    const double lastBin = std::floor(last / binWidth + 1e-3);
    return std::min((lastBin + 1) * binWidth, settings.sampleRate / 2.0);
}

} // namespace

std::string FormatFrequency(double f)
{
    return FormatNumber(f, 9) + " Hz";
}

std::optional<TextFormat> TextFormatOfName(std::string_view name)
{
    if (name == "frd")
        return TextFormat::Frd;
    if (name == "zma")
        return TextFormat::Zma;
    if (name == "csv")
        return TextFormat::Csv;
    return std::nullopt;
}

std::string TextFormatExtension(TextFormat format)
{
    switch (format) {
    case TextFormat::Frd:
        return "frd";
    case TextFormat::Zma:
        return "zma";
    case TextFormat::Csv:
        break;
    }
    return "csv";
}

TextFormat DefaultTextFormat(CurveKind kind)
{
    return kind == CurveKind::Response ? TextFormat::Frd : TextFormat::Zma;
}

bool TextFormatFitsKind(TextFormat format, CurveKind kind)
{
    return format == TextFormat::Csv || format == DefaultTextFormat(kind);
}

std::vector<std::string> ExportComments(
    const CurveSummary& summary, std::optional<int> pointsPerOctave, std::optional<int> smoothing)
{
    std::string source;
    for (const char c : summary.name)
        source += (c >= 0x20 && c < 0x7F) ? c : '?';
    const CurveHeader& h = summary.header;
    const BinRange bins = BandBins(h);
    std::vector<std::string> comments;
    comments.push_back("Exported by voxacurve from " + source);
    if (summary.kind == CurveKind::Response)
        comments.push_back("Kind: " + summary.extension
            + ", frequency response in dB = 20 log10(level factor x value)");
    else
        comments.push_back("Kind: " + summary.extension
            + ", impedance curve in Ohm = value x serial resistor of "
            + FormatNumber(summary.serialResistor, 9) + " Ohm");
    comments.push_back("Transform length " + std::to_string(h.TransformLength) + ", sample rate "
        + std::to_string(h.SampleRate) + " Hz, bin width " + FormatFrequency(BinFrequency(h, 1)));
    comments.push_back("Band " + FormatNumber(h.LowerFrequency, 9) + " to "
        + FormatFrequency(h.UpperFrequency) + " (bins " + std::to_string(bins.first) + " to "
        + std::to_string(bins.end - 1) + "), level factor " + FormatNumber(h.LevelFactor, 9));
    if (smoothing)
        comments.push_back(SmoothingComment(*smoothing));
    if (pointsPerOctave)
        comments.push_back("Resampled to " + std::to_string(*pointsPerOctave)
            + " points per octave, linearly in dB over log frequency");
    comments.push_back("The source holds magnitudes only: the phase column is 0");
    return comments;
}

std::string FormatMagnitude(CurveKind kind, double magnitude)
{
    if (kind == CurveKind::Impedance)
        return FormatNumber(magnitude, 7);
    char buffer[64];
    const auto r
        = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::fixed, 4);
    return std::string(buffer, r.ptr);
}

std::string FormatCurveText(TextFormat format, CurveKind kind,
    const std::vector<std::string>& comments, std::span<const BandPoint> points)
{
    const bool csv = format == TextFormat::Csv;
    const std::string magnitudeTitle
        = kind == CurveKind::Response ? "Magnitude (dB)" : "Impedance (Ohm)";
    std::string text;
    if (csv)
        text += "Frequency (Hz)," + magnitudeTitle + ",Phase (deg)\n";
    else {
        for (const std::string& comment : comments)
            text += "* " + comment + "\n";
        text += "* Frequency (Hz)  " + magnitudeTitle + "  Phase (deg)\n";
    }
    const char separator = csv ? ',' : ' ';
    for (const BandPoint& p : points) {
        text += FormatNumber(p.frequency, 9);
        text += separator;
        text += FormatMagnitude(kind, p.magnitude);
        text += separator;
        text += "0\n";
    }
    return text;
}

double InterpolateMagnitude(std::span<const BandPoint> points, CurveKind kind, double f)
{
    if (f <= points.front().frequency)
        return points.front().magnitude;
    if (f >= points.back().frequency)
        return points.back().magnitude;
    const auto above = std::upper_bound(points.begin(), points.end(), f,
        [](double freq, const BandPoint& p) { return freq < p.frequency; });
    const BandPoint& b = *above;
    const BandPoint& a = *(above - 1);
    if (a.frequency <= 0)
        return b.magnitude;
    const double t = std::log(f / a.frequency) / std::log(b.frequency / a.frequency);
    const double da = ToDecibels(kind, a.magnitude);
    const double db = ToDecibels(kind, b.magnitude);
    return FromDecibels(kind, da + t * (db - da));
}

OctaveIndices OctaveIndicesBetween(double low, double high, int perOctave)
{
    const auto position = [&](double f) { return perOctave * std::log2(f / 1000.0); };
    return {static_cast<long long>(std::ceil(position(low) - 1e-6)),
        static_cast<long long>(std::floor(position(high) + 1e-6))};
}

double OctaveFrequency(long long k, int perOctave)
{
    return 1000.0 * std::exp2(static_cast<double>(k) / perOctave);
}

std::vector<double> OctaveFrequencies(double low, double high, int perOctave)
{
    const OctaveIndices indices = OctaveIndicesBetween(low, high, perOctave);
    std::vector<double> frequencies;
    for (long long k = indices.first; k <= indices.last; ++k)
        frequencies.push_back(OctaveFrequency(k, perOctave));
    return frequencies;
}

std::vector<BandPoint> ResamplePerOctave(
    std::span<const BandPoint> points, CurveKind kind, int perOctave)
{
    std::vector<BandPoint> resampled;
    if (points.empty())
        return resampled;
    for (const double f :
        OctaveFrequencies(points.front().frequency, points.back().frequency, perOctave))
        resampled.push_back({f, InterpolateMagnitude(points, kind, f)});
    return resampled;
}

ImportedCurve BuildImportedCurve(std::span<const TextPoint> points, const ImportSettings& settings)
{
    ImportedCurve curve;
    const char* unit = settings.kind == CurveKind::Response ? " dB" : " Ohm";
    for (const TextPoint& p : points) {
        const double value = StoredValue(settings, p.magnitude);
        if (!(value >= FLT_MIN && value <= FLT_MAX)) {
            curve.error = TextError {p.line,
                "the magnitude " + FormatNumber(p.magnitude, 9) + unit
                    + " lies beyond what a curve file can hold"};
            return curve;
        }
    }
    const double nyquist = settings.sampleRate / 2.0;
    if (points.front().frequency >= nyquist) {
        curve.error = TextError {points.front().line,
            "the first frequency " + FormatFrequency(points.front().frequency)
                + " is not below half the sample rate (" + FormatFrequency(nyquist) + ")"};
        return curve;
    }
    curve.header = {1.0f, settings.sampleRate, settings.transformLength,
        static_cast<float>(UpperBandEdge(points.back().frequency, settings)),
        static_cast<float>(points.front().frequency)};
    std::vector<BandPoint> band;
    for (const TextPoint& p : points)
        band.push_back({p.frequency, p.magnitude});
    curve.values.resize(static_cast<std::size_t>(settings.transformLength / 2));
    for (std::size_t k = 0; k < curve.values.size(); ++k) {
        const double f = BinFrequency(curve.header, static_cast<int>(k));
        curve.values[k] = static_cast<float>(
            StoredValue(settings, InterpolateMagnitude(band, settings.kind, f)));
    }
    return curve;
}
