#include "CaptureRequestReader.h"

#include "CaptureInstanceFrame.h"

CaptureRequestReader::State CaptureRequestReader::add(QByteArrayView bytes)
{
    // One request per connection: anything after it is a fault.
    if (m_state != State::waiting || bytes.size() > room())
        return finish(std::nullopt);
    m_received.append(bytes);
    QByteArray payload;
    switch (CaptureInstanceFrame::read(m_received, CaptureRequest::maximumEncodedSize, payload)) {
    case CaptureInstanceFrame::State::incomplete:
        return m_state;
    case CaptureInstanceFrame::State::complete:
        return finish(CaptureRequest::decoded(payload));
    case CaptureInstanceFrame::State::invalid:
        break;
    }
    return finish(std::nullopt);
}

CaptureRequestReader::State CaptureRequestReader::finish(std::optional<CaptureRequest> request)
{
    m_received.clear();
    m_request = std::move(request);
    m_state = m_request ? State::complete : State::refused;
    return m_state;
}
