#include "CaptureEffectCache.h"
#include "CaptureFrameCache.h"
#include "CaptureRenderer.h"
#include "RenderTestMarks.h"

#include <QLinearGradient>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>

namespace {

// Stripes over a gradient, so blur, pixelation and lenses show what they read.
QImage patterned()
{
    QImage image(640, 400, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 640, 400);
    gradient.setColorAt(0, QColor(20, 90, 200));
    gradient.setColorAt(1, QColor(240, 200, 40));
    painter.fillRect(image.rect(), gradient);
    for (int x = 0; x < 640; x += 14)
        painter.fillRect(QRect(x, 0, 5, 400), QColor(255, 255, 255, 150));
    painter.fillRect(QRect(300, 150, 60, 40), Qt::black);
    return image;
}

// Fits the composition in the view with a 24-point inset, as the canvas does.
void layOut(CaptureFrameScene &scene)
{
    const QRectF extent = CaptureRenderer::contentExtent(scene.crop, scene.marks);
    scene.layout = CaptureRenderer::baseLayout(extent, scene.composition, scene.legend);
    scene.layout.imageRect =
        QRectF(scene.layout.imageRect.topLeft() + (scene.crop.topLeft() - extent.topLeft()), scene.crop.size());
    const QSizeF canvas = scene.layout.canvasSize;
    const QRectF available = QRectF(QPointF(), QSizeF(scene.viewSize)).adjusted(24, 24, -24, -24);
    scene.scale = std::min(available.width() / canvas.width(), available.height() / canvas.height());
    const QSizeF size = canvas * scene.scale;
    scene.outputRect =
        QRectF(QPointF(scene.viewSize.width() - size.width(), scene.viewSize.height() - size.height()) / 2, size);
}

CaptureAnnotation moved(CaptureAnnotation annotation, QPointF by)
{
    annotation.start += by;
    annotation.end += by;
    for (QPointF &point : annotation.points)
        point += by;
    return annotation;
}

// Indices into the marks every case starts from.
enum Base { underRect, blur, arrow, pixelation, text, stroke, overRect, redaction, mosaic, farLens, baseCount };

QList<CaptureAnnotation> baseMarks()
{
    CaptureAnnotation words = mark(CaptureTool::text, {40, 300});
    words.text = QStringLiteral("Note\non two lines");
    CaptureAnnotation freehand = mark(CaptureTool::freehand, {0, 0}, {0, 0}, {.lineWidth = 4});
    for (int i = 0; i < 40; ++i)
        freehand.points.append(QPointF(380 + 5 * i, 330 + 20 * std::sin(i / 4.0)));
    CaptureAnnotation far = lens({500, 40, 60, 40}, {60, 200, 120, 80}, 3);
    far.color = QColor(200, 0, 120);
    return {
        mark(CaptureTool::rectangle, {30, 30}, {150, 120}),
        mark(CaptureTool::blur, {20, 20}, {220, 160}),
        mark(CaptureTool::arrow, {250, 40}, {420, 130}),
        mark(CaptureTool::imagePixelate, {430, 200}, {560, 300}),
        words,
        freehand,
        mark(CaptureTool::rectangle, {100, 90}, {260, 180}, {.lineWidth = 8}),
        mark(CaptureTool::redact, {480, 60}, {540, 75}),
        mark(CaptureTool::pixelate, {230, 250}, {330, 290}),
        far,
    };
}

using Edit = std::function<void(CaptureFrameScene &)>;

Edit changeMark(int index, std::function<void(CaptureAnnotation &)> change)
{
    return [=](CaptureFrameScene &scene) {
        change(scene.marks[index]);
    };
}

Edit moveMark(int index, QPointF by)
{
    return changeMark(index, [by](CaptureAnnotation &a) { a = moved(a, by); });
}

Edit removeMark(int index)
{
    return [=](CaptureFrameScene &scene) {
        scene.marks.removeAt(index);
    };
}

Edit insertMark(int index, CaptureAnnotation added)
{
    return [=](CaptureFrameScene &scene) {
        scene.marks.insert(std::min<qsizetype>(index, scene.marks.size()), added);
    };
}

// A mark being drawn: each frame shows a new copy of it, larger.
QList<Edit> drawNew(CaptureAnnotation first, QList<QPointF> ends)
{
    QList<Edit> edits{[=](CaptureFrameScene &scene) {
        scene.marks.append(first);
    }};
    for (const QPointF end : ends)
        edits.append([=](CaptureFrameScene &scene) {
            CaptureAnnotation next = first;
            next.id = QUuid::createUuid();
            next.end = end;
            scene.marks.last() = next;
        });
    return edits;
}

QList<Edit> drag(int index, QList<QPointF> steps)
{
    QList<Edit> edits;
    for (const QPointF step : steps)
        edits.append(moveMark(index, step));
    return edits;
}

struct Case {
    const char *name;
    QList<Edit> edits;
};

QList<Case> cases()
{
    const QList<QPointF> across{{40, 30}, {120, 60}, {160, 100}, {-250, 40}, {-90, -200}};
    CaptureAnnotation number = mark(CaptureTool::number, {300, 360});
    number.number = 1;
    CaptureComposition framed;
    framed.padding = 12;
    framed.cornerRadius = 30;
    framed.borderWidth = 4;
    framed.shadow = 8;
    framed.background = CaptureBackground::gradient;
    return {
        {"a new rectangle drawn across everything",
         drawNew(mark(CaptureTool::rectangle, {10, 10}, {12, 12}), {{200, 150}, {450, 330}, {630, 390}, {300, 80}})},
        {"a new arrow, then dropped with a new id and cancelled",
         drawNew(mark(CaptureTool::arrow, {600, 380}, {590, 370}), {{500, 100}, {80, 60}}) +
             QList<Edit>{changeMark(baseCount, [](CaptureAnnotation &a) { a.id = QUuid::createUuid(); }),
                         removeMark(baseCount)}},
        {"a new freehand stroke", drawNew(mark(CaptureTool::freehand, {50, 380}, {50, 380}), {{60, 370}})},
        {"the top mark dragged over the blur, the lens source and the redaction",
         drag(overRect, across) + QList<Edit>{moveMark(overRect, {300, -100})}},
        {"a mark under the blur dragged out from under it", drag(underRect, across)},
        {"the arrow dragged under later marks", drag(arrow, across)},
        {"a text mark dragged into the lens source", drag(text, {{400, -200}, {60, -20}, {-460, 220}})},
        {"the stroke dragged", drag(stroke, {{-300, -150}, {100, -120}})},
        {"restyled: colour, width, fill, spotlight and back",
         {changeMark(overRect, [](CaptureAnnotation &a) { a.color = Qt::green; }),
          changeMark(overRect, [](CaptureAnnotation &a) { a.style.lineWidth = 20; }),
          changeMark(overRect, [](CaptureAnnotation &a) { a.style.shapeMode = CaptureShapeMode::fill; }),
          changeMark(overRect, [](CaptureAnnotation &a) { a.style.shapeMode = CaptureShapeMode::spotlight; }),
          moveMark(overRect, {200, 100}),
          changeMark(overRect, [](CaptureAnnotation &a) { a.style.shapeMode = CaptureShapeMode::outline; }),
          changeMark(blur, [](CaptureAnnotation &a) { a.style.blurRadius = 4; }),
          changeMark(pixelation, [](CaptureAnnotation &a) { a.style.pixelSize = 30; })}},
        {"deleted and brought back by undo",
         {removeMark(text), insertMark(text, baseMarks()[text]), removeMark(blur), insertMark(blur, baseMarks()[blur]),
          removeMark(farLens), insertMark(farLens, baseMarks()[farLens])}},
        {"the blur moved and resized",
         drag(blur, {{60, 40}, {200, 100}, {-260, -140}}) + QList<Edit>{changeMark(blur,
                                                                                   [](CaptureAnnotation &a) {
                                                                                       a.end += {90, 60};
                                                                                   })}},
        {"the pixelation moved", drag(pixelation, {{-80, -60}, {-200, -100}})},
        {"the secure mosaic moved beside the blur and the pixelation",
         drag(mosaic, {{-60, -120}, {-20, -60}, {200, -20}, {120, 40}})},
        {"the redaction moved out of the lens source", drag(redaction, {{-40, 0}, {-200, 100}})},
        {"a redaction with little blur of its own moved beside a strong blur that reads it",
         {removeMark(farLens), changeMark(redaction, [](CaptureAnnotation &a) { a.style.blurRadius = 1; }),
          changeMark(blur, [](CaptureAnnotation &a) { a.style.blurRadius = 30; }), moveMark(redaction, {-220, 0}),
          moveMark(redaction, {0, 30})}},
        {"the lens source moved far from its lens and back",
         {moveMark(farLens, {-420, 250}),
          changeMark(farLens, [](CaptureAnnotation &a) { a.destination = a.destination->translated(300, 20); }),
          moveMark(farLens, {420, -250}),
          changeMark(farLens, [](CaptureAnnotation &a) { a.style.magnifierOval = true; })}},
        {"the stroke dragged across the blur in uneven steps", drag(stroke, {{-250, -250}, {31, 9}, {5.5, 3.25}})},
        {"the arrow dragged under the lens source and out", drag(arrow, {{230, -20}, {7, 3}, {-237, 17}})},
        {"the top mark nudged by fractions of a pixel", drag(overRect, {{1, 1}, {2, -1}, {0.5, 0.25}, {-0.3, 0.7}})},
        {"a mark above a lens moved over its lens", drag(overRect, {{-60, 120}, {-20, 20}})},
        {"cropped, then a mark moved in the crop",
         {[](CaptureFrameScene &scene) { scene.crop = QRectF(100, 20, 420, 300); }, moveMark(overRect, {40, 30}),
          moveMark(blur, {100, 20})}},
        {"a legend added, then a numbered mark and its entry",
         {[](CaptureFrameScene &scene) {
              scene.legend = {{QUuid::createUuid(), 1, QStringLiteral("First step")}};
          },
          insertMark(baseCount, number),
          [](CaptureFrameScene &scene) { scene.legend.first().text = QStringLiteral("First step, renamed"); },
          moveMark(baseCount, {-200, -100})}},
        {"a rounded frame with a border, marks moved to its corners and inside",
         QList<Edit>{[framed](CaptureFrameScene &scene) { scene.composition = framed; }, moveMark(overRect, {-90, -80}),
                     moveMark(overRect, {200, 150}), moveMark(arrow, {200, 250})} +
             drawNew(mark(CaptureTool::oval, {5, 5}, {6, 6}), {{120, 100}, {630, 395}})},
    };
}

// Equal frames, or how many pixels differ and where the first one is.
testing::AssertionResult sameFrame(const QImage &cached, const QImage &drawn)
{
    if (cached.size() != drawn.size())
        return testing::AssertionFailure() << "sizes differ";
    qsizetype differing = 0;
    QPoint first;
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x)
            if (cached.pixel(x, y) != drawn.pixel(x, y) && differing++ == 0)
                first = QPoint(x, y);
    if (differing == 0)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << differing << " pixels differ, the first at " << first.x() << "," << first.y();
}

