#include "CaptureTool.h"

bool isSecureTool(CaptureTool tool)
{
    return tool == CaptureTool::redact || tool == CaptureTool::pixelate;
}

bool isEffectTool(CaptureTool tool)
{
    return tool == CaptureTool::blur || tool == CaptureTool::imagePixelate;
}
