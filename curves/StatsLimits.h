#pragma once
// Limits from a golden batch: an upper and a lower limit curve made of the
// statistics that stats wrote (mean plus and minus K standard deviations, or
// two percentiles), widened by a margin, for check to judge curves with.

#include "curves/CurveStats.h"
#include "curves/StatsTable.h"

#include <optional>
#include <string>
#include <vector>

struct LimitRule {
    std::optional<double> sigma; // mean +- sigma * std ...
    double lowPercentile = 5, highPercentile = 95; // ... or these columns without sigma
    // dB added above and below; for impedance the limits are multiplied and
    // divided by the ratio 10^(widen / 20), so 1 dB widens by about 12 %.
    double widen = 0;
};

struct StatsLimits {
    std::vector<BandPoint> upper, lower; // one point per row of the statistics used
    std::size_t singleCurveRows = 0; // rows left out: one curve, so no deviation (sigma only)
    std::optional<std::string> error; // set: why no limits come from these statistics
};

StatsLimits LimitsFromStats(const StatsTable& table, const LimitRule& rule);

// How the limit was made, for the comment lines of its text.
std::string DescribeLimitRule(const LimitRule& rule, CurveKind kind, bool upper);
