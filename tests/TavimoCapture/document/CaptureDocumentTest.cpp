#include "CaptureDocument.h"
#include "CaptureAnnotationDefaults.h"
#include "CaptureRenderer.h"
#include "DocumentMarkers.h"
#include "RenderTestMarks.h"
#include "UserDefaults.h"

#include <QTemporaryDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>

namespace {

QImage whiteImage()
{
    return filledImage(400, 300, Qt::white);
}

class CaptureDocumentTest : public testing::Test {
protected:
    CaptureDocument document{whiteImage()};
    // A new mark drawn with `style`, leaving the selected one as it is.
    CaptureAnnotation draw(CaptureTool tool, QPointF start, QPointF end, const std::optional<CaptureStyle> &style = {})
    {
        if (style) {
            document.select({});
            document.setStyle(*style);
        }
        document.setTool(tool);
        document.finishGesture(start, end);
        return document.selectedAnnotation().value_or(CaptureAnnotation());
    }
};

} // namespace

TEST_F(CaptureDocumentTest, DeletedMarkerLeavesGapInNumbering)
{
    addMarkers(document, 3);
    const QUuid second = document.annotations().at(1).id;
    document.setLegendText(second, "Second");
    document.select(second);
    document.deleteSelected();
    addMarkers(document, 1);
    EXPECT_EQ(markerNumbers(document), QList<qint64>({1, 3, 4}));
    EXPECT_EQ(document.legendEntries().at(1).text, "");
    document.undo();
    document.undo();
    ASSERT_EQ(markerNumbers(document), QList<qint64>({1, 2, 3}));
    EXPECT_EQ(document.legendEntries().at(1).text, "Second");
}

TEST_F(CaptureDocumentTest, SpotlightsShareOneOpacity)
{
    draw(CaptureTool::rectangle, QPointF(10, 10), QPointF(60, 60),
         CaptureStyle{.shapeMode = CaptureShapeMode::spotlight});
    draw(CaptureTool::oval, QPointF(70, 10), QPointF(120, 60));
    draw(CaptureTool::rectangle, QPointF(130, 10), QPointF(180, 60), CaptureStyle());
    draw(CaptureTool::rectangle, QPointF(200, 10), QPointF(250, 60),
         CaptureStyle{.shapeMode = CaptureShapeMode::spotlight, .spotlightOpacity = 60});
    const quint64 revision = document.revision();
    document.setStyle({.shapeMode = CaptureShapeMode::spotlight, .spotlightOpacity = 80});
    EXPECT_EQ(document.revision(), revision + 1) << "restyling one spotlight is one step";
    const auto &marks = document.annotations();
    EXPECT_EQ(marks.at(0).style.spotlightOpacity, 80);
    EXPECT_EQ(marks.at(1).style.spotlightOpacity, 80);
    EXPECT_EQ(marks.at(2).style.spotlightOpacity, 45);
    document.undo();
    EXPECT_EQ(document.annotations().at(0).style.spotlightOpacity, 60);
}

TEST_F(CaptureDocumentTest, CropRoundsInwardAndIgnoresSlivers)
{
    document.setTool(CaptureTool::magnifier);
    document.beginMagnifier(QPointF(300, 200), QPointF(340, 240));
    document.finishMagnifier(QPointF(20, 20), QPointF(60, 60));
    ASSERT_EQ(document.annotations().size(), 1);
    document.setTool(CaptureTool::crop);
    const quint64 revision = document.revision();
    document.finishGesture(QPointF(10, 10), QPointF(11.5, 100));
    document.finishGesture(QPointF(-50, -50), QPointF(500, 500));
    EXPECT_EQ(document.cropRect(), QRectF(0, 0, 400, 300));
    EXPECT_EQ(document.revision(), revision);
    document.finishGesture(QPointF(10.4, 10.6), QPointF(100.2, 50.9));
    EXPECT_EQ(document.cropRect(), QRectF(11, 11, 89, 39));
    EXPECT_EQ(document.revision(), revision + 1);
    EXPECT_TRUE(document.annotations().isEmpty()) << "a lens whose source left the crop is dropped";
    document.finishGesture(QPointF(50, 300), QPointF(0, 0));
    EXPECT_EQ(document.cropRect(), QRectF(11, 11, 39, 39))
        << "a new crop, dragged either way, is cut out of the current one";
    document.undo();
    document.undo();
    EXPECT_EQ(document.cropRect(), QRectF(0, 0, 400, 300));
    EXPECT_EQ(document.annotations().size(), 1);
}

