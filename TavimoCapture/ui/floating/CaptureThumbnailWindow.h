#pragma once

#include "CaptureThumbnailSurface.h"

#include <QUuid>
#include <QWidget>

class CaptureThumbnail;
class QLabel;

// The floating thumbnail: 266 x 180 at 24 from the right and bottom of the
// screen's free area, above other windows, never taking the keyboard focus.
// A click and the pointer entering and leaving go to the thumbnail model.
class CaptureThumbnailWindow : public QWidget, public CaptureThumbnailSurface {
    Q_OBJECT

public:
    static constexpr QSize panelSize{266, 180};

    explicit CaptureThumbnailWindow(CaptureThumbnail &thumbnail);

    // Where the window goes on a screen whose free area is `available`.
    static QRect placement(const QRect &available);

    bool present(const CaptureThumbnailContent &content) override;
    void remove() override;

    QString text() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void showImage();

    CaptureThumbnail &m_thumbnail;
    QUuid m_lifetime;
    QImage m_image;
    QLabel *m_preview;
    QLabel *m_text;
};
