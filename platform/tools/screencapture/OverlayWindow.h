#pragma once

#include <QRasterWindow>

class SelectionOverlay;

// One monitor's part of the selection overlay: a borderless window above
// everything that paints and forwards input to the overlay.
class OverlayWindow : public QRasterWindow {
    Q_OBJECT

public:
    OverlayWindow(SelectionOverlay *overlay, const QRect &geometry);

    // Damage in desktop coordinates.
    void repaint(const QRegion &desktopRegion);

protected:
    void paintEvent(QPaintEvent *event) override;
    void exposeEvent(QExposeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    SelectionOverlay *m_overlay;
};
