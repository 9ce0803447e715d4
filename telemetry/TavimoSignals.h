#pragma once

#include "AppSignalContext.h"
#include "BundleInfo.h"
#include "TavimoEvent.h"
#include "TelemetrySession.h"

#include <QFuture>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>

class MoxterClient;
class UserDefaults;

// The one way the app touches usage statistics and feedback: it records
// events under the user's consent switches, keeps the installation
// identifier, the session and update markers, and keeps the feedback window.
// Lives on the GUI thread; every call into the client is posted in order, and
// a call that a newer consent change superseded is dropped.
class TavimoSignals : public QObject {
    Q_OBJECT
public:
    // The app's instance, over this build's settings and the user's settings
    // file. Needs a running QCoreApplication, which owns it.
    static TavimoSignals &shared();

    // Without a client, one is made for this build.
    TavimoSignals(const BundleInfo &bundle, UserDefaults &defaults, std::unique_ptr<MoxterClient> client = {},
                  QObject *parent = nullptr);
    ~TavimoSignals() override;

    static QString installationKey();

    bool enabled() const { return m_enabled; }
    bool locationEnabled() const { return m_locationEnabled; }
    bool feedbackIsBug() const { return m_feedbackIsBug; }
    // Whether this build has a usable telemetry service; without one nothing is sent.
    bool configured() const { return m_configured; }
    const AppSignalContext &context() const { return m_context; }
    // The app's name as the feedback window shows it.
    QString appName() const { return m_appName; }
    // Where the "Privacy policy" link leads; empty when this build has none.
    QUrl privacyPolicy() const { return m_privacyPolicy; }

    // Once per process, at launch: records the opening, an unclean end of the
    // previous run and the first run of a just-installed update.
    void start();
    void track(TavimoEvent event);
    // "Share usage statistics": off drops every pending event and the installation identifier.
    void setEnabled(bool on);
    // "Include approximate city".
    void setLocationEnabled(bool on);
    void setFeedbackIsBug(bool bug);

    // Sends a feedback report; the result tells whether the service accepted it.
    QFuture<bool> feedback(const QString &message, bool bug);
    // The app details sent with a report, one "Name: value" per line.
    QString reviewedMetadata() const;
    // The feedback window once a view has opened it; it lives as long as this object.
    QObject *supportWindow() const { return m_supportWindow.data(); }
    void setSupportWindow(QObject *window);

    // An update with this build number is about to be installed.
    void recordUpdateInstallation(const QString &version);
    // Installing it was abandoned.
    void clearUpdateInstallation();
    // Normal termination: the next launch reports no unclean exit.
    void applicationWillTerminate();

signals:
    void enabledChanged(bool enabled);
    void locationEnabledChanged(bool enabled);
    void feedbackIsBugChanged(bool bug);

private:
    QString installationIdentifier();
    std::optional<QString> consentIdentifier();
    void chain(std::function<void()> operation);

    bool m_enabled = true;
    bool m_locationEnabled = true;
    bool m_feedbackIsBug = false;
    bool m_configured = false;
    AppSignalContext m_context;
    std::unique_ptr<MoxterClient> m_client;
    bool m_started = false;
    quint64 m_preferenceRevision = 0;
    UserDefaults &m_defaults;
    TelemetrySession m_session;
    QString m_currentBuild;
    QString m_appName;
    QUrl m_privacyPolicy;
    QPointer<QObject> m_supportWindow;
};
