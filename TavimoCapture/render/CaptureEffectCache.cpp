#include "CaptureEffectCache.h"

#include <QMutexLocker>

namespace {

// Enough for every effect of a few large captures.
constexpr qsizetype maximumBytes = qsizetype(64) * 1024 * 1024;

} // namespace

bool CaptureEffectCache::Key::matches(const Key &other) const
{
    return image == other.image && sourceSize.width() == other.sourceSize.width() &&
           sourceSize.height() == other.sourceSize.height() && target == other.target &&
           effect.has_value() == other.effect.has_value() && (!effect || effect->drawsLike(*other.effect)) &&
           CaptureAnnotation::drawLike(marks, other.marks);
}

CaptureEffectCache &CaptureEffectCache::shared()
{
    static CaptureEffectCache cache;
    return cache;
}

std::optional<QImage> CaptureEffectCache::find(const Key &key)
{
    const QMutexLocker locker(&m_mutex);
    const auto found =
        std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry &entry) { return entry.key.matches(key); });
    if (found == m_entries.end())
        return std::nullopt;
    m_entries.move(found - m_entries.begin(), 0);
    return m_entries.first().pixels;
}

void CaptureEffectCache::insert(const Key &key, const QImage &pixels)
{
    const qsizetype bytes = pixels.sizeInBytes();
    if (bytes > maximumBytes)
        return;
    const QMutexLocker locker(&m_mutex);
    m_entries.prepend(Entry{key, pixels});
    m_bytes += bytes;
    while (m_bytes > maximumBytes) {
        m_bytes -= m_entries.last().pixels.sizeInBytes();
        m_entries.removeLast();
    }
}

void CaptureEffectCache::clear()
{
    const QMutexLocker locker(&m_mutex);
    m_entries.clear();
    m_bytes = 0;
}

bool CaptureEffectCache::isEmpty()
{
    const QMutexLocker locker(&m_mutex);
    return m_entries.isEmpty();
}
