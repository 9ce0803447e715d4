#include "CaptureInstanceClient.h"

#include "CaptureInstanceFailure.h"
#include "CaptureInstanceFrame.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLocalSocket>

namespace {

constexpr int connectTimeout = 1000;
constexpr int answerTimeout = 5000;

[[noreturn]] void failNoAnswer(const QString &reason)
{
    throw CaptureInstanceError(CaptureInstanceFailure{CaptureInstanceFailure::Kind::noAnswer, {}, reason});
}

QByteArray readAnswer(QLocalSocket &socket, QDeadlineTimer deadline)
{
    QByteArray received;
    QByteArray payload;
    for (;;) {
        received += socket.readAll();
        switch (CaptureInstanceFrame::read(received, CaptureOutcome::maximumEncodedSize, payload)) {
        case CaptureInstanceFrame::State::complete:
            return payload;
        case CaptureInstanceFrame::State::invalid:
            failNoAnswer(QCoreApplication::translate("CaptureInstanceClient", "its answer was not understood."));
        case CaptureInstanceFrame::State::incomplete:
            break;
        }
        if (!socket.waitForReadyRead(deadline.isForever() ? -1 : int(deadline.remainingTime())))
            failNoAnswer(socket.state() == QLocalSocket::ConnectedState
                             ? QCoreApplication::translate("CaptureInstanceClient", "it took too long.")
                             : QCoreApplication::translate("CaptureInstanceClient", "it closed the connection."));
    }
}

} // namespace

std::optional<CaptureOutcome> CaptureInstanceClient::send(const QString &socketPath, const CaptureRequest &request)
{
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(connectTimeout))
        return std::nullopt;
    socket.write(CaptureInstanceFrame::framed(request.encoded()));
    if (!socket.waitForBytesWritten(answerTimeout))
        failNoAnswer(socket.errorString());
    const QDeadlineTimer deadline =
        request.returnsImage ? QDeadlineTimer(QDeadlineTimer::Forever) : QDeadlineTimer(answerTimeout);
    const std::optional<CaptureOutcome> outcome = CaptureOutcome::decoded(readAnswer(socket, deadline));
    if (!outcome)
        failNoAnswer(QCoreApplication::translate("CaptureInstanceClient", "its answer was not understood."));
    return outcome;
}
