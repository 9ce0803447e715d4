#pragma once

#include "RawEnum.h"

enum class CaptureBackground { transparent, solid, gradient };

template <> struct RawEnum<CaptureBackground> {
    static constexpr std::array cases{CaptureBackground::transparent, CaptureBackground::solid,
                                      CaptureBackground::gradient};
    static constexpr std::array<const char *, 3> rawValues{"transparent", "solid", "gradient"};
};
