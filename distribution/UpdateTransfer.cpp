#include "UpdateTransfer.h"

#include <QIODevice>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslConfiguration>

namespace {

constexpr int transferTimeoutMilliseconds = 60 * 1000;
constexpr int maximumRedirects = 5;

QNetworkRequest request(const QUrl &url, const QSslConfiguration &ssl)
{
    QNetworkRequest request(url);
    request.setSslConfiguration(ssl);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(maximumRedirects);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    request.setTransferTimeout(transferTimeoutMilliseconds);
    return request;
}

} // namespace

UpdateTransfer::UpdateTransfer(QNetworkAccessManager &network, const QUrl &url, const QSslConfiguration &ssl,
                               QIODevice &sink, qint64 limit, QObject *parent)
    : QObject(parent), m_reply(network.get(request(url, ssl))), m_sink(sink), m_limit(limit)
{
    m_reply->setParent(this);
    m_reply->setReadBufferSize(256 * 1024);
    connect(m_reply, &QNetworkReply::metaDataChanged, this, &UpdateTransfer::checkAnnouncedSize);
    connect(m_reply, &QNetworkReply::readyRead, this, &UpdateTransfer::writeAvailable);
    connect(m_reply, &QNetworkReply::finished, this, &UpdateTransfer::replyFinished);
}

UpdateTransfer::~UpdateTransfer()
{
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
    }
}

void UpdateTransfer::checkAnnouncedSize()
{
    const QVariant announced = m_reply->header(QNetworkRequest::ContentLengthHeader);
    if (announced.isValid() && announced.toLongLong() > m_limit)
        stop(Outcome::tooLarge);
}

void UpdateTransfer::writeAvailable()
{
    if (m_stopped)
        return;
    const QByteArray data = m_reply->readAll();
    if (m_written + data.size() > m_limit)
        return stop(Outcome::tooLarge);
    if (m_sink.write(data) != data.size())
        return stop(Outcome::notWritten);
    m_written += data.size();
}

void UpdateTransfer::stop(Outcome outcome)
{
    if (m_stopped)
        return;
    m_stopped = outcome;
    m_reply->abort();
}

void UpdateTransfer::replyFinished()
{
    writeAvailable();
    const Outcome outcome = m_stopped.value_or(succeeded() ? Outcome::completed : Outcome::failed);
    m_reply->disconnect(this);
    m_reply->deleteLater();
    emit finished(outcome);
    deleteLater();
}

bool UpdateTransfer::succeeded() const
{
    const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    return m_reply->error() == QNetworkReply::NoError && status == 200 && m_reply->url().scheme() == u"https";
}
