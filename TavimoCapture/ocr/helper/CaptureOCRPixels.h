#pragma once

#include <QByteArray>

#include <optional>

// An RGB image received as binary PPM ("P6 <width> <height> 255", then the
// rows); the bytes are kept as read, without a copy.
class CaptureOCRPixels {
public:
    // None when the header is malformed, the size is out of bounds or data is missing.
    static std::optional<CaptureOCRPixels> fromPpm(QByteArray ppm);

    int width() const { return m_width; }
    int height() const { return m_height; }
    int bytesPerLine() const { return m_width * 3; }
    const unsigned char *rows() const;

private:
    CaptureOCRPixels(QByteArray ppm, qsizetype offset, int width, int height);

    QByteArray m_ppm;
    qsizetype m_offset = 0;
    int m_width = 0;
    int m_height = 0;
};
