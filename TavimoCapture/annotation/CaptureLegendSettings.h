#pragma once

#include "CaptureLegendPlacement.h"

// Where the legend of numbered markers goes and how large it is.
struct CaptureLegendSettings {
    CaptureLegendPlacement placement = CaptureLegendPlacement::bottom;
    double height = 160;
    double width = 320;
    bool fitToContent = true;

    bool operator==(const CaptureLegendSettings &) const = default;
};
