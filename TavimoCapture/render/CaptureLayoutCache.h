#pragma once

#include "CaptureAnnotation.h"
#include "CaptureComposition.h"
#include "CaptureCompositionLayout.h"
#include "CaptureLegendEntry.h"

#include <QList>
#include <QRectF>

#include <optional>

// The layout of a composition with its crop at the top-left of the image
// area, kept while its inputs stay the same: measuring legend rows shapes
// their text, too slow to repeat for every frame and mouse move.
class CaptureLayoutCache {
public:
    const CaptureCompositionLayout &layout(const QRectF &crop, const QList<CaptureAnnotation> &annotations,
                                           const CaptureComposition &composition,
                                           const QList<CaptureLegendEntry> &legend);

private:
    QRectF m_crop;
    QRectF m_extent;
    CaptureComposition m_composition;
    QList<CaptureLegendEntry> m_legend;
    std::optional<CaptureCompositionLayout> m_layout;
};
