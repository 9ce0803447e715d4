#include "CaptureTool.h"

#include <QCoreApplication>

QString toolTitle(CaptureTool tool)
{
    switch (tool) {
    case CaptureTool::pixelate:
        return QCoreApplication::translate("CaptureTool", "Secure mosaic");
    case CaptureTool::imagePixelate:
        return QCoreApplication::translate("CaptureTool", "Pixelate");
    default:
        return capitalizedRawValue(tool);
    }
}

QString toolSymbol(CaptureTool tool)
{
    switch (tool) {
    case CaptureTool::select:
        return QStringLiteral("cursorarrow");
    case CaptureTool::arrow:
        return QStringLiteral("arrow.up.right");
    case CaptureTool::rectangle:
        return QStringLiteral("rectangle");
    case CaptureTool::oval:
        return QStringLiteral("oval");
    case CaptureTool::freehand:
        return QStringLiteral("pencil.tip");
    case CaptureTool::magnifier:
        return QStringLiteral("plus.magnifyingglass");
    case CaptureTool::text:
        return QStringLiteral("textformat");
    case CaptureTool::number:
        return QStringLiteral("1.circle");
    case CaptureTool::redact:
        return QStringLiteral("rectangle.fill");
    case CaptureTool::pixelate:
        return QStringLiteral("square.grid.3x3.fill");
    case CaptureTool::blur:
        return QStringLiteral("drop.halffull");
    case CaptureTool::imagePixelate:
        return QStringLiteral("square.grid.3x3");
    case CaptureTool::crop:
        return QStringLiteral("crop");
    }
    return {};
}

bool isSecureTool(CaptureTool tool)
{
    return tool == CaptureTool::redact || tool == CaptureTool::pixelate;
}

bool isEffectTool(CaptureTool tool)
{
    return tool == CaptureTool::blur || tool == CaptureTool::imagePixelate;
}
