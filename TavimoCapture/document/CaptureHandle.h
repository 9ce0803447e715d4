#pragma once

#include "CaptureAnnotation.h"

#include <QList>
#include <QPointF>
#include <QRectF>

#include <utility>

class CaptureDocument;

// What dragging a selected mark changes: one of its handles, the whole mark,
// or a magnifier's lens. Corner indices 0…3 run (minX, minY), (maxX, minY),
// (maxX, maxY), (minX, maxY); the corner opposite to i is (i + 2) mod 4.
class CaptureHandle {
public:
    enum class Kind { sourceCorner, destinationCorner, start, end, control, move, destination };

    Kind kind = Kind::move;
    int index = 0;

    friend bool operator==(const CaptureHandle &, const CaptureHandle &) = default;

    // The handles a mark shows, in the order a press tests them: the corners
    // of rectangles, ovals and magnifiers (then of a lens), the ends and the
    // curve of arrows. Other marks can only be moved.
    static QList<std::pair<CaptureHandle, QPointF>> handles(const CaptureAnnotation &annotation);
    // The outline of a selected mark: a magnifier's source with its lens, else
    // what the mark draws.
    static QRectF selectionBounds(const CaptureAnnotation &annotation);

    // Dragging a lens or its corners may leave the image; all else stays inside.
    bool reachesOutsideImage() const { return kind == Kind::destinationCorner || kind == Kind::destination; }
    // `original` as it was at the press at `press`, dragged by this handle to
    // `point`. Rectangles never shrink below 2 × 2 (the last valid one stays),
    // magnifiers keep their aspect and their source stays inside the crop, a
    // moved mark stops at the crop edge.
    CaptureAnnotation dragged(const CaptureAnnotation &original, QPointF press, QPointF point,
                              const CaptureDocument &document) const;

private:
    QRectF resizedSource(const CaptureAnnotation &original, QPointF point, const QRectF &crop) const;
    static CaptureAnnotation moved(const CaptureAnnotation &original, QPointF delta, const CaptureDocument &document);
};
