#pragma once
// Where one-pixel lines drawn into a picture may have left pixels: for each
// column, the rows from the highest to the lowest pixel any of the lines can
// have set there. Writing the background back over these spans removes the
// lines without writing the whole picture.

#include "curves/CurveTrace.h"

#include <vector>

// Rows top to end - 1 of one column; empty when end <= top.
struct RowSpan {
    int top = 0;
    int end = 0;
    bool operator==(const RowSpan&) const = default;
};

class LineFootprint
{
public:
    LineFootprint() = default;
    // An empty footprint of a picture width x height.
    LineFootprint(int width, int height);

    // Adds the polyline through `points`: the bounding box of every segment
    // (of the point itself for a single point), widened by two pixels on
    // every side and cut to the picture. The pixels of a one-pixel line lie
    // within one pixel of its segment's box (an end cap adds half a pixel, a
    // pixel put in where the line turns lies next to the segment's end).
    void addPolyline(const std::vector<TracePoint>& points);

    int width() const { return m_width; }
    int height() const { return m_height; }
    // One span for each of the picture's columns; {height, 0} where no line
    // came near.
    const std::vector<RowSpan>& columns() const { return m_columns; }

private:
    void addBox(long long left, long long top, long long right, long long bottom);

    int m_width = 0;
    int m_height = 0;
    std::vector<RowSpan> m_columns;
};
