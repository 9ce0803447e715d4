#pragma once

#include "RawEnum.h"

// An editor tool: the tool that made an annotation, and the tool chosen in the
// editor. Cases are in tool-bar order; CaptureToolTable says what each one is.
enum class CaptureTool {
    select,
    arrow,
    rectangle,
    oval,
    freehand,
    magnifier,
    text,
    number,
    redact,
    pixelate,
    blur,
    imagePixelate,
    crop,
};

template <> struct RawEnum<CaptureTool> {
    static constexpr std::array cases{
        CaptureTool::select,   CaptureTool::arrow,     CaptureTool::rectangle, CaptureTool::oval,
        CaptureTool::freehand, CaptureTool::magnifier, CaptureTool::text,      CaptureTool::number,
        CaptureTool::redact,   CaptureTool::pixelate,  CaptureTool::blur,      CaptureTool::imagePixelate,
        CaptureTool::crop,
    };
    static constexpr std::array<const char *, 13> rawValues{
        "select", "arrow",  "rectangle", "oval", "freehand",      "magnifier", "text",
        "number", "redact", "pixelate",  "blur", "imagePixelate", "crop",
    };
};

// Redaction and the secure mosaic: marks that hide pixels for good.
bool isSecureTool(CaptureTool tool);
// Blur and pixelation: marks that filter the image beneath them.
bool isEffectTool(CaptureTool tool);
