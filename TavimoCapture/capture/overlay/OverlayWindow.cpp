#include "OverlayWindow.h"

#include "SelectionOverlay.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>

#include <cmath>

namespace {

// The app's screen showing `screen`: same size in pixels, and the same
// corner counted either in pixels (X11) or in points (Wayland).
QScreen *matchingScreen(const OverlayScreen &screen)
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    QScreen *sameSize = nullptr;
    for (QScreen *candidate : screens) {
        const qreal ratio = candidate->devicePixelRatio();
        if ((QSizeF(candidate->geometry().size()) * ratio).toSize() != screen.geometry.size())
            continue;
        const QPoint corner = candidate->geometry().topLeft();
        if (corner == screen.geometry.topLeft() || (QPointF(corner) * ratio).toPoint() == screen.geometry.topLeft())
            return candidate;
        if (!sameSize)
            sameSize = candidate;
    }
    return sameSize;
}

QRect logicalGeometry(const OverlayScreen &screen)
{
    if (const QScreen *shown = matchingScreen(screen))
        return shown->geometry();
    const QRectF points(QPointF(screen.geometry.topLeft()) / screen.devicePixelRatio,
                        QSizeF(screen.geometry.size()) / screen.devicePixelRatio);
    return points.toAlignedRect();
}

} // namespace

OverlayWindow::OverlayWindow(SelectionOverlay *overlay, const OverlayScreen &screen)
    : m_overlay(overlay), m_screen(screen), m_backingStore(this)
{
    setSurfaceType(QSurface::RasterSurface);
    setFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::X11BypassWindowManagerHint | Qt::Tool);
    if (QScreen *shown = matchingScreen(screen))
        setScreen(shown);
    setGeometry(logicalGeometry(screen));
    setCursor(Qt::CrossCursor);
    create();
    m_backingStore.resize(size());
}

QPoint OverlayWindow::toDesktop(const QPointF &local) const
{
    const QPointF pixels = local * m_screen.devicePixelRatio;
    return m_screen.geometry.topLeft() + QPoint(int(std::floor(pixels.x())), int(std::floor(pixels.y())));
}

QRegion OverlayWindow::toLocal(const QRegion &desktopRegion) const
{
    const qreal ratio = m_screen.devicePixelRatio;
    QRegion local;
    for (const QRect &rect : desktopRegion &m_screen.geometry) {
        const QRectF shifted(rect.translated(-m_screen.geometry.topLeft()));
        local += QRectF(shifted.topLeft() / ratio, shifted.size() / ratio).toAlignedRect();
    }
    return local;
}

void OverlayWindow::prepareFrame()
{
    m_damage = QRegion();
    paint(QRect(QPoint(), size()));
    m_framed = true;
}

void OverlayWindow::repaint(const QRegion &desktopRegion)
{
    const QRegion damage = toLocal(desktopRegion);
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
    if (isExposed())
        m_backingStore.flush(m_damage);
    m_damage = QRegion();
    return true;
}

void OverlayWindow::exposeEvent(QExposeEvent *)
{
    if (!isExposed())
        return;
    if (!m_framed)
        prepareFrame();
    // The store holds the whole frame; an exposure only shows it again.
    m_backingStore.flush(QRect(QPoint(), size()));
    m_overlay->windowExposed(this);
}

void OverlayWindow::paint(const QRegion &region)
{
    if (region.isEmpty())
        return;
    m_backingStore.beginPaint(region);
    QPaintDevice *device = m_backingStore.paintDevice();
    {
        QPainter painter(device);
        // Desktop pixels are device pixels: pictures are copied, never scaled.
        const qreal deviceRatio = device->devicePixelRatioF();
        painter.scale(1 / deviceRatio, 1 / deviceRatio);
        painter.translate(-m_screen.geometry.topLeft());
        const qreal ratio = m_screen.devicePixelRatio;
        QRegion desktop;
        for (const QRect &rect : region) {
            const QRectF pixels(QPointF(rect.topLeft()) * ratio, QSizeF(rect.size()) * ratio);
            desktop += pixels.toAlignedRect().translated(m_screen.geometry.topLeft());
        }
        m_overlay->paint(painter, desktop & m_screen.geometry);
    }
    m_backingStore.endPaint();
}

void OverlayWindow::mousePressEvent(QMouseEvent *event)
{
    m_overlay->press(toDesktop(event->position()), event->button());
}

void OverlayWindow::mouseMoveEvent(QMouseEvent *event)
{
    m_overlay->move(toDesktop(event->position()));
}

void OverlayWindow::mouseReleaseEvent(QMouseEvent *event)
{
    m_overlay->release(toDesktop(event->position()), event->button());
}

void OverlayWindow::keyPressEvent(QKeyEvent *event)
{
    m_overlay->key(event->key());
}