TEST_F(CaptureDocumentTest, MagnifierInTwoSteps)
{
    draw(CaptureTool::rectangle, QPointF(200, 200), QPointF(250, 250));
    document.setTool(CaptureTool::magnifier);
    document.beginMagnifier(QPointF(10, 10), QPointF(11, 40));
    EXPECT_FALSE(document.pendingMagnifier()) << "a source under 2 pixels wide is ignored";
    document.beginMagnifier(QPointF(10, 10), QPointF(30, 20));
    ASSERT_TRUE(document.pendingMagnifier());
    // Undo first cancels the pending lens, then undoes the previous edit.
    document.undo();
    EXPECT_FALSE(document.pendingMagnifier());
    EXPECT_EQ(document.annotations().size(), 1);
    document.undo();
    EXPECT_TRUE(document.annotations().isEmpty());
    document.beginMagnifier(QPointF(10, 10), QPointF(30, 20));
    document.finishMagnifier(QPointF(100, 100), QPointF(101, 100));
    EXPECT_TRUE(document.pendingMagnifier()) << "a lens under 2 pixels stays pending";
    document.finishMagnifier(QPointF(100, 100), QPointF(90, 130));
    ASSERT_EQ(document.annotations().size(), 1);
    const CaptureAnnotation lens = document.annotations().first();
    EXPECT_EQ(*lens.destination, QRectF(40, 100, 60, 30));
    EXPECT_EQ(document.selectedID(), lens.id);
    document.setTool(CaptureTool::magnifier);
    document.beginMagnifier(QPointF(10, 10), QPointF(30, 20));
    document.setTool(CaptureTool::arrow);
    EXPECT_FALSE(document.pendingMagnifier()) << "changing the tool drops the pending lens";
}

TEST(CaptureDocumentDefaults, SelectingRecordsNothingButRestylingDoes)
{
    QTemporaryDir folder;
    UserDefaults defaults(folder.filePath("defaults.json"));
    CaptureDocument document(whiteImage(), &defaults);
    document.finishGesture(QPointF(10, 10), QPointF(100, 100));
    const QUuid arrow = document.annotations().first().id;
    document.select({});
    document.setStyle({.lineWidth = 9});
    document.setColor(Qt::green);
    const quint64 revision = document.revision();
    document.select(arrow);
    EXPECT_EQ(document.style().lineWidth, 5);
    EXPECT_EQ(document.color(), CaptureAnnotation::systemRed());
    EXPECT_EQ(document.revision(), revision);
    EXPECT_EQ(CaptureAnnotationDefaults::load(defaults).style.lineWidth, 9) << "selecting stores nothing";
    document.setColor(Qt::blue);
    EXPECT_EQ(document.revision(), revision + 1);
    EXPECT_EQ(document.annotations().first().color, QColor(Qt::blue));
    const auto saved = CaptureAnnotationDefaults::load(defaults);
    EXPECT_EQ(saved.color, QColor(Qt::blue));
    EXPECT_EQ(saved.style.lineWidth, 5);
    EXPECT_EQ(CaptureDocument(whiteImage(), &defaults).color(), QColor(Qt::blue));
}

TEST_F(CaptureDocumentTest, ReplaceGeometryRecordsOnlyRealChanges)
{
    CaptureAnnotation mark = draw(CaptureTool::rectangle, QPointF(10, 10), QPointF(60, 60));
    const quint64 revision = document.revision();
    mark.color = Qt::blue;
    document.replaceGeometry(mark);
    EXPECT_EQ(document.revision(), revision);
    EXPECT_NE(document.annotations().first().color, QColor(Qt::blue));
    mark.end = QPointF(80, 90);
    document.replaceGeometry(mark);
    EXPECT_EQ(document.revision(), revision + 1);
    EXPECT_EQ(document.color(), QColor(Qt::blue)) << "the selected mark's colour shows in the editor";
    CaptureAnnotation stranger = mark;
    stranger.id = QUuid::createUuid();
    stranger.end = QPointF(1, 1);
    document.replaceGeometry(stranger);
    EXPECT_EQ(document.revision(), revision + 1);
    // Undo steps share unchanged marks; a changed one gets its own copy.
    mark.end = QPointF(100, 110);
    document.replaceGeometry(mark);
    document.undo();
    EXPECT_EQ(document.annotations().first().end, QPointF(80, 90));
    document.undo();
    EXPECT_EQ(document.annotations().first().end, QPointF(60, 60));
    EXPECT_NE(document.annotations().first().color, QColor(Qt::blue));
}

TEST_F(CaptureDocumentTest, CompositionAndLegendUndo)
{
    document.setComposition(CaptureComposition());
    EXPECT_FALSE(document.canUndo());
    document.setComposition({.legend = {}, .padding = 40});
    document.setLegendEnabled(true);
    document.setTool(CaptureTool::oval);
    document.setStyle({.lineWidth = 20});
    document.undo();
    EXPECT_FALSE(document.legendEnabled());
    EXPECT_EQ(document.composition().padding, 40);
    document.undo();
    EXPECT_EQ(document.composition().padding, 0);
    EXPECT_EQ(document.tool(), CaptureTool::oval);
    EXPECT_EQ(document.style().lineWidth, 20);
    EXPECT_FALSE(document.canUndo());
    EXPECT_EQ(document.revision(), 4u);
}

