#include "CaptureDocument.h"
#include "CaptureAnnotationDefaults.h"
#include "CaptureRenderer.h"
#include "UserDefaults.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <limits>

namespace {

QImage whiteImage(int width = 400, int height = 300)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    return image;
}

class CaptureDocumentTest : public testing::Test {
protected:
    CaptureDocument document{whiteImage()};

    CaptureAnnotation draw(CaptureTool tool, QPointF start, QPointF end)
    {
        document.setTool(tool);
        document.finishGesture(start, end);
        return document.annotations().last();
    }

    QList<qint64> markerNumbers() const
    {
        QList<qint64> numbers;
        for (const CaptureAnnotation &mark : document.annotations()) {
            if (mark.tool == CaptureTool::number)
                numbers.append(mark.number);
        }
        return numbers;
    }
};

} // namespace

TEST_F(CaptureDocumentTest, StartsFromImage)
{
    EXPECT_EQ(document.originalPixelSize(), QSize(400, 300));
    EXPECT_EQ(document.cropRect(), QRectF(0, 0, 400, 300));
    EXPECT_EQ(document.tool(), CaptureTool::arrow);
    EXPECT_EQ(document.text(), "Text");
    EXPECT_FALSE(document.canUndo());
    EXPECT_EQ(document.revision(), 0u);
    EXPECT_TRUE(document.selectedID().isNull());
}

TEST_F(CaptureDocumentTest, DeletedMarkerLeavesGapInNumbering)
{
    document.setTool(CaptureTool::number);
    for (int marker = 0; marker < 3; ++marker)
        document.finishGesture(QPointF(50 + 50 * marker, 50), QPointF(50 + 50 * marker, 50));
    const QUuid second = document.annotations().at(1).id;
    document.setLegendText(second, "Second");
    document.select(second);
    document.deleteSelected();
    EXPECT_EQ(markerNumbers(), QList<qint64>({1, 3}));
    EXPECT_TRUE(document.selectedID().isNull());

    document.finishGesture(QPointF(300, 50), QPointF(300, 50));
    EXPECT_EQ(markerNumbers(), QList<qint64>({1, 3, 4}));
    const QList<CaptureLegendEntry> legend = document.legendEntries();
    ASSERT_EQ(legend.size(), 3);
    EXPECT_EQ(legend.at(0).number, 1);
    EXPECT_EQ(legend.at(1).number, 3);
    EXPECT_EQ(legend.at(1).text, "");

    document.undo();
    document.undo();
    ASSERT_EQ(markerNumbers(), QList<qint64>({1, 2, 3}));
    EXPECT_EQ(document.legendEntries().at(1).text, "Second");
}

TEST_F(CaptureDocumentTest, RenumberingChangesNoHistory)
{
    document.setTool(CaptureTool::number);
    document.finishGesture(QPointF(10, 10), QPointF(10, 10));
    document.finishGesture(QPointF(20, 10), QPointF(20, 10));
    const quint64 revision = document.revision();
    EXPECT_EQ(document.renumberMarkers(7), 9);
    EXPECT_EQ(markerNumbers(), QList<qint64>({7, 8}));
    EXPECT_EQ(document.revision(), revision);
    document.finishGesture(QPointF(30, 10), QPointF(30, 10));
    EXPECT_EQ(markerNumbers(), QList<qint64>({7, 8, 9}));
}

TEST_F(CaptureDocumentTest, SpotlightsShareOneOpacity)
{
    CaptureStyle style;
    style.shapeMode = CaptureShapeMode::spotlight;
    document.setStyle(style);
    draw(CaptureTool::rectangle, QPointF(10, 10), QPointF(60, 60));
    draw(CaptureTool::oval, QPointF(70, 10), QPointF(120, 60));
    style.shapeMode = CaptureShapeMode::outline;
    document.select({});
    document.setStyle(style);
    draw(CaptureTool::rectangle, QPointF(130, 10), QPointF(180, 60));

    document.select({});
    style.shapeMode = CaptureShapeMode::spotlight;
    style.spotlightOpacity = 60;
    document.setStyle(style);
    draw(CaptureTool::rectangle, QPointF(200, 10), QPointF(250, 60));
    const auto &marks = document.annotations();
    EXPECT_EQ(marks.at(0).style.spotlightOpacity, 60);
    EXPECT_EQ(marks.at(1).style.spotlightOpacity, 60);
    EXPECT_EQ(marks.at(2).style.spotlightOpacity, 45);

    // Restyling one spotlight restyles the shade of all of them, in one step.
    const quint64 revision = document.revision();
    style.spotlightOpacity = 80;
    document.setStyle(style);
    EXPECT_EQ(document.revision(), revision + 1);
    EXPECT_EQ(document.annotations().at(0).style.spotlightOpacity, 80);
    EXPECT_EQ(document.annotations().at(1).style.spotlightOpacity, 80);
    EXPECT_EQ(document.annotations().at(2).style.spotlightOpacity, 45);
}

