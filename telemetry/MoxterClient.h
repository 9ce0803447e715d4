#pragma once

#include "AppSignalContext.h"
#include "MoxterConfiguration.h"
#include "TavimoEvent.h"

#include <QByteArrayList>
#include <QFuture>
#include <QJsonObject>
#include <QObject>
#include <QSslConfiguration>
#include <QThread>

#include <chrono>
#include <functional>
#include <optional>

class QNetworkAccessManager;
class QNetworkReply;

// Sends usage events and feedback to the telemetry service. The client lives
// on its own thread; its public functions may be called from any thread and
// only queue work there, so callers never wait for the network. Events are
// sent one request at a time, oldest first; at most 64 wait, and withdrawing
// consent drops them all.
class MoxterClient : public QObject {
    Q_OBJECT
public:
    // How requests travel. Tests trust their own certificate through `tls`.
    struct Session {
        std::chrono::milliseconds requestTimeout;  // no data for this long ends a request
        std::chrono::milliseconds resourceTimeout; // no request takes longer
        QSslConfiguration tls;

        static Session standard();
    };

    static constexpr qsizetype queueLimit = 64;
    // UTF-16 code units of a trimmed feedback message.
    static constexpr qsizetype feedbackLimit = 2000;

    // Without a configuration nothing is ever sent.
    MoxterClient(std::optional<MoxterConfiguration> configuration, AppSignalContext context);
    MoxterClient(std::optional<MoxterConfiguration> configuration, AppSignalContext context, Session session);
    ~MoxterClient() override;

    // With consent, events are recorded under `installationID`; without it,
    // every pending event is dropped and a drain stops after its current request.
    virtual void setConsent(bool consent, const std::optional<QString> &installationID, bool location);
    // Queued only with consent, a configuration and an installation identifier.
    virtual void event(TavimoEvent event);
    // Sends a trimmed, non-empty message of at most 2000 UTF-16 code units,
    // whatever the consent; the result tells whether the service accepted it.
    virtual QFuture<bool> feedback(const QString &message, bool bug);
    // Events waiting to be sent.
    QFuture<qsizetype> pendingCount();

    // {"source", "release", "timestamp", "metadata"}, shared by events and feedback.
    static QJsonObject envelope(const AppSignalContext &context);

private:
    void applyConsent(bool consent, const std::optional<QString> &installationID, bool location);
    void record(TavimoEvent event);
    void sendFeedback(const QString &message, bool bug, std::function<void(bool)> done);
    void drain(quint64 generation);
    void send(const QByteArray &body, const QString &path, std::function<void(bool)> done);
    QNetworkAccessManager *network();
    void shutDown();

    // Only touched on the client's thread.
    std::optional<MoxterConfiguration> m_configuration;
    AppSignalContext m_context;
    Session m_session;
    bool m_consent = false;
    bool m_locationConsent = false;
    std::optional<QString> m_installation;
    QByteArrayList m_queue;
    std::optional<quint64> m_worker; // the generation the running drain started with
    quint64 m_generation = 0;
    bool m_eventInFlight = false;
    QNetworkAccessManager *m_network = nullptr;

    QThread m_thread;
};
