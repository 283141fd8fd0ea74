#include "ui/WindowFit.h"

#include <algorithm>

WindowFit FitWindowSize(WindowSize stored, WindowSize available)
{
    const WindowSize shown {
        std::min(stored.width, available.width), std::min(stored.height, available.height)};
    return {stored, shown};
}

WindowSize SavedWindowSize(const WindowFit& fit, WindowSize current)
{
    return current == fit.shown ? fit.stored : current;
}
