#pragma once

#include <QIcon>
#include <QWidget>

// A shipped symbol shown at a fixed size in the palette's text colour,
// redrawn when the appearance or the screen's scale changes.
class SymbolLabel : public QWidget {
public:
    SymbolLabel(const QString &path, int extent, Qt::Alignment alignment, QWidget *parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QIcon m_symbol;
    int m_extent;
    Qt::Alignment m_alignment;
};
