#pragma once

#include <QKeySequence>
#include <QString>

// The desktop's own text for a key combination ("Ctrl+Shift+2", "Alt+E").
// Every shortcut label the app shows is made here.
QString nativeKeyText(const QKeySequence &keys);
