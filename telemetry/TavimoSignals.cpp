#include "TavimoSignals.h"

#include "MoxterClient.h"
#include "MoxterConfiguration.h"
#include "TelemetryPreferences.h"
#include "UserDefaults.h"

#include <QCoreApplication>
#include <QUuid>

namespace {

QString appNameOf(const BundleInfo &bundle)
{
    for (const char *key : {"CFBundleDisplayName", "CFBundleName"}) {
        const QString name = bundle.value(QLatin1String(key));
        if (!name.isEmpty())
            return name;
    }
    return QStringLiteral("Tavimo");
}

QUrl privacyPolicyOf(const BundleInfo &bundle)
{
    const QUrl url(bundle.value(QStringLiteral("TavimoPrivacyPolicyURL")), QUrl::StrictMode);
    return url.isValid() && url.scheme() == QLatin1String("https") ? url : QUrl();
}

bool isInstallationIdentifier(const QString &text)
{
    return text.size() == 36 && !QUuid::fromString(text).isNull();
}

} // namespace

TavimoSignals &TavimoSignals::shared()
{
    static QPointer<TavimoSignals> instance;
    if (!instance)
        instance = new TavimoSignals(BundleInfo::main(), UserDefaults::standard(), {}, QCoreApplication::instance());
    return *instance;
}

TavimoSignals::TavimoSignals(const BundleInfo &bundle, UserDefaults &defaults, std::unique_ptr<MoxterClient> client,
                             QObject *parent)
    : QObject(parent), m_context(AppSignalContext::current(bundle)), m_client(std::move(client)), m_defaults(defaults),
      m_session(defaults, m_context.app), m_currentBuild(bundle.value(QStringLiteral("CFBundleVersion"))),
      m_appName(appNameOf(bundle)), m_privacyPolicy(privacyPolicyOf(bundle))
{
    const TelemetryPreferences preferences = TelemetryPreferences::load(defaults);
    m_enabled = preferences.usage;
    m_locationEnabled = preferences.city;

    std::optional<MoxterConfiguration> configuration = MoxterConfiguration::fromBundle(bundle);
    m_configured = configuration.has_value();
    if (!m_client)
        m_client = std::make_unique<MoxterClient>(std::move(configuration), m_context);

    if (!m_enabled || !m_configured)
        m_session.setEnabled(false);
    if (QCoreApplication *application = QCoreApplication::instance())
        connect(application, &QCoreApplication::aboutToQuit, this, &TavimoSignals::applicationWillTerminate);
}

TavimoSignals::~TavimoSignals()
{
    delete m_supportWindow.data();
}

QString TavimoSignals::installationKey()
{
    return QStringLiteral("tavimo.installation.v1");
}

void TavimoSignals::start()
{
    if (m_started)
        return;
    m_started = true;
    const bool unclean = m_session.start(m_enabled && m_configured);
    track(TavimoEvent::appOpened);
    if (unclean)
        track(TavimoEvent::appUncleanExit);
    if (m_session.consumeUpdateInstallation(m_currentBuild))
        track(TavimoEvent::updateInstalled);
}

void TavimoSignals::track(TavimoEvent event)
{
    if (!m_enabled || !m_configured)
        return;
    const quint64 revision = m_preferenceRevision;
    const QString identifier = installationIdentifier();
    const bool location = m_locationEnabled;
    chain([this, event, revision, identifier, location] {
        if (!m_enabled || revision != m_preferenceRevision)
            return;
        m_client->setConsent(true, identifier, location);
        m_client->event(event);
    });
}

void TavimoSignals::setEnabled(bool on)
{
    ++m_preferenceRevision;
    const bool changed = m_enabled != on;
    m_enabled = on;
    m_defaults.setValue(TelemetryPreferences::usageKey(), on);
    if (on) {
        m_session.setEnabled(m_configured);
        if (m_configured)
            installationIdentifier();
    } else {
        m_session.setEnabled(false);
        m_defaults.remove(installationKey());
    }
    const quint64 revision = m_preferenceRevision;
    chain([this, on, revision] {
        if (!on)
            m_client->setConsent(false, std::nullopt, false);
        else if (revision == m_preferenceRevision)
            m_client->setConsent(true, consentIdentifier(), m_locationEnabled);
    });
    if (changed)
        emit enabledChanged(on);
}

void TavimoSignals::setLocationEnabled(bool on)
{
    ++m_preferenceRevision;
    const bool changed = m_locationEnabled != on;
    m_locationEnabled = on;
    m_defaults.setValue(TelemetryPreferences::cityKey(), on);
    const quint64 revision = m_preferenceRevision;
    chain([this, on, revision] {
        if (revision == m_preferenceRevision)
            m_client->setConsent(m_enabled, consentIdentifier(), on);
    });
    if (changed)
        emit locationEnabledChanged(on);
}

void TavimoSignals::setFeedbackIsBug(bool bug)
{
    if (m_feedbackIsBug == bug)
        return;
    m_feedbackIsBug = bug;
    emit feedbackIsBugChanged(bug);
}

QFuture<bool> TavimoSignals::feedback(const QString &message, bool bug)
{
    return m_client->feedback(message, bug);
}

QString TavimoSignals::reviewedMetadata() const
{
    return QStringLiteral("App: %1\nRelease: %2\nSystem: %3\nArchitecture: %4\nMemory class: %5")
        .arg(m_context.app, m_context.release, m_context.os, m_context.architecture, m_context.memoryClass);
}

void TavimoSignals::setSupportWindow(QObject *window)
{
    delete m_supportWindow.data();
    m_supportWindow = window;
}

void TavimoSignals::recordUpdateInstallation(const QString &version)
{
    m_session.recordUpdateInstallation(version);
}

void TavimoSignals::clearUpdateInstallation()
{
    m_session.clearUpdateInstallation();
}

void TavimoSignals::applicationWillTerminate()
{
    m_session.finish();
}

// Made on first need; a stored text that is not a UUID is replaced.
QString TavimoSignals::installationIdentifier()
{
    const std::optional<QString> stored = m_defaults.stringValue(installationKey());
    if (stored && isInstallationIdentifier(*stored))
        return *stored;
    const QString identifier = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    m_defaults.setValue(installationKey(), identifier);
    return identifier;
}

// The identifier the client may send with events: none while statistics are
// off or this build sends nothing.
std::optional<QString> TavimoSignals::consentIdentifier()
{
    if (!m_enabled || !m_configured)
        return std::nullopt;
    return installationIdentifier();
}

// Posted calls run in the order they were posted, so consent changes and
// events reach the client in the order they were made.
void TavimoSignals::chain(std::function<void()> operation)
{
    QMetaObject::invokeMethod(this, std::move(operation), Qt::QueuedConnection);
}
