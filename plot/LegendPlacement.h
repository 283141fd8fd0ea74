#pragma once
// Where a legend of the curves' names goes in the data window: the corner
// (or edge middle) where it hides the fewest points of the curves.

#include "curves/CurveTrace.h"

#include <span>
#include <vector>

struct LegendBox {
    int x = 0; // left edge in the data window, pixels
    int y = 0; // top edge
    int width = 0;
    int height = 0;
    bool operator==(const LegendBox&) const = default;
};

// The place for a legend of legendWidth x legendHeight pixels, margin pixels
// inside the edges of a data window of width x height pixels: of the top
// right, top left, bottom right, bottom left, top middle and bottom middle
// places, in this order on a tie, the first that covers the fewest of the
// traces' points (a point on the box's edge counts as covered).
LegendBox PlaceLegend(int width, int height, int legendWidth, int legendHeight, int margin,
    std::span<const std::vector<TracePoint>> traces);
