#pragma once
// A polyline cut to a rectangle, for painters that cannot clip: Qt's SVG
// writer ignores clip rectangles, so a trace drawn into a vector picture is
// cut here to the data window instead.

#include <vector>

struct ClipPoint {
    double x = 0;
    double y = 0;
    bool operator==(const ClipPoint&) const = default;
};

// The runs of the polyline through points that lie inside the rectangle
// [0, width] x [0, height] (edges included): every segment is cut at the
// edges, and pieces that meet are joined into one run. A run has at least
// two points; a polyline wholly outside gives none.
std::vector<std::vector<ClipPoint>> ClipPolyline(
    const std::vector<ClipPoint>& points, double width, double height);
