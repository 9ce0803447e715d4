#include "CaptureToolButton.h"

#include "AppTheme.h"
#include "CaptureDocument.h"
#include "CaptureToolTable.h"
#include "SymbolIconEngine.h"

#include <QPainter>
#include <QPainterPath>

CaptureToolButton::CaptureToolButton(CaptureDocument *document, CaptureTool tool, QWidget *parent)
    : QAbstractButton(parent), m_tool(tool)
{
    setIcon(icon(tool));
    setIconSize(QSize(18, 18));
    const QString title = CaptureToolTable::title(tool);
    setToolTip(tr("%1 (%2)", "tool title and the key that picks it").arg(title, QString(CaptureToolTable::key(tool))));
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
    const CaptureToolRow &row = CaptureToolTable::row(tool);
    const QString name = QString::fromLatin1(row.themeIcon);
    if (!name.isEmpty() && QIcon::hasThemeIcon(name))
        return QIcon::fromTheme(name);
    return QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(row.symbol)));
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
    QImage glyph = SymbolIconEngine::tinted(QAbstractButton::icon(), iconSize * devicePixelRatio(),
                                            selected ? QColor(Qt::white) : primary);
    glyph.setDevicePixelRatio(devicePixelRatio());
    const QPoint origin((width() - iconSize.width()) / 2, (height() - iconSize.height()) / 2);
    painter.drawImage(origin, glyph);
}
