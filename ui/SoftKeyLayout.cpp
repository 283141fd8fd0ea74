#include "ui/SoftKeyLayout.h"

#include "ui/Rect.h"

namespace
{

constexpr int kCaptionMargin = 16; // a key grows to its caption plus this
constexpr int kEscCaptionMargin = 30;

int KeyWidth(int textWidth, long long limit, int margin, int softKeyWidth)
{
    return textWidth > limit ? ClampToInt(static_cast<long long>(textWidth) + margin)
                             : softKeyWidth;
}

int Follow(int left, int width, int gap = 0)
{
    return ClampToInt(static_cast<long long>(left) + width + gap);
}

} // namespace

SoftKeyLayout ComputeSoftKeyLayout(const std::array<int, 10>& textWidths, int softKeyWidth,
    int escButtonLeft, int printButtonWidth, const std::array<int, 8>& navButtonWidths)
{
    SoftKeyLayout s;
    const long long limit = static_cast<long long>(softKeyWidth) - kCaptionMargin;
    int left = 0;
    for (std::size_t i = 0; i < s.softKeyLefts.size(); ++i) {
        s.softKeyLefts[i] = left;
        s.softKeyWidths[i] = KeyWidth(textWidths[i], limit, kCaptionMargin, softKeyWidth);
        left = Follow(left, s.softKeyWidths[i]);
    }
    s.escButtonWidth = KeyWidth(textWidths[9], limit - 8, kEscCaptionMargin, softKeyWidth);

    s.printButtonLeft = Follow(escButtonLeft, s.escButtonWidth);
    left = Follow(s.printButtonLeft, printButtonWidth, kButtonGroupGap);
    for (std::size_t i = 0; i < s.navButtonLefts.size(); ++i) {
        s.navButtonLefts[i] = left;
        const int gap = i == DownButtonIndex ? kButtonGroupGap : 0;
        left = Follow(left, navButtonWidths[i], gap);
    }
    return s;
}
