#pragma once
// The statistics CSV that stats writes, read back for drawing a band: its
// columns found by their names in the header row, every value checked
// against what a measurement can hold.

#include "curves/CurveInfo.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct StatsTable {
    CurveKind kind = CurveKind::Response;
    std::vector<double> frequencies; // Hz, rising
    std::vector<double> mean, minimum, maximum;
    bool hasDeviation = false; // the CSV has a Std column
    std::vector<double> deviation; // per row when it has; NaN where one curve counts
    std::vector<double> percentiles; // the percentiles of the columns, in their order
    std::vector<std::vector<double>> percentileValues; // one per percentile, a value per row
};

struct ParsedStatsTable {
    StatsTable table;
    std::optional<std::string> error; // set: why the text is no statistics CSV
};

// The highest frequency a curve file holds: half the highest sample rate,
// 2^31 Hz.
constexpr double kMaxCurveFrequency = 1073741824.0;
// The farthest levels a curve file gives: 20 log10 of a level factor times a
// value, both single-precision numbers, lies between about -1800 and
// +1541 dB.
constexpr double kMaxCurveLevel = 2000.0;
// The largest impedance: a single-precision value times a serial resistor
// of the same precision is below 1.2e77 Ohm.
constexpr double kMaxCurveOhm = 1e78;

// Reads a statistics CSV: comment lines starting with '*' (earlier versions
// wrote some) are skipped, then the header row names the columns, in any
// order: "Frequency (Hz)", "Mean", "Minimum", "Maximum", percentiles "P5",
// "P50", ... and "Std" with the unit " (dB)" (or " (Ohm)", the same for
// all), and "Count"; other columns are skipped. Each row must give a rising
// frequency above 0 and at most kMaxCurveFrequency, values a curve can hold
// (levels within +-kMaxCurveLevel dB, impedances from 0 to kMaxCurveOhm),
// the minimum no higher than the maximum, the mean and each percentile
// between them, higher percentiles no lower, a standard deviation from 0
// and a count of one curve or more; at least two rows. Anything else is
// refused in words, with the line number where there is one.
ParsedStatsTable ParseStatsCsv(std::string_view text);

// What a band picture draws of a table: minimum to maximum, the lowest to
// the highest percentile (whatever the order of their columns), and the
// median line: the 50th percentile, else the mean.
struct StatsBand {
    CurveKind kind = CurveKind::Response;
    std::vector<double> frequencies;
    std::vector<double> minimum, maximum;
    std::vector<double> lowest, highest; // empty unless two percentiles differ
    std::vector<double> median;
    std::string rangeName; // "P5 to P95", or empty with lowest
    std::string medianName; // "P50" or "mean"
};

StatsBand BandOf(const StatsTable& table);
