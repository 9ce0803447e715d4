#include "CaptureInstanceFrame.h"

#include <QtEndian>

namespace {

constexpr qsizetype headerSize = sizeof(quint32);

} // namespace

QByteArray CaptureInstanceFrame::framed(const QByteArray &payload)
{
    QByteArray frame(headerSize, Qt::Uninitialized);
    qToBigEndian(quint32(payload.size()), frame.data());
    return frame + payload;
}

CaptureInstanceFrame::State CaptureInstanceFrame::read(const QByteArray &received, qsizetype limit, QByteArray &payload)
{
    if (received.size() < headerSize)
        return State::incomplete;
    const qsizetype length = qFromBigEndian<quint32>(received.constData());
    if (length > limit || received.size() > headerSize + length)
        return State::invalid;
    if (received.size() < headerSize + length)
        return State::incomplete;
    payload = received.sliced(headerSize);
    return State::complete;
}
