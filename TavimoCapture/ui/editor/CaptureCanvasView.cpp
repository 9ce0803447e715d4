#include "CaptureCanvasView.h"

#include "AppTheme.h"
#include "CaptureDocument.h"
#include "CaptureInlineTextView.h"
#include "CaptureRenderer.h"
#include "CaptureToolButton.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTextBlock>

#include <algorithm>
#include <cmath>

namespace {

constexpr double inset = 24;
constexpr double handleRadius = 9;
constexpr int maximumStrokePoints = 4096;

QPointF corner(const QRectF &rect, int index)
{
    switch (index & 3) {
    case 0:
        return rect.topLeft();
    case 1:
        return QPointF(rect.right(), rect.top());
    case 2:
        return rect.bottomRight();
    default:
        return QPointF(rect.left(), rect.bottom());
    }
}

double distance(QPointF a, QPointF b)
{
    return std::hypot(a.x() - b.x(), a.y() - b.y());
}

// A rectangle of |w0|·ratio by |h0|·ratio anchored at `anchor`, growing toward `toward`.
QRectF aspectRect(QPointF anchor, QPointF toward, double w0, double h0, double ratio)
{
    const double width = std::abs(w0) * ratio;
    const double height = std::abs(h0) * ratio;
    const double x = toward.x() >= anchor.x() ? anchor.x() : anchor.x() - width;
    const double y = toward.y() >= anchor.y() ? anchor.y() : anchor.y() - height;
    return QRectF(x, y, width, height);
}

// Detected words, and the dashed outline of the one under the pointer.
const QColor detectedTextColour(255, 149, 0);

bool isRedaction(CaptureTool tool)
{
    return tool == CaptureTool::redact || tool == CaptureTool::pixelate;
}

QPen dashedPen(const QColor &color, double scale)
{
    QPen pen(color, 1 / scale);
    pen.setDashPattern({4, 3}); // in pen widths: 4 and 3 view points
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

} // namespace

CaptureCanvasView::CaptureCanvasView(CaptureDocument *document, QWidget *parent) : QWidget(parent)
{
    setAccessibleName(QStringLiteral("Capture canvas"));
    setAccessibleDescription(QStringLiteral(
        "Choose Select to move annotations. Double-click text to edit it. Drag arrow handles to change its direction "
        "or curve. Delete removes a selected mark."));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setDocument(document);
}

CaptureCanvasView::~CaptureCanvasView()
{
    if (m_document)
        m_document->setPendingTextCommit(nullptr);
}

void CaptureCanvasView::setDocument(CaptureDocument *document)
{
    if (m_document == document)
        return;
    commitText();
    if (m_document) {
        m_document->setPendingTextCommit(nullptr);
        disconnect(m_document, nullptr, this, nullptr);
    }
    endGesture();
    m_hoveredText.reset();
    m_document = document;
    watchDocument();
    update();
}

void CaptureCanvasView::watchDocument()
{
    if (!m_document)
        return;
    QPointer<CaptureCanvasView> canvas(this);
    m_document->setPendingTextCommit([canvas] {
        if (canvas)
            canvas->commitText();
    });
    connect(m_document, &CaptureDocument::changed, this, [this] {
        styleEditor();
        positionEditor();
        update();
    });
    connect(m_document, &CaptureDocument::pendingMagnifierChanged, this, qOverload<>(&QWidget::update));
    connect(m_document, &CaptureDocument::selectedIDChanged, this, qOverload<>(&QWidget::update));
    connect(m_document, &CaptureDocument::detectedTextRectsChanged, this, [this] {
        m_hoveredText.reset();
        update();
    });
}

void CaptureCanvasView::setInputEnabled(bool enabled)
{
    if (m_inputEnabled == enabled)
        return;
    m_inputEnabled = enabled;
    if (!enabled) {
        endGesture();
        if (m_document)
            m_document->cancelMagnifier();
        if (m_editor)
            m_editor->setReadOnly(true);
    } else if (m_editor) {
        m_editor->setReadOnly(false);
    }
    update();
    emit inputEnabledChanged(enabled);
}

// MARK: geometry

CaptureCompositionLayout CaptureCanvasView::compositionLayout() const
{
    if (!m_document)
        return {};
    const QRectF crop = m_document->cropRect();
    const QRectF extent = CaptureRenderer::contentExtent(crop, m_document->annotations());
    const CaptureComposition &composition = m_legendPreview ? *m_legendPreview : m_document->composition();
    const QList<CaptureLegendEntry> legend =
        m_document->legendEnabled() ? m_document->legendEntries() : QList<CaptureLegendEntry>();
    CaptureCompositionLayout layout = CaptureRenderer::baseLayout(extent, composition, legend);
    layout.imageRect = QRectF(layout.imageRect.topLeft() + (crop.topLeft() - extent.topLeft()), crop.size());
    return layout;
}

QRectF CaptureCanvasView::outputRect() const
{
    const QSizeF canvas = compositionLayout().canvasSize;
    const QRectF available = QRectF(rect()).adjusted(inset, inset, -inset, -inset);
    if (canvas.isEmpty() || available.isEmpty())
        return QRectF();
    const double scale = std::min(available.width() / canvas.width(), available.height() / canvas.height());
    const QSizeF size = canvas * scale;
    const QPointF centre = QRectF(rect()).center();
    return QRectF(centre.x() - size.width() / 2, centre.y() - size.height() / 2, size.width(), size.height());
}

double CaptureCanvasView::viewScale() const
{
    const double canvasWidth = compositionLayout().canvasSize.width();
    return std::max(outputRect().width() / std::max(canvasWidth, 1.0), 0.0001);
}

QRectF CaptureCanvasView::imageRect() const
{
    const QRectF output = outputRect();
    const double s = viewScale();
    const QRectF image = compositionLayout().imageRect;
    return QRectF(output.left() + image.left() * s, output.top() + image.top() * s, image.width() * s,
                  image.height() * s);
}

QPointF CaptureCanvasView::imagePoint(QPointF p, bool clamped) const
{
    if (!m_document)
        return p;
    const QRectF image = imageRect();
    const double s = viewScale();
    const QRectF crop = m_document->cropRect();
    const QPointF q((p.x() - image.left()) / s + crop.left(), (p.y() - image.top()) / s + crop.top());
    return clamped ? m_document->clampedPoint(q) : q;
}

QPointF CaptureCanvasView::viewPoint(QPointF q) const
{
    const QRectF image = imageRect();
    const double s = viewScale();
    const QRectF crop = m_document ? m_document->cropRect() : QRectF();
    return QPointF(image.left() + (q.x() - crop.left()) * s, image.top() + (q.y() - crop.top()) * s);
}

QRectF CaptureCanvasView::legendDivider() const
{
    if (!m_document || !m_document->legendEnabled() || m_document->legendEntries().isEmpty())
        return QRectF();
    const CaptureCompositionLayout layout = compositionLayout();
    const QRectF output = outputRect();
    const double s = viewScale();
    const QRectF l(output.left() + layout.legendRect.left() * s, output.top() + layout.legendRect.top() * s,
                   layout.legendRect.width() * s, layout.legendRect.height() * s);
    const CaptureComposition &composition = m_legendPreview ? *m_legendPreview : m_document->composition();
    switch (composition.legend.placement) {
    case CaptureLegendPlacement::bottom:
        return QRectF(l.left(), l.bottom() - 4, l.width(), 8);
    case CaptureLegendPlacement::right:
        return QRectF(l.right() - 4, l.top(), 8, l.height());
    case CaptureLegendPlacement::left:
        return QRectF(l.left() - 4, l.top(), 8, l.height());
    }
    return QRectF();
}

// MARK: handles

QList<std::pair<CaptureCanvasView::Handle, QPointF>> CaptureCanvasView::handles(const CaptureAnnotation &a) const
{
    QList<std::pair<Handle, QPointF>> result;
    switch (a.tool) {
    case CaptureTool::rectangle:
    case CaptureTool::oval:
    case CaptureTool::magnifier:
        for (int i = 0; i < 4; ++i)
            result.append({Handle{HandleKind::sourceCorner, i}, corner(a.rect(), i)});
        if (a.tool == CaptureTool::magnifier && a.destination)
            for (int i = 0; i < 4; ++i)
                result.append({Handle{HandleKind::destinationCorner, i}, corner(*a.destination, i)});
        break;
    case CaptureTool::arrow:
        result.append({Handle{HandleKind::start, 0}, a.start});
        result.append({Handle{HandleKind::end, 0}, a.end});
        if (a.style.arrowCurved)
            result.append({Handle{HandleKind::control, 0}, a.resolvedControl()});
        break;
    default:
        break;
    }
    return result;
}

void CaptureCanvasView::applyHandle(CaptureAnnotation &a, QPointF q) const
{
    if (!m_activeHandle || !m_geometryOriginal || !m_start || !m_document)
        return;
    const CaptureAnnotation &original = *m_geometryOriginal;
    const QPointF press = *m_start;
    const QRectF crop = m_document->cropRect();
    const double w0 = original.end.x() - original.start.x();
    const double h0 = original.end.y() - original.start.y();
    const auto applyRect = [&a](const QRectF &rect) {
        if (rect.width() >= 2 && rect.height() >= 2) {
            a.start = rect.topLeft();
            a.end = rect.bottomRight();
        }
    };
    switch (m_activeHandle->kind) {
    case HandleKind::sourceCorner: {
        const QPointF anchor = corner(original.rect(), m_activeHandle->index + 2);
        if (original.tool != CaptureTool::magnifier) {
            applyRect(QRectF(anchor, q).normalized());
            break;
        }
        if (w0 == 0 || h0 == 0)
            break;
        double ratio = std::max(std::abs((q.x() - anchor.x()) / w0), std::abs((q.y() - anchor.y()) / h0));
        const double roomX = q.x() >= anchor.x() ? crop.right() - anchor.x() : anchor.x() - crop.left();
        const double roomY = q.y() >= anchor.y() ? crop.bottom() - anchor.y() : anchor.y() - crop.top();
        ratio = std::min({ratio, std::max(0.0, roomX) / std::abs(w0), std::max(0.0, roomY) / std::abs(h0)});
        applyRect(aspectRect(anchor, q, w0, h0, ratio));
        break;
    }
    case HandleKind::destinationCorner: {
        if (!original.destination || w0 == 0 || h0 == 0)
            break;
        const QPointF anchor = corner(*original.destination, m_activeHandle->index + 2);
        const double ratio =
            std::max(std::abs((q.x() - anchor.x()) / w0), std::abs((q.y() - anchor.y()) / h0));
        const QRectF rect = aspectRect(anchor, q, w0, h0, ratio);
        if (rect.width() >= 2 && rect.height() >= 2)
            a.destination = rect;
        break;
    }
    case HandleKind::start:
        a.start = q;
        break;
    case HandleKind::end:
        a.end = q;
        break;
    case HandleKind::control:
        a.control = q;
        break;
    case HandleKind::move: {
        QList<QPointF> points{original.start, original.end};
        points.append(original.points);
        if (original.control)
            points.append(*original.control);
        double minX = points.first().x(), maxX = minX, minY = points.first().y(), maxY = minY;
        for (const QPointF &point : points) {
            minX = std::min(minX, point.x());
            maxX = std::max(maxX, point.x());
            minY = std::min(minY, point.y());
            maxY = std::max(maxY, point.y());
        }
        double dx = q.x() - press.x();
        double dy = q.y() - press.y();
        dx = std::min(std::max(dx, crop.left() - minX), crop.right() - maxX);
        dy = std::min(std::max(dy, crop.top() - minY), crop.bottom() - maxY);
        const QPointF delta(dx, dy);
        const auto moved = [&](QPointF point) { return m_document->clampedPoint(point + delta); };
        a.start = moved(original.start);
        a.end = moved(original.end);
        for (qsizetype i = 0; i < a.points.size(); ++i)
            a.points[i] = moved(original.points[i]);
        if (original.control)
            a.control = moved(*original.control);
        break;
    }
    case HandleKind::destination:
        if (original.destination)
            a.destination = original.destination->translated(q - press);
        break;
    }
}

// MARK: mouse

void CaptureCanvasView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    press(event, 1);
}

