#include "tools/voxacurve/SqlitePoints.h"

#include <algorithm>
#include <numeric>
#include <string>
#include <unordered_map>
#include <utility>

namespace
{

constexpr const char* kInsertCurve
    = "INSERT INTO curves (path, path_text, kind, extension, sample_rate, transform_length, "
      "band_low, band_high, level_factor, serial_resistor, smoothing, points_per_octave) "
      "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";

// The pending points are read as a table by one INSERT ... SELECT: the
// library takes the values straight from the chunk, without a statement,
// its bindings and its start for every few rows. The table exists only in
// this connection, nothing of it goes into the file.
constexpr const char* kPendingTable = "voxacurve_pending_points";
constexpr const char* kInsertPoints
    = "INSERT INTO points (curve, frequency, value) "
      "SELECT curve, frequency, value FROM voxacurve_pending_points";

struct PendingTable : sqlite3_vtab {
    const ChunkWriter::Pending* pending = nullptr;
};

struct PendingCursor : sqlite3_vtab_cursor {
    const ChunkWriter::Pending* pending = nullptr;
    std::size_t row = 0;
};

int ConnectPending(sqlite3* db, void* aux, int, const char* const*, sqlite3_vtab** table, char**)
{
    const int result
        = sqlite3_declare_vtab(db, "CREATE TABLE x(curve INTEGER, frequency REAL, value REAL)");
    if (result != SQLITE_OK)
        return result;
    auto* pending = new PendingTable {};
    pending->pending = static_cast<const ChunkWriter::Pending*>(aux);
    *table = pending;
    return SQLITE_OK;
}

int DisconnectPending(sqlite3_vtab* table)
{
    delete static_cast<PendingTable*>(table);
    return SQLITE_OK;
}

// One way to read it: every row, in its order.
int PlanPending(sqlite3_vtab* table, sqlite3_index_info* info)
{
    const auto rows = static_cast<PendingTable*>(table)->pending->points.size();
    info->estimatedCost = static_cast<double>(rows);
    info->estimatedRows = static_cast<sqlite3_int64>(rows);
    return SQLITE_OK;
}

int OpenPending(sqlite3_vtab* table, sqlite3_vtab_cursor** cursor)
{
    auto* opened = new PendingCursor {};
    opened->pending = static_cast<PendingTable*>(table)->pending;
    *cursor = opened;
    return SQLITE_OK;
}

int ClosePending(sqlite3_vtab_cursor* cursor)
{
    delete static_cast<PendingCursor*>(cursor);
    return SQLITE_OK;
}

int StartPending(sqlite3_vtab_cursor* cursor, int, const char*, int, sqlite3_value**)
{
    static_cast<PendingCursor*>(cursor)->row = 0;
    return SQLITE_OK;
}

int NextPending(sqlite3_vtab_cursor* cursor)
{
    ++static_cast<PendingCursor*>(cursor)->row;
    return SQLITE_OK;
}

int EndOfPending(sqlite3_vtab_cursor* cursor)
{
    const auto* at = static_cast<PendingCursor*>(cursor);
    return at->row >= at->pending->points.size();
}

int ColumnOfPending(sqlite3_vtab_cursor* cursor, sqlite3_context* context, int column)
{
    const auto* at = static_cast<PendingCursor*>(cursor);
    const PointRow& point = at->pending->points[at->row];
    if (column == 0)
        sqlite3_result_int64(context, at->pending->ids[point.curve]);
    else
        sqlite3_result_double(context, column == 1 ? point.frequency : point.value);
    return SQLITE_OK;
}

int RowidOfPending(sqlite3_vtab_cursor* cursor, sqlite3_int64* rowid)
{
    *rowid = static_cast<sqlite3_int64>(static_cast<PendingCursor*>(cursor)->row);
    return SQLITE_OK;
}

// Only xConnect, no xCreate: the table is there by its name alone.
sqlite3_module PendingModule()
{
    sqlite3_module module {};
    module.xConnect = ConnectPending;
    module.xBestIndex = PlanPending;
    module.xDisconnect = DisconnectPending;
    module.xOpen = OpenPending;
    module.xClose = ClosePending;
    module.xFilter = StartPending;
    module.xNext = NextPending;
    module.xEof = EndOfPending;
    module.xColumn = ColumnOfPending;
    module.xRowid = RowidOfPending;
    return module;
}

} // namespace

