#include "CaptureFrameCache.h"

#include "CaptureEffectCache.h"
#include "CaptureEffectPainter.h"
#include "CaptureRenderer.h"
#include "ExactGeometry.h"

#include <QBrush>
#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

using ExactGeometry::same;

constexpr double checkerSize = 12;
// View points added around every repainted area for anti-aliased edges.
constexpr double edgeMargin = 2;
constexpr QPainter::RenderHints renderHints =
    QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform;

QImage checkerTile()
{
    QImage tile(int(2 * checkerSize), int(2 * checkerSize), QImage::Format_RGB32);
    const QColor even = QColor::fromRgbF(0.91f, 0.91f, 0.91f);
    const QColor odd = QColor::fromRgbF(0.97f, 0.97f, 0.97f);
    QPainter painter(&tile);
    painter.fillRect(QRectF(0, 0, checkerSize, checkerSize), even);
    painter.fillRect(QRectF(checkerSize, 0, checkerSize, checkerSize), odd);
    painter.fillRect(QRectF(0, checkerSize, checkerSize, checkerSize), odd);
    painter.fillRect(QRectF(checkerSize, checkerSize, checkerSize, checkerSize), even);
    return tile;
}

bool showsSameView(const CaptureFrameScene &a, const CaptureFrameScene &b)
{
    return a.image.cacheKey() == b.image.cacheKey() && same(a.sourceSize, b.sourceSize) && same(a.crop, b.crop) &&
           a.composition == b.composition && a.legend == b.legend && same(a.layout.canvasSize, b.layout.canvasSize) &&
           same(a.layout.imageRect, b.layout.imageRect) && same(a.layout.legendRect, b.layout.legendRect) &&
           a.layout.legendOverflow == b.layout.legendOverflow && same(a.outputRect, b.outputRect) &&
           a.scale == b.scale && a.viewSize == b.viewSize && a.devicePixelRatio == b.devicePixelRatio &&
           a.background == b.background;
}

bool isFinite(const QRectF &rect)
{
    return std::isfinite(rect.x()) && std::isfinite(rect.y()) && std::isfinite(rect.width()) &&
           std::isfinite(rect.height());
}

bool isSpotlight(const CaptureAnnotation &mark)
{
    return (mark.tool == CaptureTool::rectangle || mark.tool == CaptureTool::oval) &&
           mark.style.shapeMode == CaptureShapeMode::spotlight;
}

// The area a mark can change, lenses whole: its bounds grown by its line
// width and three blur radii.
QRectF grown(const QRectF &rect, const CaptureAnnotation &mark)
{
    const double grow = std::max(0.0, mark.style.lineWidth) + std::max(0.0, mark.style.blurRadius) * 3 + 4;
    return rect.adjusted(-grow, -grow, grow, grow);
}

QRectF reach(const CaptureAnnotation &mark)
{
    QRectF bounds = mark.tool == CaptureTool::magnifier ? mark.rect() : CaptureRenderer::annotationBounds(mark);
    if (mark.tool == CaptureTool::magnifier && mark.destination)
        bounds = bounds.united(*mark.destination);
    return grown(bounds, mark);
}

// A mark that reads no pixels and sits where it is drawn: one that can be
// drawn alone over the frame without it.
bool drawsAlone(const CaptureAnnotation &mark)
{
    switch (mark.tool) {
    case CaptureTool::arrow:
    case CaptureTool::freehand:
    case CaptureTool::text:
    case CaptureTool::number:
        return isFinite(reach(mark));
    case CaptureTool::rectangle:
    case CaptureTool::oval:
        return !isSpotlight(mark) && isFinite(reach(mark));
    default:
        return false;
    }
}

QSize frameSize(const CaptureFrameScene &scene)
{
    return scene.viewSize * scene.devicePixelRatio;
}

QRectF logicalRect(const QRect &device, double ratio)
{
    return QRectF(QPointF(device.topLeft()) / ratio, QSizeF(device.size()) / ratio);
}

