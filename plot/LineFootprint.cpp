#include "plot/LineFootprint.h"

#include <algorithm>

namespace
{

// Room around a segment's box: one pixel the line may reach beyond it, and
// one more to spare.
constexpr long long kMargin = 2;

} // namespace

LineFootprint::LineFootprint(int width, int height)
    : m_width(std::max(0, width))
    , m_height(std::max(0, height))
    , m_columns(static_cast<std::size_t>(m_width), RowSpan {m_height, 0})
{
}

void LineFootprint::addBox(long long left, long long top, long long right, long long bottom)
{
    // Wide arithmetic: a point of a trace may lie anywhere in 32 bits.
    const long long x0 = std::max(left - kMargin, 0LL);
    const long long x1 = std::min(right + kMargin, static_cast<long long>(m_width) - 1);
    const int y0 = static_cast<int>(std::max(top - kMargin, 0LL));
    const int y1
        = static_cast<int>(std::min(bottom + kMargin + 1, static_cast<long long>(m_height)));
    if (x0 > x1 || y0 >= y1)
        return;
    // An empty span is {height, 0}: the first box replaces it.
    for (long long x = x0; x <= x1; ++x) {
        RowSpan& span = m_columns[static_cast<std::size_t>(x)];
        span = {std::min(span.top, y0), std::max(span.end, y1)};
    }
}

void LineFootprint::addPolyline(const std::vector<TracePoint>& points)
{
    if (points.size() == 1)
        addBox(points[0].x, points[0].y, points[0].x, points[0].y);
    for (std::size_t k = 1; k < points.size(); ++k) {
        const TracePoint& a = points[k - 1];
        const TracePoint& b = points[k];
        addBox(std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y));
    }
}
