#include "curves/StatsPartial.h"

#include "curves/OctaveSmoothing.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

namespace
{

constexpr char kPartialMark[8] = {'V', 'O', 'X', 'A', 'S', 'T', 'A', 'T'};
constexpr uint32_t kPartialVersion = 3;
// mark, version, kind, points per octave, serial resistor, smoothing, run,
// curves, refused, first index, grid points
constexpr std::size_t kPartialHeaderBytes = 8 + 4 + 4 + 4 + 4 + 4 + 8 + 8 + 8 + 8 + 8;
constexpr std::size_t kChecksumBytes = 8;
// More files than any archive holds (2^48); keeps every sum of counts exact.
constexpr uint64_t kMaxFiles = uint64_t {1} << 48;

uint64_t Fnv1a(std::span<const unsigned char> bytes)
{
    uint64_t hash = 14695981039346656037ull;
    for (const unsigned char b : bytes) {
        hash ^= b;
        hash *= 1099511628211ull;
    }
    return hash;
}

// One step of splitmix64: every bit of the input moves every bit of the output.
uint64_t Mix(uint64_t value)
{
    value += 0x9E3779B97F4A7C15ull;
    value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ull;
    value = (value ^ (value >> 27)) * 0x94D049BB133111EBull;
    return value ^ (value >> 31);
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

DecodedStats Refused(std::string reason)
{
    DecodedStats decoded;
    decoded.error = "not a usable partial of voxacurve stats: " + std::move(reason);
    return decoded;
}

// The header fields after the mark and version, checked; the reason otherwise.
std::optional<std::string> ReadHeader(Reader& in, CurveStats& stats)
{
    const uint32_t kind = in.take<uint32_t>();
    const uint32_t perOctave = in.take<uint32_t>();
    stats.serialResistor = in.take<float>();
    const uint32_t smoothing = in.take<uint32_t>();
    stats.runs = {in.take<uint64_t>()};
    stats.curves = in.take<uint64_t>();
    stats.refused = in.take<uint64_t>();
    stats.firstIndex = in.take<int64_t>();
    const uint64_t points = in.take<uint64_t>();
    if (kind > 1)
        return "unknown curve kind " + std::to_string(kind);
    if (perOctave < 1 || perOctave > 1000)
        return std::to_string(perOctave) + " points per octave (1 to 1000 are made)";
    stats.kind = kind == 0 ? CurveKind::Response : CurveKind::Impedance;
    stats.perOctave = static_cast<int>(perOctave);
    if (!(stats.serialResistor >= 0.1f && stats.serialResistor <= 4000))
        return "a serial resistor that is no resistor of the viewer";
    if (smoothing != 0 && !IsSmoothingFraction(static_cast<int>(smoothing)))
        return "smoothing to 1/" + std::to_string(smoothing) + " octave, which no run does";
    stats.smoothing = static_cast<int>(smoothing);
    if (stats.curves > (in.left() - kChecksumBytes) / 8)
        return std::to_string(stats.curves) + " curves announced, more than its bytes hold";
    if (stats.refused > kMaxFiles)
        return std::to_string(stats.refused) + " refused files announced, more than a run reads";
    if ((stats.curves == 0) != (points == 0))
        return stats.curves == 0 ? "grid points without curves" : "curves without grid points";
    const OctaveIndices reachable = ReachableGrid(stats.perOctave);
    if (points > 0
        && (stats.firstIndex < reachable.first || stats.firstIndex > reachable.last
            || points > static_cast<uint64_t>(reachable.last - stats.firstIndex) + 1))
        return "grid points at frequencies no curve file reaches";
    if (points > (in.left() - kChecksumBytes) / 4)
        return "truncated: " + std::to_string(points) + " grid points announced";
    stats.columns.resize(points);
    return std::nullopt;
}

// The values of every grid point, checked; the reason otherwise.
std::optional<std::string> ReadColumns(Reader& in, CurveStats& stats)
{
    uint64_t values = 0;
    for (std::vector<float>& column : stats.columns) {
        if (in.left() < 4 + kChecksumBytes)
            return "truncated within its grid points";
        const uint32_t count = in.take<uint32_t>();
        if (count > stats.curves)
            return "a grid point with more values than the partial's "
                + std::to_string(stats.curves) + " curves";
        if (count > (in.left() - kChecksumBytes) / 4)
            return "truncated within the values of a grid point";
        column.resize(count);
        for (float& v : column) {
            v = in.take<float>();
            if (!std::isfinite(v))
                return "a value that is not a finite number";
            if (stats.kind == CurveKind::Impedance && !(v > 0))
                return "an impedance that is not above 0 Ohm";
        }
        values += count;
    }
    if (!stats.columns.empty() && (stats.columns.front().empty() || stats.columns.back().empty()))
        return "its grid starts or ends at a point no curve covers";
    if (values < stats.curves)
        return std::to_string(stats.curves) + " curves announced, more than its values hold";
    return std::nullopt;
}

std::optional<std::string> ReadIdentities(Reader& in, CurveStats& stats)
{
    if (in.left() < stats.curves * 8 + kChecksumBytes)
        return "truncated within the identities of its curves";
    stats.identities.resize(stats.curves);
    for (uint64_t& identity : stats.identities)
        identity = in.take<uint64_t>();
    if (std::adjacent_find(stats.identities.begin(), stats.identities.end(),
            [](uint64_t a, uint64_t b) { return a >= b; })
        != stats.identities.end())
        return "the identities of its curves do not rise (one curve counted twice?)";
    return std::nullopt;
}

} // namespace

uint64_t CurveIdentity(uint64_t device, uint64_t inode, uint64_t size, int64_t modifiedNs)
{
    return Mix(Mix(Mix(Mix(device) ^ inode) ^ size) ^ static_cast<uint64_t>(modifiedNs));
}

std::vector<unsigned char> EncodeStatsPartial(const CurveStats& stats, uint64_t run)
{
    std::vector<unsigned char> out(std::begin(kPartialMark), std::end(kPartialMark));
    Put<uint32_t>(out, kPartialVersion);
    Put<uint32_t>(out, stats.kind == CurveKind::Response ? 0 : 1);
    Put<uint32_t>(out, static_cast<uint32_t>(stats.perOctave));
    Put<float>(out, stats.serialResistor);
    Put<uint32_t>(out, static_cast<uint32_t>(stats.smoothing));
    Put<uint64_t>(out, run);
    Put<uint64_t>(out, stats.curves);
    Put<uint64_t>(out, stats.refused);
    Put<int64_t>(out, stats.firstIndex);
    Put<uint64_t>(out, stats.columns.size());
    for (const std::vector<float>& column : stats.columns) {
        Put<uint32_t>(out, static_cast<uint32_t>(column.size()));
        for (const float v : column)
            Put<float>(out, v);
    }
    std::vector<uint64_t> identities = stats.identities;
    std::sort(identities.begin(), identities.end());
    for (const uint64_t identity : identities)
        Put<uint64_t>(out, identity);
    Put<uint64_t>(out, Fnv1a(out));
    return out;
}

DecodedStats DecodeStatsPartial(std::span<const unsigned char> bytes)
{
    if (bytes.size() < sizeof kPartialMark
        || std::memcmp(bytes.data(), kPartialMark, sizeof kPartialMark) != 0)
        return Refused("it does not start with VOXASTAT");
    if (bytes.size() < sizeof kPartialMark + 4)
        return Refused("truncated within its header");
    Reader in(bytes.subspan(sizeof kPartialMark));
    const uint32_t version = in.take<uint32_t>();
    if (version != kPartialVersion)
        return Refused("format version " + std::to_string(version) + "; this voxacurve reads "
            + std::to_string(kPartialVersion) + " (write the partial again)");
    if (bytes.size() < kPartialHeaderBytes + kChecksumBytes)
        return Refused("truncated within its header");
    DecodedStats decoded;
    for (const auto read : {ReadHeader, ReadColumns, ReadIdentities})
        if (const auto error = read(in, decoded.stats))
            return Refused(*error);
    if (in.left() != kChecksumBytes)
        return Refused(std::to_string(in.left() - kChecksumBytes) + " bytes after its last value");
    const uint64_t checksum = in.take<uint64_t>();
    if (checksum != Fnv1a(bytes.first(bytes.size() - kChecksumBytes)))
        return Refused("its checksum does not match: the file was changed or damaged");
    return decoded;
}

std::vector<unsigned char> WithPartialChecksum(std::span<const unsigned char> bytes)
{
    std::vector<unsigned char> sealed(bytes.begin(), bytes.end());
    if (sealed.size() < kChecksumBytes)
        return sealed;
    sealed.resize(sealed.size() - kChecksumBytes);
    Put<uint64_t>(sealed, Fnv1a(sealed));
    return sealed;
}