// Image pixels to view points.
QTransform contentTransform(const CaptureFrameScene &scene)
{
    QTransform transform;
    transform.translate(scene.outputRect.left(), scene.outputRect.top());
    transform.scale(scene.scale, scene.scale);
    const QPointF offset = scene.layout.imageRect.topLeft() - scene.crop.topLeft();
    transform.translate(offset.x(), offset.y());
    return transform;
}

// The device pixels holding `area` of the image, on whole view points.
QRect deviceRect(const CaptureFrameScene &scene, const QRectF &area)
{
    const QRect whole(QPoint(0, 0), frameSize(scene));
    if (!isFinite(area))
        return whole;
    const QRectF view =
        contentTransform(scene).mapRect(area).adjusted(-edgeMargin, -edgeMargin, edgeMargin, edgeMargin) &
        QRectF(QPointF(-1, -1), QSizeF(scene.viewSize) + QSizeF(2, 2));
    if (view.isEmpty())
        return QRect();
    const QRectF aligned = view.toAlignedRect();
    const double ratio = scene.devicePixelRatio;
    return QRectF(aligned.topLeft() * ratio, aligned.bottomRight() * ratio).toAlignedRect() & whole;
}

// The frame is drawn in tiles of this many device pixels, on a grid fixed to
// the frame's corner, each clipped alone, and repainted tile by tile: a clip
// edge changes how Qt samples scaled images and thin lines, so a tile
// repainted alone matches the tile drawn with the whole frame only when both
// are drawn the same way.
constexpr QSize tileSize(256, 64);

QList<QRect> allTiles(const CaptureFrameScene &scene)
{
    const QSize size = frameSize(scene);
    QList<QRect> tiles;
    for (int top = 0; top < size.height(); top += tileSize.height())
        for (int left = 0; left < size.width(); left += tileSize.width())
            tiles.append(QRect(QPoint(left, top), tileSize) & QRect(QPoint(0, 0), size));
    return tiles;
}

// The tiles holding `area` of the image.
QList<QRect> deviceRects(const CaptureFrameScene &scene, const QList<QRectF> &area)
{
    QList<QRect> damage;
    for (const QRectF &part : area)
        damage.append(deviceRect(scene, part));
    const QList<QRect> tiles = allTiles(scene);
    QList<QRect> touched;
    std::copy_if(tiles.cbegin(), tiles.cend(), std::back_inserter(touched), [&](const QRect &tile) {
        return std::any_of(damage.cbegin(), damage.cend(), [&](const QRect &rect) { return rect.intersects(tile); });
    });
    return touched;
}

// Where `mark` changes the frame: its reach and the lenses that show it.
QList<QRectF> shownArea(const QList<CaptureAnnotation> &marks, const CaptureAnnotation &mark)
{
    QList<QRectF> area{reach(mark)};
    for (const CaptureAnnotation &lens : marks)
        if (lens.tool == CaptureTool::magnifier && reach(lens).intersects(area.first()))
            area.append(reach(lens));
    return area;
}

// Where a change of any kind of mark changes the frame: a spotlight shades the
// whole image, a secure mark shows in the blur and pixelation that read it,
// and lenses show all of it.
QList<QRectF> changedArea(const CaptureFrameScene &scene, const CaptureAnnotation &mark)
{
    QList<QRectF> area{isSpotlight(mark) ? reach(mark).united(scene.crop) : reach(mark)};
    if (isSecureTool(mark.tool))
        for (const CaptureAnnotation &effect : scene.marks) {
            if (!isEffectTool(effect.tool))
                continue;
            const double read = CaptureEffectPainter::effectReach(effect);
            if (area.first().adjusted(-read, -read, read, read).intersects(effect.rect()))
                area.append(effect.rect());
        }
    const qsizetype changed = area.size();
    for (const CaptureAnnotation &lens : scene.marks)
        if (lens.tool == CaptureTool::magnifier &&
            std::any_of(area.cbegin(), area.cbegin() + changed,
                        [&](const QRectF &part) { return reach(lens).intersects(part); }))
            area.append(reach(lens));
    return area;
}

