#pragma once

#include "GlobalHotKeys.h"
#include "PortalRequest.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>

#include <chrono>
#include <memory>
#include <vector>

// Global hot keys through the desktop's GlobalShortcuts portal (Wayland).
// The app opens one session and asks the desktop to bind its keys, which the
// desktop may show the user first; so every registration is `pending` and
// finishes later. Registrations made in one turn of the event loop are bound
// together. A desktop without the portal reports `unsupported`; keys the
// desktop or user refuse are `taken`.
class PortalGlobalHotKeys : public GlobalHotKeys {
    Q_OBJECT

public:
    explicit PortalGlobalHotKeys(const QDBusConnection &connection,
                                 std::chrono::milliseconds timeout = PortalRequest::defaultTimeout,
                                 QObject *parent = nullptr);
    ~PortalGlobalHotKeys() override;

    // The portal takes "CTRL+SHIFT+2" style triggers.
    static QString preferredTrigger(QKeyCombination keys);

    bool isSupported() const override { return true; }
    Status registerHotKey(QKeyCombination keys, Identifier identifier, const QString &description) override;
    void unregisterHotKey(Identifier identifier) override;

private slots:
    // Activated(o session, s shortcut, t timestamp, a{sv} options)
    void handleActivated(const QDBusMessage &message);

private:
    struct Registration {
        Identifier identifier;
        QKeyCombination keys;
        QString description;
        quint64 serial = 0;
        bool bound = false;
    };

    static QString shortcutId(Identifier identifier);
    void scheduleBinding();
    void bindWaiting();
    void createSession();
    void bindShortcuts(std::vector<quint64> batch);
    void finishBatch(const std::vector<quint64> &batch, const QStringList &bound, Status otherwise);
    Registration *registration(quint64 serial);
    PortalRequest *newRequest();

    QDBusConnection m_connection;
    std::chrono::milliseconds m_timeout;
    std::vector<Registration> m_registrations;
    std::vector<quint64> m_waiting;
    quint64 m_nextSerial = 1;
    bool m_bindingScheduled = false;
    bool m_creatingSession = false;
    QString m_session;
};
