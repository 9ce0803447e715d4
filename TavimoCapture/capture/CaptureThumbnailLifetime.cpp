#include "CaptureThumbnailLifetime.h"

#include "CapturePreferences.h"

#include <algorithm>

namespace {

qint64 milliseconds(double seconds)
{
    return qint64(seconds * 1000.0);
}

} // namespace

CaptureThumbnailLifetime CaptureThumbnailLifetime::starting(double seconds, const QDateTime &now)
{
    CaptureThumbnailLifetime lifetime;
    lifetime.remaining = CapturePreferences::clampedThumbnailSeconds(seconds);
    lifetime.deadline = now.addMSecs(milliseconds(lifetime.remaining));
    return lifetime;
}

void CaptureThumbnailLifetime::hover(bool inside, const QDateTime &now)
{
    if (inside && deadline) {
        remaining = std::max(double(now.msecsTo(*deadline)) / 1000.0, 0.0);
        deadline.reset();
    } else if (!inside && !deadline) {
        deadline = now.addMSecs(milliseconds(remaining));
    }
}

bool CaptureThumbnailLifetime::isExpired(const QDateTime &now) const
{
    return deadline && now >= *deadline;
}
