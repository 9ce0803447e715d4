#pragma once

#include "CaptureInstanceReply.h"
#include "CaptureRequest.h"
#include "CaptureRequestReader.h"

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

// The running app's end of the socket later starts talk to. Each connection
// carries one request; one that is malformed, too large or too slow is
// dropped without a word. GUI thread only.
class CaptureInstanceServer : public QObject {
    Q_OBJECT

public:
    enum class Start {
        listening,
        // Another start owns the socket and answers on it.
        anotherInstanceRuns,
    };

    explicit CaptureInstanceServer(QString socketPath, QObject *parent = nullptr);
    ~CaptureInstanceServer() override;

    // Holds a lock beside the socket for the life of the server, so that two
    // starts at once cannot both listen; replaces a socket left behind by an
    // instance that is gone. Throws CaptureInstanceError when the socket
    // cannot be made.
    Start listen();
    QString socketPath() const { return m_socketPath; }

signals:
    // Requests that return no image are answered as accepted once this
    // returns. The others wait for `reply`, which goes away if the caller
    // hangs up first.
    void requested(const CaptureRequest &request, CaptureInstanceReply *reply);

private:
    // What one connection has sent so far.
    struct Incoming {
        CaptureRequestReader reader;
        bool answering = false;
    };

    void accept();
    void receive(QLocalSocket *connection, Incoming &incoming);
    bool lock();

    QString m_socketPath;
    QLocalServer *m_server;
    int m_lock = -1;
};
