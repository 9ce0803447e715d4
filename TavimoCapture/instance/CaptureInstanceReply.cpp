#include "CaptureInstanceReply.h"

#include "CaptureInstanceFrame.h"

#include <QLocalSocket>

CaptureInstanceReply::CaptureInstanceReply(QLocalSocket *connection) : QObject(connection), m_connection(connection)
{
}

void CaptureInstanceReply::send(const CaptureOutcome &outcome)
{
    if (m_answered)
        return;
    m_answered = true;
    m_connection->write(CaptureInstanceFrame::framed(outcome.encoded()));
    m_connection->disconnectFromServer();
}
