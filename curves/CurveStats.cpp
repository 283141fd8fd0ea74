#include "curves/CurveStats.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace
{

constexpr char kPartialMark[8] = {'V', 'O', 'X', 'A', 'S', 'T', 'A', 'T'};
constexpr uint32_t kPartialVersion = 1;
// mark, version, kind, points per octave, curves, refused, first index, columns
constexpr std::size_t kPartialHeaderBytes = 8 + 4 + 4 + 4 + 8 + 8 + 8 + 8;
constexpr std::size_t kChecksumBytes = 8;
// Far beyond any grid: 1000 points per octave over 2^-40 ... 2^40 Hz.
constexpr long long kMaxGridIndex = 100'000'000;

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

uint64_t Fnv1a(std::span<const unsigned char> bytes)
{
    uint64_t hash = 14695981039346656037ull;
    for (const unsigned char b : bytes) {
        hash ^= b;
        hash *= 1099511628211ull;
    }
    return hash;
}

template <typename T> void Put(std::vector<unsigned char>& out, T value)
{
    unsigned char bytes[sizeof(T)];
    std::memcpy(bytes, &value, sizeof(T));
    if constexpr (std::endian::native == std::endian::big)
        std::reverse(std::begin(bytes), std::end(bytes));
    out.insert(out.end(), std::begin(bytes), std::end(bytes));
}

// Reads little-endian values from the front of the bytes.
class Reader
{
public:
    explicit Reader(std::span<const unsigned char> bytes)
        : rest_(bytes)
    {
    }
    std::size_t left() const { return rest_.size(); }
    template <typename T> T take()
    {
        unsigned char bytes[sizeof(T)];
        std::memcpy(bytes, rest_.data(), sizeof(T));
        if constexpr (std::endian::native == std::endian::big)
            std::reverse(std::begin(bytes), std::end(bytes));
        rest_ = rest_.subspan(sizeof(T));
        T value;
        std::memcpy(&value, bytes, sizeof(T));
        return value;
    }

private:
    std::span<const unsigned char> rest_;
};

std::string StatisticTitle(const std::string& name)
{
    if (name == "mean" || name == "minimum" || name == "maximum" || name == "count")
        return std::string(1, static_cast<char>(name[0] - 'a' + 'A')) + name.substr(1);
    return "P" + name.substr(1);
}

double StatisticValue(const StatsRow& row, std::size_t statistic)
{
    switch (statistic) {
    case 0:
        return row.mean;
    case 1:
        return row.minimum;
    case 2:
        return row.maximum;
    default:
        return row.percentiles[statistic - 3];
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

DecodedStats Refused(std::string reason)
{
    DecodedStats decoded;
    decoded.error = "not a usable partial of voxacurve stats: " + std::move(reason);
    return decoded;
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

std::optional<std::string> MergeStats(CurveStats& into, CurveStats&& from)
{
    if (from.perOctave != into.perOctave)
        return "made with " + std::to_string(from.perOctave) + " points per octave, not "
            + std::to_string(into.perOctave);
    if (from.curves > 0 && into.curves > 0 && from.kind != into.kind)
        return from.kind == CurveKind::Impedance ? "impedance curves, not responses"
                                                 : "responses, not impedance curves";
    into.refused += from.refused;
    if (from.curves == 0)
        return std::nullopt;
    into.kind = from.kind;
    into.curves += from.curves;
    if (from.columns.empty())
        return std::nullopt;
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
        for (const double p : percentiles)
            row.percentiles.push_back(Percentile(values, p));
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<std::string> StatisticNames(std::span<const double> percentiles)
{
    std::vector<std::string> names = {"mean", "minimum", "maximum"};
    for (const double p : percentiles)
        names.push_back("p" + FormatNumber(p, 6));
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
        for (std::size_t s = 0; s + 1 < names.size(); ++s)
            text += "," + FormatMagnitude(stats.kind, StatisticValue(row, s));
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
        points.push_back({row.frequency, StatisticValue(row, statistic)});
    return FormatCurveText(format, stats.kind, comments, points);
}

std::vector<unsigned char> EncodeStatsPartial(const CurveStats& stats)
{
    std::vector<unsigned char> out(std::begin(kPartialMark), std::end(kPartialMark));
    Put<uint32_t>(out, kPartialVersion);
    Put<uint32_t>(out, stats.kind == CurveKind::Response ? 0 : 1);
    Put<uint32_t>(out, static_cast<uint32_t>(stats.perOctave));
    Put<uint64_t>(out, stats.curves);
    Put<uint64_t>(out, stats.refused);
    Put<int64_t>(out, stats.firstIndex);
    Put<uint64_t>(out, stats.columns.size());
    for (const std::vector<float>& column : stats.columns) {
        Put<uint32_t>(out, static_cast<uint32_t>(column.size()));
        for (const float v : column)
            Put<float>(out, v);
    }
    Put<uint64_t>(out, Fnv1a(out));
    return out;
}

DecodedStats DecodeStatsPartial(std::span<const unsigned char> bytes)
{
    if (bytes.size() < sizeof kPartialMark
        || std::memcmp(bytes.data(), kPartialMark, sizeof kPartialMark) != 0)
        return Refused("it does not start with VOXASTAT");
    if (bytes.size() < kPartialHeaderBytes + kChecksumBytes)
        return Refused("truncated within its header");
    Reader in(bytes.subspan(sizeof kPartialMark));
    const uint32_t version = in.take<uint32_t>();
    if (version != kPartialVersion)
        return Refused("format version " + std::to_string(version) + "; this voxacurve reads "
            + std::to_string(kPartialVersion));
    const uint32_t kind = in.take<uint32_t>();
    const uint32_t perOctave = in.take<uint32_t>();
    DecodedStats decoded;
    CurveStats& stats = decoded.stats;
    stats.curves = in.take<uint64_t>();
    stats.refused = in.take<uint64_t>();
    stats.firstIndex = in.take<int64_t>();
    const uint64_t columns = in.take<uint64_t>();
    if (kind > 1)
        return Refused("unknown curve kind " + std::to_string(kind));
    if (perOctave < 1 || perOctave > 1000)
        return Refused(std::to_string(perOctave) + " points per octave (1 to 1000 are made)");
    stats.kind = kind == 0 ? CurveKind::Response : CurveKind::Impedance;
    stats.perOctave = static_cast<int>(perOctave);
    if (stats.firstIndex < -kMaxGridIndex || stats.firstIndex > kMaxGridIndex
        || columns > static_cast<uint64_t>(kMaxGridIndex))
        return Refused("a grid beyond any frequency a curve can hold");
    if (columns > (in.left() - kChecksumBytes) / 4)
        return Refused("truncated: " + std::to_string(columns) + " grid points announced");
    stats.columns.resize(columns);
    for (std::vector<float>& column : stats.columns) {
        if (in.left() < 4 + kChecksumBytes)
            return Refused("truncated within its grid points");
        const uint32_t count = in.take<uint32_t>();
        if (count > stats.curves)
            return Refused("a grid point with more values than the partial's "
                + std::to_string(stats.curves) + " curves");
        if (count > (in.left() - kChecksumBytes) / 4)
            return Refused("truncated within the values of a grid point");
        column.resize(count);
        for (float& v : column) {
            v = in.take<float>();
            if (!std::isfinite(v))
                return Refused("a value that is not a finite number");
        }
    }
    if (in.left() != kChecksumBytes)
        return Refused(std::to_string(in.left() - kChecksumBytes) + " bytes after its last value");
    const uint64_t checksum = in.take<uint64_t>();
    if (checksum != Fnv1a(bytes.first(bytes.size() - kChecksumBytes)))
        return Refused("its checksum does not match: the file was changed or damaged");
    return decoded;
}
