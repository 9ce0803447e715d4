#include "AppUpdater.h"

#include "Appcast.h"
#include "BuildVersion.h"
#include "UpdateInstaller.h"
#include "UpdaterDelegate.h"
#include "UserDefaults.h"

#include <QDateTime>
#include <QDir>
#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>

#include <functional>

namespace {

const QString automaticChecksKey = QStringLiteral("updates.automaticChecks");
const QString automaticDownloadsKey = QStringLiteral("updates.automaticDownloads");
const QString lastCheckKey = QStringLiteral("updates.lastCheckTime");
const QString skippedVersionKey = QStringLiteral("updates.skippedVersion");
constexpr qint64 checkIntervalSeconds = 24 * 60 * 60;

std::optional<UpdaterError> failureOf(const std::function<void()> &job)
{
    try {
        job();
        return std::nullopt;
    } catch (const UpdaterFailure &failure) {
        return failure.code();
    }
}

std::optional<UpdaterError> transferError(UpdateTransfer::Outcome outcome, UpdaterError failed, UpdaterError tooLarge)
{
    switch (outcome) {
    case UpdateTransfer::Outcome::completed:
        return std::nullopt;
    case UpdateTransfer::Outcome::failed:
        return failed;
    case UpdateTransfer::Outcome::tooLarge:
        return tooLarge;
    case UpdateTransfer::Outcome::notWritten:
        return UpdaterError::temporaryFile;
    }
    return failed;
}

} // namespace

AppUpdater::AppUpdater(UpdaterConfiguration configuration, UpdaterEnvironment environment, QObject *parent)
    : QObject(parent), m_configuration(std::move(configuration)), m_environment(std::move(environment))
{
    m_scheduledCheck.setSingleShot(true);
    connect(&m_scheduledCheck, &QTimer::timeout, this, [this] { beginCycle(false); });
}

AppUpdater::~AppUpdater()
{
    delete m_transfer;
}

void AppUpdater::setDelegate(UpdaterDelegate *delegate)
{
    m_delegate = delegate;
}

void AppUpdater::start()
{
    if (m_started)
        return;
    if (!UpdateInstaller::canReplace(m_environment.installedPath))
        throw UpdaterFailure(UpdaterError::notInstallable);
    UpdateInstaller::removeLeftovers(m_environment.installedPath);
    m_started = true;
    emit canCheckForUpdatesChanged(true);
    scheduleCheck();
}

bool AppUpdater::canCheckForUpdates() const
{
    return m_started && !m_cycle;
}

void AppUpdater::checkForUpdates()
{
    beginCycle(true);
}

bool AppUpdater::automaticallyChecksForUpdates() const
{
    return m_environment.defaults->boolValue(automaticChecksKey).value_or(false);
}

void AppUpdater::setAutomaticallyChecksForUpdates(bool on)
{
    if (on == automaticallyChecksForUpdates())
        return;
    m_environment.defaults->setValue(automaticChecksKey, on);
    emit automaticallyChecksForUpdatesChanged(on);
    scheduleCheck();
}

bool AppUpdater::automaticallyDownloadsUpdates() const
{
    return m_environment.defaults->boolValue(automaticDownloadsKey).value_or(false);
}

void AppUpdater::setAutomaticallyDownloadsUpdates(bool on)
{
    if (on == automaticallyDownloadsUpdates())
        return;
    m_environment.defaults->setValue(automaticDownloadsKey, on);
    emit automaticallyDownloadsUpdatesChanged(on);
}

void AppUpdater::beginCycle(bool userInitiated)
{
    if (!canCheckForUpdates())
        return;
    m_cycle = std::make_unique<Cycle>();
    m_cycle->id = ++m_lastCycleId;
    m_cycle->userInitiated = userInitiated;
    m_cycle->feed.open(QIODevice::WriteOnly);
    emit canCheckForUpdatesChanged(false);
    recordCheckTime();
    scheduleCheck();
    m_transfer = new UpdateTransfer(m_network, m_configuration.feedUrl, m_environment.sslConfiguration, m_cycle->feed,
                                    Appcast::maximumFeedSize, this);
    connect(m_transfer, &UpdateTransfer::finished, this,
            [this, id = m_cycle->id](UpdateTransfer::Outcome outcome) { feedFinished(id, outcome); });
}

void AppUpdater::feedFinished(quint64 cycleId, UpdateTransfer::Outcome outcome)
{
    if (!isCurrent(cycleId))
        return;
    if (const auto error = transferError(outcome, UpdaterError::feedUnavailable, UpdaterError::feedTooLarge))
        return abortCycle(*error);
    std::optional<AppcastItem> item;
    const std::optional<UpdaterError> error = failureOf([&] {
        item = Appcast::newestUpdate(Appcast::parse(m_cycle->feed.data()), m_configuration.runningBuild);
        if (item)
            Appcast::validate(*item);
    });
    if (error)
        return abortCycle(*error);
    if (!item || isSkipped(*item))
        return abortCycle(UpdaterError::noUpdate);
    offer(*item);
}

void AppUpdater::offer(const AppcastItem &item)
{
    m_cycle->item = item;
    if (m_delegate)
        m_delegate->updaterDidFindValidUpdate(item);
    const bool silent = !m_cycle->userInitiated && automaticallyDownloadsUpdates();
    if (silent || !m_environment.prompt)
        return download();
    QPointer<AppUpdater> self(this);
    m_environment.prompt(item, [self, id = m_cycle->id](UpdateChoice choice) {
        if (self)
            self->answered(id, choice);
    });
}

