#pragma once

#include <QImage>
#include <QList>
#include <QRect>
#include <QSizeF>
#include <QtGlobal>

// Reads the monitors of the desktop and copies pixels off the screen.
class ScreenGrabber {
public:
    struct Monitor {
        // The display identifier: monitors are listed in ascending order of it.
        quint32 id = 0;
        // Desktop coordinates, in pixels.
        QRect geometry;
        bool primary = false;
        // The display's size on the desktop where it differs from its
        // pixels (scaled displays); empty otherwise.
        QSizeF logicalSize{};
    };

    virtual ~ScreenGrabber() = default;

    virtual QList<Monitor> monitors() const = 0;
    // A copy of the screen inside `area` (desktop coordinates), opaque;
    // null when the screen cannot be read.
    virtual QImage grab(const QRect &area) const = 0;
};
