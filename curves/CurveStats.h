#pragma once
// Statistics of many curves of one kind on a logarithmic frequency grid
// (1000 * 2^(k / perOctave) Hz): per grid point the count, minimum, maximum,
// mean and exact percentiles of the curves that cover it. Every value is
// kept (as a single), so the percentiles are exact and the result does not
// depend on the order the curves came in or on how they were split into
// partials that are merged later.

#include "curves/CurveInfo.h"
#include "curves/CurveText.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct CurveStats {
    CurveKind kind = CurveKind::Response;
    int perOctave = 48;
    uint64_t curves = 0; // curves added
    uint64_t refused = 0; // files that were refused or unreadable, for the summary
    long long firstIndex = 0; // the grid point of columns[0]
    std::vector<std::vector<float>> columns; // the values at each grid point, in dB or Ohm
};

// Adds one curve: magnitudes at grid points first, first + 1, ... The
// columns grow as needed; those of the first curve reserve room for
// expectedCurves.
void AddCurveToStats(CurveStats& stats, long long first, std::span<const double> magnitudes,
    std::size_t expectedCurves);

// The curve's drawable band values resampled onto the grid (as export
// --ppo resamples them) and added. Returns false, adding nothing, when the
// band has no drawable value.
bool AddBandToStats(CurveStats& stats, std::span<const BandPoint> band, std::size_t expectedCurves);

// Moves the curves of from into into; the reason in words when they do not
// fit (another kind or grid), into unchanged then.
std::optional<std::string> MergeStats(CurveStats& into, CurveStats&& from);

// The p-th percentile (0 ... 100) of values by linear interpolation between
// the closest ranks: rank h = (n - 1) p / 100, x[floor h] + (h - floor h)
// (x[floor h + 1] - x[floor h]) of the values in rising order. values must
// not be empty; their order is changed.
double Percentile(std::vector<float>& values, double p);

// The mean of the values, summed exactly (the same for any order of the
// values) and rounded once. values must not be empty.
double ExactMean(std::span<const float> values);

struct StatsRow {
    double frequency = 0; // Hz
    uint64_t count = 0;
    double minimum = 0, maximum = 0, mean = 0;
    std::vector<double> percentiles; // in the order asked
};

// One row per grid point that at least one curve covers, rising frequency.
// The columns' values are reordered.
std::vector<StatsRow> ComputeStatsRows(CurveStats& stats, std::span<const double> percentiles);

// The names of the statistics, in the order of the combined CSV after the
// frequency: "mean", "minimum", "maximum", "p5", ... ("p" and the
// percentile as FormatNumber writes it), then "count".
std::vector<std::string> StatisticNames(std::span<const double> percentiles);

// The comment lines (without "* ") heading a statistics text.
std::vector<std::string> StatsComments(const CurveStats& stats);

// One CSV with a column per statistic: the header row first (no comments:
// spreadsheets would take them as data; the unit names the kind), then
// frequency, mean, minimum, maximum, the percentiles and the count per row
// (magnitudes as export writes them).
std::string FormatStatsCsv(
    const CurveStats& stats, std::span<const StatsRow> rows, std::span<const double> percentiles);

// The text of one statistic (an index into StatisticNames, not the count)
// as FRD/ZMA/CSV that import reads.
std::string FormatStatisticText(const CurveStats& stats, std::span<const StatsRow> rows,
    std::span<const double> percentiles, std::size_t statistic, TextFormat format);

// The binary partial of a statistics run (see the README): all the values,
// so that merging partials gives exactly what one run gives.
std::vector<unsigned char> EncodeStatsPartial(const CurveStats& stats);

struct DecodedStats {
    CurveStats stats;
    std::optional<std::string> error; // set: why the bytes are no partial; stats empty
};

// Reads a partial; anything malformed, truncated or changed is refused
// with the reason in words.
DecodedStats DecodeStatsPartial(std::span<const unsigned char> bytes);