void CaptureCanvasView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseDoubleClickEvent(event);
        return;
    }
    press(event, 2);
}

void CaptureCanvasView::press(QMouseEvent *event, int clickCount)
{
    if (!m_inputEnabled || !m_document)
        return;
    commitText();
    CaptureDocument &document = *m_document;
    const QPointF p = event->position();

    if (legendDivider().contains(p)) {
        setFocus(Qt::MouseFocusReason);
        const CaptureCompositionLayout layout = compositionLayout();
        const bool bottom = document.composition().legend.placement == CaptureLegendPlacement::bottom;
        m_legendDrag =
            LegendDrag{p, viewScale(), bottom ? layout.legendRect.height() : layout.legendRect.width()};
        m_legendPreview = document.composition();
        return;
    }

    const bool unrestricted = document.tool() == CaptureTool::select || document.pendingMagnifier().has_value();
    if (!imageRect().contains(p) && !(unrestricted && QRectF(rect()).contains(p))) {
        document.select(QUuid());
        update();
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const QPointF q = imagePoint(p, !unrestricted);
    const double s = viewScale();

    if (document.tool() == CaptureTool::text) {
        const QUuid hit = document.hitTest(q);
        const auto mark = std::find_if(document.annotations().cbegin(), document.annotations().cend(),
                                       [&](const CaptureAnnotation &a) { return a.id == hit; });
        if (!hit.isNull() && mark != document.annotations().cend() && mark->tool == CaptureTool::text) {
            document.select(hit);
            openEditor(mark->start, hit);
        } else {
            document.select(QUuid());
            openEditor(q, QUuid());
        }
        return;
    }

    if (document.tool() != CaptureTool::select) {
        document.select(QUuid());
        m_start = m_end = q;
        m_strokePoints = {q};
        update();
        return;
    }

    if (const std::optional<CaptureAnnotation> selected = document.selectedAnnotation()) {
        for (const auto &[handle, point] : handles(*selected)) {
            if (distance(point, q) < handleRadius / s) {
                m_activeHandle = handle;
                m_geometryOriginal = m_geometryPreview = *selected;
                m_start = q;
                update();
                return;
            }
        }
    }
    document.select(document.hitTest(q));
    const std::optional<CaptureAnnotation> selected = document.selectedAnnotation();
    if (!selected) {
        update();
        return;
    }
    if (selected->tool == CaptureTool::text && clickCount > 1) {
        openEditor(selected->start, selected->id);
        return;
    }
    m_geometryOriginal = m_geometryPreview = *selected;
    m_activeHandle = Handle{selected->tool == CaptureTool::magnifier && selected->destination &&
                                    selected->destination->contains(q)
                                ? HandleKind::destination
                                : HandleKind::move,
                            0};
    m_start = q;
    update();
}

void CaptureCanvasView::mouseMoveEvent(QMouseEvent *event)
{
    updateCursor(event->position());
    if (!(event->buttons() & Qt::LeftButton)) {
        updateHover(event->position());
        return;
    }
    if (!m_inputEnabled || !m_document)
        return;
    drag(event->position(), event->modifiers());
}

void CaptureCanvasView::drag(QPointF p, Qt::KeyboardModifiers modifiers)
{
    CaptureDocument &document = *m_document;
    if (m_legendDrag) {
        const CaptureLegendPlacement placement = document.composition().legend.placement;
        const double delta = placement == CaptureLegendPlacement::bottom ? p.y() - m_legendDrag->point.y()
                             : placement == CaptureLegendPlacement::right ? p.x() - m_legendDrag->point.x()
                                                                          : m_legendDrag->point.x() - p.x();
        double dimension = m_legendDrag->dimension + delta / m_legendDrag->scale;
        dimension = std::isfinite(dimension) ? std::clamp(dimension, 80.0, 4096.0) : 320.0;
        CaptureComposition preview = document.composition();
        if (placement == CaptureLegendPlacement::bottom)
            preview.legend.height = dimension;
        else
            preview.legend.width = dimension;
        preview.legend.fitToContent = false;
        m_legendPreview = preview;
        update();
        return;
    }
    if (!m_start)
        return;
    const bool unrestricted = (m_activeHandle && (m_activeHandle->kind == HandleKind::destinationCorner ||
                                                  m_activeHandle->kind == HandleKind::destination)) ||
                              document.pendingMagnifier().has_value();
    const QPointF q = imagePoint(p, !unrestricted);
    if (m_geometryOriginal) {
        CaptureAnnotation copy = *m_geometryOriginal;
        applyHandle(copy, q);
        m_geometryPreview = copy;
    } else {
        m_end = q;
        const CaptureTool tool = document.tool();
        if ((modifiers & Qt::ShiftModifier) && (tool == CaptureTool::rectangle || tool == CaptureTool::oval)) {
            const QPointF start = *m_start;
            const double side = std::min(std::abs(q.x() - start.x()), std::abs(q.y() - start.y()));
            m_end = QPointF(start.x() + (q.x() >= start.x() ? side : -side),
                            start.y() + (q.y() >= start.y() ? side : -side));
        }
        if (tool == CaptureTool::freehand && (m_strokePoints.isEmpty() || distance(m_strokePoints.last(), q) >= 1)) {
            if (m_strokePoints.size() >= maximumStrokePoints) {
                QList<QPointF> thinned;
                thinned.reserve(m_strokePoints.size() / 2 + 1);
                for (qsizetype i = 0; i < m_strokePoints.size(); i += 2)
                    thinned.append(m_strokePoints[i]);
                m_strokePoints = thinned;
            }
            m_strokePoints.append(q);
        }
    }
    update();
}

void CaptureCanvasView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    if (!m_inputEnabled || !m_document)
        return;
    CaptureDocument &document = *m_document;
    if (m_legendDrag) {
        if (m_legendPreview)
            document.setComposition(*m_legendPreview);
        endGesture();
        updateCursor(event->position());
        return;
    }
    if (!m_start)
        return;
    drag(event->position(), event->modifiers());
    if (m_geometryOriginal) {
        if (m_geometryPreview) {
            const CaptureAnnotation preview = *m_geometryPreview;
            endGesture();
            document.replaceGeometry(preview);
        }
        endGesture();
        return;
    }
    const QPointF start = *m_start;
    const QPointF end = m_end.value_or(imagePoint(event->position(), true));
    const QList<QPointF> stroke = m_strokePoints;
    endGesture();
    switch (document.tool()) {
    case CaptureTool::magnifier:
        if (document.pendingMagnifier())
            document.finishMagnifier(start, end);
        else
            document.beginMagnifier(start, end);
        break;
    case CaptureTool::freehand:
        document.finishStroke(stroke);
        break;
    case CaptureTool::redact:
    case CaptureTool::pixelate: {
        if (distance(start, end) * viewScale() < 4) {
            const QList<QRectF> &rects = document.detectedTextRects();
            const auto word =
                std::find_if(rects.cbegin(), rects.cend(), [&](const QRectF &r) { return r.contains(end); });
            if (word != rects.cend()) {
                document.finishGesture(word->topLeft(), word->bottomRight());
                break;
            }
        }
        document.finishGesture(start, end);
        break;
    }
    default:
        document.finishGesture(start, end);
        break;
    }
    update();
}

