#include "fuzz/CurveTextChecks.h"

#include "curves/CurveFile.h"
#include "curves/CurveText.h"
#include "curves/ExampleCurves.h"
#include "curves/LimitCheck.h"

#include <cmath>
#include <vector>

namespace
{

std::optional<std::string> CheckParsedText(const ParsedCurveText& parsed, CurveKind kind)
{
    if (parsed.error)
        return parsed.error->message.empty() || parsed.error->line < 0
            ? std::optional<std::string>("a refusal without words or with a negative line")
            : std::nullopt;
    const std::vector<TextPoint>& points = parsed.points;
    if (points.size() < 2)
        return "a text of fewer than two points accepted";
    for (std::size_t i = 0; i < points.size(); ++i) {
        const TextPoint& p = points[i];
        if (!std::isfinite(p.frequency) || !std::isfinite(p.magnitude) || p.frequency < 0
            || p.line < 1)
            return "a point that is not finite, of negative frequency or without a line";
        if (kind == CurveKind::Impedance && !(p.magnitude > 0))
            return "an impedance not above 0 Ohm accepted";
        if (i > 0 && (p.frequency <= points[i - 1].frequency || p.line <= points[i - 1].line))
            return "points whose frequency or line does not rise";
    }
    return std::nullopt;
}

std::optional<std::string> CheckImportAndLimits(const std::vector<TextPoint>& points)
{
    ImportSettings settings;
    settings.transformLength = 4096;
    const ImportedCurve curve = BuildImportedCurve(points, settings);
    if (!curve.error) {
        const CurveFile file = ParseCurveFile(EncodeCurveFile(curve.header, curve.values));
        if (!file.ok() || CurveRefusal(file, CurveKind::Response))
            return "an imported curve the viewer refuses";
    }
    std::vector<BandPoint> band;
    for (const TextPoint& p : points)
        band.push_back({p.frequency, p.magnitude});
    if (!CheckLimits(band, CurveKind::Response, band, band).passed())
        return "a curve outside limits that are the curve itself";
    return std::nullopt;
}

} // namespace

std::optional<std::string> CheckCurveTextInput(std::span<const unsigned char> bytes)
{
    if (bytes.empty())
        return std::nullopt;
    static const ColumnChoice kChoices[] = {{}, {"2", "1"}, {"freq", "db"}, {"1", "3"}};
    const ColumnChoice& choice = kChoices[bytes[0] % std::size(kChoices)];
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()) + 1, bytes.size() - 1);
    for (const CurveKind kind : {CurveKind::Response, CurveKind::Impedance}) {
        const ParsedCurveText parsed = ParseCurveText(text, kind, choice);
        if (const auto problem = CheckParsedText(parsed, kind))
            return problem;
        if (kind == CurveKind::Response && !parsed.error)
            if (const auto problem = CheckImportAndLimits(parsed.points))
                return problem;
    }
    return std::nullopt;
}
