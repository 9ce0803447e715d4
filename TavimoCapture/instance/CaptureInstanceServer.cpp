#include "CaptureInstanceServer.h"

#include "CaptureInstanceFailure.h"
#include "CaptureInstanceFrame.h"
#include "CaptureInstanceReply.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

#include <chrono>
#include <memory>

using namespace std::chrono_literals;

namespace {

// A request is a few hundred bytes written at once.
constexpr auto requestTimeout = 5s;
constexpr auto probeTimeout = 1s;

void drop(QLocalSocket *connection)
{
    connection->abort();
    connection->deleteLater();
}

} // namespace

CaptureInstanceServer::CaptureInstanceServer(QString socketPath, QObject *parent)
    : QObject(parent), m_socketPath(std::move(socketPath)), m_server(new QLocalServer(this))
{
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &CaptureInstanceServer::accept);
}

CaptureInstanceServer::Start CaptureInstanceServer::listen()
{
    if (m_server->listen(m_socketPath))
        return Start::listening;
    if (m_server->serverError() == QAbstractSocket::AddressInUseError) {
        if (anotherInstanceAnswers())
            return Start::anotherInstanceRuns;
        QLocalServer::removeServer(m_socketPath);
        if (m_server->listen(m_socketPath))
            return Start::listening;
    }
    throw CaptureInstanceError(
        CaptureInstanceFailure{CaptureInstanceFailure::Kind::listenFailed, m_socketPath, m_server->errorString()});
}

bool CaptureInstanceServer::anotherInstanceAnswers() const
{
    QLocalSocket probe;
    probe.connectToServer(m_socketPath);
    return probe.waitForConnected(int(std::chrono::milliseconds(probeTimeout).count()));
}

void CaptureInstanceServer::accept()
{
    while (QLocalSocket *connection = m_server->nextPendingConnection()) {
        connect(connection, &QLocalSocket::disconnected, connection, &QObject::deleteLater);
        auto incoming = std::make_shared<Incoming>();
        connect(connection, &QLocalSocket::readyRead, this,
                [this, connection, incoming] { receive(connection, *incoming); });
        QTimer::singleShot(requestTimeout, connection, [connection, incoming] {
            if (!incoming->answering)
                drop(connection);
        });
    }
}

void CaptureInstanceServer::receive(QLocalSocket *connection, Incoming &incoming)
{
    // One request per connection: anything after it is a fault.
    if (incoming.answering)
        return drop(connection);
    incoming.received += connection->read(CaptureRequest::maximumEncodedSize + 8 - incoming.received.size());
    QByteArray payload;
    const CaptureInstanceFrame::State state =
        CaptureInstanceFrame::read(incoming.received, CaptureRequest::maximumEncodedSize, payload);
    if (state == CaptureInstanceFrame::State::incomplete)
        return;
    const std::optional<CaptureRequest> request =
        state == CaptureInstanceFrame::State::complete ? CaptureRequest::decoded(payload) : std::nullopt;
    if (!request || connection->bytesAvailable() > 0)
        return drop(connection);
    incoming.received.clear();
    incoming.answering = true;
    auto *reply = new CaptureInstanceReply(connection);
    emit requested(*request, reply);
    if (!request->returnsImage)
        reply->send(CaptureOutcome{});
}
