#pragma once

#include <QPushButton>

class QLabel;

// A row button: the command's title on the left, its key label (if any) on
// the right in a quieter colour. The title is also the accessible name.
// Flat, it is a plain sidebar row.
class CaptureCommandButton : public QPushButton {
    Q_OBJECT

public:
    CaptureCommandButton(const QString &title, const QString &keyLabel, QWidget *parent = nullptr);

    QString title() const;
    QString keyLabel() const;
    void setSymbol(const QIcon &icon);

    // Sized by its labels, not by the button's own (empty) text.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    // A flat row shows a rounded background only while hovered or focused,
    // in the current palette's colours.
    void paintEvent(QPaintEvent *event) override;

private:
    QLabel *m_symbol;
    QLabel *m_title;
    QLabel *m_keyLabel;
};
