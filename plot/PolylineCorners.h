#pragma once
// The corners of a trace's polyline: the points a painter needs to draw the
// same pixels with fewer segments.

#include "curves/CurveTrace.h"

#include <vector>

// Drops repeated points, and a point inside the picture (width x height)
// that only splits a straight run going down a column or right along a row
// between two other points inside it: at high frequencies many bins share a
// column and fall through it. A one-pixel line drawn through the corners
// covers exactly the pixels of the line through all points (repeats dropped).
// Turns, runs going up or left (where the rasteriser treats the pixels at
// the joins specially) and points at or beyond the edges (where it clips)
// are kept.
std::vector<TracePoint> PolylineCorners(
    const std::vector<TracePoint>& points, int width, int height);
