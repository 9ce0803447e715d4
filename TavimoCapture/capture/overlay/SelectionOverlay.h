#pragma once

#include "OverlayScreen.h"

#include <QImage>
#include <QObject>
#include <QRegion>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

class OverlayWindow;
class QPainter;

// The frozen desktop shown dimmed on every screen, where the user drags an
// area or clicks a window. Its windows are made hidden up front, so that a
// capture only paints and maps them. All positions are pixels of the
// desktop picture.
class SelectionOverlay : public QObject {
    Q_OBJECT

public:
    explicit SelectionOverlay(const OverlayScreens &screens, QObject *parent = nullptr);
    ~SelectionOverlay() override;

    const OverlayScreens &screens() const { return m_screens; }

    // Paints the first frame of `desktop` into the hidden windows. The
    // picture is only read, never kept past hide(), so it may be a view of
    // memory that is reused later; the padding bytes of its pixels need not
    // be set. `windows`: pickable windows bottom to top, empty for area-only
    // selection. `hint`: one line shown on every screen, or nothing.
    void prepare(const QImage &desktop, QList<QRect> windows, const QString &hint = {});
    void show();
    // Hides the windows and lets go of the picture.
    void hide();

    void press(const QPoint &position, Qt::MouseButton button);
    void move(const QPoint &position);
    void release(const QPoint &position, Qt::MouseButton button);
    void key(int key);
    void cancel();
    void windowExposed(OverlayWindow *window);
    // Paints `area` of the desktop; the painter maps desktop pixels.
    void paint(QPainter &painter, const QRegion &area) const;

    // What the user sees now, for tests.
    QRect selection() const { return m_state.selection; }
    QRect hovered() const { return m_state.hovered; }
    QRect labelRect() const;
    QList<QRect> hintRects() const;
    OverlayWindow *window(qsizetype index) const { return m_windows[size_t(index)].get(); }

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
    QRect labelFor(const QRect &selection) const;
    QRect hintFor(const OverlayScreen &screen) const;
    QRegion decorations(const State &state) const;
    QRect windowAt(const QPoint &position) const;
    QPoint cursorInDesktop() const;
    qreal scaleAt(const QPoint &position) const;
    void setState(const State &state);
    void grabInput(OverlayWindow *window, int attemptsLeft);
    void paintDecorations(QPainter &painter, const QRect &area) const;
    void paintLabel(QPainter &painter, const QRect &rect, const QString &text, qreal scale) const;

    OverlayScreens m_screens;
    std::vector<std::unique_ptr<OverlayWindow>> m_windows;
    QImage m_desktop;
    QList<QRect> m_pickable;
    QString m_hint;
    State m_state;
    std::optional<QPoint> m_pressed;
    bool m_dragging = false;
    bool m_inputGrabbed = false;
};
