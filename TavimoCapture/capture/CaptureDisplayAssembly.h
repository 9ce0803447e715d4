#pragma once

#include "CaptureDisplayImage.h"

#include <QList>

// How the displays of an all-displays capture are sized on a board: every
// display at the pixel density of the densest one.
namespace CaptureDisplayAssembly {

// The largest pixels-per-point ratio over the displays; 1 when there are none.
double scale(const QList<CaptureDisplayImage> &displays);

// Each display's logical size times `scale`, in display order.
QList<QSizeF> boardSizes(const QList<CaptureDisplayImage> &displays);

} // namespace CaptureDisplayAssembly
