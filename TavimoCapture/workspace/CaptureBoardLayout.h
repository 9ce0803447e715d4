#pragma once

#include "RawEnum.h"

// How a board arranges its images. `manual` keeps the frames the user gave.
enum class CaptureBoardLayout {
    alternating,
    row,
    column,
    grid,
    manual,
};

template <> struct RawEnum<CaptureBoardLayout> {
    static constexpr std::array cases{
        CaptureBoardLayout::alternating, CaptureBoardLayout::row,    CaptureBoardLayout::column,
        CaptureBoardLayout::grid,        CaptureBoardLayout::manual,
    };
    static constexpr std::array<const char *, 5> rawValues{"alternating", "row", "column", "grid", "manual"};
};
