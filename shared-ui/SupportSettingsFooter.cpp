#include "SupportSettingsFooter.h"

#include "SupportWindow.h"
#include "TavimoSignals.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QLabel *paragraph(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

} // namespace

SupportSettingsFooter::SupportSettingsFooter(TavimoSignals &tavimoSignals, QWidget *parent)
    : QWidget(parent), m_signals(tavimoSignals), m_usage(new QCheckBox(tr("Share usage statistics"), this)),
      m_city(new QCheckBox(tr("Include approximate city"), this))
{
    auto *layout = new QVBoxLayout(this);
    auto *switches = new QHBoxLayout;
    switches->addWidget(m_usage);
    switches->addWidget(m_city);
    auto *about = new QToolButton(this);
    about->setIcon(style()->standardIcon(QStyle::SP_MessageBoxInformation));
    about->setToolTip(tr("About usage statistics and privacy"));
    about->setAccessibleName(tr("About usage statistics and privacy"));
    about->setCheckable(true);
    about->setAutoRaise(true);
    switches->addWidget(about);
    switches->addStretch();
    auto *sendFeedback = new QPushButton(tr("Send feedback…"), this);
    switches->addWidget(sendFeedback);
    layout->addLayout(switches);
    if (!m_signals.configured())
        layout->addWidget(paragraph(tr("This build sends no usage statistics."), this));

    QWidget *details = makePrivacyDetails();
    details->setVisible(false);
    layout->addWidget(details);

    connect(m_usage, &QCheckBox::toggled, &m_signals, &TavimoSignals::setEnabled);
    connect(m_city, &QCheckBox::toggled, &m_signals, &TavimoSignals::setLocationEnabled);
    connect(&m_signals, &TavimoSignals::enabledChanged, this, &SupportSettingsFooter::showSwitches);
    connect(&m_signals, &TavimoSignals::locationEnabledChanged, this, &SupportSettingsFooter::showSwitches);
    connect(about, &QToolButton::toggled, details, &QWidget::setVisible);
    connect(sendFeedback, &QPushButton::clicked, &m_signals, [this] { SupportWindow::show(m_signals, false); });
    showSwitches();
}

QWidget *SupportSettingsFooter::makePrivacyDetails()
{
    auto *details = new QWidget(this);
    auto *layout = new QVBoxLayout(details);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *title = new QLabel(tr("Usage & privacy"), details);
    QFont titleFont = title->font();
    titleFont.setBold(true);
    title->setFont(titleFont);
    layout->addWidget(title);
    layout->addWidget(paragraph(tr("Usage statistics and approximate city are enabled by default. Your "
                                   "choices are saved independently in each app and preserved across "
                                   "updates."),
                                details));
    layout->addWidget(
        paragraph(tr("Usage includes feature names, app and system versions, architecture, memory class and a random "
                     "installation identifier. No account, files, audio, text, clipboard or terminal content is "
                     "collected. Turning it off clears pending events and resets the identifier."),
                  details));
    layout->addWidget(paragraph(tr("City and country are estimated from the network connection, without "
                                   "GPS. Reports are sent only when you choose Send and do not include the "
                                   "installation identifier or city."),
                                details));
    const QUrl privacyPolicy = m_signals.privacyPolicy();
    if (!privacyPolicy.isEmpty()) {
        auto *link = new QLabel(
            QStringLiteral("<a href=\"%1\">%2</a>")
                .arg(privacyPolicy.toString(QUrl::FullyEncoded).toHtmlEscaped(), tr("Privacy policy").toHtmlEscaped()),
            details);
        link->setOpenExternalLinks(true);
        layout->addWidget(link);
    }
    return details;
}

void SupportSettingsFooter::showSwitches()
{
    const QSignalBlocker usageBlocker(m_usage);
    const QSignalBlocker cityBlocker(m_city);
    m_usage->setChecked(m_signals.enabled());
    m_city->setChecked(m_signals.locationEnabled());
    m_usage->setEnabled(m_signals.configured());
    m_city->setEnabled(m_signals.configured() && m_signals.enabled());
}
