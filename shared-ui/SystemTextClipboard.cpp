#include "SystemTextClipboard.h"

#include <QClipboard>
#include <QGuiApplication>

void SystemTextClipboard::setText(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
}
