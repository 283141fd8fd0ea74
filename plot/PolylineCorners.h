#pragma once
// The corners of a trace's polyline: the points a painter needs to draw the
// same pixels with fewer segments.

#include "curves/CurveTrace.h"

#include <vector>

// Drops repeated points, and a point inside the picture (width x height)
// that only splits a straight run along one column or one row between two
// other points inside it: at high frequencies many bins share a column and
// climb or fall through it. A one-pixel line drawn through the corners covers
// exactly the pixels of the line through all points (repeats dropped). Turns,
// points at or beyond the edges (where the rasteriser clips) and the line's
// last point (where its end cap depends on the last segment) are kept.
std::vector<TracePoint> PolylineCorners(
    const std::vector<TracePoint>& points, int width, int height);
