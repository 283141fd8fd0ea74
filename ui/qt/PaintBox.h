#pragma once
// A paint box: a control with a picture of its own. Drawing routines draw
// into canvas() at any time; a paint of the box first runs its paint handler
// and then copies the canvas to the screen.

#include <QImage>
#include <QWidget>
#include <functional>

// A 32-bit picture of the given size holding the old picture in its top-left
// corner; new area takes the fill colour.
QImage ResizedPicture(const QImage& old, QSize size, const QColor& fill);
// The size in device pixels of an area of the given size in window pixels at
// a device pixel ratio: every device pixel the area touches.
QSize DeviceSize(QSize size, qreal ratio);

class PaintBox : public QWidget
{
    Q_OBJECT
public:
    explicit PaintBox(QWidget* parent, const QString& name);

    // The box's canvas, kept at the box's size in device pixels with the
    // screen's device pixel ratio: a painter on it works in window pixels and
    // draws lines and text at the screen's resolution.
    QImage& canvas();
    // Shows the canvas; a no-op while a paint handler runs, so that handlers
    // that relabel other boxes cannot start an endless cycle of paints.
    void showCanvas();

    // Replaces the canvas by an outside picture for the next paints (the data
    // window shows the off-screen picture of the plot this way). The picture
    // is in device pixels: at a device pixel ratio above 1 it is larger than
    // the box and each of its pixels goes to one pixel of the screen.
    void setPicture(const QImage* picture) { m_picture = picture; }

    std::function<void(PaintBox*)> onPaint;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent*) override;

private:
    QImage m_canvas;
    const QImage* m_picture = nullptr;
    static bool s_painting;
};

// A frame panel that reports mouse moves and presses with its own coordinates,
// in window pixels; at a device pixel ratio above 1 they have fractions.
class MouseFrame : public QWidget
{
    Q_OBJECT
public:
    MouseFrame(QWidget* parent, const QString& name, int bevelWidth);
    void setFillColour(const QColor& colour);

    std::function<void(MouseFrame*, Qt::KeyboardModifiers, Qt::MouseButtons, QPointF)> onMouseMove;
    std::function<void(MouseFrame*, Qt::MouseButton, Qt::KeyboardModifiers, Qt::MouseButtons,
        QPointF, bool doubleClick)>
        onMouseDown;

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    int m_bevelWidth;
    QColor m_fill;
};
