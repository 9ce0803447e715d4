#pragma once

#include <QImage>
#include <QPixmap>
#include <QWidget>

// The finished export image, scaled to fit, over a faint backdrop.
class CaptureBoardExportPreview : public QWidget {
    Q_OBJECT

public:
    explicit CaptureBoardExportPreview(QWidget *parent = nullptr);

    const QImage &image() const { return m_image; }
    void setImage(const QImage &image);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const QPixmap &scaledImage(QSize pixels);

    QImage m_image;
    QPixmap m_scaled;
};
