#pragma once

#include "OverlayScreen.h"

#include <QBackingStore>
#include <QWindow>

class SelectionOverlay;

// One screen's part of the selection overlay: a borderless window above
// everything that paints into its own backing store, only where something
// changed, and forwards input to the overlay in desktop-picture pixels.
class OverlayWindow : public QWindow {
    Q_OBJECT

public:
    OverlayWindow(SelectionOverlay *overlay, const OverlayScreen &screen);

    const OverlayScreen &overlayScreen() const { return m_screen; }
    // Paints the whole window into its store while it is still hidden.
    void prepareFrame();
    // Damage in desktop pixels, painted at the next frame.
    void repaint(const QRegion &desktopRegion);
    // A point of this window (in its own points) in desktop pixels.
    QPoint toDesktop(const QPointF &local) const;
    // Desktop pixels as this window's points, rounded outwards.
    QRegion toLocal(const QRegion &desktopRegion) const;

protected:
    bool event(QEvent *event) override;
    void exposeEvent(QExposeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void paint(const QRegion &region);

    SelectionOverlay *m_overlay;
    OverlayScreen m_screen;
    QBackingStore m_backingStore;
    QRegion m_damage;
    bool m_framed = false;
};
