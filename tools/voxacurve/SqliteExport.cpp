#include "tools/voxacurve/SqliteExport.h"

#include "curves/CurveInfo.h"
#include "curves/CurveText.h"
#include "curves/NameQuoting.h"
#include "curves/OctaveSmoothing.h"
#include "tools/voxacurve/InputFiles.h"

#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace
{

namespace fs = std::filesystem;

// Created in a new database. The points are kept in the order of their key,
// frequency then curve, so "all curves at a frequency" is one range of the
// table, without an index beside it; a curve's points go to the ends of
// their frequencies' ranges, which keeps the writing local.
constexpr const char* kSchema = R"(
CREATE TABLE curves (
    id INTEGER PRIMARY KEY,
    path BLOB NOT NULL,
    path_text TEXT NOT NULL,
    kind TEXT NOT NULL,
    extension TEXT NOT NULL,
    sample_rate INTEGER NOT NULL,
    transform_length INTEGER NOT NULL,
    band_low REAL NOT NULL,
    band_high REAL NOT NULL,
    level_factor REAL NOT NULL,
    serial_resistor REAL,
    smoothing INTEGER,
    points_per_octave INTEGER
);
CREATE TABLE points (
    curve INTEGER NOT NULL REFERENCES curves(id),
    frequency REAL NOT NULL,
    value REAL NOT NULL,
    PRIMARY KEY (frequency, curve)
) WITHOUT ROWID;
)";

constexpr const char* kInsertCurve
    = "INSERT INTO curves (path, path_text, kind, extension, sample_rate, transform_length, "
      "band_low, band_high, level_factor, serial_resistor, smoothing, points_per_octave) "
      "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";
constexpr const char* kInsertPoint
    = "INSERT INTO points (curve, frequency, value) VALUES (?, ?, ?)";

// Points are written many rows per statement, which saves the statement's
// start for all but every hundredth row.
constexpr int kRowsPerInsert = 100;

std::string MultiRowInsert()
{
    std::string sql = "INSERT INTO points (curve, frequency, value) VALUES (?, ?, ?)";
    for (int row = 1; row < kRowsPerInsert; ++row)
        sql += ", (?, ?, ?)";
    return sql;
}

// Points gathered before they are written, about 24 MB: sorted into the
// table's key order, they fill its pages one after another.
constexpr std::size_t kPointsPerChunk = 1 << 20;

struct PointRow {
    double frequency;
    sqlite3_int64 curve;
    double value;
};

// A failed call of the library, with its message.
class DatabaseError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

struct CloseDatabase {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct FinalizeStatement {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Database = std::unique_ptr<sqlite3, CloseDatabase>;
using Statement = std::unique_ptr<sqlite3_stmt, FinalizeStatement>;

void Check(sqlite3* db, int result)
{
    if (result != SQLITE_OK && result != SQLITE_DONE)
        throw DatabaseError(sqlite3_errmsg(db));
}

void Execute(sqlite3* db, const char* sql)
{
    Check(db, sqlite3_exec(db, sql, nullptr, nullptr, nullptr));
}

Statement Prepare(sqlite3* db, const char* sql)
{
    sqlite3_stmt* statement = nullptr;
    Check(db, sqlite3_prepare_v2(db, sql, -1, &statement, nullptr));
    return Statement(statement);
}

// Runs a bound statement to its end and makes it ready for new values.
void Step(sqlite3* db, sqlite3_stmt* statement)
{
    const int result = sqlite3_step(statement);
    sqlite3_reset(statement);
    Check(db, result);
}

struct SqliteOptions {
    std::string output;
    int perOctave = 48; // 0: the curve's own bins
    std::optional<int> smoothing;
    float serialResistor = 0;
    bool append = false;
};

SqliteOptions SqliteOptionsOf(const ParsedArguments& parsed)
{
    SqliteOptions options;
    options.output = parsed.value("-o", "");
    if (options.output.empty() || options.output == "-")
        throw UsageError("--format sqlite needs -o DB, a database file");
    if (parsed.values.contains("--ppo"))
        options.perOctave
            = static_cast<int>(ParseIntegerOption("--ppo", parsed.values.at("--ppo"), 0, 1000));
    options.smoothing = SmoothingOf(parsed);
    options.serialResistor = SerialResistorOf(parsed);
    options.append = parsed.has("--append");
    return options;
}

// Writes the curves into the open database within one transaction.
class CurveWriter
{
public:
    CurveWriter(sqlite3* db, const SqliteOptions& options)
        : m_db(db)
        , m_options(options)
        , m_curve(Prepare(db, kInsertCurve))
        , m_point(Prepare(db, kInsertPoint))
        , m_points(Prepare(db, MultiRowInsert().c_str()))
    {
        m_pending.reserve(kPointsPerChunk);
    }

