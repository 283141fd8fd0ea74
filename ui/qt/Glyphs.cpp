#include "ui/qt/Glyphs.h"

#include <QPainter>
#include <QPixmap>
#include <QPolygon>

namespace
{

constexpr int kSize = 16;

void drawArrow(QPainter& p, int dx, int dy)
{
    // A filled triangle pointing along (dx, dy).
    const QPoint c(kSize / 2, kSize / 2);
    const QPoint tip = c + QPoint(dx * 6, dy * 6);
    const QPoint side(dy * 5, dx * 5);
    const QPoint base = c - QPoint(dx * 4, dy * 4);
    p.drawPolygon(QPolygon({tip, base + side, base - side}));
}

void drawZoom(QPainter& p, bool vertical, bool in)
{
    // Two arrows pointing together (zoom in) or apart (zoom out).
    const int s = in ? -1 : 1;
    const QPoint c(kSize / 2, kSize / 2);
    for (int sign : {-1, 1}) {
        const QPoint dir = vertical ? QPoint(0, sign * s) : QPoint(sign * s, 0);
        const QPoint at = c + (vertical ? QPoint(0, sign * 4) : QPoint(sign * 4, 0));
        const QPoint side = vertical ? QPoint(3, 0) : QPoint(0, 3);
        p.drawPolygon(QPolygon({at + dir * 3, at - dir * 2 + side, at - dir * 2 - side}));
    }
    p.drawLine(vertical ? QLine(3, c.y(), 12, c.y()) : QLine(c.x(), 3, c.x(), 12));
}

void drawPrinter(QPainter& p)
{
    p.setBrush(Qt::white);
    p.drawRect(4, 1, 8, 5);
    p.setBrush(QColor(128, 128, 128));
    p.drawRect(1, 6, 14, 6);
    p.setBrush(Qt::white);
    p.drawRect(4, 10, 8, 5);
}

// The glyph drawn at scale times its size, for screens of that device pixel
// ratio: shapes at device resolution rather than a small picture blown up.
QPixmap drawGlyph(Glyph glyph, int scale)
{
    QPixmap pixmap(kSize * scale, kSize * scale);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    p.setPen(Qt::black);
    p.setBrush(QColor(0, 0, 128));
    switch (glyph) {
    case Glyph::Printer:
        drawPrinter(p);
        break;
    case Glyph::Up:
        drawArrow(p, 0, -1);
        break;
    case Glyph::Down:
        drawArrow(p, 0, 1);
        break;
    case Glyph::Left:
        drawArrow(p, -1, 0);
        break;
    case Glyph::Right:
        drawArrow(p, 1, 0);
        break;
    case Glyph::ZoomY:
        drawZoom(p, true, false);
        break;
    case Glyph::ReZoomY:
        drawZoom(p, true, true);
        break;
    case Glyph::ZoomX:
        drawZoom(p, false, false);
        break;
    case Glyph::ReZoomX:
        drawZoom(p, false, true);
        break;
    }
    p.end();
    pixmap.setDevicePixelRatio(scale);
    return pixmap;
}

} // namespace

QIcon MakeGlyph(Glyph glyph)
{
    QIcon icon;
    for (int scale : {1, 2})
        icon.addPixmap(drawGlyph(glyph, scale));
    return icon;
}
