#pragma once
// The stored window size fitted to the screen it is shown on.

struct WindowSize {
    int width = 0;
    int height = 0;
    bool operator==(const WindowSize&) const = default;
};

// The stored outer size, and the size the window is given: the stored one
// cut to the screen's available area. A size that fits is shown as stored.
struct WindowFit {
    WindowSize stored;
    WindowSize shown;
};

WindowFit FitWindowSize(WindowSize stored, WindowSize available);

// The size a save writes: the stored size while the window still has the
// size it was shown with (a size from a larger screen is kept), else the
// window's size as the user left it.
WindowSize SavedWindowSize(const WindowFit& fit, WindowSize current);
