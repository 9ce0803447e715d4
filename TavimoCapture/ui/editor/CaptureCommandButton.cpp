#include "CaptureCommandButton.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>

CaptureCommandButton::CaptureCommandButton(const QString &title, const QString &keyLabel, QWidget *parent)
    : QPushButton(parent), m_symbol(new QLabel), m_title(new QLabel(title)), m_keyLabel(new QLabel(keyLabel))
{
    setAccessibleName(title);
    setAttribute(Qt::WA_Hover);
    m_keyLabel->setForegroundRole(QPalette::PlaceholderText);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(10, 5, 10, 5);
    layout->setSpacing(8);
    for (QLabel *label : {m_symbol, m_title, m_keyLabel})
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_symbol->hide();
    layout->addWidget(m_symbol);
    layout->addWidget(m_title);
    layout->addStretch(1);
    layout->addSpacing(12);
    layout->addWidget(m_keyLabel);
}

QSize CaptureCommandButton::sizeHint() const
{
    return layout()->sizeHint();
}

QSize CaptureCommandButton::minimumSizeHint() const
{
    return layout()->minimumSize();
}

void CaptureCommandButton::paintEvent(QPaintEvent *event)
{
    if (!isFlat()) {
        QPushButton::paintEvent(event);
        return;
    }
    if (!underMouse() && !hasFocus())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette().color(QPalette::Midlight));
    painter.drawRoundedRect(QRectF(rect()), 6, 6);
}

QString CaptureCommandButton::title() const
{
    return m_title->text();
}

QString CaptureCommandButton::keyLabel() const
{
    return m_keyLabel->text();
}

void CaptureCommandButton::setSymbol(const QIcon &icon)
{
    m_symbol->setPixmap(icon.pixmap(16, 16));
    m_symbol->setVisible(!icon.isNull());
}