void CaptureCanvasView::leaveEvent(QEvent *event)
{
    if (m_hoveredText) {
        m_hoveredText.reset();
        update();
    }
    QWidget::leaveEvent(event);
}

void CaptureCanvasView::updateHover(QPointF p)
{
    std::optional<QRectF> hovered;
    if (m_inputEnabled && m_document && isRedaction(m_document->tool()) && imageRect().contains(p)) {
        const QPointF q = imagePoint(p, true);
        for (const QRectF &rect : m_document->detectedTextRects())
            if (rect.contains(q)) {
                hovered = rect;
                break;
            }
    }
    if (hovered != m_hoveredText) {
        m_hoveredText = hovered;
        update();
    }
}

void CaptureCanvasView::updateCursor(QPointF p)
{
    if (!m_document) {
        unsetCursor();
        return;
    }
    const QRectF divider = legendDivider();
    if (m_inputEnabled && (divider.contains(p) || m_legendDrag)) {
        setCursor(m_document->composition().legend.placement == CaptureLegendPlacement::bottom ? Qt::SizeVerCursor
                                                                                              : Qt::SizeHorCursor);
    } else if (imageRect().contains(p)) {
        const CaptureTool tool = m_document->tool();
        setCursor(tool == CaptureTool::select || !m_inputEnabled ? Qt::ArrowCursor
                  : tool == CaptureTool::text                    ? Qt::IBeamCursor
                                                                 : Qt::CrossCursor);
    } else {
        setCursor(Qt::ArrowCursor);
    }
}

