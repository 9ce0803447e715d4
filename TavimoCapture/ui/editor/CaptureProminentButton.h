#pragma once

#include <QToolButton>

// The window's main command: filled with the highlight colour while enabled,
// a plain tool button while not. Colours come from the palette at each paint,
// so the button follows an appearance change at once.
class CaptureProminentButton : public QToolButton {
    Q_OBJECT

public:
    using QToolButton::QToolButton;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
};
