#pragma once

#include "CaptureAnnotation.h"
#include "CaptureComposition.h"
#include "CaptureLegendEntry.h"
#include "CaptureStyle.h"
#include "CaptureTool.h"

#include <QColor>
#include <QHash>
#include <QImage>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QUuid>

#include <functional>
#include <memory>
#include <optional>

class UserDefaults;

// One editable capture: the image, the marks drawn on it, the crop, the frame
// and legend, the tool and style in use, the selection and a linear undo
// history. All geometry is in pixels of the image. GUI thread only.
//
// Every setter that changes a value emits its own ...Changed() signal and then
// changed(), which also announces changes of the legend descriptions. A null
// QUuid means "nothing selected" / "no annotation".
class CaptureDocument : public QObject {
    Q_OBJECT

public:
    // `annotationDefaults` (may be null: nothing persists) gives the starting
    // style and colour and receives every change the user makes to them.
    explicit CaptureDocument(const QImage &image, UserDefaults *annotationDefaults = nullptr,
                             QObject *parent = nullptr);

    const QImage &image() const { return m_image; }
    QSize originalPixelSize() const { return m_image.size(); }
    UserDefaults *annotationDefaults() const { return m_annotationDefaults; }

    CaptureTool tool() const { return m_tool; }
    void setTool(CaptureTool tool);
    // What picking a tool does: commits pending text, selects nothing, sets
    // the tool, and forgets detected words unless the tool hides them.
    void chooseTool(CaptureTool tool);
    // A magnifier whose lens is not placed yet; not part of `annotations`.
    const std::optional<CaptureAnnotation> &pendingMagnifier() const { return m_pendingMagnifier; }
    QColor color() const { return m_color; }
    void setColor(const QColor &color);
    QString text() const { return m_text; }
    void setText(const QString &text);
    const CaptureStyle &style() const { return m_style; }
    void setStyle(const CaptureStyle &style);
    const CaptureComposition &composition() const { return m_composition; }
    void setComposition(const CaptureComposition &composition);
    bool legendEnabled() const { return m_legendEnabled; }
    void setLegendEnabled(bool enabled);
    // In stacking order: later marks are drawn above earlier ones.
    const QList<CaptureAnnotation> &annotations() const { return m_annotations; }
    QRectF cropRect() const { return m_cropRect; }
    bool canUndo() const { return !m_history.isEmpty(); }
    // Undone steps that redo() can apply again; any new change clears them.
    bool canRedo() const { return !m_redo.isEmpty(); }
    // Undo steps recorded plus undos performed: a cheap change signature.
    quint64 revision() const { return m_revision; }
    QUuid selectedID() const { return m_selectedID; }
    const QList<QRectF> &detectedTextRects() const { return m_detectedTextRects; }

    std::optional<CaptureAnnotation> selectedAnnotation() const;
    // One entry per number marker, in stacking order.
    QList<CaptureLegendEntry> legendEntries() const;

    // Installed by the canvas while text is being typed; run before anything
    // that must see the finished text.
    void setPendingTextCommit(std::function<void()> commit) { m_pendingTextCommit = std::move(commit); }
    void commitPendingText();

    // A new mark of the current tool, colour, text, style and marker number,
    // its points held inside the crop. Changes nothing.
    CaptureAnnotation annotation(QPointF start, QPointF end) const;
    QPointF clampedPoint(QPointF point) const;

