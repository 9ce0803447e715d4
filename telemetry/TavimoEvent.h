#pragma once

#include <QString>

#include <array>
#include <optional>

// The usage events this app reports. The raw value is the event's name on the wire.
enum class TavimoEvent {
    appOpened,
    captureArea,
    captureScreen,
    captureOCR,
    captureEditor,
    captureExport,
    updateFound,
    updateDownloaded,
    updateInstalled,
    updateFailed,
    appUncleanExit,
};

inline constexpr std::array allTavimoEvents{
    TavimoEvent::appOpened,    TavimoEvent::captureArea,      TavimoEvent::captureScreen,
    TavimoEvent::captureOCR,   TavimoEvent::captureEditor,    TavimoEvent::captureExport,
    TavimoEvent::updateFound,  TavimoEvent::updateDownloaded, TavimoEvent::updateInstalled,
    TavimoEvent::updateFailed, TavimoEvent::appUncleanExit,
};

// "app.opened", "capture.area", ...
QString rawValue(TavimoEvent event);
// Case-sensitive; a name no event has gives none.
std::optional<TavimoEvent> tavimoEventFromRawValue(const QString &raw);
