#pragma once

#include "CaptureRequest.h"

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

// What one connection has sent so far, read into at most one request: a whole
// frame holding a valid request. Anything else (an oversized or malformed
// frame, bytes after it, a payload that is no request) is refused for good.
class CaptureRequestReader {
public:
    enum class State {
        waiting,
        complete,
        refused,
    };

    // The most bytes a connection may send: a whole request with its header,
    // and enough beyond it to see that more came.
    static constexpr qsizetype receiveLimit = CaptureRequest::maximumEncodedSize + 8;

    // How many more bytes are worth reading.
    qsizetype room() const { return receiveLimit - m_received.size(); }
    State add(QByteArrayView bytes);
    State state() const { return m_state; }
    // Set once complete.
    const std::optional<CaptureRequest> &request() const { return m_request; }

private:
    State finish(std::optional<CaptureRequest> request);

    QByteArray m_received;
    State m_state = State::waiting;
    std::optional<CaptureRequest> m_request;
};