    // Mouse-up of a drag or click with the current tool.
    void finishGesture(QPointF start, QPointF end);
    void finishStroke(const QList<QPointF> &points);
    // The magnifier in two steps: the source area, then the lens.
    void beginMagnifier(QPointF start, QPointF end);
    void finishMagnifier(QPointF start, QPointF end);
    // The lens a drag from `start` to `end` places for the pending magnifier:
    // its source's aspect, at least 2 × 2. None without a pending magnifier.
    std::optional<QRectF> lensRect(QPointF start, QPointF end) const;
    // Drops a pending magnifier (Escape, disabled input). Records nothing.
    void cancelMagnifier() { setPendingMagnifier(std::nullopt); }
    // Stores an edited copy of a mark (moved, resized, curved).
    void replaceGeometry(const CaptureAnnotation &annotation);
    // Selecting shows the mark's style, colour and text without recording or
    // storing anything.
    void select(const QUuid &id);
    // The topmost mark at `point`; secure marks win over everything else.
    QUuid hitTest(QPointF point) const;
    void deleteSelected();
    void updateSelectedText(const QString &text);
    void setLegendText(const QUuid &id, const QString &text);
    // Words found by text recognition, highlighted so a click hides them.
    void setDetectedTextRects(const QList<QRectF> &rects);
    // Numbers the markers from `first` on; returns the next free number.
    qint64 renumberMarkers(qint64 first);
    void undo();
    // Re-applies the last undone step (one undo step and one revision).
    void redo();

    // An independent copy with no history, selection or detected text.
    std::unique_ptr<CaptureDocument> snapshot();
    // The finished image with its frame and legend. Throws CaptureRenderFailure.
    QImage flattenedImage();
    // The cropped, annotated image alone. Throws CaptureRenderFailure.
    QImage contentImage();

signals:
    void toolChanged();
    void pendingMagnifierChanged();
    void colorChanged();
    void textChanged();
    void styleChanged();
    void compositionChanged();
    void legendEnabledChanged();
    void annotationsChanged();
    void cropRectChanged();
    void canUndoChanged();
    void canRedoChanged();
    void revisionChanged();
    void selectedIDChanged();
    void detectedTextRectsChanged();
    // Any change of the document, legend descriptions included.
    void changed();

private:
    // Undo steps share the copies of marks that did not change between them.
    using SharedAnnotations = QList<std::shared_ptr<const CaptureAnnotation>>;

    struct State {
        SharedAnnotations annotations;
        QRectF crop;
        qint64 nextNumber = 1;
        CaptureComposition composition;
        bool legendEnabled = false;
        QHash<QUuid, QString> descriptions;
    };

    void saveUndo(std::optional<CaptureComposition> composition = std::nullopt,
                  std::optional<bool> legendEnabled = std::nullopt);
    void bumpRevision();
    void styleOrColorDidChange();
    void applySelectedStyle();
    void finishCrop(const CaptureAnnotation &crop);
    bool isValidMark(const CaptureAnnotation &annotation) const;
    void shareSpotlightOpacity(double opacity);
    void appendAnnotation(const CaptureAnnotation &annotation);
    void setAnnotations(QList<CaptureAnnotation> annotations);
    void setCropRect(const QRectF &crop);
    void setPendingMagnifier(std::optional<CaptureAnnotation> magnifier);
    qsizetype indexOf(const QUuid &id) const;
    bool hits(const CaptureAnnotation &annotation, QPointF point) const;
    QRectF markBounds(const CaptureAnnotation &annotation) const;
    SharedAnnotations sharedAnnotations() const;
    void restore(const State &state);
    State currentState() const;
    void clearRedo();

    QImage m_image;
    UserDefaults *m_annotationDefaults = nullptr;
    CaptureTool m_tool = CaptureTool::arrow;
    std::optional<CaptureAnnotation> m_pendingMagnifier;
    QColor m_color = CaptureAnnotation::systemRed();
    QString m_text = QStringLiteral("Text");
    CaptureStyle m_style;
    CaptureComposition m_composition;
    bool m_legendEnabled = false;
    QList<CaptureAnnotation> m_annotations;
    QRectF m_cropRect;
    quint64 m_revision = 0;
    QUuid m_selectedID;
    QList<QRectF> m_detectedTextRects;
    QHash<QUuid, QString> m_legendDescriptions;
    std::function<void()> m_pendingTextCommit;
    bool m_restoring = false;
    qint64 m_nextNumber = 1;
    QList<State> m_history;
    QList<State> m_redo;

    // Measuring text is slow and hit tests run on every mouse move: text bounds
    // are kept per mark, relative to its origin, while its text and style stay.
    struct MeasuredText {
        QString text;
        CaptureStyle style;
        QRectF bounds;
    };
    mutable QHash<QUuid, MeasuredText> m_measuredText;
};
