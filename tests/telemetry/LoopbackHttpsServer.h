#pragma once

#include "TestCertificate.h"

#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSslConfiguration>
#include <QSslServer>

class QSslSocket;

// One request as the server read it. Header names are in lower case.
struct ReceivedRequest {
    QByteArray method;
    QByteArray path;
    QHash<QByteArray, QByteArray> headers;
    QByteArray body;

    QJsonObject json() const;
};

// An HTTPS server on 127.0.0.1 with a certificate made for the test. It
// answers every request with one status and a cookie, at once, after a delay,
// or only when the test releases it.
class LoopbackHttpsServer : public QObject {
    Q_OBJECT
public:
    LoopbackHttpsServer();
    ~LoopbackHttpsServer() override;

    // "https://127.0.0.1:<port>/"
    QString endpoint() const;
    // Trusts this server's certificate, and nothing else.
    QSslConfiguration clientTls() const;

    void setStatus(int status) { m_status = status; }
    void setReplyDelay(int milliseconds) { m_replyDelay = milliseconds; }
    // Requests stay unanswered until releaseHeld().
    void setHolding(bool holding) { m_holding = holding; }
    void releaseHeld();

    const QList<ReceivedRequest> &requests() const { return m_requests; }
    // The most requests that were ever waiting for an answer at once.
    int mostConcurrent() const { return m_mostConcurrent; }
    bool waitForRequests(qsizetype count, int timeoutMilliseconds = 10000);

signals:
    void requestReceived();

private:
    void accept();
    void readFrom(QSslSocket *socket);
    void reply(QSslSocket *socket);

    TestCertificate m_certificate;
    QSslServer m_server;
    QHash<QSslSocket *, QByteArray> m_buffers;
    QList<QPointer<QSslSocket>> m_held;
    QList<ReceivedRequest> m_requests;
    int m_status = 204;
    int m_replyDelay = 0;
    bool m_holding = false;
    int m_concurrent = 0;
    int m_mostConcurrent = 0;
};