// The frame drawn from scratch over a copy of the capture, so nothing kept
// for the capture's effects and lenses is reused.
QImage drawnAfresh(CaptureFrameScene scene)
{
    scene.image = scene.image.copy();
    return CaptureFrameCache::drawnFrame(scene);
}

struct View {
    QSize size;
    double ratio;
};

class FrameCache : public testing::TestWithParam<View> {};

TEST_P(FrameCache, EveryEditShowsTheFrameDrawnFromScratch)
{
    const QImage image = patterned();
    for (const Case &edit : cases()) {
        CaptureFrameScene scene;
        scene.image = image;
        scene.sourceSize = QSizeF(image.size());
        scene.crop = QRectF(image.rect());
        scene.marks = baseMarks();
        scene.viewSize = GetParam().size;
        scene.devicePixelRatio = GetParam().ratio;
        scene.background = QColor(246, 245, 244);
        layOut(scene);
        CaptureFrameCache cache;
        ASSERT_TRUE(sameFrame(cache.frame(scene), drawnAfresh(scene))) << edit.name;
        for (qsizetype step = 0; step < edit.edits.size(); ++step) {
            edit.edits[step](scene);
            layOut(scene);
            EXPECT_TRUE(sameFrame(cache.frame(scene), drawnAfresh(scene))) << edit.name << ", step " << step + 1;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Views, FrameCache,
                         testing::Values(View{QSize(480, 340), 1}, View{QSize(480, 340), 2},
                                         View{QSize(1400, 900), 1}));

TEST(FrameCacheView, AResizedViewOrAnotherImageDrawsTheFrameWholeAndNoEffectOutlivesTheCache)
{
    CaptureFrameScene scene;
    scene.image = patterned();
    scene.sourceSize = QSizeF(scene.image.size());
    scene.crop = QRectF(scene.image.rect());
    scene.marks = baseMarks();
    scene.viewSize = QSize(480, 340);
    scene.background = Qt::white;
    layOut(scene);
    auto cache = std::make_unique<CaptureFrameCache>();
    cache->frame(scene);
    scene.viewSize = QSize(500, 300);
    layOut(scene);
    EXPECT_EQ(cache->frame(scene).size(), QSize(500, 300));
    EXPECT_TRUE(sameFrame(cache->frame(scene), CaptureFrameCache::drawnFrame(scene)));
    QImage inverted = scene.image;
    inverted.invertPixels();
    scene.image = inverted;
    EXPECT_TRUE(sameFrame(cache->frame(scene), CaptureFrameCache::drawnFrame(scene)));
    scene.background = Qt::black;
    EXPECT_TRUE(sameFrame(cache->frame(scene), CaptureFrameCache::drawnFrame(scene)));
    EXPECT_FALSE(CaptureEffectCache::shared().isEmpty());
    cache.reset();
    EXPECT_TRUE(CaptureEffectCache::shared().isEmpty()) << "a closed canvas keeps no filtered copies";
}

} // namespace
