#include "tools/voxacurve/SqlitePoints.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
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

// The merged points are read as a table by one INSERT ... SELECT per block:
// the library takes the values straight from the block, without binding
// them and starting a statement for every few rows. The table exists only in
// this connection, nothing of it goes into the file.
constexpr const char* kPendingTable = "voxacurve_pending_points";
constexpr const char* kInsertPoints
    = "INSERT INTO points (curve, frequency, value) "
      "SELECT curve, frequency, value FROM voxacurve_pending_points";

// The rows the statement writing points reads.
struct Pending {
    std::span<const PointRow> points;
};

struct PendingTable : sqlite3_vtab {
    const Pending* pending = nullptr;
};

struct PendingCursor : sqlite3_vtab_cursor {
    const Pending* pending = nullptr;
    std::size_t row = 0;
};

int ConnectPending(sqlite3* db, void* aux, int, const char* const*, sqlite3_vtab** table, char**)
{
    const int result
        = sqlite3_declare_vtab(db, "CREATE TABLE x(curve INTEGER, frequency REAL, value REAL)");
    if (result != SQLITE_OK)
        return result;
    auto* pending = new PendingTable {};
    pending->pending = static_cast<const Pending*>(aux);
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
        sqlite3_result_int64(context, point.curve);
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

// Rows merged from the runs and inserted by one statement, about 1.5 MB.
constexpr std::size_t kRowsPerBlock = 1 << 16;
// Rows read from a run at a time, about 200 kB.
constexpr std::size_t kRowsPerRead = 1 << 13;

[[noreturn]] void ThrowFileError(const char* what)
{
    throw DatabaseError(
        std::string(what) + " the temporary file of points: " + std::strerror(errno));
}

// Reads one run of the file from its start, a few thousand rows at a time.
class RunReader
{
public:
    RunReader(int file, std::uint64_t first, std::uint64_t count)
        : m_file(file)
        , m_next(first)
        , m_end(first + count)
    {
        refill();
    }

    bool done() const { return m_at == m_rows.size(); }
    const PointRow& head() const { return m_rows[m_at]; }
    void pop()
    {
        if (++m_at == m_rows.size())
            refill();
    }

private:
    void refill()
    {
        m_rows.resize(std::min<std::uint64_t>(kRowsPerRead, m_end - m_next));
        m_at = 0;
        const std::size_t bytes = m_rows.size() * sizeof(PointRow);
        const ssize_t got
            = pread(m_file, m_rows.data(), bytes, static_cast<off_t>(m_next * sizeof(PointRow)));
        if (got != static_cast<ssize_t>(bytes))
            ThrowFileError("cannot read");
        m_next += m_rows.size();
    }

    int m_file;
    std::uint64_t m_next, m_end; // rows in the file
    std::vector<PointRow> m_rows;
    std::size_t m_at = 0;
};

// The lowest frequency at the heads of the runs; none when all are done.
std::optional<double> LowestHead(const std::vector<RunReader>& runs)
{
    std::optional<double> lowest;
    for (const RunReader& run : runs)
        if (!run.done() && (!lowest || run.head().frequency < *lowest))
            lowest = run.head().frequency;
    return lowest;
}

// Runs the statement that inserts the pending rows, then empties them.
void InsertBlock(sqlite3* db, sqlite3_stmt* insert, Pending& pending, std::vector<PointRow>& block)
{
    pending.points = block;
    Step(db, insert);
    block.clear();
}

// The points in the key order of the table points, into sorted: by
// frequency, the points of one frequency in the order they came (their
// curves' order). slots is room for the work, kept for the next call.
void SortIntoKeyOrder(std::span<const PointRow> points, std::vector<PointRow>& sorted,
    std::vector<std::uint32_t>& slots)
{
    // A counting sort: each distinct frequency gets a slot, the slots are
    // ordered by frequency and every point goes to the next place of its
    // slot, which keeps the order of the points within a frequency.
    std::unordered_map<double, std::uint32_t> slotOf;
    std::vector<double> frequencies; // of the slots
    slots.resize(points.size());
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
    sorted.resize(points.size());
    for (std::size_t i = 0; i < points.size(); ++i)
        sorted[next[slots[i]]++] = points[i];
}

} // namespace

CurveWriter::CurveWriter(sqlite3* db, CurveRowSettings settings)
    : m_db(db)
    , m_settings(settings)
    , m_curve(Prepare(db, kInsertCurve))
{
}

sqlite3_int64 CurveWriter::insert(const CurveSummary& summary)
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

void CurveWriter::bindOptional(int column, bool given, double value)
{
    if (given)
        sqlite3_bind_double(m_curve.get(), column, value);
    else
        sqlite3_bind_null(m_curve.get(), column);
}

PointRuns::PointRuns()
{
    const char* directory = std::getenv("TMPDIR");
    std::string name
        = std::string(directory && *directory ? directory : "/tmp") + "/voxacurve-XXXXXX";
    m_file = mkstemp(name.data());
    if (m_file < 0)
        ThrowFileError("cannot make");
    unlink(name.c_str()); // gone with the process, however it ends
}

PointRuns::~PointRuns()
{
    close(m_file);
}

void PointRuns::add(std::span<const PointRow> points)
{
    SortIntoKeyOrder(points, m_sorted, m_slots);
    const std::size_t bytes = m_sorted.size() * sizeof(PointRow);
    const ssize_t written
        = pwrite(m_file, m_sorted.data(), bytes, static_cast<off_t>(m_rows * sizeof(PointRow)));
    if (written != static_cast<ssize_t>(bytes))
        ThrowFileError("cannot write");
    m_runs.push_back({m_rows, points.size()});
    m_rows += points.size();
}

void PointRuns::writeInto(sqlite3* db) const
{
    static const sqlite3_module kModule = PendingModule();
    Pending pending;
    Check(db, sqlite3_create_module(db, kPendingTable, &kModule, &pending));
    const Statement insert = Prepare(db, kInsertPoints);
    std::vector<RunReader> runs;
    for (const Run& run : m_runs)
        runs.emplace_back(m_file, run.first, run.count);
    // The runs hold the curves in order: at each frequency, all points of
    // the first run come before those of the second, and so on.
    std::vector<PointRow> block;
    block.reserve(kRowsPerBlock);
    while (const std::optional<double> frequency = LowestHead(runs)) {
        for (RunReader& run : runs) {
            for (; !run.done() && run.head().frequency == *frequency; run.pop()) {
                block.push_back(run.head());
                if (block.size() == kRowsPerBlock)
                    InsertBlock(db, insert.get(), pending, block);
            }
        }
    }
    InsertBlock(db, insert.get(), pending, block);
    sqlite3_drop_modules(db, nullptr); // its rows are gone with this call
}
