#pragma once

#include "RawEnum.h"

enum class CaptureArrowHead { none, end, both };

template <> struct RawEnum<CaptureArrowHead> {
    static constexpr std::array cases{CaptureArrowHead::none, CaptureArrowHead::end, CaptureArrowHead::both};
    static constexpr std::array<const char *, 3> rawValues{"none", "end", "both"};
};
