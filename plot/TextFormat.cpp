#include "plot/TextFormat.h"

#include "app/Texts.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstddef>

namespace
{

// Beyond 149 decimals a float's exact binary value has no more non-zero
// digits, and the text is cut at 255 characters anyway: limiting the precision
// keeps the buffer bounded without changing any result.
constexpr int kMaxDecimals = static_cast<int>(kMaxTextLength);
// A sign, the 39 integer digits of the largest single, the point and the
// decimals.
constexpr std::size_t kMaxFixedLength = 1 + 39 + 1 + kMaxTextLength;

} // namespace

std::string FormatFixed(int width, int decimals, float value)
{
    const int precision = std::clamp(decimals, 0, kMaxDecimals);
    if (value == 0.0f)
        value = 0.0f; // writes -0 as "0"
    // to_chars writes the digits printf's "%.*f" writes in the C locale: the
    // decimal point stays a point whatever the desktop's language.
    std::array<char, kMaxFixedLength> number {};
    const char* end = std::to_chars(number.data(), number.data() + number.size(),
        static_cast<double>(value), std::chars_format::fixed, precision)
                          .ptr;
    return PadLeft(std::string_view(number.data(), std::size_t(end - number.data())), ' ', width);
}

std::string PadLeft(std::string_view text, char padChar, int width)
{
    std::string trimmed = TrimLeadingBlanks(text);
    const auto length = static_cast<long long>(trimmed.size());
    if (length >= width)
        return trimmed;
    // Padding beyond the maximum length would be cut away entirely.
    const auto padding = std::min<long long>(width - length, kMaxTextLength);
    return CutText(std::string(static_cast<std::size_t>(padding), padChar) + trimmed);
}

std::string TrimLeadingBlanks(std::string_view text)
{
    const auto first = std::find_if(
        text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) > 32; });
    return CutText(std::string(first, text.end()));
}