// Where a lens is drawn again over a mark drawn alone in `own`: its outlines
// and connector there, and its whole lens when its source shows the mark.
QList<QRectF> lensCover(const CaptureAnnotation &lens, const QRectF &own)
{
    QList<QRectF> area{reach(lens) & own};
    if (lens.destination && grown(lens.rect(), lens).intersects(own))
        area.append(grown(*lens.destination, lens));
    return area;
}

// Where something is drawn above the mark at `index` of the scene's marks, so
// drawing the mark alone is not enough: later marks, secure marks, lenses,
// the spotlight shade and the rounded corners and border.
QList<QRectF> coveredArea(const CaptureFrameScene &scene, qsizetype index)
{
    const QRectF own = reach(scene.marks[index]);
    bool whole = std::any_of(scene.marks.cbegin(), scene.marks.cend(), isSpotlight);
    const CaptureComposition &composition = scene.composition;
    if (composition.cornerRadius > 0 || composition.borderWidth > 0) {
        const double inset = std::max(0.0, composition.cornerRadius) + std::max(0.0, composition.borderWidth) + 2;
        whole = whole || !scene.crop.adjusted(inset, inset, -inset, -inset).contains(own);
    }
    QList<QRectF> covered;
    if (whole)
        covered.append(own);
    for (qsizetype other = 0; other < scene.marks.size(); ++other) {
        const CaptureAnnotation &mark = scene.marks[other];
        const QRectF area = reach(mark);
        if (other == index || !area.intersects(own))
            continue;
        if (mark.tool == CaptureTool::magnifier)
            covered.append(lensCover(mark, own));
        else if (!whole && (other > index || isSecureTool(mark.tool)))
            covered.append(area & own);
    }
    return covered;
}

void drawComposition(QPainter &painter, const CaptureFrameScene &scene)
{
    painter.save();
    painter.translate(scene.outputRect.topLeft());
    painter.scale(scene.scale, scene.scale);
    CaptureRenderer::drawComposition(painter, scene.image, scene.sourceSize, scene.crop, scene.marks, scene.composition,
                                     scene.legend, scene.layout);
    painter.restore();
}

QBrush checkerBrush(const CaptureFrameScene &scene)
{
    QBrush checker(checkerTile());
    checker.setTransform(QTransform::fromTranslate(scene.outputRect.left(), scene.outputRect.top()));
    return checker;
}

// Draws `rects` of the frame from scratch.
void repaint(QImage &frame, const CaptureFrameScene &scene, const QList<QRect> &rects)
{
    if (rects.isEmpty())
        return;
    QPainter painter(&frame);
    painter.setRenderHints(renderHints);
    const QBrush checker = checkerBrush(scene);
    for (const QRect &rect : rects) {
        const QRectF clip = logicalRect(rect, scene.devicePixelRatio);
        painter.save();
        painter.setClipRect(clip);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(clip, scene.background);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.fillRect(scene.outputRect & clip, checker);
        drawComposition(painter, scene);
        painter.restore();
    }
}

// Draws `mark` over the frame as the composition draws it among the others.
void drawAlone(QImage &frame, const CaptureFrameScene &scene, const CaptureAnnotation &mark)
{
    QPainter painter(&frame);
    painter.setRenderHints(renderHints);
    painter.translate(scene.outputRect.topLeft());
    painter.scale(scene.scale, scene.scale);
    painter.setClipRect(scene.layout.imageRect, Qt::IntersectClip);
    painter.translate(scene.layout.imageRect.topLeft() - scene.crop.topLeft());
    CaptureRenderer::draw(painter, mark, scene.sourceSize);
}

void copyPixels(const QImage &from, QImage &to, const QList<QRect> &rects)
{
    for (const QRect &rect : rects) {
        const size_t bytes = size_t(rect.width()) * sizeof(QRgb);
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            std::memcpy(to.scanLine(y) + qsizetype(rect.left()) * qsizetype(sizeof(QRgb)),
                        from.constScanLine(y) + qsizetype(rect.left()) * qsizetype(sizeof(QRgb)), bytes);
    }
}

} // namespace

