#include "FakeDesktopPortal.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QMutexLocker>

namespace {

const QString service = QStringLiteral("org.freedesktop.portal.Desktop");
const QString rootPath = QStringLiteral("/org/freedesktop/portal/desktop");

QString senderPart(const QString &sender)
{
    return sender.mid(1).replace(QLatin1Char('.'), QLatin1Char('_'));
}

} // namespace

FakeDesktopPortal::FakeDesktopPortal(const QDBusConnection &connection) : m_connection(connection)
{
    PortalShortcut::registerType();
    m_serving = m_connection.registerVirtualObject(rootPath, this, QDBusConnection::SubPath) &&
                m_connection.registerService(service);
}

FakeDesktopPortal::~FakeDesktopPortal()
{
    m_connection.unregisterService(service);
    m_connection.unregisterObject(rootPath, QDBusConnection::UnregisterTree);
}

void FakeDesktopPortal::script(const QString &method, uint response, const QVariantMap &results, Timing timing)
{
    const QMutexLocker lock(&m_mutex);
    m_answers[method] = {response, results, timing};
}

void FakeDesktopPortal::refuseShortcut(const QString &id)
{
    const QMutexLocker lock(&m_mutex);
    m_refused.insert(id);
}

void FakeDesktopPortal::activate(const QString &id, const QString &session)
{
    const QMutexLocker lock(&m_mutex);
    QDBusMessage signal = QDBusMessage::createTargetedSignal(
        m_client, rootPath, QStringLiteral("org.freedesktop.portal.GlobalShortcuts"), QStringLiteral("Activated"));
    signal << QVariant::fromValue(QDBusObjectPath(session.isEmpty() ? m_session : session)) << id << qulonglong(1234)
           << QVariantMap();
    m_connection.send(signal);
}

QList<FakeDesktopPortal::Call> FakeDesktopPortal::calls() const
{
    const QMutexLocker lock(&m_mutex);
    return m_calls;
}

QStringList FakeDesktopPortal::closedRequests() const
{
    const QMutexLocker lock(&m_mutex);
    return m_closed;
}

QString FakeDesktopPortal::introspect(const QString &) const
{
    return QString();
}

bool FakeDesktopPortal::handleMessage(const QDBusMessage &message, const QDBusConnection &connection)
{
    const QMutexLocker lock(&m_mutex);
    if (message.member() == QLatin1String("Close")) {
        m_closed.append(message.path());
        connection.send(message.createReply());
        return true;
    }
    const QString method = message.member();
    static const QStringList methods{QStringLiteral("Screenshot"), QStringLiteral("CreateSession"),
                                     QStringLiteral("BindShortcuts")};
    if (!methods.contains(method) || message.arguments().isEmpty())
        return false;
    const QVariantMap options = qdbus_cast<QVariantMap>(message.arguments().last());
    const QList<PortalShortcut> asked = method == QLatin1String("BindShortcuts")
                                            ? qdbus_cast<QList<PortalShortcut>>(message.arguments().at(1))
                                            : QList<PortalShortcut>();
    const QString requestPath = rootPath + QStringLiteral("/request/") + senderPart(message.service()) +
                                QLatin1Char('/') + options.value(QStringLiteral("handle_token")).toString();
    m_calls.append({method, options, asked, requestPath});
    m_client = message.service();

    const Answer answer = m_answers.value(method);
    QDBusMessage response = QDBusMessage::createTargetedSignal(
        message.service(), requestPath, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
    response << answer.response << resultsFor(method, answer, asked, message.service());
    const QDBusMessage reply = message.createReply(QVariant::fromValue(QDBusObjectPath(requestPath)));
    if (answer.timing == Timing::beforeReply)
        connection.send(response);
    connection.send(reply);
    if (answer.timing == Timing::afterReply)
        connection.send(response);
    return true;
}

QVariantMap FakeDesktopPortal::resultsFor(const QString &method, const Answer &answer,
                                          const QList<PortalShortcut> &asked, const QString &sender)
{
    QVariantMap results = answer.results;
    if (answer.response != 0)
        return results;
    if (method == QLatin1String("CreateSession")) {
        m_session = rootPath + QStringLiteral("/session/") + senderPart(sender) + QLatin1Char('/') +
                    QStringLiteral("s%1").arg(m_calls.size());
        results.insert(QStringLiteral("session_handle"), m_session);
    }
    if (method == QLatin1String("BindShortcuts")) {
        QList<PortalShortcut> bound;
        for (const PortalShortcut &shortcut : asked)
            if (!m_refused.contains(shortcut.id))
                bound.append(shortcut);
        results.insert(QStringLiteral("shortcuts"), QVariant::fromValue(bound));
    }
    return results;
}
