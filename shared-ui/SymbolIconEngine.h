#pragma once

#include <QIcon>
#include <QIconEngine>

// A shipped one-colour symbol drawn in the palette's text colour, as desktop
// icon themes draw their symbolic icons: black artwork stays readable in dark
// appearance and follows a switch of appearance at the next paint.
class SymbolIconEngine : public QIconEngine {
public:
    explicit SymbolIconEngine(const QString &path);

    // The symbol at `path` (a file or a resource) as an icon.
    static QIcon icon(const QString &path);
    // `artwork` centred in a clear image of `pixels`, in `ink` wherever it covers.
    static QImage tinted(const QIcon &artwork, const QSize &pixels, const QColor &ink, QIcon::State state = QIcon::Off);

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state, qreal scale) override;
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QIconEngine *clone() const override;
    QString key() const override;

private:
    QIcon m_artwork;
};
