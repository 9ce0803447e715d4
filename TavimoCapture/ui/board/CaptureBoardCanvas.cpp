#include "CaptureBoardCanvas.h"

#include "CaptureBoard.h"
#include "CaptureBoardPreviews.h"
#include "CaptureErrorText.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

#include <algorithm>
#include <exception>

namespace {

constexpr const char *handleHelp = QT_TRANSLATE_NOOP("CaptureBoardCanvas", "Resize image, preserving its aspect ratio");

} // namespace

CaptureBoardCanvas::CaptureBoardCanvas(CaptureBoard &board, const CaptureBoardPreviews &previews, QWidget *parent)
    : QWidget(parent), m_board(&board), m_previews(previews)
{
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    connect(&board, &CaptureBoard::changed, this, qOverload<>(&QWidget::update));
    connect(&previews, &CaptureBoardPreviews::previewsChanged, this, [this] {
        m_scaledPreviews.removeIf([this](auto entry) { return !m_previews.previews().contains(entry.key()); });
        update();
    });
}

CaptureBoardFit CaptureBoardCanvas::fit() const
{
    return CaptureBoardFit(m_board ? m_board->bounds() : QRectF(), QSizeF(size()));
}

const CaptureBoardItem *CaptureBoardCanvas::item(const QUuid &id) const
{
    if (!m_board)
        return nullptr;
    const QList<CaptureBoardItem> &items = m_board->items();
    const auto found =
        std::find_if(items.cbegin(), items.cend(), [&](const CaptureBoardItem &i) { return i.id == id; });
    return found == items.cend() ? nullptr : &*found;
}

QRectF CaptureBoardCanvas::drawnFrame(const CaptureBoardItem &item) const
{
    return item.id == m_dragID && m_dragFrame ? *m_dragFrame : item.frame;
}

QRectF CaptureBoardCanvas::itemRect(const QUuid &id) const
{
    const CaptureBoardItem *found = item(id);
    return found ? fit().toView(drawnFrame(*found)) : QRectF();
}

QRectF CaptureBoardCanvas::handleRect(const QUuid &id) const
{
    const QRectF rect = itemRect(id);
    if (rect.isNull())
        return QRectF();
    return QRectF(rect.bottomRight() - QPointF(handleSize, handleSize), QSizeF(handleSize, handleSize));
}

// The topmost item under the pointer: later items are drawn above earlier ones.
QUuid CaptureBoardCanvas::itemAt(QPointF position) const
{
    if (!m_board)
        return QUuid();
    const QList<CaptureBoardItem> &items = m_board->items();
    for (auto it = items.crbegin(); it != items.crend(); ++it) {
        if (itemRect(it->id).contains(position))
            return it->id;
    }
    return QUuid();
}

bool CaptureBoardCanvas::isOnHandle(QPointF position) const
{
    return m_board && handleRect(m_board->selectedID()).contains(position);
}

void CaptureBoardCanvas::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_board)
        return;
    m_pressPosition = event->position();
    if (isOnHandle(m_pressPosition)) {
        m_gesture = Gesture::resizing;
        m_dragID = m_board->selectedID();
        return;
    }
    m_dragID = itemAt(m_pressPosition);
    if (m_dragID.isNull())
        return;
    m_gesture = Gesture::pressed;
    m_board->select(m_dragID);
}

void CaptureBoardCanvas::mouseMoveEvent(QMouseEvent *event)
{
    if (m_gesture == Gesture::none) {
        setCursor(isOnHandle(event->position()) ? Qt::SizeFDiagCursor : Qt::ArrowCursor);
        return;
    }
    if (m_gesture == Gesture::pressed &&
        (event->position() - m_pressPosition).manhattanLength() >= QApplication::startDragDistance())
        m_gesture = Gesture::moving;
    if (m_gesture != Gesture::pressed)
        drag(event->position());
}

