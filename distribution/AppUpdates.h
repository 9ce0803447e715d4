#pragma once

#include "BundleInfo.h"
#include "UpdaterDelegate.h"
#include "UpdaterEnvironment.h"

#include <QObject>
#include <QString>
#include <QUuid>

#include <functional>
#include <optional>

class AppUpdater;
class QAction;
class QTimer;
class TavimoSignals;
struct UpdaterConfiguration;

// The app's side of updates: decides whether this build may update at all,
// mirrors the updater's state for menus and views, and holds back installing
// a downloaded update while the app is busy, installing it as soon as the app
// is idle or the user resolves the pending work. GUI thread only.
class AppUpdates : public QObject, private UpdaterDelegate {
    Q_OBJECT

public:
    // The app passes BundleInfo::main(), UpdatePrompt::standardEnvironment() and
    // TavimoSignals::shared().
    AppUpdates(BundleInfo bundle, UpdaterEnvironment environment, TavimoSignals &tavimoSignals,
               QObject *parent = nullptr);
    ~AppUpdates() override;

    bool available() const { return m_available; }
    bool canCheck() const { return m_canCheck; }
    QString message() const { return m_message; }
    bool automaticChecks() const { return m_automaticChecks; }
    bool automaticDownloads() const { return m_automaticDownloads; }
    bool hasPendingInstallation() const { return m_hasPendingInstallation; }
    std::optional<QString> workActionTitle() const { return m_workActionTitle; }
    TavimoSignals &tavimoSignals() const { return m_signals; }
    // The pending-work command's title while an installation waits.
    std::optional<QString> pendingWorkActionTitle() const;

    // Remembers `isBusy` and starts the updater once, unless this is a review
    // build or the build's feed settings are unusable.
    void start(std::function<bool()> isBusy);
    // How the app resolves the work that holds an update back.
    void configurePendingWorkAction(const QString &title, const QString &waitingMessage, std::function<void()> action);
    // A check the user asked for; nothing unless updates are available and idle.
    void check();
    void setAutomaticChecks(bool on);
    void setAutomaticDownloads(bool on);
    // Runs the pending-work action, then installs at once if the app became idle.
    void resolvePendingWork();
    // Asks for the "Update Settings" window.
    void showPreferences();

    // "Check for Updates…", "Update Settings…" and the pending-work command
    // (none without a work action title), kept enabled as validateMenuItem says.
    QAction *menuItem();
    QAction *preferencesMenuItem();
    QAction *pendingWorkMenuItem();
    bool validateMenuItem(const QAction *item) const;

signals:
    void availableChanged(bool available);
    void canCheckChanged(bool canCheck);
    void messageChanged(const QString &message);
    void automaticChecksChanged(bool on);
    void automaticDownloadsChanged(bool on);
    void hasPendingInstallationChanged(bool pending);
    void pendingWorkActionChanged();
    void preferencesRequested();

private:
    void updaterDidFindValidUpdate(const AppcastItem &item) override;
    void updaterDidDownloadUpdate(const AppcastItem &item) override;
    void updaterWillInstallUpdate(const AppcastItem &item) override;
    bool updaterShouldPostponeRelaunch(const AppcastItem &item, std::function<void()> install) override;
    void updaterDidAbort(const UpdaterFailure &error) override;
    void updaterDidFinishUpdateCycle(std::optional<UpdaterError> error) override;

    bool isReviewBuild() const;
    void createController(const UpdaterConfiguration &configuration);
    void clearPendingInstallation();
    void pollPendingInstallation(const QUuid &generation);
    bool canInstallPending() const;
    void installPending();
    QString waitingMessage() const;
    void setAvailable(bool available);
    void setCanCheck(bool canCheck);
    void setMessage(const QString &message);
    void setAutomaticChecksMirror(bool on);
    void setAutomaticDownloadsMirror(bool on);
    void setHasPendingInstallation(bool pending);
    void refreshMenuItems();

    bool m_available = false;
    bool m_canCheck = false;
    QString m_message;
    bool m_automaticChecks = false;
    bool m_automaticDownloads = false;
    bool m_hasPendingInstallation = false;
    AppUpdater *m_controller = nullptr;
    bool m_started = false;
    std::function<bool()> m_isBusy = [] {
        return false;
    };
    QTimer *m_pendingRelaunch = nullptr;
    std::function<void()> m_pendingInstallHandler;
    QUuid m_pendingGeneration = QUuid::createUuid();
    bool m_confirmingSessionClosure = false;
    std::function<void()> m_pendingWorkAction;
    std::optional<QString> m_workActionTitle;
    std::optional<QString> m_workWaitingMessage;
    TavimoSignals &m_signals;
    BundleInfo m_bundle;
    UpdaterEnvironment m_environment;
    QAction *m_checkItem = nullptr;
    QAction *m_preferencesItem = nullptr;
    QAction *m_pendingWorkItem = nullptr;
};
