#pragma once

#include "RawEnum.h"

enum class CaptureShapeMode { outline, fill, spotlight };

template <> struct RawEnum<CaptureShapeMode> {
    static constexpr std::array cases{CaptureShapeMode::outline, CaptureShapeMode::fill, CaptureShapeMode::spotlight};
    static constexpr std::array<const char *, 3> rawValues{"outline", "fill", "spotlight"};
};
