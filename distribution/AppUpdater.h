#pragma once

#include "AppcastItem.h"
#include "UpdateChoice.h"
#include "UpdateTransfer.h"
#include "UpdaterConfiguration.h"
#include "UpdaterEnvironment.h"
#include "UpdaterError.h"

#include <QBuffer>
#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QTemporaryFile>
#include <QTimer>

#include <memory>
#include <optional>

class UpdaterDelegate;

// Checks the signed update feed, downloads the newest build into a private
// temporary file, verifies its length and Ed25519 signature, and replaces the
// installed app with it. One cycle runs at a time; the delegate hears about
// every step and may hold back the installation. GUI thread only.
class AppUpdater : public QObject {
    Q_OBJECT

public:
    AppUpdater(UpdaterConfiguration configuration, UpdaterEnvironment environment, QObject *parent = nullptr);
    ~AppUpdater() override;

    void setDelegate(UpdaterDelegate *delegate);

    // Enables checks and schedules the automatic ones. Throws UpdaterFailure
    // when the installed app cannot be replaced.
    void start();

    // True once started and while no cycle runs.
    bool canCheckForUpdates() const;
    // A check the user asked for: a found update is always offered.
    void checkForUpdates();

    // Checks every 24 hours while on (off unless the user turned it on).
    bool automaticallyChecksForUpdates() const;
    void setAutomaticallyChecksForUpdates(bool on);
    // Scheduled checks download without asking first.
    bool automaticallyDownloadsUpdates() const;
    void setAutomaticallyDownloadsUpdates(bool on);

signals:
    void canCheckForUpdatesChanged(bool canCheck);
    void automaticallyChecksForUpdatesChanged(bool on);
    void automaticallyDownloadsUpdatesChanged(bool on);

private:
    struct Cycle {
        quint64 id = 0;
        bool userInitiated = false;
        AppcastItem item;
        QBuffer feed;
        std::unique_ptr<QTemporaryFile> archive;
        bool installing = false;
    };

    void beginCycle(bool userInitiated);
    void feedFinished(quint64 cycleId, UpdateTransfer::Outcome outcome);
    void offer(const AppcastItem &item);
    void answered(quint64 cycleId, UpdateChoice choice);
    void download();
    void downloadFinished(quint64 cycleId, UpdateTransfer::Outcome outcome);
    void downloadVerified(quint64 cycleId, std::optional<UpdaterError> error);
    void install(quint64 cycleId);
    void installed(quint64 cycleId, std::optional<UpdaterError> error);
    void abortCycle(UpdaterError error);
    void finishCycle();
    bool isCurrent(quint64 cycleId) const;
    bool isSkipped(const AppcastItem &item) const;
    void scheduleCheck();
    void recordCheckTime();
    template <typename Job, typename Done> void runOffThread(Job job, Done done);

    UpdaterConfiguration m_configuration;
    UpdaterEnvironment m_environment;
    UpdaterDelegate *m_delegate = nullptr;
    QNetworkAccessManager m_network;
    QTimer m_scheduledCheck;
    QPointer<UpdateTransfer> m_transfer;
    std::unique_ptr<Cycle> m_cycle;
    quint64 m_lastCycleId = 0;
    bool m_started = false;
};
