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
    float serialResistor = 150; // Ohm, with which impedance curves were read
    int smoothing = 0; // N of the 1/N-octave smoothing of every curve; 0 unsmoothed
    // What identifies the input: the identities of the curves taken (one per
    // curve, see CurveIdentity) and the run numbers of the partials merged,
    // both rising once they come from partials.
    std::vector<uint64_t> identities;
    std::vector<uint64_t> runs;
};

// The grid points k (1000 * 2^(k / perOctave) Hz) that a curve file can
// reach: from bin 1 of the longest transform at 1 Hz to half the highest
// sample rate.
OctaveIndices ReachableGrid(int perOctave);

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
// fit (another kind, grid, serial resistor or smoothing) or when from holds a curve or a
// partial that into holds already (counted twice), into unchanged then.
std::optional<std::string> MergeStats(CurveStats& into, CurveStats&& from);

// The p-th percentile (0 ... 100) of values by linear interpolation between
// the closest ranks: rank h = (n - 1) p / 100, x[floor h] + (h - floor h)
// (x[floor h + 1] - x[floor h]) of the values in rising order. values must
// not be empty; their order is changed.
double Percentile(std::vector<float>& values, double p);

// The mean of the values, summed exactly (the same for any order of the
// values) and rounded once. values must not be empty.
double ExactMean(std::span<const float> values);

// The sample standard deviation sqrt(sum (x - mean)^2 / (n - 1)) around the
// mean; the squares are summed exactly, so the result does not depend on the
// order of the values. NaN for fewer than two values.
double SampleDeviation(std::span<const float> values, double mean);

struct StatsRow {
    double frequency = 0; // Hz
    uint64_t count = 0;
    double minimum = 0, maximum = 0, mean = 0;
    double deviation = 0; // the sample standard deviation; NaN for a single curve
    std::vector<double> percentiles; // in the order asked
};

// One row per grid point that at least one curve covers, rising frequency.
// The columns' values are reordered.
std::vector<StatsRow> ComputeStatsRows(CurveStats& stats, std::span<const double> percentiles);

// The names of the statistics, in the order of the combined CSV after the
// frequency: "mean", "std", "minimum", "maximum", "p5", ... ("p" and the
// percentile as FormatNumber writes it with 6 significant digits, more where
// two percentiles would get one name), then "count".
std::vector<std::string> StatisticNames(std::span<const double> percentiles);

// The comment lines (without "* ") heading a statistics text.
std::vector<std::string> StatsComments(const CurveStats& stats);

// One CSV with a column per statistic: the header row first (no comments:
// spreadsheets would take them as data; the unit names the kind), then
// frequency, mean, std, minimum, maximum, the percentiles and the count per
// row (magnitudes as export writes them; std empty where one curve counts).
std::string FormatStatsCsv(
    const CurveStats& stats, std::span<const StatsRow> rows, std::span<const double> percentiles);

// The text of one statistic (an index into StatisticNames, not the count)
// as FRD/ZMA/CSV that import reads; std leaves out the points of one curve.
std::string FormatStatisticText(const CurveStats& stats, std::span<const StatsRow> rows,
    std::span<const double> percentiles, std::size_t statistic, TextFormat format);
