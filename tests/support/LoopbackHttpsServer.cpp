#include "LoopbackHttpsServer.h"

#include <QJsonDocument>
#include <QSslSocket>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <stdexcept>

namespace {

// The request in `buffer` once it is complete: head and body.
std::optional<ReceivedRequest> parseRequest(const QByteArray &buffer)
{
    const qsizetype headEnd = buffer.indexOf("\r\n\r\n");
    if (headEnd < 0)
        return std::nullopt;
    const QList<QByteArray> lines = buffer.left(headEnd).split('\n');
    ReceivedRequest request;
    const QList<QByteArray> requestLine = lines.first().trimmed().split(' ');
    request.method = requestLine.value(0);
    request.path = requestLine.value(1);
    for (qsizetype index = 1; index < lines.size(); ++index) {
        const qsizetype colon = lines[index].indexOf(':');
        if (colon > 0)
            request.headers.insert(lines[index].left(colon).trimmed().toLower(), lines[index].mid(colon + 1).trimmed());
    }
    const qsizetype length = request.headers.value("content-length", "0").toLongLong();
    if (buffer.size() < headEnd + 4 + length)
        return std::nullopt;
    request.body = buffer.mid(headEnd + 4, length);
    return request;
}

} // namespace

QJsonObject ReceivedRequest::json() const
{
    return QJsonDocument::fromJson(body).object();
}

LoopbackHttpsServer::LoopbackHttpsServer() : m_certificate(TestCertificate::generate())
{
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setLocalCertificate(m_certificate.certificate);
    configuration.setPrivateKey(m_certificate.key);
    configuration.setPeerVerifyMode(QSslSocket::VerifyNone);
    m_server.setSslConfiguration(configuration);
    connect(&m_server, &QTcpServer::pendingConnectionAvailable, this, &LoopbackHttpsServer::accept);
    if (!m_server.listen(QHostAddress::LocalHost))
        throw std::runtime_error("listen");
}

LoopbackHttpsServer::~LoopbackHttpsServer()
{
    for (QSslSocket *socket : findChildren<QSslSocket *>())
        socket->disconnect(this);
}

QUrl LoopbackHttpsServer::url(const QString &path) const
{
    return QUrl(QStringLiteral("https://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path));
}

QSslConfiguration LoopbackHttpsServer::clientTls() const
{
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setCaCertificates({m_certificate.certificate});
    return configuration;
}

void LoopbackHttpsServer::releaseHeld()
{
    m_holding = false;
    const auto held = std::exchange(m_held, {});
    for (const auto &[socket, path] : held) {
        if (socket)
            reply(socket, path);
    }
}

int LoopbackHttpsServer::requestCount(const QString &path) const
{
    return int(std::count_if(m_requests.cbegin(), m_requests.cend(),
                             [&](const ReceivedRequest &request) { return request.path == path.toUtf8(); }));
}

bool LoopbackHttpsServer::waitForRequests(qsizetype count, int timeoutMilliseconds)
{
    return QTest::qWaitFor([&] { return m_requests.size() >= count; }, timeoutMilliseconds);
}

void LoopbackHttpsServer::accept()
{
    while (QTcpSocket *connection = m_server.nextPendingConnection()) {
        auto *socket = qobject_cast<QSslSocket *>(connection);
        socket->setParent(this);
        connect(socket, &QSslSocket::readyRead, this, [this, socket] { readFrom(socket); });
        connect(socket, &QSslSocket::disconnected, this, [this, socket] {
            m_buffers.remove(socket);
            if (m_held.removeIf([socket](const auto &held) { return held.first == socket; }) > 0)
                --m_concurrent;
            socket->deleteLater();
        });
        readFrom(socket);
    }
}

void LoopbackHttpsServer::readFrom(QSslSocket *socket)
{
    QByteArray &buffer = m_buffers[socket];
    buffer += socket->readAll();
    const std::optional<ReceivedRequest> request = parseRequest(buffer);
    if (!request)
        return;
    buffer.clear();
    m_requests.append(*request);
    m_mostConcurrent = std::max(m_mostConcurrent, ++m_concurrent);
    if (m_holding)
        m_held.append({socket, request->path});
    else if (m_replyDelay > 0)
        QTimer::singleShot(m_replyDelay, socket, [this, socket, path = request->path] { reply(socket, path); });
    else
        reply(socket, request->path);
}

void LoopbackHttpsServer::reply(QSslSocket *socket, const QByteArray &path)
{
    --m_concurrent;
    const Response response = m_responses.value(path, m_fallback);
    const qint64 length = response.announcedLength < 0 ? response.body.size() : response.announcedLength;
    QByteArray head = "HTTP/1.1 " + QByteArray::number(response.status) + " Canned\r\n";
    if (!response.location.isEmpty())
        head += "Location: " + response.location + "\r\n";
    head += "Set-Cookie: visitor=" + QByteArray::number(m_requests.size()) + "; Path=/\r\n";
    head += "Content-Length: " + QByteArray::number(length) + "\r\nConnection: close\r\n\r\n";
    socket->write(head + response.body);
    socket->disconnectFromHost();
}
