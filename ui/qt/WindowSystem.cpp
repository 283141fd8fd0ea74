#include "ui/qt/WindowSystem.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

bool CompositorPlacesWindows()
{
    // "wayland", or a variant such as "wayland-egl"
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

void PlaceTopLevel(QWidget* window, QPoint topLeft)
{
    if (!CompositorPlacesWindows())
        window->move(topLeft);
}

void CentreTopLevel(QWidget* window)
{
    if (const QScreen* screen = window->screen(); screen && !CompositorPlacesWindows())
        window->move(screen->availableGeometry().center() - window->rect().center());
}
