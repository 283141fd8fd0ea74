#include "plot/PolylineCorners.h"

namespace
{

// b lies on the straight run from a on to c, along one column or one row
// (a and b differ). Without branches: in a trace the answer changes from
// point to point.
bool continuesRun(const TracePoint& a, const TracePoint& b, const TracePoint& c)
{
    const bool alongColumn = (a.x == b.x) & (b.x == c.x) & ((a.y < b.y) == (b.y < c.y));
    const bool alongRow = (a.y == b.y) & (b.y == c.y) & ((a.x < b.x) == (b.x < c.x));
    return alongColumn | alongRow;
}

} // namespace

std::vector<TracePoint> PolylineCorners(
    const std::vector<TracePoint>& points, int width, int height)
{
    if (points.empty())
        return {};
    auto inside = [width, height](const TracePoint& p) {
        return (p.x >= 0) & (p.x < width) & (p.y >= 0) & (p.y < height);
    };
    // The line's last point begins the run of repeats that ends the points.
    std::size_t lastPoint = points.size() - 1;
    while (lastPoint > 0 && points[lastPoint - 1] == points[lastPoint])
        --lastPoint;
    std::vector<TracePoint> corners(points.size());
    corners[0] = points[0];
    std::size_t n = 1;
    // The last two corners, kept at hand rather than read back from memory
    // just written.
    TracePoint beforeLast, last = points[0];
    bool beforeLastInside = false, lastInside = inside(last);
    for (std::size_t k = 1; k < points.size(); ++k) {
        const TracePoint p = points[k];
        // A repeat is written over the corner it repeats; a point that only
        // continues a run inside the picture replaces the run's end; any
        // other point is a corner. The line's last segment keeps its own
        // end: the cap there depends on it.
        const bool repeat = p == last;
        const bool pInside = inside(p);
        const bool continues = (n >= 2) & (k != lastPoint) & pInside & lastInside & beforeLastInside
            & continuesRun(beforeLast, last, p);
        const bool corner = !repeat & !continues;
        corners[corner ? n : n - 1] = p;
        n += corner;
        beforeLast = corner ? last : beforeLast;
        beforeLastInside = corner ? lastInside : beforeLastInside;
        last = p;
        lastInside = repeat ? lastInside : pInside;
    }
    corners.resize(n);
    return corners;
}
