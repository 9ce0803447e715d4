#pragma once

#include <QString>
#include <QStringList>

// A question the user answers with one of a few buttons, in the order shown.
struct CaptureAlert {
    QString message;
    QString informativeText;
    QStringList buttons;
    // The button Escape chooses.
    qsizetype cancelButton = -1;
};
