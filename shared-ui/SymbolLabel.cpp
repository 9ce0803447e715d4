#include "SymbolLabel.h"

#include "SymbolIconEngine.h"

#include <QPainter>
#include <QStyle>

SymbolLabel::SymbolLabel(const QString &path, int extent, Qt::Alignment alignment, QWidget *parent)
    : QWidget(parent), m_symbol(SymbolIconEngine::icon(path)), m_extent(extent), m_alignment(alignment)
{
    setMinimumSize(extent, extent);
}

QSize SymbolLabel::sizeHint() const
{
    return QSize(m_extent, m_extent);
}

void SymbolLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect box = QStyle::alignedRect(layoutDirection(), m_alignment, QSize(m_extent, m_extent), rect());
    m_symbol.paint(&painter, box, Qt::AlignCenter, isEnabled() ? QIcon::Normal : QIcon::Disabled);
}
