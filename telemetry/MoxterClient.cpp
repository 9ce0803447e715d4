#include "MoxterClient.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPromise>
#include <QTimer>

#include <memory>

using namespace std::chrono_literals;

namespace {

bool isAccepted(const QNetworkReply &reply)
{
    const int status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    return reply.error() == QNetworkReply::NoError && status >= 200 && status <= 299;
}

// No cookies, no cache, no stored credentials and no redirects: the key goes
// to the configured address only.
QNetworkRequest privateRequest(const QUrl &url)
{
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::AuthenticationReuseAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    return request;
}

QByteArray compactJson(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

} // namespace

MoxterClient::Session MoxterClient::Session::standard()
{
    return Session{10s, 15s, QSslConfiguration::defaultConfiguration()};
}

MoxterClient::MoxterClient(std::optional<MoxterConfiguration> configuration, AppSignalContext context)
    : MoxterClient(std::move(configuration), std::move(context), Session::standard())
{
}

MoxterClient::MoxterClient(std::optional<MoxterConfiguration> configuration, AppSignalContext context, Session session)
    : m_configuration(std::move(configuration)), m_context(std::move(context)), m_session(std::move(session))
{
    m_thread.setObjectName(QStringLiteral("MoxterClient"));
    moveToThread(&m_thread);
    m_thread.start();
}

MoxterClient::~MoxterClient()
{
    QThread *owner = QThread::currentThread();
    QMetaObject::invokeMethod(
        this,
        [this, owner] {
            shutDown();
            moveToThread(owner);
        },
        Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

void MoxterClient::setConsent(bool consent, const std::optional<QString> &installationID, bool location)
{
    QMetaObject::invokeMethod(
        this, [this, consent, installationID, location] { applyConsent(consent, installationID, location); },
        Qt::QueuedConnection);
}

void MoxterClient::event(TavimoEvent event)
{
    QMetaObject::invokeMethod(
        this, [this, event] { record(event); }, Qt::QueuedConnection);
}

QFuture<bool> MoxterClient::feedback(const QString &message, bool bug)
{
    auto promise = std::make_shared<QPromise<bool>>();
    promise->start();
    QMetaObject::invokeMethod(
        this,
        [this, promise, message, bug] {
            sendFeedback(message, bug, [promise](bool accepted) {
                promise->addResult(accepted);
                promise->finish();
            });
        },
        Qt::QueuedConnection);
    return promise->future();
}

QFuture<qsizetype> MoxterClient::pendingCount()
{
    auto promise = std::make_shared<QPromise<qsizetype>>();
    promise->start();
    QMetaObject::invokeMethod(
        this,
        [this, promise] {
            promise->addResult(m_queue.size());
            promise->finish();
        },
        Qt::QueuedConnection);
    return promise->future();
}

QJsonObject MoxterClient::envelope(const AppSignalContext &context)
{
    return QJsonObject{
        {QStringLiteral("source"), context.app},
        {QStringLiteral("release"), context.release},
        {QStringLiteral("timestamp"), QDateTime::currentDateTimeUtc().toString(Qt::ISODate)},
        {QStringLiteral("metadata"), context.metadata()},
    };
}

void MoxterClient::applyConsent(bool consent, const std::optional<QString> &installationID, bool location)
{
    m_consent = consent;
    m_locationConsent = consent && location;
    if (consent) {
        m_installation = installationID;
        return;
    }
    m_installation.reset();
    ++m_generation;
    m_queue.clear();
    m_worker.reset();
}

void MoxterClient::record(TavimoEvent event)
{
    if (!m_consent || !m_configuration || !m_installation)
        return;
    QJsonObject metadata = m_context.metadata();
    metadata.insert(QStringLiteral("installation_id"), *m_installation);
    metadata.insert(QStringLiteral("location_opt_in"), m_locationConsent);
    QJsonObject body = envelope(m_context);
    body.insert(QStringLiteral("metadata"), metadata);
    body.insert(QStringLiteral("name"), rawValue(event));
    body.insert(QStringLiteral("properties"), QJsonObject());

    if (m_queue.size() >= queueLimit)
        m_queue.removeFirst();
    m_queue.append(compactJson(body));
    if (!m_worker) {
        m_worker = m_generation;
        drain(m_generation);
    }
}

void MoxterClient::sendFeedback(const QString &message, bool bug, std::function<void(bool)> done)
{
    const QString text = message.trimmed();
    if (text.isEmpty() || text.size() > feedbackLimit) {
        done(false);
        return;
    }
    QJsonObject body = envelope(m_context);
    body.insert(QStringLiteral("message"), text);
    body.insert(QStringLiteral("category"), bug ? QStringLiteral("bug") : QStringLiteral("feedback"));
    send(compactJson(body), QStringLiteral("v1/feedback"), std::move(done));
}

void MoxterClient::drain(quint64 generation)
{
    // The request under way resumes the drain when it ends: never two at once.
    if (m_eventInFlight)
        return;
    if (!m_consent || generation != m_generation || m_queue.isEmpty()) {
        if (generation == m_generation)
            m_worker.reset();
        return;
    }
    const QByteArray body = m_queue.takeFirst();
    m_eventInFlight = true;
    send(body, QStringLiteral("v1/events"), [this](bool) {
        m_eventInFlight = false;
        if (m_worker)
            drain(*m_worker);
    });
}

void MoxterClient::send(const QByteArray &body, const QString &path, std::function<void(bool)> done)
{
    if (!m_configuration) {
        done(false);
        return;
    }
    QNetworkRequest request = privateRequest(m_configuration->url(path));
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
    request.setRawHeader(QByteArrayLiteral("Authorization"), "Bearer " + m_configuration->key().toUtf8());
    request.setTransferTimeout(int(m_session.requestTimeout.count()));
    request.setSslConfiguration(m_session.tls);

    QNetworkReply *reply = network()->post(request, body);
    QTimer::singleShot(m_session.resourceTimeout, reply, &QNetworkReply::abort);
    connect(reply, &QNetworkReply::finished, this, [reply, done = std::move(done)] {
        reply->deleteLater();
        done(isAccepted(*reply));
    });
}

QNetworkAccessManager *MoxterClient::network()
{
    if (!m_network)
        m_network = new QNetworkAccessManager(this);
    return m_network;
}

// Runs on the client's thread before it stops: nothing network-bound may
// outlive the thread.
void MoxterClient::shutDown()
{
    m_consent = false;
    m_queue.clear();
    m_worker.reset();
    delete m_network;
    m_network = nullptr;
}
