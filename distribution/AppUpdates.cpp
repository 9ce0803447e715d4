#include "AppUpdates.h"

#include "AppUpdater.h"
#include "TavimoSignals.h"

#include <QAction>
#include <QTimer>

namespace {

constexpr int pendingPollMilliseconds = 1000;

constexpr const char *unpublishedMessage =
    QT_TRANSLATE_NOOP("AppUpdates", "Updates are not published for this build yet.");
constexpr const char *reviewMessage = QT_TRANSLATE_NOOP("AppUpdates", "Updates are disabled in review builds.");
constexpr const char *availableMessage =
    QT_TRANSLATE_NOOP("AppUpdates", "Updates use the internet. App content is never included in update checks.");
constexpr const char *startFailedPrefix = QT_TRANSLATE_NOOP("AppUpdates", "Updates could not start: ");
constexpr const char *upToDateMessage = QT_TRANSLATE_NOOP("AppUpdates", "You're up to date.");
constexpr const char *postponedMessage =
    QT_TRANSLATE_NOOP("AppUpdates", "Update installation postponed. You can check again when ready.");
constexpr const char *failedMessage =
    QT_TRANSLATE_NOOP("AppUpdates", "The update was not installed. You can check for updates again.");
constexpr const char *defaultWaitingMessage =
    QT_TRANSLATE_NOOP("AppUpdates", "Update ready. Waiting for active work to finish.");
constexpr const char *installingMessage = QT_TRANSLATE_NOOP("AppUpdates", "Installing update…");

} // namespace

AppUpdates::AppUpdates(BundleInfo bundle, UpdaterEnvironment environment, TavimoSignals &tavimoSignals, QObject *parent)
    : QObject(parent), m_message(tr(unpublishedMessage)), m_signals(tavimoSignals), m_bundle(std::move(bundle)),
      m_environment(std::move(environment))
{
}

AppUpdates::~AppUpdates()
{
    delete m_controller;
}

std::optional<QString> AppUpdates::pendingWorkActionTitle() const
{
    return m_hasPendingInstallation ? m_workActionTitle : std::nullopt;
}

void AppUpdates::start(std::function<bool()> isBusy)
{
    m_isBusy = std::move(isBusy);
    if (m_started)
        return;
    m_started = true;
    if (isReviewBuild())
        return setMessage(tr(reviewMessage));
    const std::optional<UpdaterConfiguration> configuration = UpdaterConfiguration::fromBundle(m_bundle);
    if (!configuration)
        return;
    createController(*configuration);
    try {
        m_controller->start();
    } catch (const UpdaterFailure &failure) {
        setMessage(tr(startFailedPrefix) + failure.description());
        m_signals.track(TavimoEvent::updateFailed);
        return;
    }
    setAvailable(true);
    setMessage(tr(availableMessage));
}

bool AppUpdates::isReviewBuild() const
{
    return !m_bundle.value(QStringLiteral("TavimoReviewLibrary")).isEmpty() ||
           m_bundle.value(QStringLiteral("CFBundleIdentifier")).endsWith(QStringLiteral(".review"));
}

void AppUpdates::createController(const UpdaterConfiguration &configuration)
{
    m_controller = new AppUpdater(configuration, m_environment);
    m_controller->setDelegate(this);
    connect(m_controller, &AppUpdater::canCheckForUpdatesChanged, this, &AppUpdates::setCanCheck);
    connect(m_controller, &AppUpdater::automaticallyChecksForUpdatesChanged, this,
            &AppUpdates::setAutomaticChecksMirror);
    connect(m_controller, &AppUpdater::automaticallyDownloadsUpdatesChanged, this,
            &AppUpdates::setAutomaticDownloadsMirror);
    setCanCheck(m_controller->canCheckForUpdates());
    setAutomaticChecksMirror(m_controller->automaticallyChecksForUpdates());
    setAutomaticDownloadsMirror(m_controller->automaticallyDownloadsUpdates());
}

void AppUpdates::configurePendingWorkAction(const QString &title, const QString &waitingMessage,
                                            std::function<void()> action)
{
    m_workActionTitle = title;
    m_workWaitingMessage = waitingMessage;
    m_pendingWorkAction = std::move(action);
    if (m_pendingWorkItem)
        m_pendingWorkItem->setText(title);
    refreshMenuItems();
    emit pendingWorkActionChanged();
}

void AppUpdates::check()
{
    if (m_available && m_canCheck)
        m_controller->checkForUpdates();
}

void AppUpdates::setAutomaticChecks(bool on)
{
    if (m_controller)
        m_controller->setAutomaticallyChecksForUpdates(on);
}

void AppUpdates::setAutomaticDownloads(bool on)
{
    if (m_controller)
        m_controller->setAutomaticallyDownloadsUpdates(on);
}

void AppUpdates::resolvePendingWork()
{
    if (!m_hasPendingInstallation || m_confirmingSessionClosure || !m_pendingWorkAction)
        return;
    const QUuid generation = m_pendingGeneration;
    m_confirmingSessionClosure = true;
    m_pendingWorkAction();
    if (m_hasPendingInstallation && generation == m_pendingGeneration && canInstallPending())
        installPending();
    m_confirmingSessionClosure = false;
}

void AppUpdates::showPreferences()
{
    emit preferencesRequested();
}

QAction *AppUpdates::menuItem()
{
    if (!m_checkItem) {
        m_checkItem = new QAction(tr("Check for Updates…"), this);
        connect(m_checkItem, &QAction::triggered, this, &AppUpdates::check);
        refreshMenuItems();
    }
    return m_checkItem;
}

