#include "CaptureDocument.h"

#include "CaptureAnnotationDefaults.h"
#include "CaptureRenderer.h"
#include "ChangeNotification.h"

#include <QLineF>
#include <QPolygonF>
#include <QScopedValueRollback>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Pointer slack around marks when hit testing, and the room a magnifier lens
// keeps from its source area.
constexpr double hitSlack = 5;
constexpr double minimumArrowHitDistance = 8;
constexpr int arrowHitSegments = 32;
constexpr double lensGap = 24;
// Detected words are highlighted with a little room around them.
constexpr double detectedTextMargin = 3;

bool isFinite(QPointF point)
{
    return std::isfinite(point.x()) && std::isfinite(point.y());
}

bool isFinite(const QRectF &rect)
{
    return isFinite(rect.topLeft()) && std::isfinite(rect.width()) && std::isfinite(rect.height());
}

bool isSpotlight(const CaptureAnnotation &annotation)
{
    return (annotation.tool == CaptureTool::rectangle || annotation.tool == CaptureTool::oval) &&
           annotation.style.shapeMode == CaptureShapeMode::spotlight;
}

double clampedZoom(double zoom)
{
    return std::isfinite(zoom) ? std::clamp(zoom, 1.0, 8.0) : CaptureStyle().magnifierZoom;
}

// Whether a magnifier's source area still lies in the visible part of the image.
bool magnifierFits(const CaptureAnnotation &magnifier, const QRectF &crop)
{
    const QRectF source = magnifier.rect();
    return isFinite(source) && source.width() > 0 && source.height() > 0 && crop.contains(source);
}

bool identical(const CaptureAnnotation &a, const CaptureAnnotation &b)
{
    return a.id == b.id && a.drawsLike(b);
}

double segmentDistance(QPointF point, QPointF from, QPointF to)
{
    const QPointF direction = to - from;
    const double lengthSquared = QPointF::dotProduct(direction, direction);
    if (lengthSquared == 0)
        return QLineF(point, from).length();
    const double t = std::clamp(QPointF::dotProduct(point - from, direction) / lengthSquared, 0.0, 1.0);
    return QLineF(point, from + t * direction).length();
}

QPointF arrowPoint(const CaptureAnnotation &arrow, QPointF control, double t)
{
    if (!arrow.style.arrowCurved)
        return arrow.start + t * (arrow.end - arrow.start);
    return (1 - t) * (1 - t) * arrow.start + 2 * t * (1 - t) * control + t * t * arrow.end;
}

// Distance from `point` to the arrow's path, or infinity when the point is
// farther than `reach` from the hull of its defining points.
double arrowDistance(const CaptureAnnotation &arrow, QPointF point, double reach)
{
    const QPointF control = arrow.resolvedControl();
    const QRectF hull =
        arrow.style.arrowCurved ? QPolygonF({arrow.start, control, arrow.end}).boundingRect() : arrow.rect();
    if (!hull.adjusted(-reach, -reach, reach, reach).contains(point))
        return std::numeric_limits<double>::infinity();
    double nearest = std::numeric_limits<double>::infinity();
    QPointF previous = arrow.start;
    for (int step = 1; step <= arrowHitSegments; ++step) {
        const QPointF next = arrowPoint(arrow, control, double(step) / arrowHitSegments);
        nearest = std::min(nearest, segmentDistance(point, previous, next));
        previous = next;
    }
    return nearest;
}

// The smallest whole-pixel rectangle around `rect`.
QRectF outwardIntegral(const QRectF &rect)
{
    return QRectF(QPointF(std::floor(rect.left()), std::floor(rect.top())),
                  QPointF(std::ceil(rect.right()), std::ceil(rect.bottom())));
}

QImage atPixelSize(QImage image)
{
    if (image.devicePixelRatio() != 1)
        image.setDevicePixelRatio(1);
    return image;
}

} // namespace

CaptureDocument::CaptureDocument(const QImage &image, UserDefaults *annotationDefaults, QObject *parent)
    : QObject(parent), m_image(atPixelSize(image)), m_annotationDefaults(annotationDefaults),
      m_cropRect(QPointF(0, 0), QSizeF(m_image.size()))
{
    if (!m_annotationDefaults)
        return;
    const auto loaded = CaptureAnnotationDefaults::load(*m_annotationDefaults);
    m_style = loaded.style;
    m_color = loaded.color;
    CaptureAnnotationDefaults::save(m_style, m_color, *m_annotationDefaults);
}

