#pragma once

#include <QString>
#include <QWidget>

// The control a user would recognise by its text or, for icon buttons, its accessible name.
template <typename Control> Control *find(const QWidget &root, const QString &text)
{
    for (Control *control : root.findChildren<Control *>()) {
        if (control->text() == text || control->accessibleName() == text)
            return control;
    }
    return nullptr;
}
