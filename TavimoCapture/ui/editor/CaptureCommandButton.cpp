#include "CaptureCommandButton.h"

#include <QHBoxLayout>
#include <QLabel>

CaptureCommandButton::CaptureCommandButton(const QString &title, const QString &keyLabel, QWidget *parent)
    : QPushButton(title, parent), m_keyLabel(new QLabel(keyLabel))
{
    m_keyLabel->setForegroundRole(QPalette::PlaceholderText);
    m_keyLabel->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(10, 0, 10, 0);
    layout->addStretch(1);
    layout->addWidget(m_keyLabel);
    setMinimumWidth(sizeHint().width() + m_keyLabel->sizeHint().width() + 16);
}

QString CaptureCommandButton::keyLabel() const
{
    return m_keyLabel->text();
}