void CaptureBoardCanvas::drag(QPointF position)
{
    const CaptureBoardItem *dragged = item(m_dragID);
    if (!dragged)
        return;
    const CaptureBoardFit placement = fit();
    const QPointF translation = position - m_pressPosition;
    const QRectF frame = dragged->frame;
    if (m_gesture == Gesture::moving) {
        m_board->select(m_dragID);
        m_dragFrame = frame.translated(placement.toBoard(translation.x()), placement.toBoard(translation.y()));
    } else {
        // The vertical part of the drag is ignored: the aspect ratio stays.
        const double width = std::max(frame.width() + placement.toBoard(translation.x()), minimumItemWidth);
        m_dragFrame = QRectF(frame.topLeft(), QSizeF(width, frame.height() * width / frame.width()));
    }
    update();
}

void CaptureBoardCanvas::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    commit();
}

void CaptureBoardCanvas::commit()
{
    const std::optional<QRectF> frame = m_dragFrame;
    const QUuid id = m_dragID;
    endGesture();
    if (!frame || !m_board)
        return;
    try {
        m_board->updateFrame(id, *frame);
        emit arranged(QString());
    } catch (const std::exception &error) {
        emit arranged(CaptureErrorText::of(error));
    }
}

void CaptureBoardCanvas::endGesture()
{
    m_gesture = Gesture::none;
    m_dragFrame.reset();
    m_dragID = QUuid();
    update();
}

void CaptureBoardCanvas::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_board)
        return;
    const QUuid id = itemAt(event->position());
    if (id.isNull())
        return;
    endGesture();
    m_board->select(id);
    emit editRequested();
}

bool CaptureBoardCanvas::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        if (isOnHandle(help->pos()))
            QToolTip::showText(help->globalPos(), tr(handleHelp), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

void CaptureBoardCanvas::paintEvent(QPaintEvent *)
{
    if (!m_board)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    for (const CaptureBoardItem &boardItem : m_board->items())
        paintItem(painter, boardItem);
}

void CaptureBoardCanvas::paintItem(QPainter &painter, const CaptureBoardItem &boardItem)
{
    const QRectF rect = itemRect(boardItem.id);
    const QImage preview = m_previews.previews().value(boardItem.id);
    if (preview.isNull()) {
        QColor placeholder = palette().color(QPalette::PlaceholderText);
        placeholder.setAlphaF(0.12f);
        painter.fillRect(rect, placeholder);
    } else {
        const QPixmap &scaled = scaledPreview(boardItem.id, preview, rect.size().toSize());
        painter.drawPixmap(rect, scaled, QRectF(scaled.rect()));
    }
    if (boardItem.id != m_board->selectedID())
        return;
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect.adjusted(1, 1, -1, -1));
    paintHandle(painter, handleRect(boardItem.id));
}

// A disc with a diagonal double arrow.
void CaptureBoardCanvas::paintHandle(QPainter &painter, const QRectF &handle) const
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette().color(QPalette::Highlight));
    painter.drawEllipse(handle.adjusted(1, 1, -1, -1));
    const QRectF arrow = handle.adjusted(6, 6, -6, -6);
    const double head = arrow.width() / 3;
    QPainterPath path;
    path.moveTo(arrow.topLeft());
    path.lineTo(arrow.bottomRight());
    path.moveTo(arrow.topLeft() + QPointF(head, 0));
    path.lineTo(arrow.topLeft());
    path.lineTo(arrow.topLeft() + QPointF(0, head));
    path.moveTo(arrow.bottomRight() - QPointF(head, 0));
    path.lineTo(arrow.bottomRight());
    path.lineTo(arrow.bottomRight() - QPointF(0, head));
    painter.setPen(QPen(palette().color(QPalette::HighlightedText), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
}

// The preview scaled once per drawn size, so repaints while dragging stay cheap.
const QPixmap &CaptureBoardCanvas::scaledPreview(const QUuid &id, const QImage &preview, QSize size)
{
    const QSize pixels = (QSizeF(size) * devicePixelRatioF()).toSize().expandedTo(QSize(1, 1));
    ScaledPreview &cached = m_scaledPreviews[id];
    if (cached.source != preview.cacheKey() || cached.pixmap.size() != pixels) {
        cached.source = preview.cacheKey();
        cached.pixmap = QPixmap::fromImage(preview.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    return cached.pixmap;
}
