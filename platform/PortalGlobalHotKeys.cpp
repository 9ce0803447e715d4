#include "PortalGlobalHotKeys.h"

#include "PortalShortcut.h"

#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QKeySequence>

#include <algorithm>
#include <utility>

namespace {

const QString shortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");

// The desktop answers with a string or an object path.
QString sessionHandle(const QVariantMap &results)
{
    const QVariant handle = results.value(QStringLiteral("session_handle"));
    if (handle.metaType() == QMetaType::fromType<QDBusObjectPath>())
        return handle.value<QDBusObjectPath>().path();
    return handle.toString();
}

QStringList boundIds(const QVariantMap &results)
{
    const auto shortcuts = qdbus_cast<QList<PortalShortcut>>(results.value(QStringLiteral("shortcuts")));
    QStringList ids;
    for (const PortalShortcut &shortcut : shortcuts)
        ids.append(shortcut.id);
    return ids;
}

} // namespace

PortalGlobalHotKeys::PortalGlobalHotKeys(const QDBusConnection &connection, std::chrono::milliseconds timeout,
                                         QObject *parent)
    : GlobalHotKeys(parent), m_connection(connection), m_timeout(timeout)
{
    PortalShortcut::registerType();
    m_connection.connect(PortalRequest::service(), PortalRequest::objectPath(), shortcutsInterface,
                         QStringLiteral("Activated"), this, SLOT(handleActivated(QDBusMessage)));
}

PortalGlobalHotKeys::~PortalGlobalHotKeys()
{
    if (!m_session.isEmpty())
        m_connection.asyncCall(QDBusMessage::createMethodCall(PortalRequest::service(), m_session,
                                                              QStringLiteral("org.freedesktop.portal.Session"),
                                                              QStringLiteral("Close")));
}

QString PortalGlobalHotKeys::preferredTrigger(QKeyCombination keys)
{
    QStringList parts;
    const Qt::KeyboardModifiers modifiers = keys.keyboardModifiers();
    if (modifiers & Qt::ControlModifier)
        parts.append(QStringLiteral("CTRL"));
    if (modifiers & Qt::AltModifier)
        parts.append(QStringLiteral("ALT"));
    if (modifiers & Qt::ShiftModifier)
        parts.append(QStringLiteral("SHIFT"));
    if (modifiers & Qt::MetaModifier)
        parts.append(QStringLiteral("LOGO"));
    parts.append(QKeySequence(keys.key()).toString(QKeySequence::PortableText).toUpper());
    return parts.join(QLatin1Char('+'));
}

QString PortalGlobalHotKeys::shortcutId(Identifier identifier)
{
    QString signature;
    for (int shift = 24; shift >= 0; shift -= 8)
        signature.append(QLatin1Char(char(identifier.signature >> shift & 0xff)));
    return signature + QLatin1Char('-') + QString::number(identifier.id);
}

GlobalHotKeys::Status PortalGlobalHotKeys::registerHotKey(QKeyCombination keys, Identifier identifier,
                                                          const QString &description)
{
    unregisterHotKey(identifier);
    const quint64 serial = m_nextSerial++;
    m_registrations.push_back({identifier, keys, description, serial});
    m_waiting.push_back(serial);
    scheduleBinding();
    return Status::pending;
}

void PortalGlobalHotKeys::unregisterHotKey(Identifier identifier)
{
    std::erase_if(m_registrations, [&](const Registration &held) { return held.identifier == identifier; });
    std::erase_if(m_waiting, [this](quint64 serial) { return !registration(serial); });
}

void PortalGlobalHotKeys::scheduleBinding()
{
    if (m_bindingScheduled)
        return;
    m_bindingScheduled = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_bindingScheduled = false;
            bindWaiting();
        },
        Qt::QueuedConnection);
}

void PortalGlobalHotKeys::bindWaiting()
{
    if (m_waiting.empty())
        return;
    if (!m_session.isEmpty())
        return bindShortcuts(std::exchange(m_waiting, {}));
    if (!m_creatingSession)
        createSession();
}

PortalRequest *PortalGlobalHotKeys::newRequest()
{
    auto *request = new PortalRequest(m_connection, m_timeout, this);
    connect(request, &PortalRequest::answered, request, &QObject::deleteLater);
    connect(request, &PortalRequest::failed, request, &QObject::deleteLater);
    return request;
}

void PortalGlobalHotKeys::createSession()
{
    m_creatingSession = true;
    PortalRequest *request = newRequest();
    connect(request, &PortalRequest::answered, this, [this](uint response, const QVariantMap &results) {
        m_creatingSession = false;
        m_session = response == 0 ? sessionHandle(results) : QString();
        if (!m_session.isEmpty())
            return bindWaiting();
        finishBatch(std::exchange(m_waiting, {}), {}, response == 0 ? Status::unsupported : Status::taken);
    });
    connect(request, &PortalRequest::failed, this, [this] {
        m_creatingSession = false;
        finishBatch(std::exchange(m_waiting, {}), {}, Status::unsupported);
    });
    request->start(shortcutsInterface, QStringLiteral("CreateSession"), {},
                   {{QStringLiteral("session_handle_token"), PortalRequest::newToken()}});
}

void PortalGlobalHotKeys::bindShortcuts(std::vector<quint64> batch)
{
    // The desktop is told every key the app holds, not only the new ones.
    QList<PortalShortcut> shortcuts;
    for (const Registration &held : m_registrations)
        shortcuts.append({shortcutId(held.identifier),
                          {{QStringLiteral("description"), held.description},
                           {QStringLiteral("preferred_trigger"), preferredTrigger(held.keys)}}});
    PortalRequest *request = newRequest();
    connect(request, &PortalRequest::answered, this, [this, batch](uint response, const QVariantMap &results) {
        finishBatch(batch, response == 0 ? boundIds(results) : QStringList(), Status::taken);
    });
    connect(request, &PortalRequest::failed, this, [this, batch] { finishBatch(batch, {}, Status::unsupported); });
    request->start(shortcutsInterface, QStringLiteral("BindShortcuts"),
                   {QVariant::fromValue(QDBusObjectPath(m_session)), QVariant::fromValue(shortcuts), QString()}, {});
}

void PortalGlobalHotKeys::finishBatch(const std::vector<quint64> &batch, const QStringList &bound, Status otherwise)
{
    for (const quint64 serial : batch) {
        Registration *held = registration(serial);
        if (!held)
            continue;
        held->bound = bound.contains(shortcutId(held->identifier));
        const Identifier identifier = held->identifier;
        emit registrationFinished(identifier, held->bound ? Status::registered : otherwise);
    }
}

PortalGlobalHotKeys::Registration *PortalGlobalHotKeys::registration(quint64 serial)
{
    const auto held = std::ranges::find(m_registrations, serial, &Registration::serial);
    return held == m_registrations.end() ? nullptr : &*held;
}

void PortalGlobalHotKeys::handleActivated(const QDBusMessage &message)
{
    const QVariantList arguments = message.arguments();
    if (arguments.size() < 2 || arguments[0].value<QDBusObjectPath>().path() != m_session || m_session.isEmpty())
        return;
    const QString shortcut = arguments[1].toString();
    const auto held = std::ranges::find_if(m_registrations, [&](const Registration &registration) {
        return registration.bound && shortcutId(registration.identifier) == shortcut;
    });
    if (held != m_registrations.end())
        emit pressed(held->identifier);
}
