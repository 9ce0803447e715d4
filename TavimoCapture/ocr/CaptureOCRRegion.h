#pragma once

#include <QRectF>
#include <QString>

// One recognised word, or a whole line when none of its words has a box;
// `rect` is in pixels of the recognised image, origin top-left.
struct CaptureOCRRegion {
    QRectF rect;
    QString text;

    bool operator==(const CaptureOCRRegion &other) const = default;
};
