#pragma once

#include "RawEnum.h"

enum class CaptureArrowDash { solid, dashed, dotted };

template <> struct RawEnum<CaptureArrowDash> {
    static constexpr std::array cases{CaptureArrowDash::solid, CaptureArrowDash::dashed, CaptureArrowDash::dotted};
    static constexpr std::array<const char *, 3> rawValues{"solid", "dashed", "dotted"};
};
