#pragma once

#include "CaptureBackground.h"
#include "CaptureLegendSettings.h"

#include <QColor>

// The frame of the finished image. Sizes are image pixels.
struct CaptureComposition {
    static constexpr double maximumPadding = 1024;
    static constexpr double maximumCornerRadius = 512;
    static constexpr double maximumShadow = 256;
    static constexpr double maximumBorderWidth = 100;

    CaptureLegendSettings legend;
    CaptureBackground background = CaptureBackground::transparent;
    QColor backgroundColor = QColor::fromRgbF(0.92f, 0.89f, 0.85f, 1);
    QColor gradientColor = QColor::fromRgbF(0.68f, 0.78f, 0.92f, 1);
    double padding = 0;
    double cornerRadius = 0;
    double shadow = 0;
    double borderWidth = 0;
    QColor borderColor = QColor::fromRgbF(1, 1, 1, 1);

    bool operator==(const CaptureComposition &) const = default;
};