    void write(
        const std::string& name, const CurveSummary& summary, std::span<const BandPoint> points)
    {
        sqlite3_stmt* c = m_curve.get();
        const CurveHeader& h = summary.header;
        const std::string text = Utf8OrReplaced(name);
        sqlite3_bind_blob64(c, 1, name.data(), name.size(), SQLITE_STATIC);
        sqlite3_bind_text64(c, 2, text.data(), text.size(), SQLITE_STATIC, SQLITE_UTF8);
        sqlite3_bind_text(c, 3, summary.kind == CurveKind::Response ? "response" : "impedance", -1,
            SQLITE_STATIC);
        sqlite3_bind_text(c, 4, summary.extension.c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_int(c, 5, h.SampleRate);
        sqlite3_bind_int(c, 6, h.TransformLength);
        sqlite3_bind_double(c, 7, h.LowerFrequency);
        sqlite3_bind_double(c, 8, h.UpperFrequency);
        sqlite3_bind_double(c, 9, h.LevelFactor);
        bindOptional(10, summary.kind == CurveKind::Impedance, summary.serialResistor);
        bindOptional(11, m_options.smoothing.has_value(), m_options.smoothing.value_or(0));
        bindOptional(12, m_options.perOctave > 0, m_options.perOctave);
        Step(m_db, c);
        const sqlite3_int64 id = sqlite3_last_insert_rowid(m_db);
        for (const BandPoint& point : points)
            m_pending.push_back({point.frequency, id, point.magnitude});
        if (m_pending.size() >= kPointsPerChunk)
            flush();
    }

    // Writes the gathered points in the order of the table's key.
    void flush()
    {
        std::sort(m_pending.begin(), m_pending.end(), [](const PointRow& a, const PointRow& b) {
            return a.frequency < b.frequency || (a.frequency == b.frequency && a.curve < b.curve);
        });
        std::size_t next = 0;
        for (; next + kRowsPerInsert <= m_pending.size(); next += kRowsPerInsert)
            insertRows(m_points.get(), next, kRowsPerInsert);
        for (; next < m_pending.size(); ++next)
            insertRows(m_point.get(), next, 1);
        m_pending.clear();
    }

private:
    void insertRows(sqlite3_stmt* statement, std::size_t first, int count)
    {
        for (int row = 0; row < count; ++row) {
            const PointRow& point = m_pending[first + row];
            sqlite3_bind_int64(statement, 3 * row + 1, point.curve);
            sqlite3_bind_double(statement, 3 * row + 2, point.frequency);
            sqlite3_bind_double(statement, 3 * row + 3, point.value);
        }
        Step(m_db, statement);
    }

    void bindOptional(int column, bool given, double value)
    {
        if (given)
            sqlite3_bind_double(m_curve.get(), column, value);
        else
            sqlite3_bind_null(m_curve.get(), column);
    }

    sqlite3* m_db;
    const SqliteOptions& m_options;
    Statement m_curve, m_point, m_points;
    std::vector<PointRow> m_pending;
};

Database OpenDatabase(const std::string& path)
{
    sqlite3* db = nullptr;
    const int result
        = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    Database database(db);
    if (result != SQLITE_OK)
        throw DatabaseError(db ? sqlite3_errmsg(db) : "out of memory");
    return database;
}

// The database's tables: made in a new one, checked in one to append to.
void PrepareTables(sqlite3* db, bool fresh)
{
    if (fresh) {
        Execute(db, kSchema);
        return;
    }
    try {
        Prepare(db,
            "SELECT id, path, path_text, kind, extension, sample_rate, transform_length, "
            "band_low, band_high, level_factor, serial_resistor, smoothing, "
            "points_per_octave FROM curves");
        Prepare(db, "SELECT curve, frequency, value FROM points");
    } catch (const DatabaseError& error) {
        throw DatabaseError(std::string("not a database of voxacurve export: ") + error.what());
    }
}

} // namespace

int RunSqliteExport(ParsedArguments& parsed, std::ostream& err)
{
    const SqliteOptions options = SqliteOptionsOf(parsed);
    std::error_code error;
    const bool exists = fs::exists(options.output, error);
    if (exists && !options.append) {
        err << "voxacurve: " << options.output
            << ": exists already; give --append to add the curves to it\n";
        return kExitFailed;
    }
    if (exists && !fs::is_regular_file(options.output, error))
        throw UsageError("-o " + options.output + ": not a regular file");
    int exitCode = ExpandInputFiles(parsed, std::cin, err) > 0 ? kExitFailed : kExitOk;
    try {
        const Database db = OpenDatabase(options.output);
        // Written lazily, as the text export writes: a crash of the program
        // still rolls back to the file before, only a power failure right
        // after the export could lose it. The larger cache holds the pages
        // the points are written into.
        Execute(db.get(), "PRAGMA synchronous = OFF; PRAGMA cache_size = -65536");
        Execute(db.get(), "BEGIN IMMEDIATE");
        PrepareTables(db.get(), !exists);
        CurveWriter writer(db.get(), options);
        for (const std::string& name : parsed.files) {
            CurveFile file = ReadCurveFile(name);
            const CurveSummary summary = SummarizeCurveFile(name, file, options.serialResistor);
            if (summary.refusal) {
                err << "voxacurve: " << QuotedName(name) << ": refused: " << *summary.refusal
                    << '\n';
                exitCode = kExitFailed;
                continue;
            }
            if (options.smoothing)
                SmoothCurveBand(file, *options.smoothing);
            const BandValues band = ReadBandValues(file, summary.kind, summary.serialResistor);
            writer.write(name, summary,
                options.perOctave > 0
                    ? ResamplePerOctave(band.points, summary.kind, options.perOctave)
                    : band.points);
        }
        writer.flush();
        Execute(db.get(), "COMMIT");
    } catch (const DatabaseError& failure) {
        err << "voxacurve: " << options.output << ": " << failure.what() << '\n';
        if (!exists)
            fs::remove(options.output, error);
        return kExitFailed;
    }
    return exitCode;
}
