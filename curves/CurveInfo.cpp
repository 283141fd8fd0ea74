#include "curves/CurveInfo.h"

#include "curves/ArithmeticFault.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace
{

std::string DescribeStatus(CurveFileStatus status)
{
    switch (status) {
    case CurveFileStatus::Ok:
        break;
    case CurveFileStatus::Unreadable:
        return "cannot be read (missing, not a regular file, or a read error)";
    case CurveFileStatus::Truncated:
        return "truncated (shorter than its 20-byte header and N/2 values)";
    case CurveFileStatus::BadHeader:
        return "bad header (the transform length is not even and 2 to 65536, or the sample "
               "rate is not positive)";
    }
    return "";
}

std::string FormatFixedDecimals(double value, int decimals)
{
    char buffer[64];
    const auto result
        = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return std::string(buffer, result.ptr);
}

std::string UnitOf(CurveKind kind)
{
    return kind == CurveKind::Response ? "dB" : "Ohm";
}

std::string KindWord(CurveKind kind)
{
    return kind == CurveKind::Response ? "response" : "impedance";
}

// JSON has no NaN or infinity: null stands for them and for a missing value.
std::string JsonNumberOrNull(const std::optional<double>& value)
{
    return value && std::isfinite(*value) ? FormatNumber(*value, 9) : "null";
}

} // namespace

std::string CurveExtension(const std::string& name)
{
    const std::size_t slash = name.rfind('/');
    const std::size_t point = name.rfind('.');
    if (point == std::string::npos || (slash != std::string::npos && point < slash))
        return "";
    std::string extension = name.substr(point + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
        [](char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; });
    return extension;
}

std::optional<CurveKind> CurveKindOfName(const std::string& name)
{
    const std::string extension = CurveExtension(name);
    if (extension == "EE" || extension == "EA" || extension == "AE" || extension == "AA")
        return CurveKind::Response;
    if (extension == "OHM")
        return CurveKind::Impedance;
    return std::nullopt;
}

std::optional<std::string> CurveRefusal(const CurveFile& file, CurveKind kind)
{
    if (!file.ok())
        return file.unreadable.empty() ? DescribeStatus(file.status)
                                       : "cannot be read: " + file.unreadable;
    try {
        DrawnBins(file.header);
    } catch (const ArithmeticFault& fault) {
        return "its band cannot be drawn: " + DescribeFault(fault.kind());
    }
    const float factor = file.header.LevelFactor;
    if (kind == CurveKind::Response && !(factor > 0.0f && std::isfinite(factor))) {
        FaultKind fault = FaultKind::InvalidOperation;
        try {
            CheckedLn(factor);
        } catch (const ArithmeticFault& f) {
            fault = f.kind();
        }
        return "level factor " + FormatNumber(factor, 9)
            + " cannot give a level: " + DescribeFault(fault);
    }
    return std::nullopt;
}

BinRange BandBins(const CurveHeader& header)
{
    const BinRange drawn = DrawnBins(header);
    const int end = std::min(drawn.end, header.TransformLength / 2);
    return {drawn.first, std::max(drawn.first, end)};
}

double BinFrequency(const CurveHeader& header, int i)
{
    return static_cast<double>(i) * header.SampleRate / header.TransformLength;
}

std::optional<double> CurveMagnitude(
    CurveKind kind, const CurveHeader& header, float value, float serialResistor)
{
    if (!(value > 0.0f) || !std::isfinite(value))
        return std::nullopt;
    const double magnitude = kind == CurveKind::Response
        ? 20.0 * std::log10(static_cast<double>(header.LevelFactor) * value)
        : static_cast<double>(value) * serialResistor;
    if (!std::isfinite(magnitude))
        return std::nullopt;
    return magnitude;
}

BandValues ReadBandValues(const CurveFile& file, CurveKind kind, float serialResistor)
{
    BandValues band;
    const BinRange bins = BandBins(file.header);
    for (int i = bins.first; i < bins.end; ++i) {
        const auto magnitude = CurveMagnitude(kind, file.header, file.values[i], serialResistor);
        if (magnitude)
            band.points.push_back({BinFrequency(file.header, i), *magnitude});
        else
            ++band.undrawable;
    }
    return band;
}

CurveSummary SummarizeCurveFile(
    const std::string& name, const CurveFile& file, float serialResistor)
{
    const auto kind = CurveKindOfName(name);
    if (kind)
        return SummarizeCurve(name, file, *kind, serialResistor);
    CurveSummary summary;
    summary.name = name;
    summary.extension = CurveExtension(name);
    summary.refusal = "not a curve file name (the extension must be EE, EA, AE, AA or OHM)";
    return summary;
}

