#include "fuzz/PartialChecks.h"

#include "curves/StatsPartial.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace
{

// The shape of a sound partial's statistics: grid, counts and identities.
std::optional<std::string> CheckShape(const CurveStats& stats)
{
    if (stats.identities.size() != stats.curves)
        return "not one identity per curve";
    if (stats.columns.empty())
        return std::nullopt;
    const OctaveIndices grid = ReachableGrid(stats.perOctave);
    const long long last = stats.firstIndex + static_cast<long long>(stats.columns.size()) - 1;
    if (stats.firstIndex < grid.first || last > grid.last)
        return "a grid point no curve file reaches";
    for (const std::vector<float>& column : stats.columns)
        if (column.size() > stats.curves)
            return "more values at a grid point than curves";
    return std::nullopt;
}

// The rows of every statistic: finite, the order statistics in order.
std::optional<std::string> CheckRows(CurveStats stats)
{
    const std::vector<double> percentiles = {0, 5, 50, 95, 100};
    for (const StatsRow& row : ComputeStatsRows(stats, percentiles)) {
        if (!std::isfinite(row.frequency) || !(row.frequency > 0))
            return "a frequency that is not a finite number above 0";
        if (!(row.minimum <= row.mean && row.mean <= row.maximum))
            return "a mean outside minimum and maximum";
        if (row.percentiles.front() != row.minimum || row.percentiles.back() != row.maximum)
            return "percentiles 0 and 100 are not minimum and maximum";
        if (!std::is_sorted(row.percentiles.begin(), row.percentiles.end()))
            return "percentiles that do not rise";
        if ((row.count < 2) != std::isnan(row.deviation)
            || (row.count >= 2 && !(row.deviation >= 0 && std::isfinite(row.deviation))))
            return "a deviation that is not a finite number >= 0 where two curves count";
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> CheckStatsPartialInput(std::span<const unsigned char> bytes)
{
    if (bytes.empty())
        return std::nullopt;
    const bool sealed = (bytes[0] & 1) != 0;
    const std::vector<unsigned char> partial = sealed
        ? WithPartialChecksum(bytes.subspan(1))
        : std::vector<unsigned char>(bytes.begin() + 1, bytes.end());
    DecodedStats decoded = DecodeStatsPartial(partial);
    if (decoded.error) {
        if (decoded.error->rfind("not a usable partial of voxacurve stats: ", 0) != 0)
            return "a refusal without its words: " + *decoded.error;
        return std::nullopt;
    }
    const CurveStats& stats = decoded.stats;
    if (stats.runs.size() != 1 || EncodeStatsPartial(stats, stats.runs[0]) != partial)
        return "written again, the partial gives other bytes";
    if (const auto problem = CheckShape(stats))
        return problem;
    if (const auto problem = CheckRows(stats))
        return problem;
    CurveStats merged;
    merged.perOctave = stats.perOctave;
    if (const auto misfit = MergeStats(merged, CurveStats(stats)))
        return "a sound partial does not merge into nothing: " + *misfit;
    if (merged.curves != stats.curves || merged.refused != stats.refused)
        return "the merge does not count what the partial holds";
    if (!MergeStats(merged, CurveStats(stats)))
        return "a copy of a partial merged twice";
    return std::nullopt;
}
