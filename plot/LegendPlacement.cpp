#include "plot/LegendPlacement.h"

#include <array>
#include <cstddef>

namespace
{

std::size_t CoveredPoints(const LegendBox& box, std::span<const std::vector<TracePoint>> traces)
{
    std::size_t covered = 0;
    for (const std::vector<TracePoint>& trace : traces)
        for (const TracePoint& p : trace)
            if (p.x >= box.x && p.x <= box.x + box.width && p.y >= box.y
                && p.y <= box.y + box.height)
                ++covered;
    return covered;
}

} // namespace

LegendBox PlaceLegend(int width, int height, int legendWidth, int legendHeight, int margin,
    std::span<const std::vector<TracePoint>> traces)
{
    const int left = margin;
    const int right = width - margin - legendWidth;
    const int middle = (width - legendWidth) / 2;
    const int top = margin;
    const int bottom = height - margin - legendHeight;
    const std::array<LegendBox, 6> places {{
        {right, top, legendWidth, legendHeight},
        {left, top, legendWidth, legendHeight},
        {right, bottom, legendWidth, legendHeight},
        {left, bottom, legendWidth, legendHeight},
        {middle, top, legendWidth, legendHeight},
        {middle, bottom, legendWidth, legendHeight},
    }};
    LegendBox best = places[0];
    std::size_t fewest = CoveredPoints(best, traces);
    for (std::size_t i = 1; i < places.size() && fewest > 0; ++i) {
        const std::size_t covered = CoveredPoints(places[i], traces);
        if (covered < fewest) {
            fewest = covered;
            best = places[i];
        }
    }
    return best;
}
