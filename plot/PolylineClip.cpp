#include "plot/PolylineClip.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

namespace
{

// The part of segment a-b inside the rectangle (Liang-Barsky), if any.
std::optional<std::pair<ClipPoint, ClipPoint>> ClipSegment(
    ClipPoint a, ClipPoint b, double width, double height)
{
    const double dx = b.x - a.x, dy = b.y - a.y;
    double enter = 0, leave = 1;
    // For each edge: p t <= q keeps the point a + t (b - a) on its inner side.
    const std::pair<double, double> edges[]
        = {{-dx, a.x}, {dx, width - a.x}, {-dy, a.y}, {dy, height - a.y}};
    for (const auto& [p, q] : edges) {
        if (p == 0) {
            if (q < 0)
                return std::nullopt; // parallel to this edge and outside it
            continue;
        }
        const double t = q / p;
        if (p < 0)
            enter = std::max(enter, t);
        else
            leave = std::min(leave, t);
    }
    if (enter > leave)
        return std::nullopt;
    // On the edge, also where rounding would put it a hair outside.
    auto at = [&](double t) {
        return ClipPoint {
            std::clamp(a.x + t * dx, 0.0, width), std::clamp(a.y + t * dy, 0.0, height)};
    };
    return std::pair {enter == 0 ? a : at(enter), leave == 1 ? b : at(leave)};
}

// The polygon's part on the inner side of one edge: inside(p) tells a point
// on that side, cross(a, b) where segment a-b meets the edge.
template <typename Inside, typename Cross>
std::vector<ClipPoint> ClipPolygonAtEdge(
    const std::vector<ClipPoint>& polygon, Inside inside, Cross cross)
{
    std::vector<ClipPoint> kept;
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const ClipPoint a = polygon[i == 0 ? polygon.size() - 1 : i - 1], b = polygon[i];
        if (inside(b)) {
            if (!inside(a))
                kept.push_back(cross(a, b));
            kept.push_back(b);
        } else if (inside(a)) {
            kept.push_back(cross(a, b));
        }
    }
    return kept;
}

// Where segment a-b meets the line x = edge (or y = edge with `vertical`).
ClipPoint CrossingAt(ClipPoint a, ClipPoint b, double edge, bool vertical)
{
    if (vertical) {
        const double t = (edge - a.y) / (b.y - a.y);
        return {a.x + t * (b.x - a.x), edge};
    }
    const double t = (edge - a.x) / (b.x - a.x);
    return {edge, a.y + t * (b.y - a.y)};
}

} // namespace

std::optional<ClipPoint> FinitePoint(ClipPoint point)
{
    if (std::isnan(point.x) || std::isnan(point.y))
        return std::nullopt;
    return ClipPoint {std::clamp(point.x, -kFarCoordinate, kFarCoordinate),
        std::clamp(point.y, -kFarCoordinate, kFarCoordinate)};
}

std::vector<ClipPoint> ClipPolygon(
    const std::vector<ClipPoint>& points, double width, double height)
{
    std::vector<ClipPoint> polygon;
    for (const ClipPoint& point : points)
        if (const auto finite = FinitePoint(point))
            polygon.push_back(*finite);
    const auto edge = [&](auto inside, double at, bool vertical) {
        if (polygon.size() >= 3)
            polygon = ClipPolygonAtEdge(polygon, inside,
                [&](ClipPoint a, ClipPoint b) { return CrossingAt(a, b, at, vertical); });
    };
    edge([](ClipPoint p) { return p.x >= 0; }, 0, false);
    edge([&](ClipPoint p) { return p.x <= width; }, width, false);
    edge([](ClipPoint p) { return p.y >= 0; }, 0, true);
    edge([&](ClipPoint p) { return p.y <= height; }, height, true);
    if (polygon.size() < 3)
        return {};
    // A corner where two cuts meet can lie a rounding error outside.
    for (ClipPoint& p : polygon)
        p = {std::clamp(p.x, 0.0, width), std::clamp(p.y, 0.0, height)};
    return polygon;
}

std::vector<std::vector<ClipPoint>> ClipPolyline(
    const std::vector<ClipPoint>& points, double width, double height)
{
    std::vector<std::vector<ClipPoint>> runs;
    bool joined = false; // the last run ends where the next segment starts
    for (std::size_t i = 1; i < points.size(); ++i) {
        const std::optional<ClipPoint> a = FinitePoint(points[i - 1]), b = FinitePoint(points[i]);
        const auto piece = a && b ? ClipSegment(*a, *b, width, height) : std::nullopt;
        if (!piece) {
            joined = false;
            continue;
        }
        if (!joined || runs.back().back() != piece->first)
            runs.push_back({piece->first});
        runs.back().push_back(piece->second);
        joined = piece->second == *b;
    }
    return runs;
}