TEST_F(CaptureDocumentTest, CropRoundsInwardAndIgnoresSlivers)
{
    document.setTool(CaptureTool::magnifier);
    document.beginMagnifier(QPointF(300, 200), QPointF(340, 240));
    document.finishMagnifier(QPointF(20, 20), QPointF(60, 60));
    ASSERT_EQ(document.annotations().size(), 1);

    document.setTool(CaptureTool::crop);
    quint64 revision = document.revision();
    document.finishGesture(QPointF(10, 10), QPointF(11.5, 100));
    EXPECT_EQ(document.cropRect(), QRectF(0, 0, 400, 300));
    document.finishGesture(QPointF(-50, -50), QPointF(500, 500));
    EXPECT_EQ(document.revision(), revision);

    document.finishGesture(QPointF(10.4, 10.6), QPointF(100.2, 50.9));
    EXPECT_EQ(document.cropRect(), QRectF(11, 11, 89, 39));
    EXPECT_EQ(document.revision(), revision + 1);
    EXPECT_TRUE(document.annotations().isEmpty()) << "a lens whose source left the crop is dropped";

    // A new crop is cut out of the current one.
    document.finishGesture(QPointF(0, 0), QPointF(50, 300));
    EXPECT_EQ(document.cropRect(), QRectF(11, 11, 39, 39));
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
    EXPECT_FALSE(document.pendingMagnifier()->destination);
    EXPECT_TRUE(document.selectedID().isNull());

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
    EXPECT_FALSE(document.pendingMagnifier());
    EXPECT_EQ(document.tool(), CaptureTool::select);
    EXPECT_EQ(document.selectedID(), lens.id);

    document.setTool(CaptureTool::magnifier);
    document.beginMagnifier(QPointF(10, 10), QPointF(30, 20));
    document.setTool(CaptureTool::arrow);
    EXPECT_FALSE(document.pendingMagnifier()) << "changing the tool drops the pending lens";
}

TEST_F(CaptureDocumentTest, SelectingRecordsNothingButRestylingDoes)
{
    QTemporaryDir folder;
    UserDefaults defaults(folder.filePath("defaults.json"));
    CaptureDocument stored(whiteImage(), &defaults);
    stored.finishGesture(QPointF(10, 10), QPointF(100, 100));
    const QUuid arrow = stored.annotations().first().id;
    stored.select({});
    CaptureStyle thick;
    thick.lineWidth = 9;
    stored.setStyle(thick);
    stored.setColor(Qt::green);
    EXPECT_EQ(CaptureAnnotationDefaults::load(defaults).style.lineWidth, 9);

    const quint64 revision = stored.revision();
    stored.select(arrow);
    EXPECT_EQ(stored.style().lineWidth, 5);
    EXPECT_EQ(stored.color(), CaptureAnnotation::systemRed());
    EXPECT_EQ(stored.revision(), revision);
    EXPECT_EQ(CaptureAnnotationDefaults::load(defaults).color, QColor(Qt::green));

    stored.setColor(Qt::blue);
    EXPECT_EQ(stored.revision(), revision + 1);
    EXPECT_EQ(stored.annotations().first().color, QColor(Qt::blue));
    const auto saved = CaptureAnnotationDefaults::load(defaults);
    EXPECT_EQ(saved.color, QColor(Qt::blue));
    EXPECT_EQ(saved.style.lineWidth, 5);

    CaptureDocument next(whiteImage(), &defaults);
    EXPECT_EQ(next.color(), QColor(Qt::blue));
}

