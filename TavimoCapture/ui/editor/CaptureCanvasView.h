#pragma once

#include "CaptureAnnotation.h"
#include "CaptureComposition.h"
#include "CaptureCompositionLayout.h"
#include "CaptureFrameCache.h"
#include "CaptureTool.h"

#include <QImage>
#include <QList>
#include <QPointF>
#include <QPointer>
#include <QRectF>
#include <QUuid>
#include <QWidget>

#include <optional>

#include "CaptureDocument.h"
#include "CaptureInlineTextView.h"

// The editor's drawing surface shows the document framed by its
// composition and turns mouse and key events into calls on the document. All
// gesture state lives here; the document changes only when a gesture ends.
//
// Beyond the Part: while the canvas has focus, a single letter picks a tool
// (toolForKey), and Ctrl+Z / Ctrl+Shift+Z / Ctrl+Y undo and redo in the
// document unless a window action takes those keys first.
class CaptureCanvasView : public QWidget {
    Q_OBJECT

public:
    explicit CaptureCanvasView(CaptureDocument *document, QWidget *parent = nullptr);
    ~CaptureCanvasView() override;

    CaptureDocument *document() const { return m_document; }
    // Commits open text on the old document, then shows `document`.
    void setDocument(CaptureDocument *document);
    bool inputEnabled() const { return m_inputEnabled; }
    void setInputEnabled(bool enabled);

    // Geometry, recomputed from the document on every call.
    CaptureCompositionLayout compositionLayout() const;
    QRectF outputRect() const;
    double viewScale() const;
    QRectF imageRect() const;
    QPointF imagePoint(QPointF viewPoint, bool clamped) const;
    QPointF viewPoint(QPointF imagePoint) const;
    QRectF legendDivider() const;

    // Commits the open text editor (also the document's pendingTextCommit).
    void commitText();
    CaptureInlineTextView *textEditor() const { return m_editor; }
    std::optional<QRectF> hoveredText() const { return m_hoveredText; }
    // The composition shown while the legend is resized.
    const std::optional<CaptureComposition> &legendPreview() const { return m_legendPreview; }

    // The tool a single key picks: V A R O P M T N X S B G C; none for others.
    static std::optional<CaptureTool> toolForKey(int key);
    static QString keyForTool(CaptureTool tool);

    // Keeps the drawn composition between frames and repaints only what
    // changed (on by default); off, every frame is drawn from scratch and the
    // kept frame waits for caching to come back on.
    void setCaching(bool caching);
    bool caching() const { return m_caching; }

signals:
    void inputEnabledChanged(bool enabled);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    enum class HandleKind { sourceCorner, destinationCorner, start, end, control, move, destination };
    struct Handle {
        HandleKind kind = HandleKind::move;
        int index = 0;
    };
    struct LegendDrag {
        QPointF point;
        double scale = 1;
        double dimension = 0;
    };

    void press(QMouseEvent *event, int clickCount);
    void drag(QPointF viewPoint, Qt::KeyboardModifiers modifiers);
    void endGesture();
    void watchDocument();
    QList<std::pair<Handle, QPointF>> handles(const CaptureAnnotation &annotation) const;
    void applyHandle(CaptureAnnotation &annotation, QPointF q) const;
    void openEditor(QPointF origin, const QUuid &id);
    void closeEditor();
    void styleEditor();
    void positionEditor();
    void updateHover(QPointF viewPoint);
    void updateCursor(QPointF viewPoint);
    QList<CaptureAnnotation> marksToShow() const;
    std::optional<QRectF> liveDestination() const;
    CaptureFrameScene frameScene() const;
    void drawOverlays(QPainter &painter) const;

    QPointer<CaptureDocument> m_document;
    bool m_inputEnabled = true;
    std::optional<LegendDrag> m_legendDrag;
    std::optional<CaptureComposition> m_legendPreview;
    QList<QPointF> m_strokePoints;
    std::optional<QPointF> m_start;
    std::optional<QPointF> m_end;
    std::optional<CaptureAnnotation> m_geometryOriginal;
    std::optional<CaptureAnnotation> m_geometryPreview;
    std::optional<Handle> m_activeHandle;
    std::optional<QRectF> m_hoveredText;
    QPointer<CaptureInlineTextView> m_editor;
    QUuid m_editingID;
    std::optional<QPointF> m_editingOrigin;

    bool m_caching = true;
    CaptureFrameCache m_frames;
};
