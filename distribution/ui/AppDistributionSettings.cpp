#include "AppDistributionSettings.h"

#include "AppUpdates.h"
#include "CaptionLabel.h"
#include "SupportSettingsFooter.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

constexpr QSize settingsSize(520, 540);

} // namespace

AppDistributionSettings::AppDistributionSettings(AppUpdates &updates, QWidget *parent)
    : QWidget(parent), m_updates(updates), m_automaticChecks(new QCheckBox(tr("Automatically check for updates"))),
      m_automaticDownloads(new QCheckBox(tr("Download updates automatically"))),
      m_check(new QPushButton(tr("Check for Updates…"))), m_status(CaptionLabel::make()), m_pendingWork(new QPushButton)
{
    setFixedSize(settingsSize);
    auto *form = new QWidget;
    auto *sections = new QVBoxLayout(form);
    sections->addWidget(makeUpdatesSection());
    sections->addWidget(new SupportSettingsFooter(updates.tavimoSignals()));
    sections->addStretch();
    auto *scroll = new QScrollArea;
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidget(form);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);

    connect(m_automaticChecks, &QCheckBox::clicked, this, [this](bool on) {
        m_updates.setAutomaticChecks(on);
        refresh();
    });
    connect(m_automaticDownloads, &QCheckBox::clicked, this, [this](bool on) {
        m_updates.setAutomaticDownloads(on);
        refresh();
    });
    connect(m_check, &QPushButton::clicked, &m_updates, &AppUpdates::check);
    connect(m_pendingWork, &QPushButton::clicked, &m_updates, &AppUpdates::resolvePendingWork);
    for (auto changed :
         {&AppUpdates::availableChanged, &AppUpdates::canCheckChanged, &AppUpdates::automaticChecksChanged,
          &AppUpdates::automaticDownloadsChanged, &AppUpdates::hasPendingInstallationChanged})
        connect(&m_updates, changed, this, &AppDistributionSettings::refresh);
    connect(&m_updates, &AppUpdates::messageChanged, this, &AppDistributionSettings::refresh);
    connect(&m_updates, &AppUpdates::pendingWorkActionChanged, this, &AppDistributionSettings::refresh);
    refresh();
}

QWidget *AppDistributionSettings::makeUpdatesSection()
{
    auto *section = new QGroupBox(tr("Updates"));
    auto *layout = new QVBoxLayout(section);
    layout->addWidget(m_automaticChecks);
    layout->addWidget(m_automaticDownloads);
    layout->addWidget(m_check, 0, Qt::AlignLeft);
    layout->addWidget(m_status);
    layout->addWidget(m_pendingWork, 0, Qt::AlignLeft);
    layout->addWidget(CaptionLabel::make(tr("Installation waits until active work finishes. You can keep automatic "
                                            "checks off and update manually.")));
    return section;
}

void AppDistributionSettings::refresh()
{
    const bool available = m_updates.available();
    m_automaticChecks->setChecked(m_updates.automaticChecks());
    m_automaticChecks->setEnabled(available);
    m_automaticDownloads->setChecked(m_updates.automaticDownloads());
    m_automaticDownloads->setEnabled(available && m_updates.automaticChecks());
    m_check->setEnabled(available && m_updates.canCheck());
    m_status->setText(m_updates.message());
    const std::optional<QString> workTitle = m_updates.workActionTitle();
    m_pendingWork->setText(workTitle.value_or(QString()));
    m_pendingWork->setVisible(m_updates.hasPendingInstallation() && workTitle.has_value());
}
