#pragma once

#include <QImage>
#include <QSizeF>

// One display of an all-displays capture.
struct CaptureDisplayImage {
    // One pixel per screen pixel, opaque, as the screen delivers them.
    QImage image;
    // The display's size on the desktop.
    QSizeF logicalSize;
    QSizeF pixelSize;
};
