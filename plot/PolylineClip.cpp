#include "plot/PolylineClip.h"

#include <algorithm>
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
    auto at = [&](double t) { return ClipPoint {a.x + t * dx, a.y + t * dy}; };
    return std::pair {enter == 0 ? a : at(enter), leave == 1 ? b : at(leave)};
}

} // namespace

std::vector<std::vector<ClipPoint>> ClipPolyline(
    const std::vector<ClipPoint>& points, double width, double height)
{
    std::vector<std::vector<ClipPoint>> runs;
    bool joined = false; // the last run ends where the next segment starts
    for (std::size_t i = 1; i < points.size(); ++i) {
        const ClipPoint a = points[i - 1], b = points[i];
        const auto piece = ClipSegment(a, b, width, height);
        if (!piece) {
            joined = false;
            continue;
        }
        if (!joined || runs.back().back() != piece->first)
            runs.push_back({piece->first});
        runs.back().push_back(piece->second);
        joined = piece->second == b;
    }
    return runs;
}