void CaptureDocument::setTool(CaptureTool tool)
{
    if (!assignAndNotify(*this, m_tool, tool, &CaptureDocument::toolChanged))
        return;
    setPendingMagnifier(std::nullopt);
}

void CaptureDocument::chooseTool(CaptureTool tool)
{
    commitPendingText();
    select(QUuid());
    setTool(tool);
    if (tool != CaptureTool::redact && tool != CaptureTool::pixelate)
        setDetectedTextRects({});
}

void CaptureDocument::setColor(const QColor &color)
{
    if (!assignAndNotify(*this, m_color, color, &CaptureDocument::colorChanged))
        return;
    styleOrColorDidChange();
}

void CaptureDocument::setText(const QString &text)
{
    assignAndNotify(*this, m_text, text, &CaptureDocument::textChanged);
}

void CaptureDocument::setStyle(const CaptureStyle &style)
{
    if (!assignAndNotify(*this, m_style, style, &CaptureDocument::styleChanged))
        return;
    styleOrColorDidChange();
}

void CaptureDocument::setComposition(const CaptureComposition &composition)
{
    if (m_composition == composition)
        return;
    const CaptureComposition previous = m_composition;
    m_composition = composition;
    notifyChange(*this, &CaptureDocument::compositionChanged);
    if (!m_restoring)
        saveUndo(previous);
}

void CaptureDocument::setLegendEnabled(bool enabled)
{
    if (!assignAndNotify(*this, m_legendEnabled, enabled, &CaptureDocument::legendEnabledChanged))
        return;
    if (!m_restoring)
        saveUndo(std::nullopt, !enabled);
}

void CaptureDocument::setAnnotations(QList<CaptureAnnotation> annotations)
{
    m_annotations = std::move(annotations);
    notifyChange(*this, &CaptureDocument::annotationsChanged);
}

void CaptureDocument::setCropRect(const QRectF &crop)
{
    assignAndNotify(*this, m_cropRect, crop, &CaptureDocument::cropRectChanged);
}

void CaptureDocument::setPendingMagnifier(std::optional<CaptureAnnotation> magnifier)
{
    if (!m_pendingMagnifier && !magnifier)
        return;
    m_pendingMagnifier = std::move(magnifier);
    notifyChange(*this, &CaptureDocument::pendingMagnifierChanged);
}

void CaptureDocument::styleOrColorDidChange()
{
    if (!m_restoring && m_annotationDefaults)
        CaptureAnnotationDefaults::save(m_style, m_color, *m_annotationDefaults);
    applySelectedStyle();
}

std::optional<CaptureAnnotation> CaptureDocument::selectedAnnotation() const
{
    const qsizetype index = indexOf(m_selectedID);
    if (index < 0)
        return std::nullopt;
    return m_annotations.at(index);
}

QList<CaptureLegendEntry> CaptureDocument::legendEntries() const
{
    QList<CaptureLegendEntry> entries;
    for (const CaptureAnnotation &annotation : m_annotations) {
        if (annotation.tool == CaptureTool::number)
            entries.append({annotation.id, annotation.number, m_legendDescriptions.value(annotation.id)});
    }
    return entries;
}

void CaptureDocument::commitPendingText()
{
    // A copy: the commit may replace or clear itself while it runs.
    if (const auto commit = m_pendingTextCommit)
        commit();
}

QPointF CaptureDocument::clampedPoint(QPointF point) const
{
    return QPointF(std::clamp(point.x(), m_cropRect.left(), std::max(m_cropRect.left(), m_cropRect.right())),
                   std::clamp(point.y(), m_cropRect.top(), std::max(m_cropRect.top(), m_cropRect.bottom())));
}

CaptureAnnotation CaptureDocument::annotation(QPointF start, QPointF end) const
{
    CaptureAnnotation annotation;
    annotation.tool = m_tool;
    annotation.start = clampedPoint(start);
    annotation.end = clampedPoint(end);
    annotation.color = m_color;
    annotation.text = m_text;
    annotation.number = m_nextNumber;
    annotation.style = m_style;
    if (m_tool == CaptureTool::arrow && m_style.arrowCurved)
        annotation.control = clampedPoint(annotation.resolvedControl());
    if (m_tool == CaptureTool::magnifier) {
        const QRectF source = annotation.rect();
        const double zoom = clampedZoom(m_style.magnifierZoom);
        annotation.destination =
            QRectF(source.right() + lensGap, source.top(), source.width() * zoom, source.height() * zoom);
    }
    return annotation;
}

