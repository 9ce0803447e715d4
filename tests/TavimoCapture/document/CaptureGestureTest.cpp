#include "CaptureGesture.h"

#include "CaptureDocument.h"
#include "RenderTestMarks.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class CaptureGestureTest : public testing::Test {
protected:
    CaptureDocument document{filledImage(400, 300, Qt::white)};
    CaptureGesture gesture{&document};

    // A press at `from`, a drag through the midpoint to `to` and the release
    // there, `scale` view points per image pixel. What the press asks to edit.
    std::optional<CaptureGesture::TextEdit> stroke(QPointF from, QPointF to, Qt::KeyboardModifiers modifiers = {},
                                                   double scale = 1, int clickCount = 1)
    {
        const auto edit = gesture.press(from, document.cropRect().contains(from), clickCount, scale);
        gesture.drag((from + to) / 2, modifiers);
        gesture.drag(to, modifiers);
        gesture.release(to, modifiers, scale);
        return edit;
    }
    CaptureAnnotation add(CaptureTool tool, QPointF start, QPointF end)
    {
        document.setTool(tool);
        document.finishGesture(start, end);
        return document.annotations().last();
    }
    const CaptureAnnotation &last() const { return document.annotations().last(); }
};

} // namespace

TEST_F(CaptureGestureTest, EachToolTurnsADragIntoItsMark)
{
    struct Row {
        const char *name;
        CaptureTool tool;
        QPointF from, to;
        Qt::KeyboardModifiers modifiers;
        std::optional<QRectF> mark; // none: nothing is added
    };
    const Row rows[] = {
        {"rectangle", CaptureTool::rectangle, {100, 100}, {200, 150}, {}, QRectF(100, 100, 100, 50)},
        {"Shift squares a rectangle",
         CaptureTool::rectangle,
         {100, 100},
         {200, 150},
         Qt::ShiftModifier,
         QRectF(100, 100, 50, 50)},
        {"Shift squares an oval toward the top left",
         CaptureTool::oval,
         {200, 200},
         {100, 170},
         Qt::ShiftModifier,
         QRectF(170, 170, 30, 30)},
        {"Shift leaves an arrow as drawn",
         CaptureTool::arrow,
         {100, 100},
         {200, 150},
         Qt::ShiftModifier,
         QRectF(100, 100, 100, 50)},
        {"a drag past the image stops at its edge",
         CaptureTool::blur,
         {300, 200},
         {520, 410},
         {},
         QRectF(300, 200, 100, 100)},
        {"a press outside the image draws nothing", CaptureTool::rectangle, {-10, -10}, {100, 100}, {}, std::nullopt},
        {"a click places a marker", CaptureTool::number, {50, 60}, {50, 60}, {}, QRectF(50, 60, 0, 0)},
        {"a click too small for a rectangle adds nothing",
         CaptureTool::rectangle,
         {50, 60},
         {50.5, 60},
         {},
         std::nullopt},
        {"a crop adds no mark", CaptureTool::crop, {100, 100}, {300, 200}, {}, std::nullopt},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        CaptureDocument fresh(filledImage(400, 300, Qt::white));
        gesture.setDocument(&fresh);
        fresh.setTool(row.tool);
        const auto edit = gesture.press(row.from, fresh.cropRect().contains(row.from), 1, 1);
        EXPECT_FALSE(edit);
        gesture.drag((row.from + row.to) / 2, row.modifiers);
        gesture.drag(row.to, row.modifiers);
        gesture.release(row.to, row.modifiers, 1);
        EXPECT_FALSE(gesture.isDragging());
        ASSERT_EQ(fresh.annotations().size(), row.mark ? 1 : 0);
        if (row.mark) {
            EXPECT_EQ(fresh.annotations().last().tool, row.tool);
            EXPECT_EQ(fresh.annotations().last().rect(), *row.mark);
            EXPECT_EQ(fresh.selectedID(), fresh.annotations().last().id);
        }
        EXPECT_EQ(fresh.tool(), row.tool);
    }
    gesture.setDocument(&document);
}

