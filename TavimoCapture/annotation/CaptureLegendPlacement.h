#pragma once

#include "RawEnum.h"

enum class CaptureLegendPlacement { bottom, right, left };

template <> struct RawEnum<CaptureLegendPlacement> {
    static constexpr std::array cases{CaptureLegendPlacement::bottom, CaptureLegendPlacement::right,
                                      CaptureLegendPlacement::left};
    static constexpr std::array<const char *, 3> rawValues{"bottom", "right", "left"};
};