void CaptureDocument::finishGesture(QPointF start, QPointF end)
{
    if (!isFinite(start) || !isFinite(end))
        return;
    if (m_tool == CaptureTool::select) {
        select(hitTest(start));
        return;
    }
    const CaptureAnnotation mark = annotation(start, end);
    if (m_tool == CaptureTool::crop) {
        finishCrop(mark);
        return;
    }
    if (!isValidMark(mark))
        return;
    saveUndo();
    if (isSpotlight(mark))
        shareSpotlightOpacity(mark.style.spotlightOpacity);
    appendAnnotation(mark);
    if (mark.tool == CaptureTool::number)
        ++m_nextNumber;
    select(mark.id);
}

void CaptureDocument::finishCrop(const CaptureAnnotation &crop)
{
    const QRectF area = crop.rect().intersected(m_cropRect);
    const QRectF rounded(QPointF(std::ceil(area.left()), std::ceil(area.top())),
                         QPointF(std::floor(area.right()), std::floor(area.bottom())));
    if (rounded.width() < 2 || rounded.height() < 2 || rounded == m_cropRect)
        return;
    saveUndo();
    setCropRect(rounded);
    const auto lost = [&](const CaptureAnnotation &mark) {
        return mark.tool == CaptureTool::magnifier && !magnifierFits(mark, rounded);
    };
    if (std::any_of(m_annotations.cbegin(), m_annotations.cend(), lost)) {
        m_annotations.removeIf(lost);
        notifyChange(*this, &CaptureDocument::annotationsChanged);
    }
    select(QUuid());
}

bool CaptureDocument::isValidMark(const CaptureAnnotation &mark) const
{
    switch (mark.tool) {
    case CaptureTool::arrow:
        return QLineF(mark.start, mark.end).length() >= 2;
    case CaptureTool::text:
        return !mark.text.trimmed().isEmpty();
    case CaptureTool::freehand:
    case CaptureTool::number:
        return true;
    case CaptureTool::rectangle:
    case CaptureTool::oval:
    case CaptureTool::magnifier:
    case CaptureTool::redact:
    case CaptureTool::pixelate:
    case CaptureTool::blur:
    case CaptureTool::imagePixelate:
        return mark.rect().width() >= 1 && mark.rect().height() >= 1;
    case CaptureTool::select:
    case CaptureTool::crop:
        break;
    }
    return false;
}

// The spotlight shade is one layer with one opacity: every spotlight shares it.
void CaptureDocument::shareSpotlightOpacity(double opacity)
{
    for (qsizetype index = 0; index < m_annotations.size(); ++index) {
        const CaptureAnnotation &mark = m_annotations.at(index);
        if (isSpotlight(mark) && mark.style.spotlightOpacity != opacity)
            m_annotations[index].style.spotlightOpacity = opacity;
    }
}

void CaptureDocument::appendAnnotation(const CaptureAnnotation &annotation)
{
    m_annotations.append(annotation);
    notifyChange(*this, &CaptureDocument::annotationsChanged);
}

void CaptureDocument::finishStroke(const QList<QPointF> &points)
{
    if (m_tool != CaptureTool::freehand)
        return;
    QList<QPointF> samples;
    samples.reserve(points.size());
    for (const QPointF &point : points) {
        if (isFinite(point))
            samples.append(clampedPoint(point));
    }
    if (samples.size() < 2)
        return;
    CaptureAnnotation stroke = annotation(samples.first(), samples.last());
    stroke.points = std::move(samples);
    saveUndo();
    appendAnnotation(stroke);
    select(stroke.id);
}

void CaptureDocument::beginMagnifier(QPointF start, QPointF end)
{
    if (m_tool != CaptureTool::magnifier || !isFinite(start) || !isFinite(end))
        return;
    CaptureAnnotation magnifier = annotation(start, end);
    if (magnifier.rect().width() < 2 || magnifier.rect().height() < 2)
        return;
    magnifier.destination.reset();
    select(QUuid());
    setPendingMagnifier(magnifier);
}

