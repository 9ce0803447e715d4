#include "CaptureGesture.h"

#include <algorithm>
#include <cmath>

namespace {

// A press this close to a handle (in view points) grabs it.
constexpr double handleReach = 9;
// A redaction click moves less than this (in view points) and hides a whole word.
constexpr double clickSlop = 4;
// Freehand samples are thinned to every second one beyond this many.
constexpr qsizetype maximumStrokePoints = 4096;

bool isRedaction(CaptureTool tool)
{
    return tool == CaptureTool::redact || tool == CaptureTool::pixelate;
}

double distance(QPointF a, QPointF b)
{
    return std::hypot(a.x() - b.x(), a.y() - b.y());
}

// `start` moved toward `point` by the shorter of the two distances on both axes.
QPointF squareCorner(QPointF start, QPointF point)
{
    const double side = std::min(std::abs(point.x() - start.x()), std::abs(point.y() - start.y()));
    return QPointF(start.x() + (point.x() >= start.x() ? side : -side),
                   start.y() + (point.y() >= start.y() ? side : -side));
}

} // namespace

CaptureGesture::CaptureGesture(CaptureDocument *document) : m_document(document)
{
}

void CaptureGesture::setDocument(CaptureDocument *document)
{
    clear();
    m_document = document;
}

std::optional<CaptureGesture::TextEdit> CaptureGesture::press(QPointF point, bool onImage, int clickCount, double scale)
{
    if (!m_document)
        return std::nullopt;
    CaptureDocument &document = *m_document;
    // The select tool reaches marks beyond the crop, a lens may go anywhere.
    const bool unrestricted = document.tool() == CaptureTool::select || document.pendingMagnifier().has_value();
    if (!onImage && !unrestricted) {
        document.select(QUuid());
        return std::nullopt;
    }
    const QPointF q = unrestricted ? point : document.clampedPoint(point);
    switch (document.tool()) {
    case CaptureTool::text:
        return pressText(q);
    case CaptureTool::select:
        return pressSelect(q, clickCount, scale);
    default:
        document.select(QUuid());
        m_start = m_end = q;
        m_strokePoints = {q};
        return std::nullopt;
    }
}

std::optional<CaptureGesture::TextEdit> CaptureGesture::pressText(QPointF point)
{
    CaptureDocument &document = *m_document;
    const QUuid hit = document.hitTest(point);
    const auto mark = std::find_if(document.annotations().cbegin(), document.annotations().cend(),
                                   [&](const CaptureAnnotation &a) { return a.id == hit; });
    if (!hit.isNull() && mark != document.annotations().cend() && mark->tool == CaptureTool::text) {
        document.select(hit);
        return TextEdit{mark->start, hit};
    }
    document.select(QUuid());
    return TextEdit{point, QUuid()};
}

// Grabs a handle of the selected mark, else selects the mark under the point
// and moves it; a double click on a text mark edits its text.
std::optional<CaptureGesture::TextEdit> CaptureGesture::pressSelect(QPointF point, int clickCount, double scale)
{
    CaptureDocument &document = *m_document;
    if (const std::optional<CaptureAnnotation> selected = document.selectedAnnotation()) {
        for (const auto &[handle, at] : CaptureHandle::handles(*selected)) {
            if (distance(at, point) < handleReach / scale) {
                grab(*selected, handle, point);
                return std::nullopt;
            }
        }
    }
    document.select(document.hitTest(point));
    const std::optional<CaptureAnnotation> selected = document.selectedAnnotation();
    if (!selected)
        return std::nullopt;
    if (selected->tool == CaptureTool::text && clickCount > 1)
        return TextEdit{selected->start, selected->id};
    const bool onLens =
        selected->tool == CaptureTool::magnifier && selected->destination && selected->destination->contains(point);
    grab(*selected, CaptureHandle{onLens ? CaptureHandle::Kind::destination : CaptureHandle::Kind::move, 0}, point);
    return std::nullopt;
}

