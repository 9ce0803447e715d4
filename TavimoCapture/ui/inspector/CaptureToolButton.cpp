#include "CaptureToolButton.h"

#include "AppTheme.h"
#include "CaptureCanvasView.h"
#include "CaptureDocument.h"

#include <QPainter>
#include <QPainterPath>

namespace {

// Freedesktop icon names that fit a tool; empty where none does.
QString themeName(CaptureTool tool)
{
    switch (tool) {
    case CaptureTool::text:
        return QStringLiteral("insert-text");
    case CaptureTool::crop:
        return QStringLiteral("transform-crop");
    case CaptureTool::freehand:
        return QStringLiteral("draw-freehand");
    case CaptureTool::magnifier:
        return QStringLiteral("zoom-in");
    default:
        return QString();
    }
}

} // namespace

CaptureToolButton::CaptureToolButton(CaptureDocument *document, CaptureTool tool, QWidget *parent)
    : QAbstractButton(parent), m_tool(tool)
{
    setIcon(icon(tool));
    setIconSize(QSize(18, 18));
    const QString title = toolTitle(tool);
    setToolTip(QStringLiteral("%1 (%2)").arg(title, CaptureCanvasView::keyForTool(tool)));
    setAccessibleName(title);
    setFocusPolicy(Qt::TabFocus);
    connect(this, &QAbstractButton::clicked, this, [this] {
        if (m_document)
            m_document->chooseTool(m_tool);
    });
    setDocument(document);
}

void CaptureToolButton::setDocument(CaptureDocument *document)
{
    if (m_document)
        disconnect(m_document, nullptr, this, nullptr);
    m_document = document;
    if (m_document)
        connect(m_document, &CaptureDocument::toolChanged, this, qOverload<>(&QWidget::update));
    update();
}

bool CaptureToolButton::isSelectedTool() const
{
    return m_document && m_document->tool() == m_tool;
}

QIcon CaptureToolButton::icon(CaptureTool tool)
{
    const QString fallback = QStringLiteral(":/icons/%1.svg").arg(toolSymbol(tool));
    const QString name = themeName(tool);
    if (!name.isEmpty() && QIcon::hasThemeIcon(name))
        return QIcon::fromTheme(name);
    return QIcon(fallback);
}

QString CaptureToolButton::instruction(CaptureTool tool, bool magnifierPending)
{
    switch (tool) {
    case CaptureTool::select:
        return QStringLiteral("Click an annotation to select it. Drag to move; use arrow handles to reshape.");
    case CaptureTool::arrow:
        return QStringLiteral("Drag from tail to tip. Select the arrow to adjust its ends or curve.");
    case CaptureTool::rectangle:
    case CaptureTool::oval:
        return QStringLiteral(
            "Drag a shape. Hold Shift for a square or circle. Choose outline, fill or spotlight in the inspector.");
    case CaptureTool::freehand:
        return QStringLiteral("Drag to draw. Choose Pen or Highlighter and adjust width in the inspector.");
    case CaptureTool::magnifier:
        return magnifierPending ? QStringLiteral("Now drag the enlarged destination. Escape cancels. Move and resize "
                                                 "both areas independently with Select.")
                                : QStringLiteral("First, drag over the source area to magnify.");
    case CaptureTool::text:
        return QStringLiteral("Click anywhere to type. Click outside the text to finish.");
    case CaptureTool::number:
        return QStringLiteral("Click to place the next marker. Add descriptions in the inspector\u2019s legend.");
    case CaptureTool::redact:
        return QStringLiteral(
            "Drag over private content, or detect text and click a highlighted region to hide it.");
    case CaptureTool::pixelate:
        return QStringLiteral("Drag to hide an area with an opaque pixel pattern. Adjust block size in the inspector.");
    case CaptureTool::blur:
        return QStringLiteral("Drag to soften an area. For private content, use Black redaction or Secure mosaic.");
    case CaptureTool::imagePixelate:
        return QStringLiteral("Drag to pixelate the image. This visual effect is not secure redaction.");
    case CaptureTool::crop:
        return QStringLiteral("Drag to keep an area. Use Undo to restore the previous crop.");
    }
    return {};
}

QSize CaptureToolButton::sizeHint() const
{
    return QSize(24 + 14, 24 + 8);
}

void CaptureToolButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool selected = isSelectedTool();
    const bool pressed = isDown();
    painter.setOpacity(!isEnabled() ? 0.4 : pressed ? 0.78 : 1.0);
    const QColor primary = palette().color(QPalette::WindowText);
    QColor fill = primary;
    if (selected) {
        fill = AppTheme::controlAccent();
    } else {
        fill.setAlphaF(pressed ? 0.12f : 0.055f);
    }
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 7, 7);
    painter.fillPath(shape, fill);
    if (hasFocus()) {
        painter.setPen(QPen(AppTheme::controlAccent(), 2));
        painter.drawPath(shape);
    }

    // The icon, tinted white when selected, else in the primary colour.
    const QSize iconSize = this->iconSize();
    QImage glyph(iconSize * devicePixelRatio(), QImage::Format_ARGB32_Premultiplied);
    glyph.setDevicePixelRatio(devicePixelRatio());
    glyph.fill(Qt::transparent);
    {
        QPainter tint(&glyph);
        QAbstractButton::icon().paint(&tint, QRect(QPoint(0, 0), iconSize));
        tint.setCompositionMode(QPainter::CompositionMode_SourceIn);
        tint.fillRect(QRect(QPoint(0, 0), iconSize), selected ? QColor(Qt::white) : primary);
    }
    const QPoint origin((width() - iconSize.width()) / 2, (height() - iconSize.height()) / 2);
    painter.drawImage(origin, glyph);
}
