#include "LoopbackHttpsServer.h"

#include "TestCrypto.h"

#include <QSslSocket>

LoopbackHttpsServer::LoopbackHttpsServer()
{
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setLocalCertificate(TestCrypto::loopbackCertificate().certificate);
    configuration.setPrivateKey(TestCrypto::loopbackCertificate().key);
    m_server.setSslConfiguration(configuration);
    connect(&m_server, &QTcpServer::pendingConnectionAvailable, this, &LoopbackHttpsServer::accept);
    m_server.listen(QHostAddress::LocalHost);
}

void LoopbackHttpsServer::serve(const QString &path, Response response)
{
    m_responses.insert(path, std::move(response));
}

QUrl LoopbackHttpsServer::url(const QString &path) const
{
    return QUrl(QStringLiteral("https://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path));
}

int LoopbackHttpsServer::requestCount(const QString &path) const
{
    return m_requests.value(path);
}

QSslConfiguration LoopbackHttpsServer::clientConfiguration() const
{
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setCaCertificates({TestCrypto::loopbackCertificate().certificate});
    return configuration;
}

void LoopbackHttpsServer::accept()
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

void LoopbackHttpsServer::answer(QSslSocket *socket, const QByteArray &request)
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
