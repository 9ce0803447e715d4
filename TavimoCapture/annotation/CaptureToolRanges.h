#pragma once

#include "CaptureTool.h"

// The range of a style value as one tool uses it. Every tool shares the
// document's style, but each draws and shows a value clamped into its own
// range: a 30-pixel highlighter leaves the next magnifier outline at 20.
// The inspector, the renderer and the stored defaults all read these.
struct CaptureValueRange {
    double low;
    double high;

    // `value` within the range; `fallback` when it is not a finite number.
    double clamped(double value, double fallback) const;
};

namespace CaptureToolRanges {

// Line width: a magnifier outline 1…20, every other stroke 1…80.
CaptureValueRange lineWidth(CaptureTool tool);
// Block size: the secure mosaic 4…48, the pixelation effect 2…128.
CaptureValueRange pixelSize(CaptureTool tool);
// Font size in the inspector: text 10…120, numbered markers 12…96.
CaptureValueRange fontSize(CaptureTool tool);
inline constexpr CaptureValueRange blurRadius{1, 80};
inline constexpr CaptureValueRange brushOpacity{5, 80};
inline constexpr CaptureValueRange spotlightOpacity{5, 95};

// What a stored style may hold: the widest range any tool offers.
inline constexpr CaptureValueRange storedLineWidth{1, 80};
inline constexpr CaptureValueRange storedPixelSize{2, 128};

} // namespace CaptureToolRanges
