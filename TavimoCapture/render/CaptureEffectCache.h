#pragma once

#include "CaptureAnnotation.h"

#include <QImage>
#include <QList>
#include <QMutex>
#include <QRect>
#include <QSizeF>

#include <optional>

// Filtered pixels of blur and pixelation marks, kept for later frames: a
// repaint over an effect that has not changed draws it without filtering
// again. Safe to use from any thread.
class CaptureEffectCache {
public:
    // Everything the filtered pixels depend on.
    struct Key {
        qint64 image = 0;
        QSizeF sourceSize;
        CaptureAnnotation effect;
        QRect target;
        // The secure marks the effect's copy holds.
        QList<CaptureAnnotation> secureMarks;

        bool matches(const Key &other) const;
    };

    static CaptureEffectCache &shared();

    std::optional<QImage> find(const Key &key);
    void insert(const Key &key, const QImage &filtered);

private:
    struct Entry {
        Key key;
        QImage filtered;
    };

    QMutex m_mutex;
    // Most recently used first.
    QList<Entry> m_entries;
    qsizetype m_bytes = 0;
};
