#include "SymbolIconEngine.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>

#include <cmath>

namespace {

QColor inkFor(QIcon::Mode mode)
{
    const QPalette palette = QGuiApplication::palette();
    switch (mode) {
    case QIcon::Disabled:
        return palette.color(QPalette::Disabled, QPalette::WindowText);
    case QIcon::Selected:
        return palette.color(QPalette::HighlightedText);
    case QIcon::Normal:
    case QIcon::Active:
        break;
    }
    return palette.color(QPalette::WindowText);
}

} // namespace

SymbolIconEngine::SymbolIconEngine(const QString &path) : m_artwork(path)
{
}

QIcon SymbolIconEngine::icon(const QString &path)
{
    return QIcon(new SymbolIconEngine(path));
}

void SymbolIconEngine::paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state)
{
    const qreal scale = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    const QSize pixels(int(std::ceil(rect.width() * scale)), int(std::ceil(rect.height() * scale)));
    painter->drawPixmap(rect, scaledPixmap(pixels, mode, state, scale));
}

QPixmap SymbolIconEngine::pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state)
{
    const QImage symbol = tinted(m_artwork, m_artwork.actualSize(size, QIcon::Normal, state), inkFor(mode), state);
    return symbol.isNull() ? QPixmap() : QPixmap::fromImage(symbol);
}

// The artwork's shape filled with the ink: only its coverage is kept.
QImage SymbolIconEngine::tinted(const QIcon &artwork, const QSize &pixels, const QColor &ink, QIcon::State state)
{
    QImage symbol(pixels, QImage::Format_ARGB32_Premultiplied);
    if (symbol.isNull())
        return symbol;
    symbol.fill(Qt::transparent);
    QPainter painter(&symbol);
    artwork.paint(&painter, symbol.rect(), Qt::AlignCenter, QIcon::Normal, state);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(symbol.rect(), ink);
    return symbol;
}

// `size` counts device pixels.
QPixmap SymbolIconEngine::scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state, qreal scale)
{
    QPixmap symbol = pixmap(size, mode, state);
    symbol.setDevicePixelRatio(scale);
    return symbol;
}

QSize SymbolIconEngine::actualSize(const QSize &size, QIcon::Mode, QIcon::State state)
{
    return m_artwork.actualSize(size, QIcon::Normal, state);
}

QIconEngine *SymbolIconEngine::clone() const
{
    return new SymbolIconEngine(*this);
}

QString SymbolIconEngine::key() const
{
    return QStringLiteral("SymbolIconEngine");
}
