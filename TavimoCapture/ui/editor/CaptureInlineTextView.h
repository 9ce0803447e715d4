#pragma once

#include <QPlainTextEdit>

#include <functional>

// The small plain-text editor placed over the canvas while a text mark is
// typed. Enter commits, Shift+Enter adds a line, Escape cancels.
class CaptureInlineTextView : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit CaptureInlineTextView(QWidget *parent = nullptr);

    std::function<void()> onCommit;
    std::function<void()> onCancel;

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
