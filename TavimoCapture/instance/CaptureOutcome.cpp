#include "CaptureOutcome.h"

QByteArray CaptureOutcome::encoded() const
{
    const QByteArray payload = kind == Kind::failed ? reason.toUtf8() : png;
    return char(kind) + payload;
}

std::optional<CaptureOutcome> CaptureOutcome::decoded(const QByteArray &data)
{
    if (data.isEmpty() || quint8(data[0]) > quint8(Kind::cancelled))
        return std::nullopt;
    CaptureOutcome outcome{Kind(quint8(data[0])), {}, {}};
    if (outcome.kind == Kind::image)
        outcome.png = data.mid(1);
    if (outcome.kind == Kind::failed)
        outcome.reason = QString::fromUtf8(data.mid(1));
    return outcome;
}