// MARK: keys

std::optional<CaptureTool> CaptureCanvasView::toolForKey(int key)
{
    for (CaptureTool tool : RawEnum<CaptureTool>::cases) {
        const QString letter = keyForTool(tool);
        if (!letter.isEmpty() && key == letter.at(0).unicode())
            return tool;
    }
    return std::nullopt;
}

QString CaptureCanvasView::keyForTool(CaptureTool tool)
{
    switch (tool) {
    case CaptureTool::select:
        return QStringLiteral("V");
    case CaptureTool::arrow:
        return QStringLiteral("A");
    case CaptureTool::rectangle:
        return QStringLiteral("R");
    case CaptureTool::oval:
        return QStringLiteral("O");
    case CaptureTool::freehand:
        return QStringLiteral("P");
    case CaptureTool::magnifier:
        return QStringLiteral("M");
    case CaptureTool::text:
        return QStringLiteral("T");
    case CaptureTool::number:
        return QStringLiteral("N");
    case CaptureTool::redact:
        return QStringLiteral("X");
    case CaptureTool::pixelate:
        return QStringLiteral("S");
    case CaptureTool::blur:
        return QStringLiteral("B");
    case CaptureTool::imagePixelate:
        return QStringLiteral("G");
    case CaptureTool::crop:
        return QStringLiteral("C");
    }
    return {};
}