TEST_F(CaptureDocumentTest, HitTestPrefersSecureMarksAndFollowsArrowWidth)
{
    const QUuid redaction = draw(CaptureTool::redact, QPointF(10, 10), QPointF(100, 100)).id;
    const QUuid arrow = draw(CaptureTool::arrow, QPointF(0, 50), QPointF(200, 50)).id;
    const QUuid box = draw(CaptureTool::rectangle, QPointF(150, 150), QPointF(250, 250)).id;
    const QUuid cover = draw(CaptureTool::rectangle, QPointF(200, 200), QPointF(300, 280)).id;
    const QUuid wide = draw(CaptureTool::arrow, QPointF(0, 100), QPointF(300, 100), CaptureStyle{.lineWidth = 20}).id;
    const QUuid thin = draw(CaptureTool::arrow, QPointF(0, 200), QPointF(140, 200), CaptureStyle{.lineWidth = 3}).id;
    // Marks are hit 5 pixels around their bounds, arrows within their width but at least 8 pixels.
    const std::pair<QPointF, QUuid> expectations[] = {
        {{50, 50}, redaction}, {{150, 50}, arrow}, {{220, 220}, cover}, {{148, 148}, box}, {{390, 10}, {}},
        {{150, 115}, wide},    {{-15, 100}, wide}, {{150, 121}, {}},    {{70, 208}, thin}, {{70, 209}, {}}};
    for (const auto &[point, id] : expectations)
        EXPECT_EQ(document.hitTest(point), id) << point.x() << ", " << point.y();
    document.setTool(CaptureTool::select);
    document.finishGesture(QPointF(50, 50), QPointF(50, 50));
    EXPECT_EQ(document.selectedID(), redaction);
    document.finishGesture(QPointF(390, 10), QPointF(390, 10));
    EXPECT_TRUE(document.selectedID().isNull());
}

TEST_F(CaptureDocumentTest, InvalidMarksAreIgnored)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    document.finishGesture(QPointF(10, 10), QPointF(11, 11));
    draw(CaptureTool::rectangle, QPointF(10, 10), QPointF(10.5, 80));
    document.setText(" \n\t");
    draw(CaptureTool::text, QPointF(10, 10), QPointF(10, 10));
    draw(CaptureTool::number, QPointF(nan, 10), QPointF(nan, 10));
    document.setTool(CaptureTool::freehand);
    document.finishStroke({QPointF(5, 5)});
    document.finishStroke({QPointF(5, 5), QPointF(nan, 5)});
    document.setTool(CaptureTool::arrow);
    document.finishStroke({QPointF(5, 5), QPointF(50, 50)});
    EXPECT_TRUE(document.annotations().isEmpty());
    EXPECT_EQ(document.revision(), 0u);
    document.setTool(CaptureTool::freehand);
    document.finishStroke({QPointF(-20, 5), QPointF(nan, 1), QPointF(50, 500)});
    ASSERT_EQ(document.annotations().size(), 1);
    EXPECT_EQ(document.annotations().first().points, QList<QPointF>({QPointF(0, 5), QPointF(50, 300)}));
}

TEST_F(CaptureDocumentTest, TextEditsRecordOneStepAndMoveTheHitArea)
{
    document.setText("Hello");
    const CaptureAnnotation text = draw(CaptureTool::text, QPointF(20, 20), QPointF(20, 20));
    const quint64 revision = document.revision();
    document.updateSelectedText("Hello");
    EXPECT_EQ(document.revision(), revision);
    document.updateSelectedText("Hello world");
    EXPECT_EQ(document.revision(), revision + 1);
    EXPECT_EQ(document.annotations().first().text, "Hello world");
    const QPointF farRight(420, 30);
    EXPECT_TRUE(document.hitTest(farRight).isNull());
    document.updateSelectedText("Hello world, and a good deal more text");
    EXPECT_EQ(document.hitTest(farRight), text.id) << "hit testing follows the new text";
}

TEST_F(CaptureDocumentTest, DetectedTextIsGrownAndClipped)
{
    document.setDetectedTextRects({QRectF(10.5, 10.5, 20, 5), QRectF(395, 295, 20, 20), QRectF(500, 500, 10, 10),
                                   QRectF(std::numeric_limits<double>::infinity(), 0, 5, 5)});
    EXPECT_EQ(document.detectedTextRects(), QList<QRectF>({QRectF(7, 7, 27, 12), QRectF(392, 292, 8, 8)}));
    EXPECT_EQ(document.revision(), 0u);
}

