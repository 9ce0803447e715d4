#pragma once

#include "CaptureFrameScene.h"

#include <QImage>
#include <QList>
#include <QRect>
#include <QRectF>

#include <optional>

// The editor canvas's frames. It keeps the last frame and, when only marks
// change, repaints where the changed marks were and are, with whatever reads
// the pixels there (lenses, blur and pixelation). While one plain mark keeps
// changing (dragged, or being drawn) it also keeps the frame without that
// mark and draws the mark alone over it, redrawing in full only where
// something lies above the mark. A change of the image, crop, composition,
// legend, view size or scale draws the frame whole. Every frame equals one
// drawn from scratch, pixel for pixel.
class CaptureFrameCache {
public:
    CaptureFrameCache() = default;
    CaptureFrameCache(const CaptureFrameCache &) = delete;
    CaptureFrameCache &operator=(const CaptureFrameCache &) = delete;
    // The effects the renderer kept for these frames go with them: a closed
    // editor leaves no filtered copies of its capture in memory.
    ~CaptureFrameCache();

    // The frame for `scene`, in device pixels with the scene's pixel ratio.
    const QImage &frame(const CaptureFrameScene &scene);
    // A frame drawn from scratch, as `frame` shows it.
    static QImage drawnFrame(const CaptureFrameScene &scene);
    // Forgets every kept frame.
    void clear();

private:
    void update(const CaptureFrameScene &scene);
    void move(const CaptureFrameScene &scene, qsizetype index, const std::optional<CaptureAnnotation> &removed,
              const std::optional<CaptureAnnotation> &added);
    void repaintChanges(const CaptureFrameScene &scene, const QList<CaptureAnnotation> &removed,
                        const QList<CaptureAnnotation> &added);

    QImage m_frame;
    std::optional<CaptureFrameScene> m_scene;
    // The frame without the mark that keeps changing, and the marks it shows.
    QImage m_base;
    QList<CaptureAnnotation> m_baseMarks;
};
