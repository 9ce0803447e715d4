#include "LoopbackFeedServer.h"

#include "TestCertificate.h"

#include <QSslSocket>

LoopbackFeedServer::LoopbackFeedServer() : m_certificate(TestCertificate::generate())
{
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setLocalCertificate(m_certificate.certificate);
    configuration.setPrivateKey(m_certificate.key);
    m_server.setSslConfiguration(configuration);
    connect(&m_server, &QTcpServer::pendingConnectionAvailable, this, &LoopbackFeedServer::accept);
    m_server.listen(QHostAddress::LocalHost);
}

void LoopbackFeedServer::serve(const QString &path, Response response)
{
    m_responses.insert(path, std::move(response));
}

QUrl LoopbackFeedServer::url(const QString &path) const
{
    return QUrl(QStringLiteral("https://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path));
}

int LoopbackFeedServer::requestCount(const QString &path) const
{
    return m_requests.value(path);
}

QSslConfiguration LoopbackFeedServer::clientConfiguration() const
{
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setCaCertificates({m_certificate.certificate});
    return configuration;
}

void LoopbackFeedServer::accept()
{
    while (m_server.hasPendingConnections()) {
        auto *socket = qobject_cast<QSslSocket *>(m_server.nextPendingConnection());
        auto *request = new QByteArray;
        connect(socket, &QObject::destroyed, this, [request] { delete request; });
        connect(socket, &QSslSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QSslSocket::readyRead, this, [this, socket, request] {
            request->append(socket->readAll());
            if (request->contains("\r\n\r\n"))
                answer(socket, *request);
        });
    }
}

void LoopbackFeedServer::answer(QSslSocket *socket, const QByteArray &request)
{
    const QString path = QString::fromLatin1(request.split(' ').value(1));
    m_requests[path] += 1;
    const Response response = m_responses.value(path, Response{404, "not found", {}, -1});
    const qint64 length = response.announcedLength < 0 ? response.body.size() : response.announcedLength;
    QByteArray reply = "HTTP/1.1 " + QByteArray::number(response.status) + " Canned\r\n";
    reply += "Content-Length: " + QByteArray::number(length) + "\r\nConnection: close\r\n";
    if (!response.location.isEmpty())
        reply += "Location: " + response.location + "\r\n";
    reply += "\r\n" + response.body;
    socket->write(reply);
    socket->disconnectFromHost();
}
