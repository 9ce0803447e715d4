#include "PortalRequest.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QRandomGenerator>

namespace {

const QString requestInterface = QStringLiteral("org.freedesktop.portal.Request");

// ":1.42" becomes "1_42".
QString senderPart(const QDBusConnection &connection)
{
    return connection.baseService().mid(1).replace(QLatin1Char('.'), QLatin1Char('_'));
}

} // namespace

PortalRequest::PortalRequest(const QDBusConnection &connection, std::chrono::milliseconds timeout, QObject *parent)
    : QObject(parent), m_connection(connection)
{
    m_timeout.setSingleShot(true);
    m_timeout.setInterval(timeout);
    connect(&m_timeout, &QTimer::timeout, this, [this] {
        close();
        emit failed();
    });
}

PortalRequest::~PortalRequest()
{
    close();
}

QString PortalRequest::service()
{
    return QStringLiteral("org.freedesktop.portal.Desktop");
}

QString PortalRequest::objectPath()
{
    return QStringLiteral("/org/freedesktop/portal/desktop");
}

QString PortalRequest::newToken()
{
    return QStringLiteral("tavimo_%1").arg(QRandomGenerator::global()->generate64(), 16, 16, QLatin1Char('0'));
}

void PortalRequest::start(const QString &interface, const QString &method, QVariantList arguments, QVariantMap options)
{
    close();
    const QString token = newToken();
    options.insert(QStringLiteral("handle_token"), token);
    listenAt(objectPath() + QStringLiteral("/request/") + senderPart(m_connection) + QLatin1Char('/') + token);
    m_timeout.start();

    QDBusMessage call = QDBusMessage::createMethodCall(service(), objectPath(), interface, method);
    arguments.append(options);
    call.setArguments(arguments);
    auto *watcher = new QDBusPendingCallWatcher(m_connection.asyncCall(call), this);
    const QString expected = m_path;
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, expected] {
        watcher->deleteLater();
        const QDBusPendingReply<QDBusObjectPath> reply = *watcher;
        if (m_path == expected)
            handleReply(reply.isError() ? QString() : reply.value().path(), reply.isError());
    });
}

void PortalRequest::handleReply(const QString &handle, bool error)
{
    if (error) {
        stopListening();
        m_timeout.stop();
        emit failed();
        return;
    }
    // Portals older than the handle token answer on a path of their own.
    if (handle != m_path) {
        stopListening();
        listenAt(handle);
    }
}

void PortalRequest::close()
{
    if (!isPending())
        return;
    m_connection.asyncCall(
        QDBusMessage::createMethodCall(service(), m_path, requestInterface, QStringLiteral("Close")));
    stopListening();
    m_timeout.stop();
}

void PortalRequest::handleResponse(uint response, const QVariantMap &results)
{
    if (!isPending())
        return;
    stopListening();
    m_timeout.stop();
    emit answered(response, results);
}

void PortalRequest::listenAt(const QString &path)
{
    m_path = path;
    m_connection.connect(service(), m_path, requestInterface, QStringLiteral("Response"), this,
                         SLOT(handleResponse(uint, QVariantMap)));
}

void PortalRequest::stopListening()
{
    m_connection.disconnect(service(), m_path, requestInterface, QStringLiteral("Response"), this,
                            SLOT(handleResponse(uint, QVariantMap)));
    m_path.clear();
}