TEST_F(CaptureGestureTest, ADrawnMarkShowsLiveAndACropCutsTheImage)
{
    add(CaptureTool::rectangle, QPointF(10, 10), QPointF(40, 40));
    document.setTool(CaptureTool::crop);
    gesture.press(QPointF(100, 100), true, 1, 1);
    // Drawing selects nothing and keeps the document as it was until the release.
    EXPECT_TRUE(document.selectedID().isNull());
    gesture.drag(QPointF(300, 200), {});
    EXPECT_EQ(gesture.start(), QPointF(100, 100));
    EXPECT_EQ(gesture.end(), QPointF(300, 200));
    EXPECT_EQ(document.cropRect(), QRectF(0, 0, 400, 300));
    gesture.release(QPointF(300, 200), {}, 1);
    EXPECT_EQ(document.cropRect(), QRectF(100, 100, 200, 100));
    EXPECT_FALSE(gesture.start());
}

TEST_F(CaptureGestureTest, ARedactionClickHidesTheWordUnderItAndADragItsRectangle)
{
    document.setDetectedTextRects({QRectF(50, 50, 60, 20)});
    const QRectF word = document.detectedTextRects().first();
    struct Row {
        const char *name;
        CaptureTool tool;
        QPointF from, to;
        double scale;
        QRectF mark;
    };
    const Row rows[] = {
        {"a redact click on a word", CaptureTool::redact, {60, 60}, {61, 61}, 1, word},
        {"a pixelate click on a word", CaptureTool::pixelate, {60, 60}, {60, 60}, 1, word},
        {"three view points at half size are a click", CaptureTool::redact, {60, 60}, {66, 60}, 0.5, word},
        {"six view points at double size are a drag", CaptureTool::redact, {60, 60}, {63, 63}, 2, QRectF(60, 60, 3, 3)},
        {"a drag elsewhere", CaptureTool::redact, {200, 200}, {260, 240}, 1, QRectF(200, 200, 60, 40)},
        {"a blur click on a word is no redaction", CaptureTool::blur, {60, 60}, {62, 62}, 1, QRectF(60, 60, 2, 2)},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        document.setTool(row.tool);
        stroke(row.from, row.to, {}, row.scale);
        EXPECT_EQ(last().tool, row.tool);
        EXPECT_EQ(last().rect(), row.mark);
    }
}

TEST_F(CaptureGestureTest, TheWordUnderThePointerCountsOnlyForRedactionTools)
{
    document.setDetectedTextRects({QRectF(50, 50, 60, 20)});
    const QRectF word = document.detectedTextRects().first();
    for (const CaptureTool tool : RawEnum<CaptureTool>::cases) {
        document.setTool(tool);
        const bool redaction = tool == CaptureTool::redact || tool == CaptureTool::pixelate;
        EXPECT_EQ(gesture.wordAt(QPointF(60, 60)), redaction ? std::optional(word) : std::nullopt)
            << rawValue(tool).toStdString();
        EXPECT_EQ(gesture.wordAt(QPointF(200, 200)), std::nullopt);
    }
}

TEST_F(CaptureGestureTest, AMagnifierTakesTwoDragsAndItsLensMayLeaveTheImage)
{
    document.setTool(CaptureTool::magnifier);
    stroke(QPointF(300, 100), QPointF(340, 120));
    ASSERT_TRUE(document.pendingMagnifier());
    EXPECT_TRUE(document.annotations().isEmpty());

    // The lens follows the second drag with the source's aspect, from outside the image too.
    gesture.press(QPointF(350, 250), false, 1, 1);
    gesture.drag(QPointF(450, 330), {});
    EXPECT_EQ(gesture.liveDestination(), QRectF(350, 250, 160, 80));
    gesture.release(QPointF(450, 330), {}, 1);
    EXPECT_FALSE(document.pendingMagnifier());
    ASSERT_EQ(document.annotations().size(), 1);
    EXPECT_EQ(last().rect(), QRectF(300, 100, 40, 20));
    EXPECT_EQ(last().destination, QRectF(350, 250, 160, 80));
    EXPECT_EQ(document.tool(), CaptureTool::select);
    EXPECT_EQ(document.selectedID(), last().id);
}

