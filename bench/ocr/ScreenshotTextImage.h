#pragma once

#include <QImage>
#include <QStringList>

// A screenshot-like test page: title bar, sidebar and a body of lines of
// known words, so that recognition can be scored against what was drawn.
class ScreenshotTextImage {
public:
    ScreenshotTextImage(QSize size, int lineCount, int pixelSize);

    const QImage &image() const { return m_image; }
    // The words of the body, in reading order.
    const QStringList &bodyWords() const { return m_bodyWords; }

    // The share of body words found, in order, among `recognised` words (0 to 1).
    double wordAccuracy(const QString &recognised) const;

private:
    QImage m_image;
    QStringList m_bodyWords;
};
