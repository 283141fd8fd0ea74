#include "app/qt/Pictures.h"

#include "ui/qt/WindowSystem.h"

#include <QBitmap>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

QImage MakeSplashPicture()
{
    QImage picture(400, 240, QImage::Format_RGB32);
    picture.fill(Qt::white); // shows as the box's background colour
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient band(0, 0, 400, 0);
    band.setColorAt(0, QColor(0, 0, 128));
    band.setColorAt(1, QColor(0, 96, 160));
    p.fillRect(0, 0, 400, 70, band);
    QFont title("Arial");
    title.setPixelSize(40);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(255, 255, 0));
    p.drawText(QRect(0, 0, 400, 70), Qt::AlignCenter, "VOXA 32");

    // A small response curve over a grid.
    const QRect plot(40, 84, 320, 100);
    p.fillRect(plot, Qt::black);
    p.setPen(QColor(128, 128, 128));
    for (int i = 1; i < 6; ++i)
        p.drawLine(plot.left(), plot.top() + i * plot.height() / 6, plot.right(),
            plot.top() + i * plot.height() / 6);
    QPainterPath curve;
    for (int x = 0; x <= plot.width(); ++x) {
        const double t = double(x) / plot.width();
        const double y = 0.5 - 0.35 * std::exp(-std::pow((t - 0.12) / 0.08, 2))
            + 0.25 * std::pow(std::max(0.0, 0.08 - t) / 0.08, 2) + 0.3 * std::pow(t, 6)
            + 0.03 * std::sin(t * 40);
        const QPointF pt(plot.left() + x, plot.top() + y * plot.height());
        x == 0 ? curve.moveTo(pt) : curve.lineTo(pt);
    }
    p.setPen(QPen(QColor(0, 255, 0), 2));
    p.drawPath(curve);

    QFont sub("Arial");
    sub.setPixelSize(14);
    p.setFont(sub);
    p.setPen(QColor(0, 0, 128));
    p.drawText(QRect(0, 188, 400, 18), Qt::AlignCenter, "Curve Viewer");
    return picture;
}

namespace
{

// The cursor as a picture with transparency, for window systems that take no
// bitmap cursors (Qt's wayland platform shows a bitmap cursor as nothing):
// black where the figure is, white where only the mask is.
QImage cursorPicture(const QBitmap& figure, const QBitmap& mask)
{
    const QImage f = figure.toImage();
    const QImage m = mask.toImage();
    QImage picture(f.size(), QImage::Format_ARGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const bool inFigure = f.pixelIndex(x, y) != 0; // painted with color1
            const bool inMask = m.pixelIndex(x, y) != 0;
            picture.setPixel(x, y, inFigure ? qRgb(0, 0, 0) : inMask ? qRgb(255, 255, 255) : 0);
        }
    return picture;
}

QCursor makeReadOutCursor()
{
    QBitmap figure(32, 32);
    QBitmap mask(32, 32);
    figure.fill(Qt::color0);
    mask.fill(Qt::color0);
    const QPoint hot(15, 14);
    // Black figure with a white outline: the outline in the mask only. An X11
    // cursor cannot invert the screen under it: a figure pixel left out of
    // the mask (the inverting pixel of other platforms) is simply not shown.
    for (QBitmap* bm : {&mask, &figure}) {
        QPainter p(bm);
        const int width = bm == &mask ? 3 : 1;
        p.setPen(QPen(Qt::color1, width));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(hot, 10, 10);
        p.drawEllipse(hot, 3, 3);
        p.drawLine(hot.x(), hot.y() - 14, hot.x(), hot.y() - 4);
        p.drawLine(hot.x(), hot.y() + 4, hot.x(), hot.y() + 14);
        p.drawLine(hot.x() - 14, hot.y(), hot.x() - 4, hot.y());
        p.drawLine(hot.x() + 4, hot.y(), hot.x() + 14, hot.y());
    }
    if (OnWayland())
        return QCursor(QPixmap::fromImage(cursorPicture(figure, mask)), hot.x(), hot.y());
    return QCursor(figure, mask, hot.x(), hot.y());
}

} // namespace

const QCursor& ReadOutCursor()
{
    static const QCursor cursor = makeReadOutCursor();
    return cursor;
}