TEST_F(CaptureGestureTest, EscapeDropsThePendingMagnifierAndTheSelectionWhileDisablingKeepsTheSelection)
{
    const QUuid rectangle = add(CaptureTool::rectangle, QPointF(10, 10), QPointF(50, 50)).id;
    document.setTool(CaptureTool::magnifier);
    stroke(QPointF(300, 100), QPointF(340, 120));
    gesture.press(QPointF(100, 200), true, 1, 1);
    gesture.drag(QPointF(180, 240), {});
    document.select(rectangle);
    gesture.abandon();
    EXPECT_FALSE(gesture.isDragging());
    EXPECT_FALSE(document.pendingMagnifier());
    EXPECT_EQ(document.selectedID(), rectangle);

    stroke(QPointF(300, 100), QPointF(340, 120));
    document.select(rectangle);
    gesture.cancel();
    EXPECT_FALSE(document.pendingMagnifier());
    EXPECT_TRUE(document.selectedID().isNull());
    EXPECT_EQ(document.annotations().size(), 1);
}

TEST_F(CaptureGestureTest, FreehandDropsCloseSamplesAndThinsLongStrokes)
{
    document.setTool(CaptureTool::freehand);
    gesture.press(QPointF(10, 10), true, 1, 1);
    gesture.drag(QPointF(10.5, 10.5), {});
    gesture.drag(QPointF(12, 10), {});
    EXPECT_EQ(gesture.strokePoints(), (QList<QPointF>{{10, 10}, {12, 10}}));
    for (int i = 1; i <= 10000; ++i)
        gesture.drag(QPointF(10 + i % 380, 10 + 2 * (i / 380)), {});
    EXPECT_LE(gesture.strokePoints().size(), 4096);
    EXPECT_GT(gesture.strokePoints().size(), 2000);
    EXPECT_EQ(gesture.strokePoints().first(), QPointF(10, 10));
    gesture.release(QPointF(10, 62), {}, 1);
    ASSERT_EQ(document.annotations().size(), 1);
    EXPECT_LT(last().points.size(), 4097);
}

TEST_F(CaptureGestureTest, SelectGrabsAHandleWithinNineViewPointsElseMovesTheMark)
{
    struct Row {
        const char *name;
        QPointF press;
        double scale;
        QRectF result;
    };
    // The rectangle's bottom-right corner is at (200, 200); each press drags by (-40, -30).
    const Row rows[] = {
        {"on the corner resizes", {200, 200}, 1, QRectF(100, 100, 60, 70)},
        {"six view points off still resizes", {206, 200}, 1, QRectF(100, 100, 66, 70)},
        {"at double size six pixels are twelve view points and move it", {194, 200}, 2, QRectF(60, 70, 100, 100)},
        {"inside moves", {150, 150}, 1, QRectF(60, 70, 100, 100)},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        CaptureDocument fresh(filledImage(400, 300, Qt::white));
        gesture.setDocument(&fresh);
        fresh.setTool(CaptureTool::rectangle);
        fresh.finishGesture(QPointF(100, 100), QPointF(200, 200));
        fresh.setTool(CaptureTool::select);
        gesture.press(row.press, true, 1, row.scale);
        gesture.drag(row.press - QPointF(20, 15), {});
        EXPECT_EQ(fresh.annotations().first().rect(), QRectF(100, 100, 100, 100)) << "changed before the release";
        gesture.release(row.press - QPointF(40, 30), {}, row.scale);
        EXPECT_EQ(fresh.annotations().first().rect(), row.result);
        EXPECT_TRUE(fresh.canUndo());
    }
    gesture.setDocument(&document);
}

TEST_F(CaptureGestureTest, SelectPicksTheMarkUnderThePressAndNothingElsewhere)
{
    const CaptureAnnotation rectangle = add(CaptureTool::rectangle, QPointF(100, 100), QPointF(200, 200));
    document.setTool(CaptureTool::select);
    document.select({});
    const quint64 revision = document.revision();
    // A click on a mark selects it and records nothing.
    stroke(QPointF(100, 150), QPointF(100, 150));
    EXPECT_EQ(document.selectedID(), rectangle.id);
    EXPECT_EQ(document.revision(), revision);
    stroke(QPointF(300, 50), QPointF(320, 60));
    EXPECT_TRUE(document.selectedID().isNull());
    EXPECT_EQ(document.annotations().first().rect(), rectangle.rect());
}

