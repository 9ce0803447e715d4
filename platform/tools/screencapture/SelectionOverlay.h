#pragma once

#include "ScreenGrabber.h"

#include <QImage>
#include <QObject>
#include <QRegion>

#include <memory>
#include <optional>
#include <vector>

class OverlayWindow;
class QPaintDevice;
class QPainter;

// The frozen desktop shown dimmed on every monitor, where the user drags an
// area or clicks a window. All positions are desktop pixels.
class SelectionOverlay : public QObject {
    Q_OBJECT

public:
    // `desktop` is only ever copied, so the padding bytes of its pixels need
    // not be set. `windows`: pickable windows bottom to top; empty for
    // area-only selection.
    SelectionOverlay(QImage desktop, const QList<ScreenGrabber::Monitor> &monitors, QList<QRect> windows);
    ~SelectionOverlay() override;

    void show();
    void hide();

    void press(const QPoint &position, Qt::MouseButton button);
    void move(const QPoint &position);
    void release(const QPoint &position, Qt::MouseButton button);
    void cancel();
    void windowExposed(OverlayWindow *window);
    // Paints `area` (desktop coordinates) of the window at `origin` into `device`.
    void paint(QPaintDevice &device, const QPoint &origin, const QRegion &area) const;

signals:
    void selected(const QRect &area);
    void cancelled();

private:
    struct State {
        QPoint cursor;
        QRect selection;
        QRect hovered;
    };

    QRect highlight(const State &state) const;
    QRect labelRect(const QRect &selection) const;
    QRegion decorations(const State &state) const;
    void setState(const State &state);
    void grabInput(OverlayWindow *window, int attemptsLeft);
    void paintDecorations(QPainter &painter, const QRect &area) const;
    void paintSize(QPainter &painter, const QRect &selection) const;

    QImage m_desktop;
    QList<QRect> m_windows;
    std::vector<std::unique_ptr<OverlayWindow>> m_overlays;
    State m_state;
    std::optional<QPoint> m_pressed;
    bool m_dragging = false;
    bool m_inputGrabbed = false;
};
