#include "tools/voxacurve/SqliteExport.h"

#include "curves/CurveInfo.h"
#include "curves/CurveText.h"
#include "curves/NameQuoting.h"
#include "curves/OctaveSmoothing.h"
#include "tools/voxacurve/InputFiles.h"
#include "tools/voxacurve/ReadAhead.h"
#include "tools/voxacurve/SqliteDatabase.h"
#include "tools/voxacurve/SqlitePoints.h"

#include <filesystem>
#include <future>
#include <iostream>
#include <optional>
#include <string>

namespace
{

namespace fs = std::filesystem;

// Created in a new database. The points are kept in the order of their key,
// frequency then curve, so "all curves at a frequency" is one range of the
// table, without an index beside it; the points are written in that order
// (see PointRuns), so a new table is filled from its start to its end.
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

// Points gathered before they are sorted into a run, about 24 MB; two
// chunks and the sort's room are held, so the memory does not grow with
// the number of curves.
constexpr std::size_t kPointsPerChunk = 1 << 20;

// Writes each curve's row as it comes and gathers their points into chunks;
// a second thread sorts a full chunk into a run while the next one is
// gathered, so at most two chunks are held.
class ChunkPipeline
{
public:
    ChunkPipeline(CurveWriter& curves, PointRuns& runs)
        : m_curves(curves)
        , m_runs(runs)
    {
        m_gathering.reserve(kPointsPerChunk);
        m_handedOver.reserve(kPointsPerChunk);
    }
    ChunkPipeline(const ChunkPipeline&) = delete;
    ChunkPipeline& operator=(const ChunkPipeline&) = delete;
    ~ChunkPipeline()
    {
        if (m_sorting.valid())
            m_sorting.wait();
    }

    void add(const CurveSummary& summary, std::span<const BandPoint> points)
    {
        const sqlite3_int64 curve = m_curves.insert(summary);
        if (m_gathering.size() + points.size() > kPointsPerChunk)
            handOver();
        for (const BandPoint& point : points)
            m_gathering.push_back({point.frequency, curve, point.magnitude});
    }

    // Hands over the rest and waits for the runs; throws their failure.
    void finish()
    {
        handOver();
        if (m_sorting.valid())
            m_sorting.get();
    }

private:
    // The two chunks' buffers take turns, which keeps their memory mapped.
    void handOver()
    {
        if (m_gathering.empty())
            return;
        if (m_sorting.valid())
            m_sorting.get();
        m_gathering.swap(m_handedOver);
        m_gathering.clear();
        m_sorting = std::async(std::launch::async, [this] { m_runs.add(m_handedOver); });
    }

    CurveWriter& m_curves;
    PointRuns& m_runs;
    std::vector<PointRow> m_gathering, m_handedOver;
    std::future<void> m_sorting;
};

// Files read and resampled ahead of the writing, on threads of their own.
constexpr unsigned kReadingThreads = 2;
constexpr std::size_t kFilesReadAhead = 64;

// What the export writes of one file: its summary (refused or not) and its
// points.
struct CurvePoints {
    CurveSummary summary;
    std::vector<BandPoint> points;
};

// The summary the database takes: SummarizeCurveFile's without the range of
// the levels, which would read the whole band once more.
CurveSummary SummaryOfRow(const std::string& name, const CurveFile& file, float serialResistor)
{
    const std::optional<CurveKind> kind = CurveKindOfName(name);
    if (!kind || CurveRefusal(file, *kind))
        return SummarizeCurveFile(name, file, serialResistor); // the refusal, no band read
    CurveSummary summary;
    summary.name = name;
    summary.extension = CurveExtension(name);
    summary.kind = *kind;
    summary.header = file.header;
    summary.serialResistor = serialResistor;
    return summary;
}

CurvePoints ReadCurvePoints(const std::string& name, const SqliteOptions& options)
{
    CurveFile file = ReadCurveFile(name);
    CurvePoints read {SummaryOfRow(name, file, options.serialResistor), {}};
    if (read.summary.refusal)
        return read;
    if (options.smoothing)
        SmoothCurveBand(file, *options.smoothing);
    BandValues band = ReadBandValues(file, read.summary.kind, read.summary.serialResistor);
    read.points = options.perOctave > 0
        ? ResamplePerOctave(band.points, read.summary.kind, options.perOctave)
        : std::move(band.points);
    return read;
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
        // after the export could lose it.
        Execute(db.get(), "PRAGMA synchronous = OFF");
        // A new table of points grows only at its end, which the library's
        // small default cache holds; points added to a table go all over it,
        // and a larger cache keeps the pages they go into.
        if (exists)
            Execute(db.get(), "PRAGMA cache_size = -65536");
        else // a quarter of the writes of the default 4 kB pages
            Execute(db.get(), "PRAGMA page_size = 16384");
        Execute(db.get(), "BEGIN IMMEDIATE");
        PrepareTables(db.get(), !exists);
        CurveWriter curves(db.get(), {options.smoothing, options.perOctave});
        PointRuns runs;
        ChunkPipeline pipeline(curves, runs);
        ReadAhead<CurvePoints> reading(
            parsed.files.size(),
            [&](std::size_t i) { return ReadCurvePoints(parsed.files[i], options); },
            kReadingThreads, kFilesReadAhead);
        while (const std::optional<CurvePoints> read = reading.next()) {
            if (read->summary.refusal) {
                err << "voxacurve: " << QuotedName(read->summary.name)
                    << ": refused: " << *read->summary.refusal << '\n';
                exitCode = kExitFailed;
                continue;
            }
            pipeline.add(read->summary, read->points);
        }
        pipeline.finish();
        runs.writeInto(db.get());
        Execute(db.get(), "COMMIT");
    } catch (const DatabaseError& failure) {
        err << "voxacurve: " << options.output << ": " << failure.what() << '\n';
        if (!exists)
            fs::remove(options.output, error);
        return kExitFailed;
    }
    return exitCode;
}