// The lens keeps the source's aspect ratio, is anchored at the drag start and
// grows in the drag direction until it covers the larger drag extent.
void CaptureDocument::finishMagnifier(QPointF start, QPointF end)
{
    const std::optional<QRectF> lens = lensRect(start, end);
    if (!lens)
        return;
    CaptureAnnotation magnifier = *m_pendingMagnifier;
    magnifier.destination = lens;
    saveUndo();
    appendAnnotation(magnifier);
    setPendingMagnifier(std::nullopt);
    setTool(CaptureTool::select);
    select(magnifier.id);
}

std::optional<QRectF> CaptureDocument::lensRect(QPointF start, QPointF end) const
{
    if (!m_pendingMagnifier || !isFinite(start) || !isFinite(end))
        return std::nullopt;
    const double sourceWidth = m_pendingMagnifier->end.x() - m_pendingMagnifier->start.x();
    const double sourceHeight = m_pendingMagnifier->end.y() - m_pendingMagnifier->start.y();
    if (sourceWidth == 0 || sourceHeight == 0)
        return std::nullopt;
    const double scale =
        std::max(std::abs((end.x() - start.x()) / sourceWidth), std::abs((end.y() - start.y()) / sourceHeight));
    const double width = std::abs(sourceWidth) * scale;
    const double height = std::abs(sourceHeight) * scale;
    if (!(width >= 2 && height >= 2))
        return std::nullopt;
    const double x = start.x() <= end.x() ? start.x() : start.x() - width;
    const double y = start.y() <= end.y() ? start.y() : start.y() - height;
    return QRectF(x, y, width, height);
}

void CaptureDocument::replaceGeometry(const CaptureAnnotation &annotation)
{
    const qsizetype index = indexOf(annotation.id);
    if (index < 0 || m_annotations.at(index).hasGeometryOf(annotation))
        return;
    saveUndo();
    m_annotations[index] = annotation;
    notifyChange(*this, &CaptureDocument::annotationsChanged);
    if (m_selectedID == annotation.id)
        select(annotation.id);
}

void CaptureDocument::select(const QUuid &id)
{
    if (m_selectedID != id) {
        m_selectedID = id;
        notifyChange(*this, &CaptureDocument::selectedIDChanged);
    }
    const qsizetype index = indexOf(id);
    if (index < 0)
        return;
    const CaptureAnnotation selected = m_annotations.at(index);
    const QScopedValueRollback restoring(m_restoring, true);
    setStyle(selected.style);
    setColor(selected.color);
    setText(selected.text);
}

QUuid CaptureDocument::hitTest(QPointF point) const
{
    if (!isFinite(point))
        return {};
    for (const bool secure : {true, false}) {
        for (auto mark = m_annotations.crbegin(); mark != m_annotations.crend(); ++mark) {
            if (isSecureTool(mark->tool) == secure && hits(*mark, point))
                return mark->id;
        }
    }
    return {};
}

bool CaptureDocument::hits(const CaptureAnnotation &mark, QPointF point) const
{
    const auto grown = [](const QRectF &rect) {
        return rect.adjusted(-hitSlack, -hitSlack, hitSlack, hitSlack);
    };
    switch (mark.tool) {
    case CaptureTool::magnifier:
        return grown(mark.rect()).contains(point) || (mark.destination && grown(*mark.destination).contains(point));
    case CaptureTool::arrow: {
        const double reach = std::max(minimumArrowHitDistance, mark.style.lineWidth);
        return arrowDistance(mark, point, reach) <= reach;
    }
    default:
        return grown(markBounds(mark)).contains(point);
    }
}

QRectF CaptureDocument::markBounds(const CaptureAnnotation &mark) const
{
    if (mark.tool != CaptureTool::text)
        return CaptureRenderer::annotationBounds(mark);
    auto measured = m_measuredText.constFind(mark.id);
    if (measured == m_measuredText.cend() || measured->text != mark.text || !(measured->style == mark.style)) {
        const QRectF bounds = CaptureRenderer::annotationBounds(mark).translated(-mark.start);
        measured = m_measuredText.insert(mark.id, {mark.text, mark.style, bounds});
    }
    return measured->bounds.translated(mark.start);
}

