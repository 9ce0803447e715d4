#pragma once

#include "CaptureStyle.h"
#include "CaptureTool.h"

#include <QColor>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QUuid>

#include <optional>

// One mark on a capture, in pixels of the captured image (origin top-left,
// y downward). Every mark carries every field; each tool reads the ones it uses.
struct CaptureAnnotation {
    // How far the default control point of a curved arrow lies above the midpoint.
    static constexpr double defaultControlLift = 60;

    QUuid id = QUuid::createUuid();
    CaptureTool tool = CaptureTool::arrow;
    QPointF start;
    QPointF end;
    std::optional<QPointF> control;
    QList<QPointF> points;
    std::optional<QRectF> destination;
    QColor color = systemRed();
    QString text;
    qint64 number = 0;
    CaptureStyle style;

    // The desktop-neutral red new marks start with.
    static QColor systemRed() { return QColor::fromRgbF(1.0f, 0.231f, 0.188f, 1); }

    // The rectangle spanned by `start` and `end`.
    QRectF rect() const;
    // `control`, or the midpoint of start and end lifted by 60 pixels.
    QPointF resolvedControl() const;
    // Whether both marks lie exactly where the other does: points, control and destination.
    bool hasGeometryOf(const CaptureAnnotation &other) const;
    // Whether both marks draw the same pixels: every field but the id, compared exactly.
    bool drawsLike(const CaptureAnnotation &other) const;
    static bool drawLike(const QList<CaptureAnnotation> &a, const QList<CaptureAnnotation> &b);
};
