#pragma once

#include "CaptureDocument.h"

// Places `count` number markers in a row with the number tool.
inline void addMarkers(CaptureDocument &document, int count)
{
    document.setTool(CaptureTool::number);
    for (int marker = 0; marker < count; ++marker)
        document.finishGesture(QPointF(20 + 30 * marker, 20), QPointF(20 + 30 * marker, 20));
}

// The numbers the markers show, in stacking order.
inline QList<qint64> markerNumbers(const CaptureDocument &document)
{
    QList<qint64> numbers;
    for (const CaptureLegendEntry &entry : document.legendEntries())
        numbers.append(entry.number);
    return numbers;
}
