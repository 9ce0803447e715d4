#include "CaptureToolRanges.h"

#include <algorithm>
#include <cmath>

double CaptureValueRange::clamped(double value, double fallback) const
{
    return std::isfinite(value) ? std::clamp(value, low, high) : fallback;
}

CaptureValueRange CaptureToolRanges::lineWidth(CaptureTool tool)
{
    return tool == CaptureTool::magnifier ? CaptureValueRange{1, 20} : storedLineWidth;
}

CaptureValueRange CaptureToolRanges::pixelSize(CaptureTool tool)
{
    return tool == CaptureTool::pixelate ? CaptureValueRange{4, 48} : storedPixelSize;
}

CaptureValueRange CaptureToolRanges::fontSize(CaptureTool tool)
{
    return tool == CaptureTool::number ? CaptureValueRange{12, 96} : CaptureValueRange{10, 120};
}
