#include "CaptureProminentButton.h"

#include <QStyleOptionToolButton>
#include <QStylePainter>

namespace {
constexpr int cornerRadius = 5;
const QSize padding(16, 4);
} // namespace

QSize CaptureProminentButton::sizeHint() const
{
    return QToolButton::sizeHint() + padding;
}

void CaptureProminentButton::paintEvent(QPaintEvent *event)
{
    if (!isEnabled()) {
        QToolButton::paintEvent(event);
        return;
    }
    QStylePainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const QColor fill = palette().color(QPalette::Highlight);
    painter.setBrush(isDown() ? fill.darker(115) : fill);
    painter.drawRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);

    QStyleOptionToolButton option;
    initStyleOption(&option);
    option.palette.setColor(QPalette::ButtonText, palette().color(QPalette::HighlightedText));
    painter.drawControl(QStyle::CE_ToolButtonLabel, option);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}
