#pragma once

#include "CaptureStyle.h"

#include <QColor>

class UserDefaults;

// The annotation style and colour carried from one capture to the next,
// stored under "capture.annotation.v1". Loading checks every field on its own:
// anything missing, mistyped or out of range falls back or is clamped.
namespace CaptureAnnotationDefaults {

inline const QString key = QStringLiteral("capture.annotation.v1");

struct Loaded {
    CaptureStyle style;
    QColor color;
};

Loaded load(const UserDefaults &defaults);
void save(const CaptureStyle &style, const QColor &color, UserDefaults &defaults);

} // namespace CaptureAnnotationDefaults
