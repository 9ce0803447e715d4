#pragma once

#include "RawEnum.h"

enum class CaptureNumberShape { circle, teardrop };

template <> struct RawEnum<CaptureNumberShape> {
    static constexpr std::array cases{CaptureNumberShape::circle, CaptureNumberShape::teardrop};
    static constexpr std::array<const char *, 2> rawValues{"circle", "teardrop"};
};
