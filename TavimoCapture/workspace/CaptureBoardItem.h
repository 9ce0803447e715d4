#pragma once

#include "CaptureDocument.h"

#include <QRectF>
#include <QUuid>

#include <memory>

// One image on a board: its document and where its content image is drawn,
// in board units (origin top-left, y downward). Copies share the document.
struct CaptureBoardItem {
    QUuid id;
    std::shared_ptr<CaptureDocument> document;
    QRectF frame;
};