QAction *AppUpdates::preferencesMenuItem()
{
    if (!m_preferencesItem) {
        m_preferencesItem = new QAction(tr("Update Settings…"), this);
        connect(m_preferencesItem, &QAction::triggered, this, &AppUpdates::showPreferences);
    }
    return m_preferencesItem;
}

QAction *AppUpdates::pendingWorkMenuItem()
{
    if (!m_workActionTitle)
        return nullptr;
    if (!m_pendingWorkItem) {
        m_pendingWorkItem = new QAction(*m_workActionTitle, this);
        connect(m_pendingWorkItem, &QAction::triggered, this, &AppUpdates::resolvePendingWork);
        refreshMenuItems();
    }
    return m_pendingWorkItem;
}

bool AppUpdates::validateMenuItem(const QAction *item) const
{
    if (item && item == m_pendingWorkItem)
        return m_hasPendingInstallation && m_workActionTitle.has_value();
    if (item && item == m_checkItem)
        return m_available && m_canCheck;
    return true;
}

void AppUpdates::updaterDidFindValidUpdate(const AppcastItem &)
{
    m_signals.track(TavimoEvent::updateFound);
}

void AppUpdates::updaterDidDownloadUpdate(const AppcastItem &)
{
    m_signals.track(TavimoEvent::updateDownloaded);
}

void AppUpdates::updaterWillInstallUpdate(const AppcastItem &item)
{
    m_signals.recordUpdateInstallation(item.version);
}

bool AppUpdates::updaterShouldPostponeRelaunch(const AppcastItem &, std::function<void()> install)
{
    clearPendingInstallation();
    if (!m_isBusy())
        return false;
    m_pendingInstallHandler = std::move(install);
    setHasPendingInstallation(true);
    setMessage(waitingMessage());
    const QUuid generation = m_pendingGeneration;
    m_pendingRelaunch = new QTimer(this);
    connect(m_pendingRelaunch, &QTimer::timeout, this, [this, generation] { pollPendingInstallation(generation); });
    m_pendingRelaunch->start(pendingPollMilliseconds);
    return true;
}

void AppUpdates::updaterDidAbort(const UpdaterFailure &error)
{
    clearPendingInstallation();
    m_signals.clearUpdateInstallation();
    switch (error.code()) {
    case UpdaterError::noUpdate:
        return setMessage(tr(upToDateMessage));
    case UpdaterError::installationCanceled:
    case UpdaterError::installationPostponed:
        return setMessage(tr(postponedMessage));
    default:
        setMessage(tr(failedMessage));
        m_signals.track(TavimoEvent::updateFailed);
    }
}

void AppUpdates::updaterDidFinishUpdateCycle(std::optional<UpdaterError> error)
{
    const bool wasPending = m_hasPendingInstallation;
    clearPendingInstallation();
    if (wasPending && !error)
        setMessage(tr(postponedMessage));
}

void AppUpdates::clearPendingInstallation()
{
    if (m_pendingRelaunch) {
        m_pendingRelaunch->stop();
        m_pendingRelaunch->deleteLater();
        m_pendingRelaunch = nullptr;
    }
    m_pendingInstallHandler = nullptr;
    setHasPendingInstallation(false);
    m_pendingGeneration = QUuid::createUuid();
}

void AppUpdates::pollPendingInstallation(const QUuid &generation)
{
    if (!m_hasPendingInstallation || generation != m_pendingGeneration)
        return;
    if (!m_confirmingSessionClosure && canInstallPending())
        installPending();
}

bool AppUpdates::canInstallPending() const
{
    return m_pendingInstallHandler && !m_isBusy();
}

void AppUpdates::installPending()
{
    const std::function<void()> install = std::move(m_pendingInstallHandler);
    clearPendingInstallation();
    setMessage(tr(installingMessage));
    install();
}

QString AppUpdates::waitingMessage() const
{
    return m_workWaitingMessage.value_or(tr(defaultWaitingMessage));
}

void AppUpdates::setAvailable(bool available)
{
    if (m_available == available)
        return;
    m_available = available;
    refreshMenuItems();
    emit availableChanged(available);
}

void AppUpdates::setCanCheck(bool canCheck)
{
    if (m_canCheck == canCheck)
        return;
    m_canCheck = canCheck;
    refreshMenuItems();
    emit canCheckChanged(canCheck);
}

void AppUpdates::setMessage(const QString &message)
{
    if (m_message == message)
        return;
    m_message = message;
    emit messageChanged(message);
}

void AppUpdates::setAutomaticChecksMirror(bool on)
{
    if (m_automaticChecks == on)
        return;
    m_automaticChecks = on;
    emit automaticChecksChanged(on);
}

void AppUpdates::setAutomaticDownloadsMirror(bool on)
{
    if (m_automaticDownloads == on)
        return;
    m_automaticDownloads = on;
    emit automaticDownloadsChanged(on);
}

void AppUpdates::setHasPendingInstallation(bool pending)
{
    if (m_hasPendingInstallation == pending)
        return;
    m_hasPendingInstallation = pending;
    refreshMenuItems();
    emit hasPendingInstallationChanged(pending);
}

void AppUpdates::refreshMenuItems()
{
    for (QAction *item : {m_checkItem, m_pendingWorkItem}) {
        if (item)
            item->setEnabled(validateMenuItem(item));
    }
    if (m_pendingWorkItem)
        m_pendingWorkItem->setVisible(m_hasPendingInstallation);
}
