#pragma once

#include "CaptureAnnotation.h"
#include "CaptureComposition.h"
#include "CaptureCompositionLayout.h"
#include "CaptureFrameCache.h"
#include "CaptureLayoutCache.h"
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
#include "CaptureGesture.h"
#include "CaptureInlineTextEditing.h"
#include "CaptureInlineTextView.h"

// The editor's drawing surface shows the document framed by its
// composition and turns mouse and key events into image points for its
// CaptureGesture, which holds the drag in progress; the document changes only
// when a gesture ends.
//
// While the canvas has focus, a single letter picks a tool (the tool table's
// keys), and Ctrl+Z / Ctrl+Shift+Z / Ctrl+Y undo and redo in the document
// unless a window action takes those keys first.
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
    CaptureInlineTextView *textEditor() const { return m_textEditing.editor(); }
    std::optional<QRectF> hoveredText() const { return m_hoveredText; }
    // The composition shown while the legend is resized.
    const std::optional<CaptureComposition> &legendPreview() const { return m_gesture.legendPreview(); }

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
    void press(QPointF viewPoint, int clickCount);
    void watchDocument();
    void updateHover(QPointF viewPoint);
    void updateCursor(QPointF viewPoint);
    QList<CaptureAnnotation> marksToShow() const;
    CaptureFrameScene frameScene() const;
    void drawOverlays(QPainter &painter) const;

    QPointer<CaptureDocument> m_document;
    bool m_inputEnabled = true;
    CaptureGesture m_gesture;
    std::optional<QRectF> m_hoveredText;
    CaptureInlineTextEditing m_textEditing;

    bool m_caching = true;
    CaptureFrameCache m_frames;
    mutable CaptureLayoutCache m_layouts;
};
