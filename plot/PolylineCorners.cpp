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
    std::vector<TracePoint> distinct;
    distinct.reserve(points.size());
    for (const TracePoint& p : points)
        if (distinct.empty() || distinct.back() != p)
            distinct.push_back(p);
    std::vector<TracePoint> corners;
    corners.reserve(distinct.size());
    for (std::size_t k = 0; k < distinct.size(); ++k) {
        const TracePoint& p = distinct[k];
        const std::size_t n = corners.size();
        // The line's last segment keeps its own end: the cap there depends on it.
        const bool last = k + 1 == distinct.size();
        if (n >= 2 && !last && inside(p) && inside(corners[n - 1]) && inside(corners[n - 2])
            && continuesRun(corners[n - 2], corners[n - 1], p))
            corners.back() = p;
        else
            corners.push_back(p);
    }
    return corners;
}
