#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QTimer>
#include <QVariantMap>

#include <chrono>

// One call of a desktop portal method that answers later through a Request
// object. The answer is listened for before the call goes out, on the path
// the portal derives from our bus name and the handle token, so an answer
// that comes before the call returns is not lost.
class PortalRequest : public QObject {
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds defaultTimeout = std::chrono::minutes(2);

    PortalRequest(const QDBusConnection &connection, std::chrono::milliseconds timeout, QObject *parent = nullptr);
    ~PortalRequest() override;

    static QString service();
    static QString objectPath();
    // A token for a handle path of ours, different on every call.
    static QString newToken();

    // Calls `method` of the portal's `interface` with `arguments` followed
    // by `options`, to which the handle token is added.
    void start(const QString &interface, const QString &method, QVariantList arguments, QVariantMap options);
    // Withdraws a pending request; neither signal follows.
    void close();
    bool isPending() const { return !m_path.isEmpty(); }

signals:
    // 0 success, 1 cancelled by the user, 2 refused.
    void answered(uint response, const QVariantMap &results);
    // No portal, a refused call, or no answer in time.
    void failed();

private slots:
    void handleResponse(uint response, const QVariantMap &results);

private:
    void listenAt(const QString &path);
    void stopListening();
    void handleReply(const QString &handle, bool error);

    QDBusConnection m_connection;
    QTimer m_timeout;
    QString m_path;
};
