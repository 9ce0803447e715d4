#pragma once

#include "CaptureBoardFit.h"

#include <QHash>
#include <QPixmap>
#include <QPointF>
#include <QPointer>
#include <QRectF>
#include <QUuid>
#include <QWidget>

#include <optional>

class CaptureBoard;
class CaptureBoardPreviews;
struct CaptureBoardItem;

// The board's images, fitted into the widget, for the pointer: a click
// selects, a double click opens the image for editing, dragging moves an image
// and dragging its lower-right handle resizes it proportionally. A move or
// resize reaches the board once, when the button is released.
class CaptureBoardCanvas : public QWidget {
    Q_OBJECT

public:
    static constexpr double minimumItemWidth = 16;
    static constexpr double handleSize = 22;

    CaptureBoardCanvas(CaptureBoard &board, const CaptureBoardPreviews &previews, QWidget *parent = nullptr);

    // Where an item is drawn, in widget coordinates; empty for an unknown id.
    QRectF itemRect(const QUuid &id) const;
    // The resize handle of an item; only the selected item shows it.
    QRectF handleRect(const QUuid &id) const;

signals:
    void editRequested();
    // A move or resize was committed: `failure` is empty when the board took
    // it, else the reason it was refused.
    void arranged(const QString &failure);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    bool event(QEvent *event) override;

private:
    enum class Gesture { none, pressed, moving, resizing };

    CaptureBoardFit fit() const;
    const CaptureBoardItem *item(const QUuid &id) const;
    QUuid itemAt(QPointF position) const;
    bool isOnHandle(QPointF position) const;
    QRectF drawnFrame(const CaptureBoardItem &item) const;
    void drag(QPointF position);
    void commit();
    void endGesture();
    void paintItem(QPainter &painter, const CaptureBoardItem &item);
    void paintHandle(QPainter &painter, const QRectF &handle) const;
    const QPixmap &scaledPreview(const QUuid &id, const QImage &preview, QSize size);

    QPointer<CaptureBoard> m_board;
    const CaptureBoardPreviews &m_previews;
    Gesture m_gesture = Gesture::none;
    QPointF m_pressPosition;
    QUuid m_dragID;
    std::optional<QRectF> m_dragFrame;
    struct ScaledPreview {
        qint64 source = 0;
        QPixmap pixmap;
    };
    QHash<QUuid, ScaledPreview> m_scaledPreviews;
};