void CaptureCanvasView::keyPressEvent(QKeyEvent *event)
{
    if (!m_document) {
        QWidget::keyPressEvent(event);
        return;
    }
    CaptureDocument &document = *m_document;
    switch (event->key()) {
    case Qt::Key_Escape:
        endGesture();
        document.cancelMagnifier();
        document.select(QUuid());
        return;
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
        if (m_inputEnabled) {
            document.deleteSelected();
            return;
        }
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (const std::optional<CaptureAnnotation> selected = document.selectedAnnotation();
            selected && selected->tool == CaptureTool::text) {
            openEditor(selected->start, selected->id);
            return;
        }
        break;
    default:
        break;
    }
    if (m_inputEnabled) {
        if (event->matches(QKeySequence::Undo)) {
            endGesture();
            document.undo();
            return;
        }
        if (event->matches(QKeySequence::Redo) ||
            (event->key() == Qt::Key_Y && event->modifiers() == Qt::ControlModifier)) {
            endGesture();
            document.redo();
            return;
        }
        const Qt::KeyboardModifiers modifiers = event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
        if (modifiers == Qt::NoModifier && !event->isAutoRepeat() && !m_start && !m_legendDrag) {
            if (const std::optional<CaptureTool> tool = toolForKey(event->key())) {
                CaptureToolButton::choose(document, *tool);
                return;
            }
        }
    }
    QWidget::keyPressEvent(event);
}

