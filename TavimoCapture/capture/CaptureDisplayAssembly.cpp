#include "CaptureDisplayAssembly.h"

#include <algorithm>

namespace CaptureDisplayAssembly {

double scale(const QList<CaptureDisplayImage> &displays)
{
    if (displays.isEmpty())
        return 1.0;
    double densest = 0.0;
    for (const CaptureDisplayImage &display : displays)
        densest = std::max(densest, display.pixelSize.width() / std::max(display.logicalSize.width(), 1.0));
    return densest;
}

QList<QSizeF> boardSizes(const QList<CaptureDisplayImage> &displays)
{
    const double factor = scale(displays);
    QList<QSizeF> sizes;
    sizes.reserve(displays.size());
    for (const CaptureDisplayImage &display : displays)
        sizes.append(display.logicalSize * factor);
    return sizes;
}

} // namespace CaptureDisplayAssembly
