#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The running app's answer to a request.
struct CaptureOutcome {
    enum class Kind : quint8 {
        // Taken over; the app does the rest on its own.
        accepted,
        image,
        failed,
        cancelled,
    };

    // Far above the PNG of an 80-megapixel capture.
    static constexpr qsizetype maximumEncodedSize = qsizetype(1) << 30;

    Kind kind = Kind::accepted;
    // For image: the PNG.
    QByteArray png;
    // For failed: the sentence to show.
    QString reason;

    static CaptureOutcome failure(const QString &reason) { return {Kind::failed, {}, reason}; }

    QByteArray encoded() const;
    static std::optional<CaptureOutcome> decoded(const QByteArray &data);
};