// MARK: text editor

void CaptureCanvasView::openEditor(QPointF origin, const QUuid &id)
{
    closeEditor();
    m_editingID = id;
    m_editingOrigin = origin;
    auto *editor = new CaptureInlineTextView(this);
    QString initial;
    if (!id.isNull() && m_document)
        if (const std::optional<CaptureAnnotation> selected = m_document->selectedAnnotation())
            initial = selected->text;
    editor->setPlainText(initial);
    QPointer<CaptureCanvasView> canvas(this);
    editor->onCommit = [canvas] {
        if (canvas)
            canvas->commitText();
    };
    editor->onCancel = [canvas] {
        if (canvas)
            canvas->closeEditor();
    };
    connect(editor, &QPlainTextEdit::textChanged, this, &CaptureCanvasView::positionEditor);
    m_editor = editor;
    editor->setReadOnly(!m_inputEnabled);
    styleEditor();
    positionEditor();
    editor->show();
    editor->setFocus(Qt::OtherFocusReason);
    editor->selectAll();
    update();
}

void CaptureCanvasView::closeEditor()
{
    if (!m_editor)
        return;
    CaptureInlineTextView *editor = m_editor;
    m_editor = nullptr;
    editor->onCommit = nullptr;
    editor->onCancel = nullptr;
    editor->disconnect(this);
    editor->hide();
    editor->deleteLater();
    m_editingID = QUuid();
    m_editingOrigin.reset();
    setFocus(Qt::OtherFocusReason);
    update();
}

