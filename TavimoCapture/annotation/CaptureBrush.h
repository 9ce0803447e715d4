#pragma once

#include "RawEnum.h"

enum class CaptureBrush { pen, highlighter };

template <> struct RawEnum<CaptureBrush> {
    static constexpr std::array cases{CaptureBrush::pen, CaptureBrush::highlighter};
    static constexpr std::array<const char *, 2> rawValues{"pen", "highlighter"};
};
