#include "CaptureSystemClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

bool CaptureSystemClipboard::setPng(const QByteArray &png)
{
    auto *data = new QMimeData;
    data->setData(QStringLiteral("image/png"), png);
    return offer(data);
}

bool CaptureSystemClipboard::setText(const QString &text)
{
    auto *data = new QMimeData;
    data->setText(text);
    return offer(data);
}

// The clipboard takes ownership of `data`; it still hands the same object back
// only while this application holds the clipboard.
bool CaptureSystemClipboard::offer(QMimeData *data)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->setMimeData(data);
    return clipboard->mimeData() == data;
}
