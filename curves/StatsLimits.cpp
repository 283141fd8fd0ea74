#include "curves/StatsLimits.h"

#include <algorithm>
#include <cmath>

namespace
{

// The values of percentile p's column, or nothing when the CSV has none.
const std::vector<double>* PercentileColumn(const StatsTable& table, double p)
{
    const auto found = std::find(table.percentiles.begin(), table.percentiles.end(), p);
    if (found == table.percentiles.end())
        return nullptr;
    return &table.percentileValues[static_cast<std::size_t>(found - table.percentiles.begin())];
}

std::string ColumnNames(const StatsTable& table)
{
    std::string names;
    for (const double p : table.percentiles)
        names += (names.empty() ? "P" : ", P") + FormatNumber(p, 17);
    return names.empty() ? "none" : names;
}

// The value moved outwards by the margin: dB added, or Ohm scaled.
double Widened(double value, double widen, CurveKind kind, bool upper)
{
    if (kind == CurveKind::Impedance)
        return value * std::pow(10.0, (upper ? widen : -widen) / 20.0);
    return upper ? value + widen : value - widen;
}

} // namespace

StatsLimits LimitsFromStats(const StatsTable& table, const LimitRule& rule)
{
    StatsLimits limits;
    const std::vector<double>* low = nullptr;
    const std::vector<double>* high = nullptr;
    if (rule.sigma) {
        if (!table.hasDeviation) {
            limits.error = "the statistics have no Std column (an earlier voxacurve stats "
                           "wrote them): write them again";
            return limits;
        }
    } else {
        low = PercentileColumn(table, rule.lowPercentile);
        high = PercentileColumn(table, rule.highPercentile);
        if (!low || !high) {
            limits.error = "the statistics have no P"
                + FormatNumber(!low ? rule.lowPercentile : rule.highPercentile, 17)
                + " column (their percentiles: " + ColumnNames(table) + ")";
            return limits;
        }
    }
    for (std::size_t i = 0; i < table.frequencies.size(); ++i) {
        double below = 0, above = 0;
        if (rule.sigma) {
            if (std::isnan(table.deviation[i])) {
                ++limits.singleCurveRows;
                continue;
            }
            below = table.mean[i] - *rule.sigma * table.deviation[i];
            above = table.mean[i] + *rule.sigma * table.deviation[i];
        } else {
            below = (*low)[i];
            above = (*high)[i];
        }
        const double f = table.frequencies[i];
        limits.lower.push_back({f, Widened(below, rule.widen, table.kind, false)});
        limits.upper.push_back({f, Widened(above, rule.widen, table.kind, true)});
        if (table.kind == CurveKind::Impedance && !(limits.lower.back().magnitude > 0)) {
            limits.error = "the lower limit at " + FormatNumber(f, 9) + " Hz would be "
                + FormatNumber(limits.lower.back().magnitude, 6)
                + " Ohm, not above 0 Ohm: choose a smaller --sigma";
            return limits;
        }
    }
    if (limits.upper.size() < 2)
        limits.error = "fewer than two frequencies where at least two curves count: no "
                       "deviation to make limits of";
    return limits;
}

std::string DescribeLimitRule(const LimitRule& rule, CurveKind kind, bool upper)
{
    std::string text
        = upper ? "Upper limit by voxacurve limits: " : "Lower limit by voxacurve limits: ";
    if (rule.sigma)
        text += std::string("mean ") + (upper ? "+ " : "- ") + FormatNumber(*rule.sigma, 6)
            + " sample standard deviations";
    else
        text += "the " + FormatNumber(upper ? rule.highPercentile : rule.lowPercentile, 17)
            + "th percentile";
    if (rule.widen != 0)
        text += kind == CurveKind::Response
            ? ", " + FormatNumber(rule.widen, 6) + " dB " + (upper ? "higher" : "lower")
            : std::string(upper ? ", multiplied" : ", divided") + " by 10^("
                + FormatNumber(rule.widen, 6) + " dB / 20)";
    return text;
}
