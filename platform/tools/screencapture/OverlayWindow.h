#pragma once

#include <QBackingStore>
#include <QWindow>

class SelectionOverlay;

// One monitor's part of the selection overlay: a borderless window above
// everything that paints into its own backing store, only where something
// changed, and forwards input to the overlay.
class OverlayWindow : public QWindow {
    Q_OBJECT

public:
    OverlayWindow(SelectionOverlay *overlay, const QRect &geometry);

    // Damage in desktop coordinates, painted at the next frame.
    void repaint(const QRegion &desktopRegion);

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
    QBackingStore m_backingStore;
    QRegion m_damage;
    bool m_painted = false;
};