TEST_F(CaptureDocumentTest, RestylingFollowsTheMark)
{
    CaptureStyle style;
    const CaptureAnnotation arrow = draw(CaptureTool::arrow, QPointF(100, 100), QPointF(200, 100));
    style.arrowCurved = true;
    document.setStyle(style);
    EXPECT_EQ(document.annotations().first().control, QPointF(150, 40));

    document.setTool(CaptureTool::magnifier);
    document.beginMagnifier(QPointF(10, 10), QPointF(30, 20));
    document.finishMagnifier(QPointF(100, 200), QPointF(140, 220));
    style.magnifierZoom = 3;
    document.setStyle(style);
    const CaptureAnnotation lens = document.annotations().last();
    EXPECT_EQ(*lens.destination, QRectF(100, 200, 60, 30));
    EXPECT_EQ(document.annotations().first().id, arrow.id);
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
    EXPECT_EQ(document.annotations().first().end, QPointF(80, 90));
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

    CaptureComposition framed;
    framed.padding = 40;
    document.setComposition(framed);
    document.setLegendEnabled(true);
    EXPECT_EQ(document.revision(), 2u);
    document.setTool(CaptureTool::oval);
    CaptureStyle style;
    style.lineWidth = 20;
    document.setStyle(style);

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

TEST_F(CaptureDocumentTest, HitTestPrefersSecureMarks)
{
    const CaptureAnnotation redaction = draw(CaptureTool::redact, QPointF(10, 10), QPointF(100, 100));
    const CaptureAnnotation arrow = draw(CaptureTool::arrow, QPointF(0, 50), QPointF(200, 50));
    const CaptureAnnotation box = draw(CaptureTool::rectangle, QPointF(150, 150), QPointF(250, 250));
    const CaptureAnnotation cover = draw(CaptureTool::rectangle, QPointF(200, 200), QPointF(300, 280));
    EXPECT_EQ(document.hitTest(QPointF(50, 50)), redaction.id);
    EXPECT_EQ(document.hitTest(QPointF(150, 50)), arrow.id);
    EXPECT_EQ(document.hitTest(QPointF(220, 220)), cover.id);
    EXPECT_EQ(document.hitTest(QPointF(160, 160)), box.id);
    EXPECT_EQ(document.hitTest(QPointF(148, 148)), box.id) << "marks are hit 5 pixels around their bounds";
    EXPECT_TRUE(document.hitTest(QPointF(390, 10)).isNull());

    document.setTool(CaptureTool::select);
    document.finishGesture(QPointF(50, 50), QPointF(50, 50));
    EXPECT_EQ(document.selectedID(), redaction.id);
    document.finishGesture(QPointF(390, 10), QPointF(390, 10));
    EXPECT_TRUE(document.selectedID().isNull());
}

TEST_F(CaptureDocumentTest, ArrowHitDistance)
{
    CaptureStyle style;
    style.lineWidth = 20;
    document.setStyle(style);
    const CaptureAnnotation wide = draw(CaptureTool::arrow, QPointF(0, 100), QPointF(300, 100));
    EXPECT_EQ(document.hitTest(QPointF(150, 115)), wide.id);
    EXPECT_EQ(document.hitTest(QPointF(-15, 100)), wide.id);
    EXPECT_TRUE(document.hitTest(QPointF(150, 121)).isNull());

    document.select({});
    style.lineWidth = 3;
    document.setStyle(style);
    const CaptureAnnotation thin = draw(CaptureTool::arrow, QPointF(0, 200), QPointF(300, 200));
    EXPECT_TRUE(document.hitTest(QPointF(150, 209)).isNull());
    EXPECT_EQ(document.hitTest(QPointF(150, 208)), thin.id);

    document.select({});
    style.arrowCurved = true;
    document.setStyle(style);
    // Control point (150, 0): the curve passes (150, 30) at its middle.
    const CaptureAnnotation curved = draw(CaptureTool::arrow, QPointF(0, 60), QPointF(300, 60));
    EXPECT_EQ(document.hitTest(QPointF(150, 32)), curved.id);
    EXPECT_TRUE(document.hitTest(QPointF(150, 45)).isNull());
}

TEST_F(CaptureDocumentTest, InvalidMarksAreIgnored)
{
    document.finishGesture(QPointF(10, 10), QPointF(11, 11));
    document.setTool(CaptureTool::rectangle);
    document.finishGesture(QPointF(10, 10), QPointF(10.5, 80));
    document.setText(" \n\t");
    document.setTool(CaptureTool::text);
    document.finishGesture(QPointF(10, 10), QPointF(10, 10));
    document.setTool(CaptureTool::number);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    document.finishGesture(QPointF(nan, 10), QPointF(nan, 10));
    document.setTool(CaptureTool::freehand);
    document.finishStroke({QPointF(5, 5)});
    document.finishStroke({QPointF(5, 5), QPointF(nan, 5)});
    EXPECT_TRUE(document.annotations().isEmpty());
    EXPECT_EQ(document.revision(), 0u);

    document.setTool(CaptureTool::arrow);
    document.finishStroke({QPointF(5, 5), QPointF(50, 50)});
    EXPECT_TRUE(document.annotations().isEmpty()) << "strokes come only from the freehand tool";

    document.setTool(CaptureTool::freehand);
    document.finishStroke({QPointF(-20, 5), QPointF(nan, 1), QPointF(50, 500)});
    ASSERT_EQ(document.annotations().size(), 1);
    EXPECT_EQ(document.annotations().first().points, QList<QPointF>({QPointF(0, 5), QPointF(50, 300)}));
}

TEST_F(CaptureDocumentTest, TextEditsRecordOneStepEach)
{
    document.setText("Hello");
    const CaptureAnnotation text = draw(CaptureTool::text, QPointF(20, 20), QPointF(20, 20));
    const quint64 revision = document.revision();
    document.updateSelectedText("Hello");
    EXPECT_EQ(document.revision(), revision);
    document.updateSelectedText("Hello world");
    EXPECT_EQ(document.revision(), revision + 1);
    EXPECT_EQ(document.annotations().first().text, "Hello world");
    EXPECT_EQ(document.text(), "Hello world");

    const QPointF farRight(text.start.x() + 400, text.start.y() + 10);
    EXPECT_NE(document.hitTest(QPointF(text.start.x() + 10, text.start.y() + 10)), QUuid());
    EXPECT_TRUE(document.hitTest(farRight).isNull());
    document.updateSelectedText("Hello world, and a good deal more text");
    EXPECT_EQ(document.hitTest(farRight), text.id) << "hit testing follows the new text";
    CaptureAnnotation moved = document.annotations().first();
    moved.start += QPointF(0, 200);
    document.replaceGeometry(moved);
    EXPECT_TRUE(document.hitTest(farRight).isNull()) << "and the moved mark";
    document.undo();
    document.undo();
    const quint64 undone = document.revision();

    document.setLegendText(text.id, "not a marker");
    EXPECT_EQ(document.revision(), undone);
    const CaptureAnnotation marker = draw(CaptureTool::number, QPointF(50, 50), QPointF(50, 50));
    int changes = 0;
    QObject::connect(&document, &CaptureDocument::changed, [&] { ++changes; });
    document.setLegendText(marker.id, "");
    EXPECT_EQ(document.revision(), undone + 2) << "an empty first description is still stored";
    EXPECT_GE(changes, 1);
    document.setLegendText(marker.id, "");
    EXPECT_EQ(document.revision(), undone + 2);
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
    for (int step = 0; step < 10; ++step)
        draw(CaptureTool::rectangle, QPointF(10 * step, 10), QPointF(10 * step + 5, 40));
    CaptureComposition framed;
    framed.padding = 12;
    document.setComposition(framed);
    int commits = 0;
    document.setPendingTextCommit([&] { ++commits; });

    const auto copy = document.snapshot();
    EXPECT_EQ(commits, 1);
    EXPECT_FALSE(copy->canUndo());
    EXPECT_EQ(copy->revision(), 0u);
    EXPECT_TRUE(copy->selectedID().isNull());
    EXPECT_EQ(copy->annotations().size(), 10);
    EXPECT_EQ(copy->composition(), framed);
    EXPECT_EQ(copy->tool(), CaptureTool::rectangle);

    copy->setTool(CaptureTool::number);
    copy->finishGesture(QPointF(5, 5), QPointF(5, 5));
    EXPECT_EQ(copy->annotations().size(), 11);
    EXPECT_EQ(document.annotations().size(), 10);
}

TEST_F(CaptureDocumentTest, UndoCommitsPendingTextFirst)
{
    document.setPendingTextCommit([&] {
        document.setText("typed");
        document.setTool(CaptureTool::text);
        document.finishGesture(QPointF(10, 10), QPointF(10, 10));
        document.setPendingTextCommit({});
    });
    document.undo();
    EXPECT_TRUE(document.annotations().isEmpty());
    EXPECT_EQ(document.revision(), 2u);
}

TEST_F(CaptureDocumentTest, ExportsThroughTheRenderer)
{
    draw(CaptureTool::redact, QPointF(20, 20), QPointF(60, 60));
    document.setTool(CaptureTool::crop);
    document.finishGesture(QPointF(10, 10), QPointF(210, 110));
    CaptureComposition framed;
    framed.padding = 30;
    framed.background = CaptureBackground::solid;
    framed.backgroundColor = Qt::blue;
    document.setComposition(framed);

    const QImage content = document.contentImage();
    EXPECT_EQ(content.size(), QSize(200, 100));
    EXPECT_EQ(content.pixelColor(20, 20), QColor(Qt::black));
    EXPECT_EQ(content.pixelColor(150, 80), QColor(Qt::white));

    const QImage flattened = document.flattenedImage();
    EXPECT_EQ(flattened.size(), QSize(260, 160));
    EXPECT_EQ(flattened.pixelColor(5, 5), QColor(Qt::blue));
    EXPECT_EQ(flattened.pixelColor(50, 50), QColor(Qt::black));

    document.setTool(CaptureTool::number);
    document.finishGesture(QPointF(150, 50), QPointF(150, 50));
    document.setLegendEnabled(true);
    EXPECT_GT(document.flattenedImage().height(), 160);
}

TEST(CaptureDocumentExport, EmptyImageFails)
{
    CaptureDocument empty{QImage()};
    EXPECT_THROW(empty.contentImage(), CaptureRenderFailure);
    try {
        empty.flattenedImage();
        FAIL() << "an empty image has nothing to export";
    } catch (const CaptureRenderFailure &failure) {
        EXPECT_EQ(failure.code(), CaptureRenderError::invalidImage);
    }
}
