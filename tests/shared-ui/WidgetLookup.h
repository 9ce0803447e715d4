#pragma once

#include <QAbstractButton>
#include <QLabel>
#include <QWidget>

// Finds the control a user would recognise by its text.
template <typename Control = QAbstractButton> Control *controlTitled(const QWidget &root, const QString &text)
{
    for (Control *control : root.findChildren<Control *>()) {
        if (control->text() == text)
            return control;
    }
    return nullptr;
}

inline QLabel *labelContaining(const QWidget &root, const QString &text)
{
    for (QLabel *label : root.findChildren<QLabel *>()) {
        if (label->text().contains(text))
            return label;
    }
    return nullptr;
}
