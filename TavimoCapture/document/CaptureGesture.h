#pragma once

#include "CaptureAnnotation.h"
#include "CaptureComposition.h"
#include "CaptureDocument.h"
#include "CaptureHandle.h"

#include <QList>
#include <QPointF>
#include <QPointer>
#include <QRectF>
#include <QSizeF>
#include <QUuid>

#include <optional>

// What the pointer does on the canvas, for each tool: the drag in progress
// with its live preview, and the document call its release makes. The
// document changes only when a gesture ends; everything in between lives here.
//
// Points are in image pixels and not clamped; the view reports whether a press
// landed on the image and how many view points one pixel spans. Only the
// legend resize works in view points, as the layout moves under the pointer.
class CaptureGesture {
public:
    // The inline text editor to open at `origin`: on the text mark `id`, or on
    // a new text when the id is null.
    struct TextEdit {
        QPointF origin;
        QUuid id;
        friend bool operator==(const TextEdit &, const TextEdit &) = default;
    };

    explicit CaptureGesture(CaptureDocument *document = nullptr);

    CaptureDocument *document() const { return m_document; }
    // Drops the gesture in progress and acts on `document` from now on.
    void setDocument(CaptureDocument *document);

    std::optional<TextEdit> press(QPointF point, bool onImage, int clickCount, double scale);
    // Shift makes rectangles and ovals square.
    void drag(QPointF point, Qt::KeyboardModifiers modifiers);
    // Applies the last drag and hands the result to the document.
    void release(QPointF point, Qt::KeyboardModifiers modifiers, double scale);

    // Resizing the legend from its divider: the legend's height below the
    // image, else its width beside it.
    void pressLegend(QPointF viewPoint, double scale, QSizeF legendSize);
    void dragLegend(QPointF viewPoint);
    void releaseLegend();

    // Escape: drops the gesture and a pending magnifier, selects nothing.
    void cancel();
    // While input is disabled: drops the gesture and a pending magnifier.
    void abandon();
    // Forgets the gesture in progress.
    void clear();

    // The text mark Return opens, when one is selected.
    std::optional<TextEdit> textToEdit() const;
    // What closing the text editor does with `text`: adds a new text mark at
    // `origin` (nothing when blank), or replaces or deletes the mark `id`.
    static void commitText(CaptureDocument &document, const QString &text, const QUuid &id, QPointF origin);

    // The detected word under `point` that a click with a redaction tool hides.
    std::optional<QRectF> wordAt(QPointF point) const;
    Qt::CursorShape cursor(bool onLegendDivider, bool onImage, bool inputEnabled) const;

    bool isDragging() const { return m_start.has_value(); }
    bool isResizingLegend() const { return m_legendDrag.has_value(); }
    const std::optional<QPointF> &start() const { return m_start; }
    const std::optional<QPointF> &end() const { return m_end; }
    const QList<QPointF> &strokePoints() const { return m_strokePoints; }
    // The mark being edited as it was at the press, and its edited copy.
    const std::optional<CaptureAnnotation> &geometryOriginal() const { return m_geometryOriginal; }
    const std::optional<CaptureAnnotation> &geometryPreview() const { return m_geometryPreview; }
    const std::optional<CaptureHandle> &activeHandle() const { return m_activeHandle; }
    const std::optional<CaptureComposition> &legendPreview() const { return m_legendPreview; }
    // The lens of the pending magnifier: placed, or following the drag.
    std::optional<QRectF> liveDestination() const;

private:
    struct LegendDrag {
        QPointF point;
        double scale = 1;
        double dimension = 0;
    };

    std::optional<TextEdit> pressSelect(QPointF point, int clickCount, double scale);
    std::optional<TextEdit> pressText(QPointF point);
    void grab(const CaptureAnnotation &annotation, CaptureHandle handle, QPointF point);
    void sample(QPointF point);
    void finishMark(QPointF start, QPointF end, const QList<QPointF> &stroke, double scale);

    QPointer<CaptureDocument> m_document;
    std::optional<LegendDrag> m_legendDrag;
    std::optional<CaptureComposition> m_legendPreview;
    QList<QPointF> m_strokePoints;
    std::optional<QPointF> m_start;
    std::optional<QPointF> m_end;
    std::optional<CaptureAnnotation> m_geometryOriginal;
    std::optional<CaptureAnnotation> m_geometryPreview;
    std::optional<CaptureHandle> m_activeHandle;
};
