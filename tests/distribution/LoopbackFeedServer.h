#pragma once

#include "TestCertificate.h"

#include <QByteArray>
#include <QHash>
#include <QSslConfiguration>
#include <QSslServer>
#include <QUrl>

// An HTTPS server on 127.0.0.1 with a fresh self-signed certificate that
// answers GET requests from a table of canned responses, as a feed host does.
class LoopbackFeedServer : public QObject {
    Q_OBJECT

public:
    struct Response {
        int status = 200;
        QByteArray body;
        // Sent as the Location header when set.
        QByteArray location;
        // The Content-Length announced; the body's size when negative. A
        // larger value with the connection closed early makes a truncated reply.
        qint64 announcedLength = -1;
    };

    LoopbackFeedServer();

    void serve(const QString &path, Response response);
    QUrl url(const QString &path) const;
    int requestCount(const QString &path) const;
    // Client settings that trust this server's certificate and nothing else.
    QSslConfiguration clientConfiguration() const;

private:
    void accept();
    void answer(QSslSocket *socket, const QByteArray &request);

    TestCertificate m_certificate;
    QSslServer m_server;
    QHash<QString, Response> m_responses;
    QHash<QString, int> m_requests;
};
