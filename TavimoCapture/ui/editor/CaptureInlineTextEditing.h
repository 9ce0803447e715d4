#pragma once

#include "CaptureGesture.h"

#include <QPointF>
#include <QPointer>
#include <QUuid>

#include <optional>

class CaptureCanvasView;
class CaptureInlineTextView;

// The text editor over the canvas while a text mark is typed: it opens on a
// new or an existing text, sits at the mark's origin in the document's text
// style, grows with its text, and hands the text to the document on commit.
class CaptureInlineTextEditing {
public:
    explicit CaptureInlineTextEditing(CaptureCanvasView &canvas);
    ~CaptureInlineTextEditing();
    CaptureInlineTextEditing(const CaptureInlineTextEditing &) = delete;
    CaptureInlineTextEditing &operator=(const CaptureInlineTextEditing &) = delete;

    CaptureInlineTextView *editor() const { return m_editor; }
    // The text mark under the editor, which the canvas does not draw; null for
    // a new text or when no editor is open.
    QUuid editingID() const { return m_editor ? m_editingID : QUuid(); }

    void open(const CaptureGesture::TextEdit &edit);
    // Closes the editor, dropping what was typed.
    void close();
    // Closes the editor and stores what was typed.
    void commit();
    void setReadOnly(bool readOnly);
    // Follows the document's text style and the canvas geometry.
    void refresh();

private:
    void style();
    void position();

    CaptureCanvasView &m_canvas;
    QPointer<CaptureInlineTextView> m_editor;
    QUuid m_editingID;
    std::optional<QPointF> m_origin;
};
