#include "SelectionOverlay.h"

#include "DesktopWindows.h"
#include "OverlayWindow.h"

#include <QCursor>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QTimer>

#include <chrono>

using namespace std::chrono_literals;

namespace {

const QColor dimColour(0, 0, 0, 100);
const QColor accentColour(0x2f, 0x80, 0xed);
const QColor crosshairColour(255, 255, 255, 140);
const QColor labelBackground(0, 0, 0, 190);
constexpr int dragThreshold = 3;
constexpr int outlineWidth = 2;
constexpr int labelGap = 6;
constexpr int labelPixelSize = 13;
constexpr QMargins labelPadding(6, 3, 6, 3);
constexpr int inputGrabAttempts = 20;
constexpr auto inputGrabRetry = 50ms;

QRect spanned(const QPoint &a, const QPoint &b)
{
    return QRect(std::min(a.x(), b.x()), std::min(a.y(), b.y()), std::abs(a.x() - b.x()), std::abs(a.y() - b.y()));
}

QRegion outline(const QRect &rect)
{
    const QMargins ring(outlineWidth, outlineWidth, outlineWidth, outlineWidth);
    return QRegion(rect + ring) - QRegion(rect);
}

QFont labelFont()
{
    QFont font = QGuiApplication::font();
    font.setPixelSize(labelPixelSize);
    return font;
}

QString labelText(const QRect &area)
{
    return QStringLiteral("%1 \u00d7 %2").arg(area.width()).arg(area.height());
}

} // namespace

SelectionOverlay::SelectionOverlay(QImage desktop, const QList<ScreenGrabber::Monitor> &monitors, QList<QRect> windows)
    : m_desktop(std::move(desktop)), m_windows(std::move(windows))
{
    for (const ScreenGrabber::Monitor &monitor : monitors)
        m_overlays.push_back(std::make_unique<OverlayWindow>(this, monitor.geometry));
}

SelectionOverlay::~SelectionOverlay() = default;

void SelectionOverlay::show()
{
    const QPoint cursor = QCursor::pos();
    m_state = {cursor, QRect(), DesktopWindows::topmostAt(m_windows, cursor) & m_desktop.rect()};
    for (const auto &overlay : m_overlays)
        overlay->show();
}

void SelectionOverlay::hide()
{
    for (const auto &overlay : m_overlays)
        overlay->hide();
}

void SelectionOverlay::press(const QPoint &position, Qt::MouseButton button)
{
    if (button == Qt::RightButton)
        cancel();
    else if (button == Qt::LeftButton)
        m_pressed = position;
}

void SelectionOverlay::move(const QPoint &position)
{
    State state = m_state;
    state.cursor = position;
    if (m_pressed && (m_dragging || (position - *m_pressed).manhattanLength() >= dragThreshold)) {
        m_dragging = true;
        state.selection = spanned(*m_pressed, position) & m_desktop.rect();
        state.hovered = QRect();
    } else if (!m_pressed) {
        state.hovered = DesktopWindows::topmostAt(m_windows, position) & m_desktop.rect();
    }
    setState(state);
}

void SelectionOverlay::release(const QPoint &position, Qt::MouseButton button)
{
    if (button != Qt::LeftButton || !m_pressed)
        return;
    const QRect area = m_dragging ? spanned(*m_pressed, position) & m_desktop.rect()
                                  : DesktopWindows::topmostAt(m_windows, position) & m_desktop.rect();
    m_pressed.reset();
    m_dragging = false;
    if (!area.isEmpty()) {
        emit selected(area);
        return;
    }
    setState({position, QRect(), QRect()});
}

void SelectionOverlay::cancel()
{
    emit cancelled();
}

void SelectionOverlay::windowExposed(OverlayWindow *window)
{
    if (!m_inputGrabbed)
        grabInput(window, inputGrabAttempts);
}

void SelectionOverlay::grabInput(OverlayWindow *window, int attemptsLeft)
{
    if (m_inputGrabbed || !window->isVisible())
        return;
    window->requestActivate();
    m_inputGrabbed = window->setKeyboardGrabEnabled(true);
    if (m_inputGrabbed)
        window->setMouseGrabEnabled(true);
    else if (attemptsLeft > 0)
        QTimer::singleShot(inputGrabRetry, this, [=, this] { grabInput(window, attemptsLeft - 1); });
}

QRect SelectionOverlay::highlight(const State &state) const
{
    return state.selection.isEmpty() ? state.hovered : state.selection;
}

QRect SelectionOverlay::labelRect(const QRect &selection) const
{
    const QFontMetrics metrics(labelFont());
    const QRect text = metrics.boundingRect(labelText(selection)) + labelPadding;
    QRect label(QPoint(selection.left(), selection.bottom() + 1 + labelGap), text.size());
    if (!m_desktop.rect().contains(label))
        label.moveBottom(selection.top() - labelGap - 1);
    if (!m_desktop.rect().contains(label))
        label.moveTopLeft(selection.topLeft() + QPoint(labelGap, labelGap));
    label.moveLeft(std::clamp(label.left(), 0, std::max(0, m_desktop.width() - label.width())));
    return label;
}

QRegion SelectionOverlay::decorations(const State &state) const
{
    const QRect desktop = m_desktop.rect();
    QRegion region = QRegion(desktop.left(), state.cursor.y(), desktop.width(), 1) +
                     QRegion(state.cursor.x(), desktop.top(), 1, desktop.height());
    const QRect area = highlight(state);
    if (!area.isEmpty())
        region += outline(area);
    if (!state.selection.isEmpty())
        region += labelRect(state.selection);
    return region;
}

void SelectionOverlay::setState(const State &state)
{
    const QRegion damage =
        decorations(m_state) + decorations(state) + QRegion(highlight(m_state)).xored(QRegion(highlight(state)));
    m_state = state;
    for (const auto &overlay : m_overlays)
        overlay->repaint(damage);
}

void SelectionOverlay::paint(QPaintDevice &device, const QPoint &origin, const QRegion &area) const
{
    const QRegion lit(highlight(m_state));
    QPainter painter(&device);
    painter.translate(-origin);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (const QRect &rect : area)
        painter.drawImage(rect.topLeft(), m_desktop, rect);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    for (const QRect &rect : area - lit)
        painter.fillRect(rect, dimColour);
    painter.setClipRegion(area);
    paintDecorations(painter, area.boundingRect());
}

void SelectionOverlay::paintDecorations(QPainter &painter, const QRect &area) const
{
    const QRect lit = highlight(m_state);
    painter.fillRect(QRect(area.left(), m_state.cursor.y(), area.width(), 1), crosshairColour);
    painter.fillRect(QRect(m_state.cursor.x(), area.top(), 1, area.height()), crosshairColour);
    for (const QRect &rect : outline(lit))
        painter.fillRect(rect, accentColour);
    if (!m_state.selection.isEmpty())
        paintSize(painter, m_state.selection);
}

void SelectionOverlay::paintSize(QPainter &painter, const QRect &selection) const
{
    const QRect label = labelRect(selection);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(labelBackground);
    painter.drawRoundedRect(label, 4, 4);
    painter.setFont(labelFont());
    painter.setPen(Qt::white);
    painter.drawText(label, Qt::AlignCenter, labelText(selection));
}
