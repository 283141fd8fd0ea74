#pragma once
// A control's rectangle in pixels, in the coordinates of its parent, and the
// small pieces of integer arithmetic the layout rules share.

#include <cmath>
#include <cstdint>
#include <limits>
#include <ostream>

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool operator==(const Rect&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const Rect& r)
{
    return os << '(' << r.left << ", " << r.top << ") " << r.width << " x " << r.height;
}

// Saturates a wide intermediate result to the int range, so that sums of
// corrupt inputs (a huge button width from a damaged configuration) stay
// defined instead of overflowing.
inline int ClampToInt(long long v)
{
    if (v < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    if (v > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    return static_cast<int>(v);
}

// Rounds to the nearest integer, halves to the even neighbour; saturates to
// the int range and gives 0 for NaN.
inline int RoundToInt(double v)
{
    if (std::isnan(v))
        return 0;
    const double r = std::nearbyint(v); // default rounding mode: halves to even
    if (r <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    if (r >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return static_cast<int>(r);
}
