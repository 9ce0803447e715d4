#include "CaptureCanvasView.h"

#include "AppTheme.h"
#include "CaptureDocument.h"
#include "CaptureInlineTextView.h"
#include "CaptureRenderer.h"
#include "CaptureToolTable.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

constexpr double inset = 24;

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

CaptureCanvasView::CaptureCanvasView(CaptureDocument *document, QWidget *parent) : QWidget(parent), m_textEditing(*this)
{
    setAccessibleName(tr("Capture canvas"));
    setAccessibleDescription(tr("Choose Select to move annotations. Double-click text to edit it. Drag arrow handles "
                                "to change its direction or curve. Delete removes a selected mark."));
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
    m_gesture.setDocument(document);
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
        m_textEditing.refresh();
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
    if (!enabled)
        m_gesture.abandon();
    m_textEditing.setReadOnly(!enabled);
    update();
    emit inputEnabledChanged(enabled);
}

void CaptureCanvasView::commitText()
{
    m_textEditing.commit();
}

// MARK: geometry

CaptureCompositionLayout CaptureCanvasView::compositionLayout() const
{
    if (!m_document)
        return {};
    const CaptureComposition &composition =
        m_gesture.legendPreview() ? *m_gesture.legendPreview() : m_document->composition();
    const QList<CaptureLegendEntry> legend =
        m_document->legendEnabled() ? m_document->legendEntries() : QList<CaptureLegendEntry>();
    return m_layouts.layout(m_document->cropRect(), m_document->annotations(), composition, legend);
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
    const CaptureComposition &composition =
        m_gesture.legendPreview() ? *m_gesture.legendPreview() : m_document->composition();
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

// MARK: mouse

void CaptureCanvasView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    press(event->position(), 1);
}

void CaptureCanvasView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseDoubleClickEvent(event);
        return;
    }
    press(event->position(), 2);
}

void CaptureCanvasView::press(QPointF p, int clickCount)
{
    if (!m_inputEnabled || !m_document)
        return;
    commitText();
    setFocus(Qt::MouseFocusReason);
    if (legendDivider().contains(p))
        m_gesture.pressLegend(p, viewScale(), compositionLayout().legendRect.size());
    else if (const std::optional<CaptureGesture::TextEdit> edit =
                 m_gesture.press(imagePoint(p, false), imageRect().contains(p), clickCount, viewScale()))
        m_textEditing.open(*edit);
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
    if (m_gesture.isResizingLegend())
        m_gesture.dragLegend(event->position());
    else
        m_gesture.drag(imagePoint(event->position(), false), event->modifiers());
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
    if (m_gesture.isResizingLegend()) {
        m_gesture.releaseLegend();
        updateCursor(event->position());
    } else {
        m_gesture.release(imagePoint(event->position(), false), event->modifiers(), viewScale());
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
    const std::optional<QRectF> hovered =
        m_inputEnabled && imageRect().contains(p) ? m_gesture.wordAt(imagePoint(p, false)) : std::nullopt;
    if (hovered != m_hoveredText) {
        m_hoveredText = hovered;
        update();
    }
}

void CaptureCanvasView::updateCursor(QPointF p)
{
    if (!m_document)
        unsetCursor();
    else
        setCursor(m_gesture.cursor(legendDivider().contains(p), imageRect().contains(p), m_inputEnabled));
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
        m_gesture.cancel();
        update();
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
        if (const std::optional<CaptureGesture::TextEdit> edit = m_gesture.textToEdit()) {
            m_textEditing.open(*edit);
            return;
        }
        break;
    default:
        break;
    }
    if (m_inputEnabled) {
        if (event->matches(QKeySequence::Undo)) {
            m_gesture.clear();
            document.undo();
            return;
        }
        if (event->matches(QKeySequence::Redo) ||
            (event->key() == Qt::Key_Y && event->modifiers() == Qt::ControlModifier)) {
            m_gesture.clear();
            document.redo();
            return;
        }
        const Qt::KeyboardModifiers modifiers = event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
        if (modifiers == Qt::NoModifier && !event->isAutoRepeat() && !m_gesture.isDragging() &&
            !m_gesture.isResizingLegend()) {
            if (const std::optional<CaptureTool> tool = CaptureToolTable::toolForKey(event->key())) {
                document.chooseTool(*tool);
                return;
            }
        }
    }
    QWidget::keyPressEvent(event);
}

void CaptureCanvasView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_textEditing.refresh();
}

// MARK: drawing

QList<CaptureAnnotation> CaptureCanvasView::marksToShow() const
{
    QList<CaptureAnnotation> marks;
    const CaptureDocument &document = *m_document;
    marks.reserve(document.annotations().size() + 2);
    for (const CaptureAnnotation &annotation : document.annotations()) {
        if (!m_textEditing.editingID().isNull() && annotation.id == m_textEditing.editingID())
            continue;
        if (m_gesture.geometryPreview() && annotation.id == m_gesture.geometryPreview()->id)
            marks.append(*m_gesture.geometryPreview());
        else
            marks.append(annotation);
    }
    if (document.pendingMagnifier()) {
        if (const std::optional<QRectF> destination = m_gesture.liveDestination()) {
            CaptureAnnotation lens = *document.pendingMagnifier();
            lens.destination = destination;
            marks.append(lens);
        }
    } else if (m_gesture.start() && m_gesture.end() && !m_gesture.geometryOriginal()) {
        const CaptureTool tool = document.tool();
        if (tool != CaptureTool::magnifier && tool != CaptureTool::crop && tool != CaptureTool::select &&
            tool != CaptureTool::text) {
            CaptureAnnotation live = document.annotation(*m_gesture.start(), *m_gesture.end());
            if (tool == CaptureTool::freehand)
                live.points = m_gesture.strokePoints();
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
    scene.composition = m_gesture.legendPreview() ? *m_gesture.legendPreview() : document.composition();
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
    if (!m_document || outputRect().isEmpty()) {
        painter.fillRect(rect(), palette().color(QPalette::Window));
        return;
    }
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

    if (document.tool() == CaptureTool::crop && m_gesture.start() && m_gesture.end() && !m_gesture.geometryOriginal()) {
        const QRectF drawn = QRectF(*m_gesture.start(), *m_gesture.end()).normalized();
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
    } else if (document.tool() == CaptureTool::magnifier && m_gesture.start() && m_gesture.end() &&
               !m_gesture.geometryOriginal()) {
        painter.setPen(dashedPen(accent, s));
        painter.drawRect(QRectF(*m_gesture.start(), *m_gesture.end()).normalized());
    }

    std::optional<CaptureAnnotation> selection =
        m_gesture.geometryPreview() ? m_gesture.geometryPreview() : document.selectedAnnotation();
    if (selection && selection->id == document.selectedID() && selection->id != m_textEditing.editingID()) {
        painter.setPen(dashedPen(accent, s));
        painter.drawRect(CaptureHandle::selectionBounds(*selection));
        QPen ring(accent, 1.5 / s);
        painter.setPen(ring);
        painter.setBrush(Qt::white);
        const double radius = 5 / s;
        for (const auto &[handle, point] : CaptureHandle::handles(*selection))
            painter.drawEllipse(point, radius, radius);
    }
    painter.restore();

    const QRectF divider = legendDivider();
    if (m_inputEnabled && !divider.isEmpty()) {
        const bool bottom =
            (m_gesture.legendPreview() ? *m_gesture.legendPreview() : document.composition()).legend.placement ==
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
