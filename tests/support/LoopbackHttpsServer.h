#pragma once

#include "TestCertificate.h"

#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSslConfiguration>
#include <QSslServer>
#include <QUrl>

class QSslSocket;

// One request as the server read it. Header names are in lower case.
struct ReceivedRequest {
    QByteArray method;
    QByteArray path;
    QHash<QByteArray, QByteArray> headers;
    QByteArray body;
    QJsonObject json() const;
};

// An HTTPS server on 127.0.0.1 with a certificate made for the test. It keeps
// every request and answers from a table of canned responses by path, with
// the fallback for other paths; every answer sets a cookie. Answers go at
// once, after a delay, or only when the test releases them.
class LoopbackHttpsServer : public QObject {
    Q_OBJECT
public:
    struct Response {
        int status = 204;
        QByteArray body;
        QByteArray location;         // the Location header, when set
        qint64 announcedLength = -1; // the body's size when negative; larger makes a truncated reply
    };
    LoopbackHttpsServer();
    ~LoopbackHttpsServer() override;
    QUrl url(const QString &path = QStringLiteral("/")) const;
    // Trusts this server's certificate, and nothing else.
    QSslConfiguration clientTls() const;
    void serve(const QString &path, Response response) { m_responses.insert(path.toUtf8(), std::move(response)); }
    void setFallback(Response response) { m_fallback = std::move(response); }
    void setReplyDelay(int milliseconds) { m_replyDelay = milliseconds; }
    // Requests stay unanswered until releaseHeld().
    void setHolding(bool holding) { m_holding = holding; }
    void releaseHeld();
    const QList<ReceivedRequest> &requests() const { return m_requests; }
    int requestCount(const QString &path) const;
    // The most requests that were ever waiting for an answer at once.
    int mostConcurrent() const { return m_mostConcurrent; }
    bool waitForRequests(qsizetype count, int timeoutMilliseconds = 10000);

private:
    void accept();
    void readFrom(QSslSocket *socket);
    void reply(QSslSocket *socket, const QByteArray &path);
    TestCertificate m_certificate;
    QSslServer m_server;
    QHash<QSslSocket *, QByteArray> m_buffers;
    QList<QPair<QPointer<QSslSocket>, QByteArray>> m_held;
    QList<ReceivedRequest> m_requests;
    QHash<QByteArray, Response> m_responses;
    Response m_fallback;
    int m_replyDelay = 0;
    bool m_holding = false;
    int m_concurrent = 0;
    int m_mostConcurrent = 0;
};