void CaptureDocument::deleteSelected()
{
    if (indexOf(m_selectedID) < 0)
        return;
    saveUndo();
    const QUuid id = m_selectedID;
    m_annotations.removeIf([&](const CaptureAnnotation &mark) { return mark.id == id; });
    m_legendDescriptions.remove(id);
    notifyChange(*this, &CaptureDocument::annotationsChanged);
    select(QUuid());
}

void CaptureDocument::updateSelectedText(const QString &text)
{
    const qsizetype index = indexOf(m_selectedID);
    if (index < 0 || m_annotations.at(index).text == text)
        return;
    saveUndo();
    m_annotations[index].text = text;
    notifyChange(*this, &CaptureDocument::annotationsChanged);
    setText(text);
}

void CaptureDocument::setLegendText(const QUuid &id, const QString &text)
{
    const qsizetype index = indexOf(id);
    if (index < 0 || m_annotations.at(index).tool != CaptureTool::number)
        return;
    const auto stored = m_legendDescriptions.constFind(id);
    if (stored != m_legendDescriptions.cend() && *stored == text)
        return;
    saveUndo();
    m_legendDescriptions.insert(id, text);
    emit changed();
}

void CaptureDocument::setDetectedTextRects(const QList<QRectF> &rects)
{
    const QRectF imageBounds(QPointF(0, 0), QSizeF(originalPixelSize()));
    QList<QRectF> highlighted;
    for (const QRectF &rect : rects) {
        if (!isFinite(rect))
            continue;
        const double margin = detectedTextMargin;
        const QRectF area =
            outwardIntegral(rect.normalized().adjusted(-margin, -margin, margin, margin)).intersected(imageBounds);
        if (area.width() > 0 && area.height() > 0)
            highlighted.append(area);
    }
    if (highlighted == m_detectedTextRects)
        return;
    m_detectedTextRects = std::move(highlighted);
    notifyChange(*this, &CaptureDocument::detectedTextRectsChanged);
}

qint64 CaptureDocument::renumberMarkers(qint64 first)
{
    qint64 next = first;
    bool renumbered = false;
    for (qsizetype index = 0; index < m_annotations.size(); ++index) {
        if (m_annotations.at(index).tool != CaptureTool::number)
            continue;
        if (m_annotations.at(index).number != next) {
            m_annotations[index].number = next;
            renumbered = true;
        }
        ++next;
    }
    m_nextNumber = next;
    if (renumbered)
        notifyChange(*this, &CaptureDocument::annotationsChanged);
    return next;
}

void CaptureDocument::applySelectedStyle()
{
    const qsizetype index = indexOf(m_selectedID);
    if (m_restoring || index < 0)
        return;
    CaptureAnnotation mark = m_annotations.at(index);
    if (mark.style == m_style && mark.color == m_color)
        return;
    saveUndo();
    const double previousZoom = mark.style.magnifierZoom;
    mark.style = m_style;
    if (mark.tool == CaptureTool::arrow && m_style.arrowCurved && !mark.control)
        mark.control = clampedPoint(mark.resolvedControl());
    if (mark.tool == CaptureTool::magnifier && previousZoom != m_style.magnifierZoom && mark.destination)
        mark.destination->setSize(mark.rect().size() * clampedZoom(m_style.magnifierZoom));
    mark.color = m_color;
    m_annotations[index] = mark;
    if (isSpotlight(mark))
        shareSpotlightOpacity(m_style.spotlightOpacity);
    notifyChange(*this, &CaptureDocument::annotationsChanged);
}

void CaptureDocument::saveUndo(std::optional<CaptureComposition> composition, std::optional<bool> legendEnabled)
{
    m_history.append(State{sharedAnnotations(), m_cropRect, m_nextNumber, composition.value_or(m_composition),
                           legendEnabled.value_or(m_legendEnabled), m_legendDescriptions});
    clearRedo();
    if (m_history.size() == 1)
        notifyChange(*this, &CaptureDocument::canUndoChanged);
    bumpRevision();
}

void CaptureDocument::bumpRevision()
{
    ++m_revision;
    notifyChange(*this, &CaptureDocument::revisionChanged);
}

void CaptureDocument::undo()
{
    if (m_pendingMagnifier) {
        setPendingMagnifier(std::nullopt);
        return;
    }
    commitPendingText();
    if (m_history.isEmpty())
        return;
    m_redo.append(currentState());
    restore(m_history.takeLast());
    select(QUuid());
    if (m_history.isEmpty())
        notifyChange(*this, &CaptureDocument::canUndoChanged);
    if (m_redo.size() == 1)
        notifyChange(*this, &CaptureDocument::canRedoChanged);
    bumpRevision();
}