void SortIntoKeyOrder(std::vector<PointRow>& points)
{
    // A counting sort: each distinct frequency gets a slot, the slots are
    // ordered by frequency and every point goes to the next place of its
    // slot, which keeps the order of the points within a frequency.
    std::unordered_map<double, std::uint32_t> slotOf;
    std::vector<double> frequencies; // of the slots
    std::vector<std::uint32_t> slots(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        const auto [slot, added] = slotOf.try_emplace(
            points[i].frequency, static_cast<std::uint32_t>(frequencies.size()));
        if (added)
            frequencies.push_back(points[i].frequency);
        slots[i] = slot->second;
    }
    std::vector<std::uint32_t> byFrequency(frequencies.size());
    std::iota(byFrequency.begin(), byFrequency.end(), 0);
    std::sort(byFrequency.begin(), byFrequency.end(),
        [&](std::uint32_t a, std::uint32_t b) { return frequencies[a] < frequencies[b]; });
    std::vector<std::size_t> next(frequencies.size(), 0); // counts, then places
    for (const std::uint32_t slot : slots)
        ++next[slot];
    std::size_t place = 0;
    for (const std::uint32_t slot : byFrequency)
        place += std::exchange(next[slot], place);
    std::vector<PointRow> sorted(points.size());
    for (std::size_t i = 0; i < points.size(); ++i)
        sorted[next[slots[i]]++] = points[i];
    points.swap(sorted);
}

ChunkWriter::ChunkWriter(sqlite3* db, CurveRowSettings settings)
    : m_db(db)
    , m_settings(settings)
    , m_pending(std::make_unique<Pending>())
{
    static const sqlite3_module kModule = PendingModule();
    Check(db, sqlite3_create_module(db, kPendingTable, &kModule, m_pending.get()));
    m_curve = Prepare(db, kInsertCurve);
    m_points = Prepare(db, kInsertPoints);
}

void ChunkWriter::write(const PointChunk& chunk)
{
    m_ids.clear();
    for (const CurveSummary& curve : chunk.curves)
        m_ids.push_back(insertCurve(curve));
    *m_pending = {chunk.points, m_ids};
    Step(m_db, m_points.get());
    *m_pending = {};
}

sqlite3_int64 ChunkWriter::insertCurve(const CurveSummary& summary)
{
    sqlite3_stmt* c = m_curve.get();
    const CurveHeader& h = summary.header;
    const std::string& name = summary.name;
    const std::string text = Utf8OrReplaced(name);
    sqlite3_bind_blob64(c, 1, name.data(), name.size(), SQLITE_STATIC);
    sqlite3_bind_text64(c, 2, text.data(), text.size(), SQLITE_STATIC, SQLITE_UTF8);
    sqlite3_bind_text(
        c, 3, summary.kind == CurveKind::Response ? "response" : "impedance", -1, SQLITE_STATIC);
    sqlite3_bind_text(c, 4, summary.extension.c_str(), -1, SQLITE_STATIC);
    sqlite3_bind_int(c, 5, h.SampleRate);
    sqlite3_bind_int(c, 6, h.TransformLength);
    sqlite3_bind_double(c, 7, h.LowerFrequency);
    sqlite3_bind_double(c, 8, h.UpperFrequency);
    sqlite3_bind_double(c, 9, h.LevelFactor);
    bindOptional(10, summary.kind == CurveKind::Impedance, summary.serialResistor);
    bindOptional(11, m_settings.smoothing.has_value(), m_settings.smoothing.value_or(0));
    bindOptional(12, m_settings.perOctave > 0, m_settings.perOctave);
    Step(m_db, c);
    return sqlite3_last_insert_rowid(m_db);
}

void ChunkWriter::bindOptional(int column, bool given, double value)
{
    if (given)
        sqlite3_bind_double(m_curve.get(), column, value);
    else
        sqlite3_bind_null(m_curve.get(), column);
}
