#include "PendingWorkUpdateNotice.h"

#include "AppUpdates.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int padding = 12;
constexpr int iconSize = 16;

QLabel *symbol()
{
    auto *label = new QLabel;
    label->setPixmap(QIcon(QStringLiteral(":/distribution/icons/arrow.down.circle.svg")).pixmap(iconSize));
    return label;
}

QFrame *divider()
{
    auto *line = new QFrame;
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

} // namespace

PendingWorkUpdateNotice::PendingWorkUpdateNotice(AppUpdates &updates, QWidget *parent)
    : QWidget(parent), m_updates(updates), m_message(new QLabel), m_work(new QPushButton)
{
    m_message->setWordWrap(true);
    auto *bar = new QWidget;
    bar->setAutoFillBackground(true);
    bar->setBackgroundRole(QPalette::AlternateBase);
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(padding, padding, padding, padding);
    row->addWidget(symbol());
    row->addWidget(m_message, 1);
    row->addWidget(m_work);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(divider());

    connect(m_work, &QPushButton::clicked, &m_updates, &AppUpdates::resolvePendingWork);
    connect(&m_updates, &AppUpdates::hasPendingInstallationChanged, this, &PendingWorkUpdateNotice::refresh);
    connect(&m_updates, &AppUpdates::messageChanged, this, &PendingWorkUpdateNotice::refresh);
    connect(&m_updates, &AppUpdates::pendingWorkActionChanged, this, &PendingWorkUpdateNotice::refresh);
    refresh();
}

void PendingWorkUpdateNotice::refresh()
{
    const std::optional<QString> workTitle = m_updates.workActionTitle();
    m_message->setText(m_updates.message());
    m_work->setText(workTitle.value_or(QString()));
    setVisible(m_updates.hasPendingInstallation() && workTitle.has_value());
}
