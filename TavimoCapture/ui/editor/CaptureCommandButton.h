#pragma once

#include <QPushButton>

class QLabel;

// A flat row button: the command's title on the left, its key label (if any)
// on the right in a quieter colour.
class CaptureCommandButton : public QPushButton {
    Q_OBJECT

public:
    CaptureCommandButton(const QString &title, const QString &keyLabel, QWidget *parent = nullptr);

    QString keyLabel() const;

private:
    QLabel *m_keyLabel;
};