CurveSummary SummarizeCurve(
    const std::string& name, const CurveFile& file, CurveKind kind, float serialResistor)
{
    CurveSummary summary;
    summary.name = name;
    summary.extension = CurveExtension(name);
    summary.kind = kind;
    summary.refusal = CurveRefusal(file, kind);
    if (summary.refusal)
        return summary;
    summary.header = file.header;
    summary.serialResistor = serialResistor;
    const BinRange bins = BandBins(file.header);
    summary.bandBins = bins.end - bins.first;
    const BandValues band = ReadBandValues(file, kind, serialResistor);
    summary.undrawable = band.undrawable;
    for (const BandPoint& p : band.points) {
        summary.minimum = std::min(summary.minimum.value_or(p.magnitude), p.magnitude);
        summary.maximum = std::max(summary.maximum.value_or(p.magnitude), p.magnitude);
    }
    return summary;
}

std::string FormatSummaryLine(const CurveSummary& s)
{
    if (s.refusal)
        return QuotedName(s.name) + ": refused: " + *s.refusal;
    const CurveHeader& h = s.header;
    std::string line = QuotedName(s.name) + ": " + KindWord(s.kind) + " " + s.extension;
    line += ", N " + std::to_string(h.TransformLength);
    line += ", " + std::to_string(h.SampleRate) + " Hz";
    line += ", bin " + FormatNumber(BinFrequency(h, 1), 9) + " Hz";
    line += ", band " + FormatNumber(h.LowerFrequency, 9) + " to "
        + FormatNumber(h.UpperFrequency, 9) + " Hz";
    line += ", level factor " + FormatNumber(h.LevelFactor, 9);
    if (s.kind == CurveKind::Impedance)
        line += ", serial resistor " + FormatNumber(s.serialResistor, 9) + " Ohm";
    if (s.minimum)
        line += ", " + FormatFixedDecimals(*s.minimum, 2) + " to "
            + FormatFixedDecimals(*s.maximum, 2) + " " + UnitOf(s.kind);
    else
        line += ", no values";
    line += ", undrawable " + std::to_string(s.undrawable);
    return line;
}

std::string FormatSummaryJson(const CurveSummary& s)
{
    std::string json = "{\"name\": " + JsonName(s.name);
    if (s.refusal)
        return json + ", \"refused\": " + JsonString(*s.refusal) + "}";
    const CurveHeader& h = s.header;
    json += ", \"kind\": \"" + KindWord(s.kind) + "\"";
    json += ", \"extension\": " + JsonString(s.extension);
    json += ", \"transformLength\": " + std::to_string(h.TransformLength);
    json += ", \"sampleRate\": " + std::to_string(h.SampleRate);
    json += ", \"binWidth\": " + FormatNumber(BinFrequency(h, 1), 9);
    json += ", \"lowerFrequency\": " + FormatNumber(h.LowerFrequency, 9);
    json += ", \"upperFrequency\": " + FormatNumber(h.UpperFrequency, 9);
    // An impedance curve does not use its level factor, which may be anything.
    json += ", \"levelFactor\": " + JsonNumberOrNull(h.LevelFactor);
    json += ", \"unit\": \"" + UnitOf(s.kind) + "\"";
    if (s.kind == CurveKind::Impedance)
        json += ", \"serialResistor\": " + FormatNumber(s.serialResistor, 9);
    json += ", \"bandBins\": " + std::to_string(s.bandBins);
    json += ", \"minimum\": " + JsonNumberOrNull(s.minimum);
    json += ", \"maximum\": " + JsonNumberOrNull(s.maximum);
    json += ", \"undrawable\": " + std::to_string(s.undrawable) + "}";
    return json;
}

std::string FormatNumber(double value, int significant)
{
    char buffer[64];
    const auto result = std::to_chars(
        buffer, buffer + sizeof buffer, value, std::chars_format::general, significant);
    return std::string(buffer, result.ptr);
}

std::string Utf8OrReplaced(const std::string& bytes)
{
    std::string text;
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length
            = static_cast<unsigned char>(bytes[i]) < 0x80 ? 1 : Utf8SequenceLength(bytes, i);
        text += length ? bytes.substr(i, length) : "\xEF\xBF\xBD";
        i += std::max<std::size_t>(length, 1);
    }
    return text;
}