void AppUpdater::answered(quint64 cycleId, UpdateChoice choice)
{
    if (!isCurrent(cycleId) || m_cycle->archive)
        return;
    switch (choice) {
    case UpdateChoice::install:
        return download();
    case UpdateChoice::remindLater:
        return abortCycle(UpdaterError::installationPostponed);
    case UpdateChoice::skipVersion:
        m_environment.defaults->setValue(skippedVersionKey, m_cycle->item.version);
        return abortCycle(UpdaterError::installationCanceled);
    }
}

void AppUpdater::download()
{
    m_cycle->archive = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/tavimo-update-XXXXXX"));
    if (!m_cycle->archive->open())
        return abortCycle(UpdaterError::temporaryFile);
    m_transfer = new UpdateTransfer(m_network, m_cycle->item.url, m_environment.sslConfiguration, *m_cycle->archive,
                                    m_cycle->item.length, this);
    connect(m_transfer, &UpdateTransfer::finished, this,
            [this, id = m_cycle->id](UpdateTransfer::Outcome outcome) { downloadFinished(id, outcome); });
}

void AppUpdater::downloadFinished(quint64 cycleId, UpdateTransfer::Outcome outcome)
{
    if (!isCurrent(cycleId))
        return;
    if (const auto error = transferError(outcome, UpdaterError::downloadFailed, UpdaterError::archiveTooLarge))
        return abortCycle(*error);
    if (!m_cycle->archive->flush())
        return abortCycle(UpdaterError::temporaryFile);
    const QString path = m_cycle->archive->fileName();
    const AppcastItem item = m_cycle->item;
    const QByteArray publicKey = m_configuration.publicKey;
    runOffThread(
        [=] { return failureOf([&] { UpdateInstaller::verify(path, item.length, item.signature, publicKey); }); },
        [this, cycleId](std::optional<UpdaterError> error) { downloadVerified(cycleId, error); });
}

void AppUpdater::downloadVerified(quint64 cycleId, std::optional<UpdaterError> error)
{
    if (!isCurrent(cycleId))
        return;
    if (error)
        return abortCycle(*error);
    const AppcastItem item = m_cycle->item;
    if (m_delegate)
        m_delegate->updaterDidDownloadUpdate(item);
    if (!isCurrent(cycleId))
        return;
    QPointer<AppUpdater> self(this);
    const auto installLater = [self, cycleId] {
        if (self)
            self->install(cycleId);
    };
    if (!m_delegate || !m_delegate->updaterShouldPostponeRelaunch(item, installLater))
        install(cycleId);
}

void AppUpdater::install(quint64 cycleId)
{
    if (!isCurrent(cycleId) || m_cycle->installing)
        return;
    m_cycle->installing = true;
    if (m_delegate)
        m_delegate->updaterWillInstallUpdate(m_cycle->item);
    const QString installedPath = m_environment.installedPath;
    const QString archivePath = m_cycle->archive->fileName();
    runOffThread([=] { return failureOf([&] { UpdateInstaller::replace(installedPath, archivePath); }); },
                 [this, cycleId](std::optional<UpdaterError> error) { installed(cycleId, error); });
}

void AppUpdater::installed(quint64 cycleId, std::optional<UpdaterError> error)
{
    if (!isCurrent(cycleId))
        return;
    if (error)
        return abortCycle(*error);
    m_configuration.runningBuild = BuildVersion::parse(m_cycle->item.version).value_or(m_configuration.runningBuild);
    finishCycle();
    if (m_environment.relaunch)
        m_environment.relaunch(m_environment.installedPath);
}

void AppUpdater::abortCycle(UpdaterError error)
{
    m_cycle.reset();
    emit canCheckForUpdatesChanged(true);
    if (m_delegate) {
        m_delegate->updaterDidAbort(UpdaterFailure(error));
        m_delegate->updaterDidFinishUpdateCycle(error);
    }
}

void AppUpdater::finishCycle()
{
    m_cycle.reset();
    emit canCheckForUpdatesChanged(true);
    if (m_delegate)
        m_delegate->updaterDidFinishUpdateCycle(std::nullopt);
}

bool AppUpdater::isCurrent(quint64 cycleId) const
{
    return m_cycle && m_cycle->id == cycleId;
}

// A skipped version is not offered again by scheduled checks; asking for a
// check still offers it.
bool AppUpdater::isSkipped(const AppcastItem &item) const
{
    if (m_cycle->userInitiated)
        return false;
    const auto skipped =
        BuildVersion::parse(m_environment.defaults->stringValue(skippedVersionKey).value_or(QString()));
    const auto offered = BuildVersion::parse(item.version);
    return skipped && offered && BuildVersion::compare(*offered, *skipped) <= 0;
}

void AppUpdater::scheduleCheck()
{
    m_scheduledCheck.stop();
    if (!m_started || !automaticallyChecksForUpdates())
        return;
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    const qint64 last = qint64(m_environment.defaults->doubleValue(lastCheckKey).value_or(0));
    const qint64 wait = std::clamp(last + checkIntervalSeconds - now, qint64(0), checkIntervalSeconds);
    m_scheduledCheck.start(std::chrono::seconds(wait));
}

void AppUpdater::recordCheckTime()
{
    m_environment.defaults->setValue(lastCheckKey, double(QDateTime::currentSecsSinceEpoch()));
}

template <typename Job, typename Done> void AppUpdater::runOffThread(Job job, Done done)
{
    using Result = std::invoke_result_t<Job>;
    auto *watcher = new QFutureWatcher<Result>(this);
    connect(watcher, &QFutureWatcher<Result>::finished, this, [watcher, done] {
        watcher->deleteLater();
        done(watcher->result());
    });
    watcher->setFuture(QtConcurrent::run(job));
}
