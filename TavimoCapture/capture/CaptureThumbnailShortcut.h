#pragma once

#include "RawEnum.h"

#include <QKeyCombination>
#include <QString>

#include <optional>

// The key that opens the visible thumbnail in the editor.
enum class CaptureThumbnailShortcut { off, e, optionE };

template <> struct RawEnum<CaptureThumbnailShortcut> {
    static constexpr std::array cases{CaptureThumbnailShortcut::off, CaptureThumbnailShortcut::e,
                                      CaptureThumbnailShortcut::optionE};
    static constexpr std::array<const char *, 3> rawValues{"off", "e", "optionE"};
};

// A stored raw value; anything unknown (also "E") means `optionE`.
CaptureThumbnailShortcut captureThumbnailShortcutFromStored(const QString &raw);
// "Off", "E", "Alt+E".
QString settingsLabel(CaptureThumbnailShortcut shortcut);
// E or Alt+E; none for `off`.
std::optional<QKeyCombination> thumbnailHotKey(CaptureThumbnailShortcut shortcut);
