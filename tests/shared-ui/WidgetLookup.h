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

// Whether a user would know `control` by `text`: its label, accessible name or object name.
template <typename Control> bool names(const Control &control, const QString &text)
{
    if constexpr (requires { control.text(); })
        if (control.text() == text)
            return true;
    return control.objectName() == text || control.accessibleName() == text;
}

template <typename Control> Control *find(const QWidget &root, const QString &text)
{
    for (Control *control : root.findChildren<Control *>())
        if (names(*control, text))
            return control;
    return nullptr;
}

// Controls of a rebuilt panel stay hidden until they are deleted.
template <typename Control> Control *visible(const QWidget &root, const QString &text)
{
    for (Control *control : root.findChildren<Control *>())
        if (names(*control, text) && control->isVisible())
            return control;
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
