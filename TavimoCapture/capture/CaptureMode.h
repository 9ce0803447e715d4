#pragma once

#include <QString>
#include <QtGlobal>

#include <array>
#include <optional>

// What a capture takes. The raw value is also the mode's hot-key identifier
// and its menu-item tag.
enum class CaptureMode : quint32 {
    area = 1,
    ocr = 2,
    screen = 3,
    allDisplays = 4,
};

inline constexpr std::array allCaptureModes{CaptureMode::area, CaptureMode::ocr, CaptureMode::screen,
                                            CaptureMode::allDisplays};

// 1 to 4; anything else is no mode.
std::optional<CaptureMode> captureModeFromRaw(quint32 raw);
// The native text of the mode's global hot key ("Ctrl+Shift+2"); empty for
// all displays, which has none.
QString shortcutLabel(CaptureMode mode);
// Menus and warnings: "Capture area or window", "Copy text from area", ...
QString captureModeTitle(CaptureMode mode);
// The user chooses a region (and may cancel) in these modes.
bool isInteractive(CaptureMode mode);
