#include "CaptureHandle.h"

#include "CaptureDocument.h"
#include "RenderTestMarks.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Kind = CaptureHandle::Kind;

CaptureAnnotation magnifier(QRectF source, QRectF destination)
{
    CaptureAnnotation annotation = mark(CaptureTool::magnifier, source.topLeft(), source.bottomRight());
    annotation.destination = destination;
    return annotation;
}

CaptureAnnotation curvedArrow(QPointF start, QPointF end)
{
    CaptureAnnotation annotation = mark(CaptureTool::arrow, start, end);
    annotation.style.arrowCurved = true;
    return annotation;
}

CaptureAnnotation stroke(QList<QPointF> points)
{
    CaptureAnnotation annotation = mark(CaptureTool::freehand, points.first(), points.last());
    annotation.points = points;
    return annotation;
}

} // namespace

TEST(CaptureHandleTest, ShapesShowTheirCornersArrowsTheirEndsAndCurveOthersNone)
{
    const auto corners = [](QRectF r) {
        return QList<QPointF>{r.topLeft(), r.topRight(), r.bottomRight(), r.bottomLeft()};
    };
    const CaptureAnnotation curved = curvedArrow({10, 10}, {110, 10});
    struct Row {
        const char *name;
        CaptureAnnotation annotation;
        QList<Kind> kinds;
        QList<QPointF> points;
    };
    const QList<Kind> four(4, Kind::sourceCorner);
    const Row rows[] = {
        {"rectangle drawn up and left", mark(CaptureTool::rectangle, {50, 40}, {10, 20}), four,
         corners(QRectF(10, 20, 40, 20))},
        {"oval", mark(CaptureTool::oval, {10, 20}, {50, 40}), four, corners(QRectF(10, 20, 40, 20))},
        {"magnifier with its lens", magnifier(QRectF(10, 20, 40, 20), QRectF(100, 100, 80, 40)),
         four + QList<Kind>(4, Kind::destinationCorner),
         corners(QRectF(10, 20, 40, 20)) + corners(QRectF(100, 100, 80, 40))},
        {"straight arrow",
         mark(CaptureTool::arrow, {10, 10}, {110, 10}),
         {Kind::start, Kind::end},
         {{10, 10}, {110, 10}}},
        {"curved arrow",
         curved,
         {Kind::start, Kind::end, Kind::control},
         {{10, 10}, {110, 10}, curved.resolvedControl()}},
        {"freehand", stroke({{10, 10}, {30, 30}}), {}, {}},
        {"text", mark(CaptureTool::text, {10, 10}, {10, 10}), {}, {}},
        {"blur", mark(CaptureTool::blur, {10, 10}, {50, 50}), {}, {}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const QList<std::pair<CaptureHandle, QPointF>> handles = CaptureHandle::handles(row.annotation);
        ASSERT_EQ(handles.size(), row.kinds.size());
        for (qsizetype i = 0; i < handles.size(); ++i) {
            EXPECT_EQ(handles[i].first.kind, row.kinds[i]) << i;
            EXPECT_EQ(handles[i].first.index,
                      row.kinds[i] == Kind::sourceCorner || row.kinds[i] == Kind::destinationCorner ? i % 4 : 0);
            EXPECT_EQ(handles[i].second, row.points[i]) << i;
        }
    }
}

TEST(CaptureHandleTest, DraggingAHandleReshapesACopyOfTheMark)
{
    CaptureDocument document(filledImage(400, 300, Qt::white));
    const CaptureAnnotation box = mark(CaptureTool::rectangle, {100, 100}, {200, 200});
    const CaptureAnnotation lensMark = magnifier(QRectF(300, 100, 40, 20), QRectF(100, 200, 80, 40));
    const CaptureAnnotation arrow = curvedArrow({50, 50}, {150, 50});
    struct Row {
        const char *name;
        CaptureAnnotation original;
        CaptureHandle handle;
        QPointF press, point;
        QRectF rect;
        std::optional<QRectF> destination;
    };
    const Row rows[] = {
        {"a corner spans from the opposite one",
         box,
         {Kind::sourceCorner, 2},
         {200, 200},
         {160, 170},
         QRectF(100, 100, 60, 70),
         std::nullopt},
        {"a corner dragged past the opposite one flips",
         box,
         {Kind::sourceCorner, 0},
         {100, 100},
         {250, 260},
         QRectF(200, 200, 50, 60),
         std::nullopt},
        {"one pixel wide keeps the rectangle",
         box,
         {Kind::sourceCorner, 2},
         {200, 200},
         {101, 150},
         QRectF(100, 100, 100, 100),
         std::nullopt},
        {"a lens's source keeps its aspect and stops at the crop edge",
         lensMark,
         {Kind::sourceCorner, 2},
         {340, 120},
         {500, 140},
         QRectF(300, 100, 100, 50),
         QRectF(100, 200, 80, 40)},
        {"a lens's source shrinks toward its anchor",
         lensMark,
         {Kind::sourceCorner, 0},
         {300, 100},
         {330, 110},
         QRectF(320, 110, 20, 10),
         QRectF(100, 200, 80, 40)},
        {"a lens corner may leave the image",
         lensMark,
         {Kind::destinationCorner, 2},
         {180, 240},
         {500, 400},
         QRectF(300, 100, 40, 20),
         QRectF(100, 200, 400, 200)},
        {"the lens moves anywhere, its source stays",
         lensMark,
         {Kind::destination, 0},
         {120, 220},
         {520, 420},
         QRectF(300, 100, 40, 20),
         QRectF(500, 400, 80, 40)},
        {"moving a magnifier leaves its lens",
         lensMark,
         {Kind::move, 0},
         {310, 110},
         {290, 140},
         QRectF(280, 130, 40, 20),
         QRectF(100, 200, 80, 40)},
        {"a move stops at the crop edge",
         box,
         {Kind::move, 0},
         {150, 150},
         {500, -80},
         QRectF(300, 0, 100, 100),
         std::nullopt},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const CaptureAnnotation result = row.handle.dragged(row.original, row.press, row.point, document);
        EXPECT_EQ(result.id, row.original.id);
        EXPECT_EQ(result.rect(), row.rect);
        EXPECT_EQ(result.destination, row.destination);
    }

    const CaptureAnnotation bent = CaptureHandle{Kind::control, 0}.dragged(arrow, {100, -10}, {100, 120}, document);
    EXPECT_EQ(bent.control, QPointF(100, 120));
    EXPECT_EQ(bent.start, arrow.start);
    const CaptureAnnotation turned = CaptureHandle{Kind::end, 0}.dragged(arrow, {150, 50}, {170, 90}, document);
    EXPECT_EQ(turned.end, QPointF(170, 90));
    EXPECT_EQ(turned.start, QPointF(50, 50));
    const CaptureAnnotation pulled = CaptureHandle{Kind::start, 0}.dragged(arrow, {50, 50}, {0, 0}, document);
    EXPECT_EQ(pulled.start, QPointF(0, 0));
}

TEST(CaptureHandleTest, AMovedStrokeStopsWithItsOutermostSampleOnTheCropEdge)
{
    CaptureDocument document(filledImage(400, 300, Qt::white));
    document.setTool(CaptureTool::crop);
    document.finishGesture(QPointF(20, 10), QPointF(400, 300));
    ASSERT_EQ(document.cropRect(), QRectF(20, 10, 380, 290));
    CaptureAnnotation curved = stroke({{50, 50}, {30, 70}, {90, 60}, {120, 55}});
    curved.control = QPointF(60, 20);
    const CaptureAnnotation moved = CaptureHandle{Kind::move, 0}.dragged(curved, {60, 55}, {-140, -100}, document);
    const auto [minX, maxX] = std::minmax_element(moved.points.cbegin(), moved.points.cend(),
                                                  [](QPointF a, QPointF b) { return a.x() < b.x(); });
    EXPECT_DOUBLE_EQ(minX->x(), 20);
    // Every point moved alike: the outermost sample on the left edge, the
    // control point on the top edge.
    EXPECT_EQ(moved.points, (QList<QPointF>{{40, 40}, {20, 60}, {80, 50}, {110, 45}}));
    EXPECT_EQ(moved.control, QPointF(50, 10));
    EXPECT_EQ(moved.start, QPointF(40, 40));
    EXPECT_EQ(moved.end, QPointF(110, 45));
}

TEST(CaptureHandleTest, OnlyTheLensAndItsCornersReachOutsideTheImage)
{
    for (const Kind kind : {Kind::sourceCorner, Kind::destinationCorner, Kind::start, Kind::end, Kind::control,
                            Kind::move, Kind::destination})
        EXPECT_EQ((CaptureHandle{kind, 0}.reachesOutsideImage()),
                  kind == Kind::destinationCorner || kind == Kind::destination);
    EXPECT_EQ(CaptureHandle::selectionBounds(magnifier(QRectF(300, 100, 40, 20), QRectF(100, 200, 80, 40))),
              QRectF(100, 100, 240, 140));
}
