#include "plot/PolylineCorners.h"

namespace
{

// b lies on the straight run from a on to c, along one column or one row.
bool continuesRun(const TracePoint& a, const TracePoint& b, const TracePoint& c)
{
    if (a.x == b.x && b.x == c.x)
        return (a.y < b.y) == (b.y < c.y);
    if (a.y == b.y && b.y == c.y)
        return (a.x < b.x) == (b.x < c.x);
    return false;
}

} // namespace

std::vector<TracePoint> PolylineCorners(
    const std::vector<TracePoint>& points, int width, int height)
{
    auto inside = [width, height](const TracePoint& p) {
        return p.x >= 0 && p.x < width && p.y >= 0 && p.y < height;
    };
    // The line's last point begins the run of repeats that ends the points.
    std::size_t lastPoint = points.size();
    while (lastPoint > 1 && points[lastPoint - 2] == points[lastPoint - 1])
        --lastPoint;
    std::vector<TracePoint> corners;
    corners.reserve(points.size());
    bool lastInside = false, beforeLastInside = false; // of the last two corners
    for (std::size_t k = 0; k < points.size(); ++k) {
        const TracePoint& p = points[k];
        if (k > 0 && p == points[k - 1])
            continue;
        const bool pInside = inside(p);
        const std::size_t n = corners.size();
        // The line's last segment keeps its own end: the cap there depends on it.
        if (n >= 2 && k + 1 != lastPoint && pInside && lastInside && beforeLastInside
            && continuesRun(corners[n - 2], corners[n - 1], p)) {
            corners.back() = p;
        } else {
            corners.push_back(p);
            beforeLastInside = lastInside;
            lastInside = pInside;
        }
    }
    return corners;
}
