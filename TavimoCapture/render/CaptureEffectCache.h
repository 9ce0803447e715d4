#pragma once

#include "CaptureAnnotation.h"

#include <QImage>
#include <QList>
#include <QMutex>
#include <QRect>
#include <QSizeF>

#include <optional>

// Filtered pixels of blur and pixelation marks and the flattened copies
// lenses show, kept for later frames: a repaint over an effect or a lens that
// has not changed draws it without filtering or flattening again. Safe to use
// from any thread.
class CaptureEffectCache {
public:
    // Everything the filtered pixels depend on.
    struct Key {
        qint64 image = 0;
        QSizeF sourceSize;
        // None for a lens copy.
        std::optional<CaptureAnnotation> effect;
        QRect target;
        // The marks the copy holds.
        QList<CaptureAnnotation> marks;

        bool matches(const Key &other) const;
    };

    static CaptureEffectCache &shared();

    std::optional<QImage> find(const Key &key);
    void insert(const Key &key, const QImage &pixels);
    // Gives the memory back, for when no editor is left to use it.
    void clear();
    bool isEmpty();

private:
    struct Entry {
        Key key;
        QImage pixels;
    };

    QMutex m_mutex;
    // Most recently used first.
    QList<Entry> m_entries;
    qsizetype m_bytes = 0;
};
