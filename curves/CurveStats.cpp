#include "curves/CurveStats.h"

#include "curves/OctaveSmoothing.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

namespace
{

std::size_t ColumnOf(const CurveStats& stats, long long index)
{
    return static_cast<std::size_t>(index - stats.firstIndex);
}

// Makes room for grid points first ... last.
void CoverIndices(CurveStats& stats, long long first, long long last)
{
    if (stats.columns.empty()) {
        stats.firstIndex = first;
        stats.columns.resize(static_cast<std::size_t>(last - first + 1));
        return;
    }
    if (first < stats.firstIndex) {
        stats.columns.insert(
            stats.columns.begin(), static_cast<std::size_t>(stats.firstIndex - first), {});
        stats.firstIndex = first;
    }
    const long long end = stats.firstIndex + static_cast<long long>(stats.columns.size());
    if (last >= end)
        stats.columns.resize(stats.columns.size() + static_cast<std::size_t>(last - end + 1));
}

std::string StatisticTitle(const std::string& name)
{
    if (name == "mean" || name == "std" || name == "minimum" || name == "maximum"
        || name == "count")
        return std::string(1, static_cast<char>(name[0] - 'a' + 'A')) + name.substr(1);
    return "P" + name.substr(1);
}

double StatisticValue(const StatsRow& row, std::size_t statistic)
{
    switch (statistic) {
    case 0:
        return row.mean;
    case 1:
        return row.deviation;
    case 2:
        return row.minimum;
    case 3:
        return row.maximum;
    default:
        return row.percentiles[statistic - 4];
    }
}

// Leaves 0 or 1 in every sum of a power of two but the highest.
void CarryUp(std::array<int64_t, 320>& sums)
{
    for (std::size_t e = 0; e + 1 < sums.size(); ++e) {
        sums[e + 1] += sums[e] >> 1; // floor, also for negative sums
        sums[e] &= 1;
    }
}

// The name of percentile p: its digits, as many as tell it from the others.
std::string PercentileName(double p, std::span<const double> percentiles)
{
    for (int digits = 6;; ++digits) {
        const std::string name = FormatNumber(p, digits);
        if (digits >= 17 || std::none_of(percentiles.begin(), percentiles.end(), [&](double q) {
                return q != p && FormatNumber(q, digits) == name;
            }))
            return "p" + name;
    }
}

} // namespace

void AddCurveToStats(CurveStats& stats, long long first, std::span<const double> magnitudes,
    std::size_t expectedCurves)
{
    if (magnitudes.empty())
        return;
    CoverIndices(stats, first, first + static_cast<long long>(magnitudes.size()) - 1);
    for (std::size_t i = 0; i < magnitudes.size(); ++i) {
        std::vector<float>& column = stats.columns[ColumnOf(stats, first) + i];
        // The first curve's band is the usual one: room for every curve there;
        // columns only a few odd curves reach grow as they need.
        if (stats.curves == 0)
            column.reserve(expectedCurves);
        column.push_back(static_cast<float>(magnitudes[i]));
    }
    ++stats.curves;
}

OctaveIndices ReachableGrid(int perOctave)
{
    return OctaveIndicesBetween(
        1.0 / kMaxTransformLength, std::numeric_limits<int32_t>::max() / 2.0, perOctave);
}

bool AddBandToStats(CurveStats& stats, std::span<const BandPoint> band, std::size_t expectedCurves)
{
    // A band at 0 Hz lies infinitely far left on the grid's axis.
    if (band.empty() || !(band.front().frequency > 0))
        return false;
    const OctaveIndices indices
        = OctaveIndicesBetween(band.front().frequency, band.back().frequency, stats.perOctave);
    if (indices.first > indices.last)
        return false;
    std::vector<double> magnitudes;
    magnitudes.reserve(static_cast<std::size_t>(indices.last - indices.first + 1));
    for (long long k = indices.first; k <= indices.last; ++k) {
        const double m
            = InterpolateMagnitude(band, stats.kind, OctaveFrequency(k, stats.perOctave));
        // A single holds every level in dB; an impedance beyond it cannot be counted.
        if (!std::isfinite(static_cast<float>(m)))
            return false;
        magnitudes.push_back(m);
    }
    AddCurveToStats(stats, indices.first, magnitudes, expectedCurves);
    return true;
}

