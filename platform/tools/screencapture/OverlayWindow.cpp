#include "OverlayWindow.h"

#include "SelectionOverlay.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

OverlayWindow::OverlayWindow(SelectionOverlay *overlay, const QRect &geometry)
    : m_overlay(overlay), m_backingStore(this)
{
    setSurfaceType(QSurface::RasterSurface);
    setFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::X11BypassWindowManagerHint | Qt::Tool);
    if (QScreen *screen = QGuiApplication::screenAt(geometry.center()))
        setScreen(screen);
    setGeometry(geometry);
    setCursor(Qt::CrossCursor);
    m_backingStore.resize(geometry.size());
}

void OverlayWindow::repaint(const QRegion &desktopRegion)
{
    const QRegion damage = (desktopRegion & geometry()).translated(-position());
    if (damage.isEmpty())
        return;
    m_damage += damage;
    requestUpdate();
}

bool OverlayWindow::event(QEvent *event)
{
    if (event->type() != QEvent::UpdateRequest)
        return QWindow::event(event);
    paint(m_damage);
    m_damage = QRegion();
    return true;
}

void OverlayWindow::exposeEvent(QExposeEvent *)
{
    if (!isExposed())
        return;
    // The first frame at once; later exposures only need what the store holds.
    paint(m_painted ? QRegion() : QRegion(QRect(QPoint(), size())));
    m_painted = true;
    m_overlay->windowExposed(this);
}

void OverlayWindow::paint(const QRegion &region)
{
    if (!isExposed())
        return;
    if (!region.isEmpty()) {
        m_backingStore.beginPaint(region);
        m_overlay->paint(*m_backingStore.paintDevice(), position(), region.translated(position()));
        m_backingStore.endPaint();
    }
    m_backingStore.flush(region.isEmpty() ? QRegion(QRect(QPoint(), size())) : region);
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