TEST_F(CaptureGestureTest, AHandleDraggedToOnePixelKeepsTheLastValidShapeAndRecordsNothing)
{
    add(CaptureTool::rectangle, QPointF(100, 100), QPointF(200, 200));
    document.setTool(CaptureTool::select);
    const quint64 revision = document.revision();
    gesture.press(QPointF(200, 200), true, 1, 1);
    gesture.drag(QPointF(150, 150), {});
    EXPECT_EQ(gesture.geometryPreview()->rect(), QRectF(100, 100, 50, 50));
    gesture.drag(QPointF(101, 150), {});
    EXPECT_EQ(gesture.geometryPreview()->rect(), QRectF(100, 100, 100, 100));
    gesture.release(QPointF(101, 150), {}, 1);
    EXPECT_EQ(last().rect(), QRectF(100, 100, 100, 100));
    EXPECT_EQ(document.revision(), revision);
}

TEST_F(CaptureGestureTest, PressingALensMovesOnlyTheLensAndBeyondTheImage)
{
    document.setTool(CaptureTool::magnifier);
    stroke(QPointF(300, 100), QPointF(340, 120));
    stroke(QPointF(100, 200), QPointF(180, 240));
    ASSERT_EQ(last().destination, QRectF(100, 200, 80, 40));
    document.select({});
    stroke(QPointF(140, 220), QPointF(340, 320));
    EXPECT_EQ(last().destination, QRectF(300, 300, 80, 40));
    EXPECT_EQ(last().rect(), QRectF(300, 100, 40, 20));
}

TEST_F(CaptureGestureTest, TextPressesAndReturnOpenTheEditorWhereTheTextStarts)
{
    document.setTool(CaptureTool::text);
    document.setText(QStringLiteral("Note"));
    document.finishGesture(QPointF(100, 100), QPointF(100, 100));
    const CaptureAnnotation note = last();
    const CaptureAnnotation box = add(CaptureTool::rectangle, QPointF(250, 200), QPointF(300, 250));
    using Edit = CaptureGesture::TextEdit;

    document.setTool(CaptureTool::text);
    EXPECT_EQ(gesture.press(QPointF(105, 105), true, 1, 1), (Edit{QPointF(100, 100), note.id}));
    EXPECT_EQ(document.selectedID(), note.id);
    EXPECT_EQ(gesture.press(QPointF(260, 210), true, 1, 1), (Edit{QPointF(260, 210), QUuid()}));
    EXPECT_TRUE(document.selectedID().isNull());
    EXPECT_EQ(gesture.press(QPointF(-20, 10), false, 1, 1), std::nullopt);
    EXPECT_FALSE(gesture.isDragging());

    document.setTool(CaptureTool::select);
    EXPECT_EQ(stroke(QPointF(105, 105), QPointF(105, 105)), std::nullopt);
    EXPECT_EQ(gesture.textToEdit(), (Edit{QPointF(100, 100), note.id}));
    EXPECT_EQ(stroke(QPointF(105, 105), QPointF(105, 105), {}, 1, 2), (Edit{QPointF(100, 100), note.id}));
    EXPECT_EQ(stroke(QPointF(260, 210), QPointF(260, 210), {}, 1, 2), std::nullopt);
    EXPECT_EQ(document.selectedID(), box.id);
    EXPECT_EQ(gesture.textToEdit(), std::nullopt);
}

TEST_F(CaptureGestureTest, ClosingTheTextEditorAddsReplacesOrDeletesText)
{
    struct Row {
        const char *name;
        bool existing;
        QString typed;
        std::optional<QString> stored; // none: no text mark left
    };
    const Row rows[] = {
        {"new text", false, QStringLiteral("Hello"), QStringLiteral("Hello")},
        {"new text of spaces and lines adds nothing", false, QStringLiteral("  \n "), std::nullopt},
        {"changed text keeps its outer spaces", true, QStringLiteral(" Hi\nthere "), QStringLiteral(" Hi\nthere ")},
        {"cleared text deletes the mark", true, QStringLiteral(" "), std::nullopt},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        CaptureDocument fresh(filledImage(400, 300, Qt::white));
        QUuid id;
        if (row.existing) {
            fresh.setTool(CaptureTool::text);
            fresh.setText(QStringLiteral("Before"));
            fresh.finishGesture(QPointF(30, 40), QPointF(30, 40));
            id = fresh.annotations().last().id;
            fresh.select({});
        }
        fresh.setTool(CaptureTool::arrow);
        CaptureGesture::commitText(fresh, row.typed, id, QPointF(30, 40));
        EXPECT_EQ(fresh.tool(), CaptureTool::arrow);
        ASSERT_EQ(fresh.annotations().size(), row.stored ? 1 : 0);
        if (row.stored) {
            EXPECT_EQ(fresh.annotations().last().tool, CaptureTool::text);
            EXPECT_EQ(fresh.annotations().last().text, *row.stored);
            EXPECT_EQ(fresh.annotations().last().start, QPointF(30, 40));
            EXPECT_EQ(fresh.selectedID(), fresh.annotations().last().id);
        }
    }
}