const QImage &CaptureFrameCache::frame(const CaptureFrameScene &scene)
{
    if (m_frame.isNull() || !m_scene || !showsSameView(*m_scene, scene)) {
        clear();
        m_frame = drawnFrame(scene);
    } else {
        update(scene);
    }
    m_scene = scene;
    return m_frame;
}

QImage CaptureFrameCache::drawnFrame(const CaptureFrameScene &scene)
{
    QImage frame(frameSize(scene), QImage::Format_ARGB32_Premultiplied);
    frame.setDevicePixelRatio(scene.devicePixelRatio);
    repaint(frame, scene, allTiles(scene));
    return frame;
}

CaptureFrameCache::~CaptureFrameCache()
{
    CaptureEffectCache::shared().clear();
}

void CaptureFrameCache::clear()
{
    m_frame = QImage();
    m_scene.reset();
    m_base = QImage();
    m_baseMarks.clear();
}

// Compares the marks with those of the kept frame: the same marks at the start
// and at the end stay, the rest changed.
void CaptureFrameCache::update(const CaptureFrameScene &scene)
{
    const QList<CaptureAnnotation> &before = m_scene->marks;
    const QList<CaptureAnnotation> &after = scene.marks;
    const qsizetype shortest = std::min(before.size(), after.size());
    qsizetype first = 0;
    while (first < shortest && before[first].drawsLike(after[first]))
        ++first;
    qsizetype last = 0;
    while (last < shortest - first && before[before.size() - 1 - last].drawsLike(after[after.size() - 1 - last]))
        ++last;
    const QList<CaptureAnnotation> removed = before.mid(first, before.size() - first - last);
    const QList<CaptureAnnotation> added = after.mid(first, after.size() - first - last);
    if (removed.isEmpty() && added.isEmpty())
        return;
    const auto movable = [](const QList<CaptureAnnotation> &marks) {
        return marks.size() <= 1 && std::all_of(marks.cbegin(), marks.cend(), drawsAlone);
    };
    if (movable(removed) && movable(added))
        move(scene, first, removed.isEmpty() ? std::nullopt : std::optional(removed.first()),
             added.isEmpty() ? std::nullopt : std::optional(added.first()));
    else
        repaintChanges(scene, removed, added);
}

// One plain mark at `index` changed, came or went: back to the frame without
// it, then the mark drawn alone and what lies above it drawn again.
void CaptureFrameCache::move(const CaptureFrameScene &scene, qsizetype index,
                             const std::optional<CaptureAnnotation> &removed,
                             const std::optional<CaptureAnnotation> &added)
{
    QList<CaptureAnnotation> others = scene.marks;
    if (added)
        others.removeAt(index);
    const QList<QRect> restored = removed ? deviceRects(scene, shownArea(m_scene->marks, *removed)) : QList<QRect>();
    if (m_base.isNull() || !CaptureAnnotation::drawLike(m_baseMarks, others)) {
        CaptureFrameScene without = scene;
        without.marks = others;
        m_base = m_frame;
        repaint(m_base, without, restored);
        m_baseMarks = others;
    }
    copyPixels(m_base, m_frame, restored);
    if (added) {
        drawAlone(m_frame, scene, *added);
        repaint(m_frame, scene, deviceRects(scene, coveredArea(scene, index)));
    }
}

void CaptureFrameCache::repaintChanges(const CaptureFrameScene &scene, const QList<CaptureAnnotation> &removed,
                                       const QList<CaptureAnnotation> &added)
{
    QList<QRectF> area;
    for (const CaptureAnnotation &mark : removed)
        area.append(changedArea(*m_scene, mark));
    for (const CaptureAnnotation &mark : added)
        area.append(changedArea(scene, mark));
    repaint(m_frame, scene, deviceRects(scene, area));
    m_base = QImage();
    m_baseMarks.clear();
}
