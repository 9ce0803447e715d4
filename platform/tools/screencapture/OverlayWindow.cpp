#include "OverlayWindow.h"

#include "SelectionOverlay.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>

OverlayWindow::OverlayWindow(SelectionOverlay *overlay, const QRect &geometry) : m_overlay(overlay)
{
    setFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::X11BypassWindowManagerHint | Qt::Tool);
    if (QScreen *screen = QGuiApplication::screenAt(geometry.center()))
        setScreen(screen);
    setGeometry(geometry);
    setCursor(Qt::CrossCursor);
}

void OverlayWindow::repaint(const QRegion &desktopRegion)
{
    const QRegion damage = desktopRegion & geometry();
    if (!damage.isEmpty())
        update(damage.translated(-position()));
}

void OverlayWindow::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.translate(-position());
    for (const QRect &rect : event->region()) {
        const QRect area = rect.translated(position());
        painter.setClipRect(area);
        m_overlay->paint(painter, area);
    }
}

void OverlayWindow::exposeEvent(QExposeEvent *event)
{
    QRasterWindow::exposeEvent(event);
    if (isExposed())
        m_overlay->windowExposed(this);
}

void OverlayWindow::mousePressEvent(QMouseEvent *event)
{
    m_overlay->press(event->globalPosition().toPoint(), event->button());
}

void OverlayWindow::mouseMoveEvent(QMouseEvent *event)
{
    m_overlay->move(event->globalPosition().toPoint());
}

void OverlayWindow::mouseReleaseEvent(QMouseEvent *event)
{
    m_overlay->release(event->globalPosition().toPoint(), event->button());
}

void OverlayWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        m_overlay->cancel();
}
