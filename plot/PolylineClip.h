#pragma once
// Polylines and polygons cut to a rectangle: Qt's SVG writer ignores clip
// rectangles, so what is drawn into a vector picture is cut here to the data
// window instead; and values far beyond the window (a limit of 1e308 dB, an
// infinite level) become coordinates no picture can take, so every point is
// first brought within kFarCoordinate.

#include <optional>
#include <vector>

struct ClipPoint {
    double x = 0;
    double y = 0;
    bool operator==(const ClipPoint&) const = default;
};

// Far outside any picture (at most 16384 pixels a side), and small enough
// that any painter takes it: a line towards a point beyond it is drawn
// towards this point instead, which moves where it crosses the picture by
// less than 16384^2 / 1e12 pixels, 0.0003.
constexpr double kFarCoordinate = 1e12;

// The point with each coordinate within +-kFarCoordinate (infinite ones
// too); nothing when a coordinate is not a number.
std::optional<ClipPoint> FinitePoint(ClipPoint point);

// The runs of the polyline through points that lie inside the rectangle
// [0, width] x [0, height] (edges included): every segment is cut at the
// edges, and pieces that meet are joined into one run. A run has at least
// two points; a polyline wholly outside gives none. The points pass through
// FinitePoint first: a point with no number breaks the line there.
std::vector<std::vector<ClipPoint>> ClipPolyline(
    const std::vector<ClipPoint>& points, double width, double height);

// The part of the polygon inside the rectangle (Sutherland-Hodgman): its
// corners, in order, with those on the rectangle's edges; fewer than three
// when nothing of it is inside. The points pass through FinitePoint first: a
// point with no number is left out.
std::vector<ClipPoint> ClipPolygon(
    const std::vector<ClipPoint>& points, double width, double height);
