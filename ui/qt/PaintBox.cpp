#include "ui/qt/PaintBox.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <cmath>

bool PaintBox::s_painting = false;

QImage ResizedPicture(const QImage& old, QSize size, const QColor& fill)
{
    QImage resized(size, QImage::Format_RGB32);
    resized.fill(fill);
    if (!old.isNull()) {
        QPainter p(&resized);
        p.drawImage(0, 0, old);
    }
    return resized;
}

QSize DeviceSize(QSize size, qreal ratio)
{
    if (ratio == 1)
        return size;
    // A small allowance for ratios without an exact binary value (1.1 x 10).
    auto pixels = [ratio](int n) { return int(std::ceil(n * ratio - 1e-6)); };
    return QSize(pixels(size.width()), pixels(size.height()));
}

PaintBox::PaintBox(QWidget* parent, const QString& name)
    : QWidget(parent)
{
    setObjectName(name);
    // Mouse events over a paint box reach the frame it lies in.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QImage& PaintBox::canvas()
{
    const qreal ratio = devicePixelRatioF();
    const QSize wanted = DeviceSize(QSize(std::max(1, width()), std::max(1, height())), ratio);
    if (m_canvas.size() != wanted || m_canvas.devicePixelRatio() != ratio) {
        if (ratio == 1)
            m_canvas = ResizedPicture(m_canvas, wanted, Qt::white);
        else {
            // Labelled anew at the next paint: whatever it held was drawn
            // for another resolution.
            m_canvas = QImage(wanted, QImage::Format_RGB32);
            m_canvas.fill(Qt::white);
            m_canvas.setDevicePixelRatio(ratio);
        }
    }
    return m_canvas;
}

void PaintBox::showCanvas()
{
    if (!s_painting)
        update();
}

bool PaintBox::event(QEvent* event)
{
    // On a screen of another device pixel ratio the box is painted anew at
    // the new resolution.
    if (event->type() == QEvent::ScreenChangeInternal)
        update();
    return QWidget::event(event);
}

void PaintBox::paintEvent(QPaintEvent*)
{
    if (onPaint && !s_painting) {
        s_painting = true;
        try {
            onPaint(this);
        } catch (...) {
            s_painting = false;
            throw;
        }
        s_painting = false;
    }
    QPainter p(this);
    const qreal ratio = devicePixelRatioF();
    if (m_picture && ratio != 1)
        p.drawImage(QRectF(QPointF(0, 0), QSizeF(m_picture->size()) / ratio), *m_picture);
    else
        p.drawImage(0, 0, m_picture ? *m_picture : canvas());
}

MouseFrame::MouseFrame(QWidget* parent, const QString& name, int bevelWidth)
    : QWidget(parent)
    , m_bevelWidth(bevelWidth)
{
    setObjectName(name);
    setMouseTracking(true);
}

void MouseFrame::setFillColour(const QColor& colour)
{
    m_fill = colour;
    update();
}

void MouseFrame::paintEvent(QPaintEvent*)
{
    // A lowered bevel of m_bevelWidth pixels around the fill colour.
    QPainter p(this);
    p.fillRect(rect(), m_fill);
    const QPalette& pal = palette();
    for (int i = 0; i < m_bevelWidth; ++i) {
        const QRect r = rect().adjusted(i, i, -i - 1, -i - 1);
        p.setPen(pal.color(i == 0 ? QPalette::Mid : QPalette::Dark));
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(pal.color(i == 0 ? QPalette::Light : QPalette::Midlight));
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
    }
}

void MouseFrame::mouseMoveEvent(QMouseEvent* event)
{
    if (onMouseMove)
        onMouseMove(this, event->modifiers(), event->buttons(), event->position());
}

void MouseFrame::mousePressEvent(QMouseEvent* event)
{
    if (onMouseDown)
        onMouseDown(
            this, event->button(), event->modifiers(), event->buttons(), event->position(), false);
}

void MouseFrame::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (onMouseDown)
        onMouseDown(
            this, event->button(), event->modifiers(), event->buttons(), event->position(), true);
}
