#include "TavimoEvent.h"

QString rawValue(TavimoEvent event)
{
    switch (event) {
    case TavimoEvent::appOpened:
        return QStringLiteral("app.opened");
    case TavimoEvent::captureArea:
        return QStringLiteral("capture.area");
    case TavimoEvent::captureScreen:
        return QStringLiteral("capture.screen");
    case TavimoEvent::captureOCR:
        return QStringLiteral("capture.ocr");
    case TavimoEvent::captureEditor:
        return QStringLiteral("capture.editor");
    case TavimoEvent::captureExport:
        return QStringLiteral("capture.export");
    case TavimoEvent::updateFound:
        return QStringLiteral("update.found");
    case TavimoEvent::updateDownloaded:
        return QStringLiteral("update.downloaded");
    case TavimoEvent::updateInstalled:
        return QStringLiteral("update.installed");
    case TavimoEvent::updateFailed:
        return QStringLiteral("update.failed");
    case TavimoEvent::appUncleanExit:
        return QStringLiteral("app.uncleanexit");
    }
    return QString();
}

std::optional<TavimoEvent> tavimoEventFromRawValue(const QString &raw)
{
    for (const TavimoEvent event : allTavimoEvents) {
        if (rawValue(event) == raw)
            return event;
    }
    return std::nullopt;
}