TEST_F(CaptureGestureTest, TheLegendDividerResizesTheLegendAndStopsItFitting)
{
    struct Row {
        const char *name;
        CaptureLegendPlacement placement;
        QPointF to;
        double scale;
        double dimension;
    };
    // Pressed at view point (100, 100) on a legend 120 high or 200 wide.
    const Row rows[] = {
        {"bottom, far up", CaptureLegendPlacement::bottom, {100, -4900}, 1, 80},
        {"bottom, down at double size", CaptureLegendPlacement::bottom, {100, 140}, 2, 140},
        {"bottom, far down", CaptureLegendPlacement::bottom, {100, 90000}, 1, 4096},
        {"right, outward", CaptureLegendPlacement::right, {130, 100}, 1, 230},
        {"left, toward the image", CaptureLegendPlacement::left, {130, 100}, 1, 170},
        {"a zero scale", CaptureLegendPlacement::bottom, {100, 110}, 0, 320},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        CaptureDocument fresh(filledImage(400, 300, Qt::white));
        gesture.setDocument(&fresh);
        CaptureComposition composition = fresh.composition();
        composition.legend.placement = row.placement;
        fresh.setComposition(composition);
        const quint64 revision = fresh.revision();
        gesture.pressLegend(QPointF(100, 100), row.scale, QSizeF(200, 120));
        EXPECT_TRUE(gesture.isResizingLegend());
        gesture.dragLegend(row.to);
        ASSERT_TRUE(gesture.legendPreview());
        const CaptureLegendSettings preview = gesture.legendPreview()->legend;
        EXPECT_EQ(row.placement == CaptureLegendPlacement::bottom ? preview.height : preview.width, row.dimension);
        EXPECT_FALSE(preview.fitToContent);
        EXPECT_TRUE(fresh.composition().legend.fitToContent) << "changed before the release";
        gesture.releaseLegend();
        EXPECT_FALSE(gesture.isResizingLegend());
        EXPECT_FALSE(gesture.legendPreview());
        EXPECT_EQ(fresh.composition().legend, preview);
        EXPECT_EQ(fresh.revision(), revision + 1);
    }
    gesture.setDocument(&document);
}

TEST_F(CaptureGestureTest, TheCursorFollowsTheToolTheDividerAndDisabledInput)
{
    struct Row {
        CaptureTool tool;
        bool onDivider, onImage, inputEnabled;
        Qt::CursorShape cursor;
    };
    const Row rows[] = {
        {CaptureTool::select, false, true, true, Qt::ArrowCursor},
        {CaptureTool::text, false, true, true, Qt::IBeamCursor},
        {CaptureTool::rectangle, false, true, true, Qt::CrossCursor},
        {CaptureTool::redact, false, true, true, Qt::CrossCursor},
        {CaptureTool::rectangle, false, false, true, Qt::ArrowCursor},
        {CaptureTool::text, false, true, false, Qt::ArrowCursor},
        {CaptureTool::rectangle, true, false, true, Qt::SizeVerCursor},
        {CaptureTool::rectangle, true, true, false, Qt::ArrowCursor},
    };
    for (const Row &row : rows) {
        document.setTool(row.tool);
        EXPECT_EQ(gesture.cursor(row.onDivider, row.onImage, row.inputEnabled), row.cursor)
            << rawValue(row.tool).toStdString() << row.onDivider << row.onImage << row.inputEnabled;
    }
    CaptureComposition side = document.composition();
    side.legend.placement = CaptureLegendPlacement::left;
    document.setComposition(side);
    EXPECT_EQ(gesture.cursor(true, false, true), Qt::SizeHorCursor);
    // The resize cursor stays while the divider is dragged away from.
    gesture.pressLegend(QPointF(10, 10), 1, QSizeF(200, 120));
    EXPECT_EQ(gesture.cursor(false, true, true), Qt::SizeHorCursor);
}
