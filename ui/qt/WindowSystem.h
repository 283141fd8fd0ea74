#pragma once
// What the window system lets the program do. Under Wayland the compositor
// places the top-level windows: a client can neither choose nor read their
// position on the screen, so the program leaves placing to it.

#include <QPoint>

class QWidget;

// True under Qt's wayland platforms: the one place that asks.
bool OnWayland();

// Moves a top-level window so that its frame's top-left corner lies at the
// given point of the screen; under Wayland the compositor chooses.
void PlaceTopLevel(QWidget* window, QPoint topLeft);

// Centres a top-level window in the available area of its screen; under
// Wayland the compositor chooses.
void CentreTopLevel(QWidget* window);
