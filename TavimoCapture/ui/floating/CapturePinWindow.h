#pragma once

#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <memory>

class CaptureBoard;
class QPushButton;

// A finished capture kept above other windows. It keeps the board as it was
// when pinned, so "Edit in Capture" always reopens that state.
class CapturePinWindow : public QWidget {
    Q_OBJECT

public:
    CapturePinWindow(const QImage &image, std::unique_ptr<CaptureBoard> snapshot);
    ~CapturePinWindow() override;

    // At most 580 wide without enlarging, at least 220 x 120.
    static QSize contentSize(QSize image);

    const QImage &image() const { return m_image; }
    // A fresh copy of the pinned board; the pin keeps its own.
    std::unique_ptr<CaptureBoard> reopenedBoard() const;
    QPushButton *editButton() const { return m_edit; }
    // Where the image is drawn, scaled to fit.
    QRect imageRect() const;

signals:
    void editRequested();
    void closed();

protected:
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QImage m_image;
    // The image at the size it is drawn, made again when that changes.
    QPixmap m_scaled;
    std::unique_ptr<CaptureBoard> m_snapshot;
    QPushButton *m_edit;
};