namespace
{

// Why from does not merge into into; nothing when it does.
std::optional<std::string> Misfit(const CurveStats& into, const CurveStats& from)
{
    if (from.perOctave != into.perOctave)
        return "made with " + std::to_string(from.perOctave) + " points per octave, not "
            + std::to_string(into.perOctave);
    if (from.curves > 0 && into.curves > 0 && from.kind != into.kind)
        return from.kind == CurveKind::Impedance ? "impedance curves, not responses"
                                                 : "responses, not impedance curves";
    if (from.curves > 0 && into.curves > 0 && from.kind == CurveKind::Impedance
        && from.serialResistor != into.serialResistor)
        return "impedance curves with a serial resistor of " + FormatNumber(from.serialResistor, 6)
            + " Ohm, not " + FormatNumber(into.serialResistor, 6);
    if (from.curves > 0 && into.curves > 0 && from.smoothing != into.smoothing)
        return "curves " + SmoothingWords(from.smoothing) + ", not "
            + SmoothingWords(into.smoothing);
    const auto shared = [](const std::vector<uint64_t>& a, const std::vector<uint64_t>& b) {
        for (auto i = a.begin(), j = b.begin(); i != a.end() && j != b.end();) {
            if (*i == *j)
                return true;
            *i < *j ? ++i : ++j;
        }
        return false;
    };
    if (shared(into.runs, from.runs))
        return "the same partial as one merged before (given twice, or a copy of it)";
    if (shared(into.identities, from.identities))
        return "it holds curves of a file that a partial merged before holds too (overlapping "
               "inputs)";
    return std::nullopt;
}

// a and b rising; their union, rising.
std::vector<uint64_t> Merged(const std::vector<uint64_t>& a, const std::vector<uint64_t>& b)
{
    std::vector<uint64_t> both(a.size() + b.size());
    std::merge(a.begin(), a.end(), b.begin(), b.end(), both.begin());
    return both;
}

} // namespace

std::optional<std::string> MergeStats(CurveStats& into, CurveStats&& from)
{
    if (auto misfit = Misfit(into, from))
        return misfit;
    into.refused += from.refused;
    into.runs = Merged(into.runs, from.runs);
    if (from.curves == 0)
        return std::nullopt;
    into.kind = from.kind;
    into.serialResistor = from.serialResistor;
    into.smoothing = from.smoothing;
    into.curves += from.curves;
    into.identities = Merged(into.identities, from.identities);
    const long long last = from.firstIndex + static_cast<long long>(from.columns.size()) - 1;
    CoverIndices(into, from.firstIndex, last);
    for (std::size_t i = 0; i < from.columns.size(); ++i) {
        std::vector<float>& column = into.columns[ColumnOf(into, from.firstIndex) + i];
        if (column.empty())
            column = std::move(from.columns[i]);
        else
            column.insert(column.end(), from.columns[i].begin(), from.columns[i].end());
    }
    return std::nullopt;
}

double Percentile(std::vector<float>& values, double p)
{
    const double rank = static_cast<double>(values.size() - 1) * p / 100.0;
    const std::size_t low = std::min(static_cast<std::size_t>(rank), values.size() - 1);
    std::nth_element(
        values.begin(), values.begin() + static_cast<std::ptrdiff_t>(low), values.end());
    const double below = values[low];
    const double fraction = rank - static_cast<double>(low);
    if (low + 1 >= values.size() || fraction <= 0)
        return below;
    const double above
        = *std::min_element(values.begin() + static_cast<std::ptrdiff_t>(low) + 1, values.end());
    return below + fraction * (above - below);
}

double ExactMean(std::span<const float> values)
{
    // Every single is m * 2^(e - 150) with a 24-bit integer m and its
    // exponent field e (1 for subnormals): the sums of m per exponent are
    // exact in 64 bits for up to 2^39 values, and so is their total once the
    // carries are moved up.
    std::array<int64_t, 320> sums {};
    for (const float v : values) {
        const uint32_t bits = std::bit_cast<uint32_t>(v);
        const uint32_t field = (bits >> 23) & 0xFF;
        const int64_t mantissa = (bits & 0x7FFFFF) | (field != 0 ? 0x800000 : 0);
        sums[std::max<uint32_t>(field, 1)] += (bits >> 31) != 0 ? -mantissa : mantissa;
    }
    // Carried up, a negative total would end as a large negative top with
    // positive bits below, which cancel in double: such a total is summed
    // as its magnitude.
    auto carried = sums;
    CarryUp(carried);
    const bool negative = carried.back() < 0;
    if (negative) {
        for (int64_t& s : sums)
            s = -s;
        carried = sums;
        CarryUp(carried);
    }
    double total = 0;
    for (std::size_t e = 0; e < carried.size(); ++e)
        if (carried[e] != 0)
            total += std::ldexp(static_cast<double>(carried[e]), static_cast<int>(e) - 150);
    if (negative)
        total = -total;
    return total / static_cast<double>(values.size());
}

