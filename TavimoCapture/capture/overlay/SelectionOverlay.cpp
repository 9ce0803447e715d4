#include "SelectionOverlay.h"

#include "OverlayWindow.h"

#include <QCursor>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QTimer>

#include <algorithm>
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
constexpr int hintTop = 24;
constexpr QMargins labelPadding(6, 3, 6, 3);
constexpr int inputGrabAttempts = 20;
constexpr auto inputGrabRetry = 50ms;

QRect spanned(const QPoint &a, const QPoint &b)
{
    return QRect(std::min(a.x(), b.x()), std::min(a.y(), b.y()), std::abs(a.x() - b.x()), std::abs(a.y() - b.y()));
}

// The ring around `rect`, as thick on every screen.
QRegion outline(const QRect &rect, qreal scale)
{
    const int width = qRound(outlineWidth * scale);
    const QMargins ring(width, width, width, width);
    return QRegion(rect + ring) - QRegion(rect);
}

QFont labelFont(qreal scale)
{
    QFont font = QGuiApplication::font();
    font.setPixelSize(qRound(labelPixelSize * scale));
    return font;
}

QString sizeText(const QRect &area)
{
    return QStringLiteral("%1 \u00d7 %2").arg(area.width()).arg(area.height());
}

// The label's box for `text`, in pixels at `scale`.
QSize labelSize(const QString &text, qreal scale)
{
    const QMargins padding = labelPadding * scale;
    return (QFontMetrics(labelFont(scale)).boundingRect(text) + padding).size();
}

} // namespace

SelectionOverlay::SelectionOverlay(const OverlayScreens &screens, QObject *parent) : QObject(parent), m_screens(screens)
{
    for (const OverlayScreen &screen : screens)
        m_windows.push_back(std::make_unique<OverlayWindow>(this, screen));
}

SelectionOverlay::~SelectionOverlay() = default;

void SelectionOverlay::prepare(const QImage &desktop, QList<QRect> windows, const QString &hint)
{
    m_desktop = desktop;
    m_pickable = std::move(windows);
    m_hint = hint;
    m_pressed.reset();
    m_dragging = false;
    m_inputGrabbed = false;
    const QPoint cursor = cursorInDesktop();
    m_state = {cursor, QRect(), windowAt(cursor)};
    for (const auto &window : m_windows)
        window->prepareFrame();
}

void SelectionOverlay::show()
{
    // X11 places the borderless windows itself; elsewhere only full screen covers a screen.
    const bool placed = QGuiApplication::platformName() == QLatin1String("xcb");
    for (const auto &window : m_windows) {
        // Made before windows that came up since, it would map below them.
        window->raise();
        if (placed)
            window->show();
        else
            window->showFullScreen();
    }
}

void SelectionOverlay::hide()
{
    for (const auto &window : m_windows) {
        window->setKeyboardGrabEnabled(false);
        window->setMouseGrabEnabled(false);
        window->hide();
    }
    m_desktop = QImage();
}

QPoint SelectionOverlay::cursorInDesktop() const
{
    const QPoint cursor = QCursor::pos();
    const auto under = std::ranges::find_if(
        m_windows, [&](const std::unique_ptr<OverlayWindow> &window) { return window->geometry().contains(cursor); });
    return under != m_windows.end() ? (*under)->toDesktop(cursor - (*under)->position()) : cursor;
}

QRect SelectionOverlay::windowAt(const QPoint &position) const
{
    const auto hit =
        std::find_if(m_pickable.rbegin(), m_pickable.rend(), [&](const QRect &r) { return r.contains(position); });
    return hit != m_pickable.rend() ? *hit & m_desktop.rect() : QRect();
}

qreal SelectionOverlay::scaleAt(const QPoint &position) const
{
    const auto screen = std::ranges::find_if(
        m_screens, [&](const OverlayScreen &candidate) { return candidate.geometry.contains(position); });
    return screen != m_screens.end() ? screen->devicePixelRatio : 1.0;
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
        state.hovered = windowAt(position);
    }
    setState(state);
}

