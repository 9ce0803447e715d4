#include "CaptureInstanceServer.h"

#include "CaptureInstanceFailure.h"
#include "CaptureInstanceReply.h"

#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <chrono>
#include <memory>

using namespace std::chrono_literals;

namespace {

// A request is a few hundred bytes written at once.
constexpr auto requestTimeout = 5s;

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

CaptureInstanceServer::~CaptureInstanceServer()
{
    m_server->close();
    if (m_lock >= 0)
        ::close(m_lock);
}

CaptureInstanceServer::Start CaptureInstanceServer::listen()
{
    if (!lock())
        return Start::anotherInstanceRuns;
    // Whatever socket is there was left by an instance that no longer holds the lock.
    QLocalServer::removeServer(m_socketPath);
    if (m_server->listen(m_socketPath))
        return Start::listening;
    throw CaptureInstanceError(
        CaptureInstanceFailure{CaptureInstanceFailure::Kind::listenFailed, m_socketPath, m_server->errorString()});
}

bool CaptureInstanceServer::lock()
{
    const QString path = m_socketPath + QStringLiteral(".lock");
    m_lock = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (m_lock < 0)
        throw CaptureInstanceError(CaptureInstanceFailure{CaptureInstanceFailure::Kind::listenFailed, path,
                                                          QString::fromLocal8Bit(std::strerror(errno))});
    if (::flock(m_lock, LOCK_EX | LOCK_NB) == 0)
        return true;
    ::close(m_lock);
    m_lock = -1;
    return false;
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
    const CaptureRequestReader::State state = incoming.reader.add(connection->read(incoming.reader.room()));
    if (state == CaptureRequestReader::State::waiting)
        return;
    if (state == CaptureRequestReader::State::refused || connection->bytesAvailable() > 0)
        return drop(connection);
    incoming.answering = true;
    const CaptureRequest request = *incoming.reader.request();
    auto *reply = new CaptureInstanceReply(connection);
    emit requested(request, reply);
    if (!request.returnsImage)
        reply->send(CaptureOutcome{});
}
