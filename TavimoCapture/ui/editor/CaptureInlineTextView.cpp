#include "CaptureInlineTextView.h"

#include <QKeyEvent>

CaptureInlineTextView::CaptureInlineTextView(QWidget *parent) : QPlainTextEdit(parent)
{
    setAccessibleName(tr("Annotation text"));
    setAccessibleDescription(tr("Enter commits. Shift-Enter adds a line. Escape cancels."));
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::NoFrame);
    document()->setDocumentMargin(4);
    setTabChangesFocus(false);
}

void CaptureInlineTextView::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (event->key() == Qt::Key_Escape) {
        if (auto cancel = onCancel)
            cancel();
        return;
    }
    if (enter && !(event->modifiers() & Qt::ShiftModifier)) {
        if (auto commit = onCommit)
            commit();
        return;
    }
    if (enter) {
        if (!isReadOnly())
            insertPlainText(QStringLiteral("\n"));
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}