TEST_F(CaptureDocumentTest, SnapshotIsIndependentAndHasNoHistory)
{
    draw(CaptureTool::rectangle, QPointF(10, 10), QPointF(50, 40));
    const CaptureComposition framed{.legend = {}, .padding = 12};
    document.setComposition(framed);
    int commits = 0;
    document.setPendingTextCommit([&] { ++commits; });
    const auto copy = document.snapshot();
    EXPECT_EQ(commits, 1);
    EXPECT_FALSE(copy->canUndo());
    EXPECT_EQ(copy->revision(), 0u);
    EXPECT_EQ(copy->composition(), framed);
    addMarkers(*copy, 1);
    EXPECT_EQ(copy->annotations().size(), 2);
    EXPECT_EQ(document.annotations().size(), 1);
}

TEST_F(CaptureDocumentTest, UndoCommitsPendingTextFirst)
{
    document.setPendingTextCommit([&] {
        document.setText("typed");
        draw(CaptureTool::text, QPointF(10, 10), QPointF(10, 10));
        document.setPendingTextCommit({});
    });
    document.undo();
    EXPECT_TRUE(document.annotations().isEmpty());
    EXPECT_EQ(document.revision(), 2u);
}

TEST_F(CaptureDocumentTest, ExportsThroughTheRenderer)
{
    draw(CaptureTool::redact, QPointF(20, 20), QPointF(60, 60));
    draw(CaptureTool::crop, QPointF(10, 10), QPointF(210, 110));
    document.setComposition(
        {.legend = {}, .background = CaptureBackground::solid, .backgroundColor = Qt::blue, .padding = 30});
    EXPECT_EQ(document.contentImage().size(), QSize(200, 100));
    const QImage flattened = document.flattenedImage();
    EXPECT_EQ(flattened.size(), QSize(260, 160));
    EXPECT_EQ(flattened.pixelColor(5, 5), QColor(Qt::blue));
    EXPECT_EQ(flattened.pixelColor(50, 50), QColor(Qt::black));
}

TEST(CaptureDocumentExport, EmptyImageFails)
{
    CaptureDocument empty{QImage()};
    EXPECT_THROW(empty.contentImage(), CaptureRenderFailure);
    EXPECT_THAT([&] { empty.flattenedImage(); }, testing::Throws<CaptureRenderFailure>(testing::Property(
                                                     &CaptureRenderFailure::code, CaptureRenderError::invalidImage)));
}

TEST_F(CaptureDocumentTest, RedoReappliesWhatUndoTookBackUntilANewChange)
{
    draw(CaptureTool::rectangle, QPointF(10, 10), QPointF(50, 50));
    CaptureComposition padded = document.composition();
    padded.padding = 20;
    document.setComposition(padded);
    document.undo();
    document.undo();
    EXPECT_TRUE(document.annotations().isEmpty());
    EXPECT_TRUE(document.canRedo());
    const quint64 revision = document.revision();
    document.redo();
    EXPECT_EQ(document.annotations().size(), 1);
    EXPECT_EQ(document.composition().padding, 0);
    EXPECT_EQ(document.revision(), revision + 1);
    document.redo();
    EXPECT_EQ(document.composition().padding, 20);
    EXPECT_FALSE(document.canRedo());
    document.undo();
    EXPECT_EQ(document.composition().padding, 0);
    draw(CaptureTool::oval, QPointF(60, 60), QPointF(90, 90));
    EXPECT_FALSE(document.canRedo());
    document.redo();
    EXPECT_EQ(document.composition().padding, 0);
    EXPECT_EQ(document.annotations().size(), 2);
}

TEST_F(CaptureDocumentTest, ChoosingAToolCommitsTextSelectsNothingAndKeepsDetectedWordsOnlyForRedaction)
{
    for (const CaptureTool tool : RawEnum<CaptureTool>::cases) {
        SCOPED_TRACE(rawValue(tool).toStdString());
        const CaptureAnnotation box = draw(CaptureTool::rectangle, QPointF(10, 10), QPointF(60, 60));
        ASSERT_EQ(document.selectedID(), box.id);
        document.setDetectedTextRects({QRectF(100, 100, 40, 12)});
        // The text being typed lands before the tool changes.
        CaptureTool toolAtCommit = tool;
        document.setPendingTextCommit([&] { toolAtCommit = document.tool(); });
        document.chooseTool(tool);
        document.setPendingTextCommit({});
        EXPECT_EQ(toolAtCommit, CaptureTool::rectangle);
        EXPECT_EQ(document.tool(), tool);
        EXPECT_TRUE(document.selectedID().isNull());
        const bool redaction = tool == CaptureTool::redact || tool == CaptureTool::pixelate;
        EXPECT_EQ(document.detectedTextRects().size(), redaction ? 1 : 0);
    }
}