void CaptureGesture::grab(const CaptureAnnotation &annotation, CaptureHandle handle, QPointF point)
{
    m_activeHandle = handle;
    m_geometryOriginal = m_geometryPreview = annotation;
    m_start = point;
}

std::optional<CaptureGesture::TextEdit> CaptureGesture::textToEdit() const
{
    if (!m_document)
        return std::nullopt;
    const std::optional<CaptureAnnotation> selected = m_document->selectedAnnotation();
    if (!selected || selected->tool != CaptureTool::text)
        return std::nullopt;
    return TextEdit{selected->start, selected->id};
}

void CaptureGesture::drag(QPointF point, Qt::KeyboardModifiers modifiers)
{
    if (!m_start || !m_document)
        return;
    const CaptureDocument &document = *m_document;
    const bool unrestricted =
        (m_activeHandle && m_activeHandle->reachesOutsideImage()) || document.pendingMagnifier().has_value();
    const QPointF q = unrestricted ? point : document.clampedPoint(point);
    if (m_geometryOriginal && m_activeHandle) {
        m_geometryPreview = m_activeHandle->dragged(*m_geometryOriginal, *m_start, q, document);
        return;
    }
    const CaptureTool tool = document.tool();
    const bool square =
        (modifiers & Qt::ShiftModifier) && (tool == CaptureTool::rectangle || tool == CaptureTool::oval);
    m_end = square ? squareCorner(*m_start, q) : q;
    if (tool == CaptureTool::freehand)
        sample(q);
}

// Samples closer than a pixel add nothing; long strokes keep every second one.
void CaptureGesture::sample(QPointF point)
{
    if (!m_strokePoints.isEmpty() && distance(m_strokePoints.last(), point) < 1)
        return;
    if (m_strokePoints.size() >= maximumStrokePoints) {
        QList<QPointF> thinned;
        thinned.reserve(m_strokePoints.size() / 2 + 1);
        for (qsizetype i = 0; i < m_strokePoints.size(); i += 2)
            thinned.append(m_strokePoints[i]);
        m_strokePoints = thinned;
    }
    m_strokePoints.append(point);
}

void CaptureGesture::release(QPointF point, Qt::KeyboardModifiers modifiers, double scale)
{
    if (!m_start || !m_document)
        return;
    drag(point, modifiers);
    if (m_geometryOriginal) {
        const std::optional<CaptureAnnotation> preview = m_geometryPreview;
        clear();
        if (preview)
            m_document->replaceGeometry(*preview);
        return;
    }
    const QPointF start = *m_start;
    const QPointF last = m_end.value_or(m_document->clampedPoint(point));
    const QList<QPointF> stroke = m_strokePoints;
    clear();
    finishMark(start, last, stroke, scale);
}

void CaptureGesture::finishMark(QPointF start, QPointF end, const QList<QPointF> &stroke, double scale)
{
    CaptureDocument &document = *m_document;
    switch (document.tool()) {
    case CaptureTool::magnifier:
        if (document.pendingMagnifier())
            document.finishMagnifier(start, end);
        else
            document.beginMagnifier(start, end);
        return;
    case CaptureTool::freehand:
        document.finishStroke(stroke);
        return;
    case CaptureTool::redact:
    case CaptureTool::pixelate:
        // A click hides exactly the highlighted word under it.
        if (distance(start, end) * scale < clickSlop) {
            const QList<QRectF> &words = document.detectedTextRects();
            const auto word =
                std::find_if(words.cbegin(), words.cend(), [&](const QRectF &r) { return r.contains(end); });
            if (word != words.cend()) {
                document.finishGesture(word->topLeft(), word->bottomRight());
                return;
            }
        }
        document.finishGesture(start, end);
        return;
    default:
        document.finishGesture(start, end);
        return;
    }
}

void CaptureGesture::pressLegend(QPointF viewPoint, double scale, QSizeF legendSize)
{
    if (!m_document)
        return;
    const bool bottom = m_document->composition().legend.placement == CaptureLegendPlacement::bottom;
    m_legendDrag = LegendDrag{viewPoint, scale, bottom ? legendSize.height() : legendSize.width()};
    m_legendPreview = m_document->composition();
}

