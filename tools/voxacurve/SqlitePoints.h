#pragma once
// The rows of the database export, gathered in chunks of curves and written
// into the tables curves and points.

#include "curves/CurveInfo.h"
#include "tools/voxacurve/SqliteDatabase.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

// A point of a curve of a chunk; curve is the curve's place in the chunk.
struct PointRow {
    double frequency;
    std::uint32_t curve;
    double value;
};

// Curves read but not written yet, each with its points (rising frequency).
struct PointChunk {
    std::vector<CurveSummary> curves;
    std::vector<PointRow> points;
};

// Sorts the points into the key order of the table points: by frequency,
// the points of one frequency in the order they came (their curves' order).
void SortIntoKeyOrder(std::vector<PointRow>& points);

// The columns of a curve's row that the command line sets.
struct CurveRowSettings {
    std::optional<int> smoothing;
    int perOctave = 0; // 0: the curve's own bins, NULL in the row
};

// Writes chunks into the tables of the open database, within the
// transaction the caller holds.
class ChunkWriter
{
public:
    ChunkWriter(sqlite3* db, CurveRowSettings settings);
    ChunkWriter(const ChunkWriter&) = delete;
    ChunkWriter& operator=(const ChunkWriter&) = delete;

    // Writes the chunk's curves, then its points, which must be in key order.
    void write(const PointChunk& chunk);

    // What the statement writing points reads: the chunk's points and the
    // row ids its curves got.
    struct Pending {
        std::span<const PointRow> points;
        std::span<const sqlite3_int64> ids;
    };

private:
    sqlite3_int64 insertCurve(const CurveSummary& summary);
    void bindOptional(int column, bool given, double value);

    sqlite3* m_db;
    CurveRowSettings m_settings;
    std::unique_ptr<Pending> m_pending; // at a fixed place: the library keeps its address
    Statement m_curve, m_points;
    std::vector<sqlite3_int64> m_ids;
};
