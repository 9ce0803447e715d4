#pragma once

#include <QColor>
#include <QImage>

// A premultiplied image of one colour.
inline QImage filledImage(int width, int height, const QColor &color)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(color);
    return image;
}
