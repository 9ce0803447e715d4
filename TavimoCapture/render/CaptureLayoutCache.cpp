#include "CaptureLayoutCache.h"

#include "CaptureRenderer.h"
#include "ExactGeometry.h"

using ExactGeometry::same;

const CaptureCompositionLayout &CaptureLayoutCache::layout(const QRectF &crop,
                                                           const QList<CaptureAnnotation> &annotations,
                                                           const CaptureComposition &composition,
                                                           const QList<CaptureLegendEntry> &legend)
{
    const QRectF extent = CaptureRenderer::contentExtent(crop, annotations);
    if (m_layout && same(crop, m_crop) && same(extent, m_extent) && composition == m_composition && legend == m_legend)
        return *m_layout;
    CaptureCompositionLayout laidOut = CaptureRenderer::baseLayout(extent, composition, legend);
    laidOut.imageRect = QRectF(laidOut.imageRect.topLeft() + (crop.topLeft() - extent.topLeft()), crop.size());
    m_crop = crop;
    m_extent = extent;
    m_composition = composition;
    m_legend = legend;
    m_layout = laidOut;
    return *m_layout;
}