void CaptureDocument::redo()
{
    if (m_pendingMagnifier)
        setPendingMagnifier(std::nullopt);
    commitPendingText();
    if (m_redo.isEmpty())
        return;
    m_history.append(currentState());
    restore(m_redo.takeLast());
    select(QUuid());
    if (m_history.size() == 1)
        notifyChange(*this, &CaptureDocument::canUndoChanged);
    if (m_redo.isEmpty())
        notifyChange(*this, &CaptureDocument::canRedoChanged);
    bumpRevision();
}

CaptureDocument::State CaptureDocument::currentState() const
{
    return State{sharedAnnotations(), m_cropRect, m_nextNumber, m_composition, m_legendEnabled, m_legendDescriptions};
}

void CaptureDocument::clearRedo()
{
    if (m_redo.isEmpty())
        return;
    m_redo.clear();
    notifyChange(*this, &CaptureDocument::canRedoChanged);
}

CaptureDocument::SharedAnnotations CaptureDocument::sharedAnnotations() const
{
    const SharedAnnotations previous = m_history.isEmpty() ? SharedAnnotations() : m_history.last().annotations;
    QHash<QUuid, std::shared_ptr<const CaptureAnnotation>> previousByID;
    const auto previousCopy = [&](qsizetype index, const QUuid &id) {
        if (index < previous.size() && previous.at(index)->id == id)
            return previous.at(index);
        if (previousByID.isEmpty()) {
            for (const auto &mark : previous)
                previousByID.insert(mark->id, mark);
        }
        return previousByID.value(id);
    };
    SharedAnnotations shared;
    shared.reserve(m_annotations.size());
    for (qsizetype index = 0; index < m_annotations.size(); ++index) {
        const CaptureAnnotation &mark = m_annotations.at(index);
        const auto copy = previousCopy(index, mark.id);
        shared.append(copy && identical(*copy, mark) ? copy : std::make_shared<const CaptureAnnotation>(mark));
    }
    return shared;
}

void CaptureDocument::restore(const State &state)
{
    const QScopedValueRollback restoring(m_restoring, true);
    QList<CaptureAnnotation> annotations;
    annotations.reserve(state.annotations.size());
    for (const auto &mark : state.annotations)
        annotations.append(*mark);
    setAnnotations(std::move(annotations));
    setCropRect(state.crop);
    m_nextNumber = state.nextNumber;
    setComposition(state.composition);
    setLegendEnabled(state.legendEnabled);
    m_legendDescriptions = state.descriptions;
    emit changed();
}

std::unique_ptr<CaptureDocument> CaptureDocument::snapshot()
{
    commitPendingText();
    auto copy = std::make_unique<CaptureDocument>(m_image, m_annotationDefaults);
    copy->m_cropRect = m_cropRect;
    copy->m_annotations = m_annotations;
    copy->m_nextNumber = m_nextNumber;
    copy->m_style = m_style;
    copy->m_color = m_color;
    copy->m_text = m_text;
    copy->m_tool = m_tool;
    copy->m_composition = m_composition;
    copy->m_legendEnabled = m_legendEnabled;
    copy->m_legendDescriptions = m_legendDescriptions;
    return copy;
}

QImage CaptureDocument::flattenedImage()
{
    commitPendingText();
    const QList<CaptureLegendEntry> legend = m_legendEnabled ? legendEntries() : QList<CaptureLegendEntry>();
    return CaptureRenderer::renderImage(m_image, QSizeF(originalPixelSize()), m_cropRect, m_annotations, m_composition,
                                        legend);
}

QImage CaptureDocument::contentImage()
{
    commitPendingText();
    return CaptureRenderer::renderImage(m_image, QSizeF(originalPixelSize()), m_cropRect, m_annotations,
                                        CaptureComposition(), {});
}

qsizetype CaptureDocument::indexOf(const QUuid &id) const
{
    if (id.isNull())
        return -1;
    const auto found = std::find_if(m_annotations.cbegin(), m_annotations.cend(),
                                    [&](const CaptureAnnotation &mark) { return mark.id == id; });
    return found == m_annotations.cend() ? -1 : found - m_annotations.cbegin();
}
