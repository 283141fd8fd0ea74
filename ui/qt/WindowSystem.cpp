#include "ui/qt/WindowSystem.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

bool OnWayland()
{
    // "wayland", or a variant such as "wayland-egl"
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

void PlaceTopLevel(QWidget* window, QPoint topLeft)
{
    if (!OnWayland())
        window->move(topLeft);
}

void CentreTopLevel(QWidget* window)
{
    if (const QScreen* screen = window->screen(); screen && !OnWayland())
        window->move(screen->availableGeometry().center() - window->rect().center());
}
