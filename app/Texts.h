#pragma once
// Texts that pass between routines or are stored are single-byte and at most
// 255 characters long; longer results are cut.

#include <cstddef>
#include <string>

constexpr std::size_t kMaxTextLength = 255;

inline std::string CutText(std::string text)
{
    if (text.size() > kMaxTextLength)
        text.resize(kMaxTextLength);
    return text;
}