void SelectionOverlay::release(const QPoint &position, Qt::MouseButton button)
{
    if (button != Qt::LeftButton || !m_pressed)
        return;
    const QRect area = m_dragging ? spanned(*m_pressed, position) & m_desktop.rect() : windowAt(position);
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

void SelectionOverlay::key(int key)
{
    if (key == Qt::Key_Escape)
        cancel();
    else if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !m_pressed && !m_state.hovered.isEmpty())
        emit selected(m_state.hovered);
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

QRect SelectionOverlay::labelRect() const
{
    return m_state.selection.isEmpty() ? QRect() : labelFor(m_state.selection);
}

QRect SelectionOverlay::labelFor(const QRect &selection) const
{
    const qreal scale = scaleAt(selection.center());
    const int gap = qRound(labelGap * scale);
    QRect label(QPoint(selection.left(), selection.bottom() + 1 + gap), labelSize(sizeText(selection), scale));
    if (!m_desktop.rect().contains(label))
        label.moveBottom(selection.top() - gap - 1);
    if (!m_desktop.rect().contains(label))
        label.moveTopLeft(selection.topLeft() + QPoint(gap, gap));
    label.moveLeft(std::clamp(label.left(), 0, std::max(0, m_desktop.width() - label.width())));
    return label;
}

QRect SelectionOverlay::hintFor(const OverlayScreen &screen) const
{
    QRect hint(QPoint(), labelSize(m_hint, screen.devicePixelRatio));
    hint.moveCenter(screen.geometry.center());
    hint.moveTop(screen.geometry.top() + qRound(hintTop * screen.devicePixelRatio));
    return hint;
}

QList<QRect> SelectionOverlay::hintRects() const
{
    QList<QRect> hints;
    if (!m_hint.isEmpty()) {
        for (const OverlayScreen &screen : m_screens)
            hints.append(hintFor(screen));
    }
    return hints;
}

QRegion SelectionOverlay::decorations(const State &state) const
{
    const QRect desktop = m_desktop.rect();
    QRegion region = QRegion(desktop.left(), state.cursor.y(), desktop.width(), 1) +
                     QRegion(state.cursor.x(), desktop.top(), 1, desktop.height());
    const QRect area = highlight(state);
    if (!area.isEmpty())
        region += outline(area, scaleAt(area.center()));
    if (!state.selection.isEmpty())
        region += labelFor(state.selection);
    for (const QRect &hint : hintRects())
        region += hint;
    return region;
}

void SelectionOverlay::setState(const State &state)
{
    const QRegion damage =
        decorations(m_state) + decorations(state) + QRegion(highlight(m_state)).xored(QRegion(highlight(state)));
    m_state = state;
    for (const auto &window : m_windows)
        window->repaint(damage);
}

void SelectionOverlay::paint(QPainter &painter, const QRegion &area) const
{
    const QRegion lit(highlight(m_state));
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
    if (!lit.isEmpty()) {
        for (const QRect &rect : outline(lit, scaleAt(lit.center())))
            painter.fillRect(rect, accentColour);
    }
    if (!m_state.selection.isEmpty())
        paintLabel(painter, labelFor(m_state.selection), sizeText(m_state.selection),
                   scaleAt(m_state.selection.center()));
    for (const OverlayScreen &screen : m_hint.isEmpty() ? OverlayScreens() : m_screens) {
        const QRect hint = hintFor(screen);
        if (hint.intersects(area))
            paintLabel(painter, hint, m_hint, screen.devicePixelRatio);
    }
}

void SelectionOverlay::paintLabel(QPainter &painter, const QRect &rect, const QString &text, qreal scale) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(labelBackground);
    painter.drawRoundedRect(rect, 4 * scale, 4 * scale);
    painter.setFont(labelFont(scale));
    painter.setPen(Qt::white);
    painter.drawText(rect, Qt::AlignCenter, text);
    painter.restore();
}