void CaptureGesture::dragLegend(QPointF p)
{
    if (!m_legendDrag || !m_document)
        return;
    const QPointF pressed = m_legendDrag->point;
    const CaptureLegendPlacement placement = m_document->composition().legend.placement;
    const double delta = placement == CaptureLegendPlacement::bottom  ? p.y() - pressed.y()
                         : placement == CaptureLegendPlacement::right ? p.x() - pressed.x()
                                                                      : pressed.x() - p.x();
    double dimension = m_legendDrag->dimension + delta / m_legendDrag->scale;
    dimension = std::isfinite(dimension) ? std::clamp(dimension, 80.0, 4096.0) : 320.0;
    CaptureComposition preview = m_document->composition();
    if (placement == CaptureLegendPlacement::bottom)
        preview.legend.height = dimension;
    else
        preview.legend.width = dimension;
    preview.legend.fitToContent = false;
    m_legendPreview = preview;
}

void CaptureGesture::releaseLegend()
{
    const std::optional<CaptureComposition> preview = m_legendPreview;
    clear();
    if (preview && m_document)
        m_document->setComposition(*preview);
}

void CaptureGesture::cancel()
{
    abandon();
    if (m_document)
        m_document->select(QUuid());
}

void CaptureGesture::abandon()
{
    clear();
    if (m_document)
        m_document->cancelMagnifier();
}

void CaptureGesture::clear()
{
    m_strokePoints.clear();
    m_legendDrag.reset();
    m_legendPreview.reset();
    m_start.reset();
    m_end.reset();
    m_geometryOriginal.reset();
    m_geometryPreview.reset();
    m_activeHandle.reset();
}

void CaptureGesture::commitText(CaptureDocument &document, const QString &text, const QUuid &id, QPointF origin)
{
    if (id.isNull()) {
        if (text.trimmed().isEmpty())
            return;
        const CaptureTool tool = document.tool();
        document.setTool(CaptureTool::text);
        document.setText(text);
        document.finishGesture(origin, origin);
        document.setTool(tool);
        return;
    }
    document.select(id);
    if (text.trimmed().isEmpty())
        document.deleteSelected();
    else
        document.updateSelectedText(text);
}

std::optional<QRectF> CaptureGesture::wordAt(QPointF point) const
{
    if (!m_document || !isRedaction(m_document->tool()))
        return std::nullopt;
    const QPointF q = m_document->clampedPoint(point);
    const QList<QRectF> &words = m_document->detectedTextRects();
    const auto word = std::find_if(words.cbegin(), words.cend(), [&](const QRectF &r) { return r.contains(q); });
    return word != words.cend() ? std::optional<QRectF>(*word) : std::nullopt;
}

Qt::CursorShape CaptureGesture::cursor(bool onLegendDivider, bool onImage, bool inputEnabled) const
{
    if (!m_document)
        return Qt::ArrowCursor;
    if (inputEnabled && (onLegendDivider || m_legendDrag))
        return m_document->composition().legend.placement == CaptureLegendPlacement::bottom ? Qt::SizeVerCursor
                                                                                            : Qt::SizeHorCursor;
    if (!onImage || !inputEnabled)
        return Qt::ArrowCursor;
    switch (m_document->tool()) {
    case CaptureTool::select:
        return Qt::ArrowCursor;
    case CaptureTool::text:
        return Qt::IBeamCursor;
    default:
        return Qt::CrossCursor;
    }
}

std::optional<QRectF> CaptureGesture::liveDestination() const
{
    if (!m_document || !m_document->pendingMagnifier())
        return std::nullopt;
    if (const std::optional<QRectF> &placed = m_document->pendingMagnifier()->destination)
        return placed;
    if (!m_start || !m_end || m_geometryOriginal)
        return std::nullopt;
    return m_document->lensRect(*m_start, *m_end);
}
