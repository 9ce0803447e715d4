#pragma once

#include "PortalShortcut.h"

#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <QMap>
#include <QMutex>
#include <QSet>

// The desktop's portal service as the app meets it on the bus: it owns
// org.freedesktop.portal.Desktop, answers Screenshot, CreateSession and
// BindShortcuts with a Request handle and a later Response signal on that
// Request, takes Close on requests, and sends Activated for shortcuts.
class FakeDesktopPortal : public QDBusVirtualObject {
    Q_OBJECT

public:
    enum class Timing {
        // The Response signal follows the method's reply.
        afterReply,
        // The Response signal goes out before the reply.
        beforeReply,
        // No Response at all.
        never,
    };

    struct Call {
        QString method;
        QVariantMap options;
        QList<PortalShortcut> shortcuts;
        QString requestPath;
    };

    // Serves on `connection`, which must stay open while this object lives.
    explicit FakeDesktopPortal(const QDBusConnection &connection);
    ~FakeDesktopPortal() override;

    bool isServing() const { return m_serving; }
    // How `method` answers from now on. CreateSession adds "session_handle"
    // and BindShortcuts "shortcuts" (all asked for but `refused`) on success.
    void script(const QString &method, uint response, const QVariantMap &results = {},
                Timing timing = Timing::afterReply);
    void refuseShortcut(const QString &id);
    // Sends Activated for `id` in the last created session, or in `session`.
    void activate(const QString &id, const QString &session = QString());

    QList<Call> calls() const;
    QStringList closedRequests() const;

    QString introspect(const QString &path) const override;
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override;

private:
    struct Answer {
        uint response = 0;
        QVariantMap results;
        Timing timing = Timing::never;
    };

    QVariantMap resultsFor(const QString &method, const Answer &answer, const QList<PortalShortcut> &asked,
                           const QString &sender);

    QDBusConnection m_connection;
    bool m_serving = false;
    mutable QMutex m_mutex;
    QMap<QString, Answer> m_answers;
    QSet<QString> m_refused;
    QList<Call> m_calls;
    QStringList m_closed;
    QString m_session;
    QString m_client;
};
