#include "app/BoxGeometry.h"

#include <algorithm>

namespace
{

constexpr int kLineSpacing = 16;
constexpr int kMinBoxWidth = 50;

int TextWidth(const BoxGeometryInput& in)
{
    long long w = static_cast<long long>(in.titleWidth) + 30;
    for (int lineWidth : in.bodyLineWidths)
        w = std::max<long long>(w, lineWidth); // no margin for body lines
    int result = ClampToInt(w);
    if (in.btn2Shown && result < 2.5 * in.btn1Width)
        result = RoundToInt(2.5 * in.btn1Width);
    return result;
}

int BoxHeight(const BoxGeometryInput& in)
{
    const long long lines = static_cast<long long>(in.bodyLineWidths.size()) * kLineSpacing;
    return ClampToInt(in.btn1Shown ? lines + in.btn1Height + 44 : lines + 40);
}

void PlaceButtons(BoxGeometry& b, const BoxGeometryInput& in)
{
    b.btn1Top = ClampToInt(static_cast<long long>(b.height) - in.btn1Height - 34);
    b.btn2Top = b.btn1Top;
    if (in.btn2Shown) {
        b.btn1Left = ClampToInt(static_cast<long long>(b.width) / 2 - in.btn1Width - 10);
        b.btn2Left = b.width / 2 + 10;
    } else {
        b.btn1Left = ClampToInt((static_cast<long long>(b.width) - in.btn1Width) / 2 - 3);
    }
}

void PlaceBox(BoxGeometry& b, const BoxGeometryInput& in)
{
    const long long left
        = in.clientOriginX + (static_cast<long long>(in.mainWindowWidth) - b.width) / 2;
    const long long top = static_cast<long long>(in.clientOriginY) + in.sigWinFrameTop
        + (static_cast<long long>(in.sigWinHeight) - b.height) / 2;
    b.left = ClampToInt(left);
    b.top = ClampToInt(top);
}

} // namespace

BoxGeometry ComputeBoxGeometry(const BoxGeometryInput& in)
{
    BoxGeometry b;
    b.width = std::max(ClampToInt(static_cast<long long>(TextWidth(in)) + 30), kMinBoxWidth);
    b.height = BoxHeight(in);
    b.L1Left = 5;
    b.L1Width = b.width - 10;
    PlaceButtons(b, in);
    PlaceBox(b, in);
    return b;
}
