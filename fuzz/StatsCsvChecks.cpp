#include "fuzz/StatsCsvChecks.h"

#include "curves/StatsTable.h"
#include "plot/DataWindowPoints.h"
#include "plot/PolylineClip.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <vector>

namespace
{

using Problem = std::optional<std::string>;

Problem CheckRefusal(const std::string& error)
{
    if (error.empty())
        return "a refusal without words";
    if (error.starts_with("line ") && error.find(": ") == std::string::npos)
        return "a line number without a reason";
    return std::nullopt;
}

Problem CheckRow(const StatsTable& t, std::size_t row)
{
    const double f = t.frequencies[row];
    if (!(f > 0) || f > kMaxCurveFrequency || (row > 0 && !(f > t.frequencies[row - 1])))
        return "a frequency not above 0, beyond any curve or not rising";
    const bool ohm = t.kind == CurveKind::Impedance;
    const double low = ohm ? 0 : -kMaxCurveLevel, high = ohm ? kMaxCurveOhm : kMaxCurveLevel;
    const double minimum = t.minimum[row], maximum = t.maximum[row];
    if (!(low <= minimum && minimum <= maximum && maximum <= high))
        return "a minimum above the maximum, or beyond what a curve holds";
    if (!(minimum <= t.mean[row] && t.mean[row] <= maximum))
        return "a mean outside the minimum and maximum";
    for (std::size_t i = 0; i < t.percentiles.size(); ++i) {
        const double v = t.percentileValues[i][row];
        if (!(minimum <= v && v <= maximum))
            return "a percentile outside the minimum and maximum";
        for (std::size_t j = 0; j < t.percentiles.size(); ++j)
            if (t.percentiles[j] < t.percentiles[i] && t.percentileValues[j][row] > v)
                return "a higher percentile below a lower one";
    }
    return std::nullopt;
}

Problem CheckTable(const StatsTable& t)
{
    const std::size_t rows = t.frequencies.size();
    if (rows < 2)
        return "a table of fewer than two rows accepted";
    if (t.mean.size() != rows || t.minimum.size() != rows || t.maximum.size() != rows
        || t.percentileValues.size() != t.percentiles.size())
        return "columns of different lengths";
    for (std::size_t i = 0; i < t.percentiles.size(); ++i)
        if (!(t.percentiles[i] >= 0 && t.percentiles[i] <= 100)
            || t.percentileValues[i].size() != rows)
            return "a percentile outside 0 to 100, or a column of another length";
    for (std::size_t row = 0; row < rows; ++row)
        if (Problem p = CheckRow(t, row))
            return p;
    return std::nullopt;
}

Problem CheckInside(const std::vector<ClipPoint>& points, const TraceFrame& frame)
{
    for (const ClipPoint& c : points)
        if (!(c.x >= 0 && c.x <= frame.width && c.y >= 0 && c.y <= frame.height))
            return "a band point cut to the data window lies outside it or is not finite";
    return std::nullopt;
}

// The band's areas and median line, as the painter cuts them, on views and
// scales from the designed one to the extremes the options allow.
Problem CheckBandGeometry(const StatsBand& band)
{
    const TraceFrame frames[]
        = {{632, 338, 20.0f, 20000.0f}, {16384, 16384, 5.0f, 5.0001f}, {484, 150, 5.0f, 1e9f}};
    const AxisScales scales[] = {{60, 100, 50, 0}, {5, -160, 2, 0}, {120, 164, 2000, 23982}};
    for (const TraceFrame& frame : frames)
        for (const AxisScales& s : scales) {
            const DataWindowPoints onWindow(band.kind, s, frame);
            const auto line = [&](const std::vector<double>& values) {
                std::vector<ClipPoint> points;
                for (std::size_t i = 0; i < band.frequencies.size(); ++i)
                    points.push_back(onWindow(band.frequencies[i], values[i]));
                return points;
            };
            std::vector<ClipPoint> area = line(band.maximum);
            const std::vector<ClipPoint> below = line(band.minimum);
            area.insert(area.end(), below.rbegin(), below.rend());
            if (Problem p = CheckInside(ClipPolygon(area, frame.width, frame.height), frame))
                return p;
            for (const auto& run : ClipPolyline(line(band.median), frame.width, frame.height))
                if (Problem p = CheckInside(run, frame))
                    return p;
        }
    return std::nullopt;
}

} // namespace

std::optional<std::string> CheckStatsCsvInput(std::span<const unsigned char> bytes)
{
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    const ParsedStatsTable parsed = ParseStatsCsv(text);
    if (parsed.error)
        return CheckRefusal(*parsed.error);
    if (Problem p = CheckTable(parsed.table))
        return p;
    const StatsBand band = BandOf(parsed.table);
    if (band.median.size() != band.frequencies.size()
        || (!band.lowest.empty() && band.lowest.size() != band.frequencies.size()))
        return "a band line of another length than its frequencies";
    return CheckBandGeometry(band);
}