double SampleDeviation(std::span<const float> values, double mean)
{
    if (values.size() < 2)
        return std::numeric_limits<double>::quiet_NaN();
    // Every square is a double m * 2^(e - 1075) with a 53-bit integer m and
    // its exponent field e (1 for subnormals): summed per exponent in 128
    // bits, exact for up to 2^74 values, then carried up to one bit a place.
    std::vector<unsigned __int128> sums(2048 + 80);
    for (const float v : values) {
        const double d = static_cast<double>(v) - mean;
        const uint64_t bits = std::bit_cast<uint64_t>(d * d);
        const uint64_t field = bits >> 52;
        const uint64_t mantissa
            = (bits & ((uint64_t {1} << 52) - 1)) | (field != 0 ? uint64_t {1} << 52 : 0);
        sums[std::max<uint64_t>(field, 1)] += mantissa;
    }
    double total = 0;
    for (std::size_t e = 0; e < sums.size(); ++e) {
        if (e + 1 < sums.size()) {
            sums[e + 1] += sums[e] >> 1;
            sums[e] &= 1;
        }
        if (sums[e] != 0)
            total += std::ldexp(static_cast<double>(sums[e]), static_cast<int>(e) - 1075);
    }
    return std::sqrt(total / static_cast<double>(values.size() - 1));
}

std::vector<StatsRow> ComputeStatsRows(CurveStats& stats, std::span<const double> percentiles)
{
    std::vector<StatsRow> rows;
    for (std::size_t i = 0; i < stats.columns.size(); ++i) {
        std::vector<float>& values = stats.columns[i];
        if (values.empty())
            continue;
        StatsRow row;
        row.frequency
            = OctaveFrequency(stats.firstIndex + static_cast<long long>(i), stats.perOctave);
        row.count = values.size();
        const auto [low, high] = std::minmax_element(values.begin(), values.end());
        row.minimum = *low;
        row.maximum = *high;
        row.mean = ExactMean(values);
        row.deviation = SampleDeviation(values, row.mean);
        for (const double p : percentiles)
            row.percentiles.push_back(Percentile(values, p));
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<std::string> StatisticNames(std::span<const double> percentiles)
{
    std::vector<std::string> names = {"mean", "std", "minimum", "maximum"};
    for (const double p : percentiles)
        names.push_back(PercentileName(p, percentiles));
    names.push_back("count");
    return names;
}

std::vector<std::string> StatsComments(const CurveStats& stats)
{
    return {"Statistics by voxacurve of " + std::to_string(stats.curves)
            + (stats.kind == CurveKind::Response ? " frequency responses" : " impedance curves"),
        "Each curve resampled to " + std::to_string(stats.perOctave)
            + " points per octave, linearly in dB over log frequency; a frequency outside a "
              "curve's band does not count for it",
        "Percentiles interpolated linearly between the closest ranks"};
}

std::string FormatStatsCsv(
    const CurveStats& stats, std::span<const StatsRow> rows, std::span<const double> percentiles)
{
    const std::string unit = stats.kind == CurveKind::Response ? " (dB)" : " (Ohm)";
    std::string text = "Frequency (Hz)";
    const std::vector<std::string> names = StatisticNames(percentiles);
    for (std::size_t s = 0; s + 1 < names.size(); ++s)
        text += "," + StatisticTitle(names[s]) + unit;
    text += ",Count\n";
    for (const StatsRow& row : rows) {
        text += FormatNumber(row.frequency, 9);
        for (std::size_t s = 0; s + 1 < names.size(); ++s) {
            const double value = StatisticValue(row, s);
            text += "," + (std::isnan(value) ? std::string() : FormatMagnitude(stats.kind, value));
        }
        text += "," + std::to_string(row.count) + "\n";
    }
    return text;
}

std::string FormatStatisticText(const CurveStats& stats, std::span<const StatsRow> rows,
    std::span<const double> percentiles, std::size_t statistic, TextFormat format)
{
    std::vector<std::string> comments = StatsComments(stats);
    comments.push_back("The " + StatisticTitle(StatisticNames(percentiles)[statistic])
        + " at each frequency; the phase column is 0");
    std::vector<BandPoint> points;
    points.reserve(rows.size());
    for (const StatsRow& row : rows)
        if (!std::isnan(StatisticValue(row, statistic)))
            points.push_back({row.frequency, StatisticValue(row, statistic)});
    return FormatCurveText(format, stats.kind, comments, points);
}
