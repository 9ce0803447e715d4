#pragma once

#include <QDateTime>
#include <QUuid>

#include <optional>

// The countdown of one thumbnail. It runs while `deadline` is set and is
// paused, keeping the seconds that were left, while the pointer rests on the
// thumbnail.
struct CaptureThumbnailLifetime {
    QUuid id = QUuid::createUuid();
    double remaining = 0;
    std::optional<QDateTime> deadline;

    // A running countdown of `seconds` clamped to 1 to 30 (5 when not finite).
    static CaptureThumbnailLifetime starting(double seconds, const QDateTime &now);

    // Entering pauses a running countdown; leaving resumes a paused one.
    void hover(bool inside, const QDateTime &now);
    bool isExpired(const QDateTime &now) const;
};