void CaptureCanvasView::commitText()
{
    if (!m_editor || !m_editingOrigin) {
        closeEditor();
        return;
    }
    const QString text = m_editor->toPlainText();
    const QUuid id = m_editingID;
    const QPointF origin = *m_editingOrigin;
    closeEditor();
    if (!m_document)
        return;
    CaptureDocument &document = *m_document;
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

void CaptureCanvasView::styleEditor()
{
    if (!m_editor || !m_document)
        return;
    const CaptureStyle &style = m_document->style();
    QFont font = style.font();
    font.setPixelSize(std::max(1, int(std::lround(font.pixelSize() * viewScale()))));
    font.setUnderline(style.underline);
    const QColor color = m_document->color();
    const QColor background = style.textBackgroundEnabled ? style.textBackgroundColor : QColor(Qt::transparent);
    m_editor->setFont(font);
    m_editor->setStyleSheet(QStringLiteral("QPlainTextEdit { color: %1; background: %2; border: 1px solid %3; }")
                                .arg(color.name(QColor::HexArgb), background.name(QColor::HexArgb),
                                     AppTheme::accent().name()));
    QPalette palette = m_editor->palette();
    palette.setColor(QPalette::Text, color);
    m_editor->setPalette(palette);
}

void CaptureCanvasView::positionEditor()
{
    if (!m_editor || !m_editingOrigin)
        return;
    const QPointF origin = viewPoint(*m_editingOrigin);
    const QFontMetricsF metrics(m_editor->font());
    const QString text = m_editor->toPlainText();
    double textWidth = 0;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const QString &line : lines)
        textWidth = std::max(textWidth, metrics.horizontalAdvance(line));
    const double textHeight = metrics.lineSpacing() * lines.size();
    const double width = std::min(std::max(textWidth + 12, 140.0), std::max(this->width() - origin.x() - 16, 60.0));
    const double height = std::min(std::max(textHeight + 12, 36.0), std::max(this->height() - origin.y() - 16, 36.0));
    m_editor->setGeometry(QRectF(origin.x() - 4, origin.y() - 4, width, height).toRect());
}

void CaptureCanvasView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    styleEditor();
    positionEditor();
}

void CaptureCanvasView::endGesture()
{
    m_strokePoints.clear();
    m_legendDrag.reset();
    m_legendPreview.reset();
    m_start.reset();
    m_end.reset();
    m_geometryOriginal.reset();
    m_geometryPreview.reset();
    m_activeHandle.reset();
    update();
}

// MARK: drawing

std::optional<QRectF> CaptureCanvasView::liveDestination() const
{
    if (!m_document || !m_document->pendingMagnifier())
        return std::nullopt;
    const CaptureAnnotation &m = *m_document->pendingMagnifier();
    if (m.destination)
        return m.destination;
    if (!m_start || !m_end || m_geometryOriginal)
        return std::nullopt;
    const double sw = m.end.x() - m.start.x();
    const double sh = m.end.y() - m.start.y();
    if (sw == 0 || sh == 0 || std::isnan(sw) || std::isnan(sh))
        return std::nullopt;
    const QPointF start = *m_start, end = *m_end;
    const double scale = std::max(std::abs((end.x() - start.x()) / sw), std::abs((end.y() - start.y()) / sh));
    const double w = std::abs(sw) * scale, h = std::abs(sh) * scale;
    if (w < 2 || h < 2)
        return std::nullopt;
    return QRectF(start.x() <= end.x() ? start.x() : start.x() - w, start.y() <= end.y() ? start.y() : start.y() - h,
                  w, h);
}

QList<CaptureAnnotation> CaptureCanvasView::marksToShow() const
{
    QList<CaptureAnnotation> marks;
    const CaptureDocument &document = *m_document;
    marks.reserve(document.annotations().size() + 2);
    for (const CaptureAnnotation &annotation : document.annotations()) {
        if (m_editor && !m_editingID.isNull() && annotation.id == m_editingID)
            continue;
        if (m_geometryPreview && annotation.id == m_geometryPreview->id)
            marks.append(*m_geometryPreview);
        else
            marks.append(annotation);
    }
    if (document.pendingMagnifier()) {
        if (const std::optional<QRectF> destination = liveDestination()) {
            CaptureAnnotation lens = *document.pendingMagnifier();
            lens.destination = destination;
            marks.append(lens);
        }
    } else if (m_start && m_end && !m_geometryOriginal) {
        const CaptureTool tool = document.tool();
        if (tool != CaptureTool::magnifier && tool != CaptureTool::crop && tool != CaptureTool::select &&
            tool != CaptureTool::text) {
            CaptureAnnotation live = document.annotation(*m_start, *m_end);
            if (tool == CaptureTool::freehand)
                live.points = m_strokePoints;
            marks.append(live);
        }
    }
    return marks;
}

