#pragma once

#include "RawEnum.h"

#include <QString>

// When the editor opens after a capture.
enum class CaptureEditorPolicy { always, thumbnailOnly, never };

template <> struct RawEnum<CaptureEditorPolicy> {
    static constexpr std::array cases{CaptureEditorPolicy::always, CaptureEditorPolicy::thumbnailOnly,
                                      CaptureEditorPolicy::never};
    static constexpr std::array<const char *, 3> rawValues{"always", "thumbnailOnly", "never"};
};

// A stored raw value; anything unknown means `thumbnailOnly`.
CaptureEditorPolicy captureEditorPolicyFromStored(const QString &raw);
// "Always", "From thumbnail", "Never".
QString settingsLabel(CaptureEditorPolicy policy);
