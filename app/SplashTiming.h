#pragma once
// How long the splash stays up: until 2000 ms after the start mark, unless
// 1800 ms or more have passed already, when it closes at once.

#include <cstdint>

constexpr int64_t SplashRemainingMs(int64_t elapsedMs)
{
    return elapsedMs < 1800 ? 2000 - elapsedMs : 0;
}
