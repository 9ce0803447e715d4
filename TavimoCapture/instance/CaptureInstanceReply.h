#pragma once

#include "CaptureOutcome.h"

#include <QObject>

class QLocalSocket;

// The way back to the start that sent a request. Lives as long as that
// start's connection; answer at most once.
class CaptureInstanceReply : public QObject {
    Q_OBJECT

public:
    explicit CaptureInstanceReply(QLocalSocket *connection);

    void send(const CaptureOutcome &outcome);
    bool answered() const { return m_answered; }

private:
    QLocalSocket *m_connection;
    bool m_answered = false;
};
