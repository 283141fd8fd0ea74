#pragma once
// The rows of the database export: curves written as they are read, their
// points gathered in sorted runs and written in the table's key order.

#include "curves/CurveInfo.h"
#include "tools/voxacurve/SqliteDatabase.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// A row of the table points; curve is the row id of the curve.
struct PointRow {
    double frequency;
    sqlite3_int64 curve;
    double value;
};

// The columns of a curve's row that the command line sets.
struct CurveRowSettings {
    std::optional<int> smoothing;
    int perOctave = 0; // 0: the curve's own bins, NULL in the row
};

// Inserts rows into the table curves, within the caller's transaction.
class CurveWriter
{
public:
    CurveWriter(sqlite3* db, CurveRowSettings settings);

    // The new row's id.
    sqlite3_int64 insert(const CurveSummary& summary);

private:
    void bindOptional(int column, bool given, double value);

    sqlite3* m_db;
    CurveRowSettings m_settings;
    Statement m_curve;
};

// The points of an export, kept in an unnamed temporary file as sorted runs:
// each run is a chunk of curves in key order, the runs follow in the order
// of their curves. So the table is written once, all runs merged, and a new
// table only ever grows at its end.
class PointRuns
{
public:
    PointRuns(); // throws DatabaseError when no temporary file can be made
    ~PointRuns();
    PointRuns(const PointRuns&) = delete;
    PointRuns& operator=(const PointRuns&) = delete;

    // Sorts the points of later curves than the runs before and keeps them
    // as a run; throws DatabaseError on a failed write.
    void add(std::span<const PointRow> points);

    // Inserts every point into the table points, within the caller's
    // transaction.
    void writeInto(sqlite3* db) const;

private:
    struct Run {
        std::uint64_t first = 0, count = 0; // rows in the file
    };
    int m_file = -1;
    std::vector<Run> m_runs;
    std::uint64_t m_rows = 0;
    // Kept from run to run, so their memory stays mapped.
    std::vector<PointRow> m_sorted;
    std::vector<std::uint32_t> m_slots;
};