CaptureFrameScene CaptureCanvasView::frameScene() const
{
    const CaptureDocument &document = *m_document;
    CaptureFrameScene scene;
    scene.image = document.image();
    scene.sourceSize = QSizeF(document.originalPixelSize());
    scene.crop = document.cropRect();
    scene.marks = marksToShow();
    scene.composition = m_legendPreview ? *m_legendPreview : document.composition();
    if (document.legendEnabled())
        scene.legend = document.legendEntries();
    scene.layout = compositionLayout();
    scene.outputRect = outputRect();
    scene.scale = viewScale();
    scene.viewSize = size();
    scene.devicePixelRatio = devicePixelRatio();
    scene.background = palette().color(QPalette::Window);
    return scene;
}

void CaptureCanvasView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    if (!m_document || outputRect().isEmpty())
        return;
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    const CaptureFrameScene scene = frameScene();
    painter.drawImage(QPointF(0, 0), m_caching ? m_frames.frame(scene) : CaptureFrameCache::drawnFrame(scene));
    drawOverlays(painter);
}

void CaptureCanvasView::drawOverlays(QPainter &painter) const
{
    const CaptureDocument &document = *m_document;
    const QRectF image = imageRect();
    const double s = viewScale();
    const QRectF crop = document.cropRect();
    const QColor accent = AppTheme::accent();
    painter.save();
    painter.translate(image.topLeft());
    painter.scale(s, s);
    painter.translate(-crop.topLeft());
    painter.setBrush(Qt::NoBrush);

    if (document.tool() == CaptureTool::crop && m_start && m_end && !m_geometryOriginal) {
        const QRectF drawn = QRectF(*m_start, *m_end).normalized();
        QPainterPath shade;
        shade.setFillRule(Qt::OddEvenFill);
        shade.addRect(crop);
        shade.addRect(drawn);
        painter.fillPath(shade, QColor::fromRgbF(0, 0, 0, 0.45f));
        painter.setPen(dashedPen(Qt::white, s));
        painter.drawRect(drawn);
    }
    if (isRedaction(document.tool())) {
        // Every detected word shows faintly, so the user sees what a click hides.
        QColor faint = detectedTextColour;
        faint.setAlphaF(0.22f);
        for (const QRectF &word : document.detectedTextRects())
            painter.fillRect(word, faint);
        if (m_hoveredText) {
            painter.setPen(dashedPen(detectedTextColour, s));
            painter.drawRect(*m_hoveredText);
        }
    }
    if (document.pendingMagnifier()) {
        painter.setPen(dashedPen(accent, s));
        painter.drawRect(document.pendingMagnifier()->rect());
    } else if (document.tool() == CaptureTool::magnifier && m_start && m_end && !m_geometryOriginal) {
        painter.setPen(dashedPen(accent, s));
        painter.drawRect(QRectF(*m_start, *m_end).normalized());
    }

    std::optional<CaptureAnnotation> selection = m_geometryPreview ? m_geometryPreview : document.selectedAnnotation();
    if (selection && selection->id == document.selectedID() &&
        !(m_editor && selection->id == m_editingID)) {
        QRectF bounds;
        if (selection->tool == CaptureTool::magnifier) {
            bounds = selection->rect();
            if (selection->destination)
                bounds = bounds.united(*selection->destination);
        } else {
            bounds = CaptureRenderer::annotationBounds(*selection);
        }
        painter.setPen(dashedPen(accent, s));
        painter.drawRect(bounds);
        QPen ring(accent, 1.5 / s);
        painter.setPen(ring);
        painter.setBrush(Qt::white);
        const double radius = 5 / s;
        for (const auto &[handle, point] : handles(*selection))
            painter.drawEllipse(point, radius, radius);
    }
    painter.restore();

    const QRectF divider = legendDivider();
    if (m_inputEnabled && !divider.isEmpty()) {
        const bool bottom = (m_legendPreview ? *m_legendPreview : document.composition()).legend.placement ==
                            CaptureLegendPlacement::bottom;
        const QSizeF size = bottom ? QSizeF(36, 3) : QSizeF(3, 36);
        const QRectF grip(divider.center() - QPointF(size.width() / 2, size.height() / 2), size);
        QColor fill = accent;
        fill.setAlphaF(0.65f);
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        painter.drawRoundedRect(grip, 1.5, 1.5);
    }
}

void CaptureCanvasView::setCaching(bool caching)
{
    m_caching = caching;
    update();
}
