#include "CaptureBoard.h"
#include "CaptureRenderer.h"
#include "DocumentMarkers.h"
#include "RenderTestMarks.h"

#include <QCoreApplication>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>

namespace {

std::shared_ptr<CaptureDocument> documentOf(int width, int height, QColor color = Qt::white)
{
    return std::make_shared<CaptureDocument>(filledImage(width, height, color));
}

QList<QPointF> originsOf(const QList<CaptureBoardItem> &items)
{
    QList<QPointF> origins;
    for (const CaptureBoardItem &item : items)
        origins.append(item.frame.topLeft());
    return origins;
}

QList<QPointF> placedOrigins(const QList<QSizeF> &sizes, CaptureBoardLayout layout, double gap)
{
    QList<CaptureBoardItem> items;
    for (const QSizeF &size : sizes)
        items.append({QUuid::createUuid(), nullptr, QRectF(QPointF(500, 500), size)});
    return originsOf(CaptureBoard::placed(items, layout, gap));
}

auto failsWith(CaptureRenderError code)
{
    return testing::Throws<CaptureRenderFailure>(testing::Property(&CaptureRenderFailure::code, code));
}

} // namespace

TEST(CaptureBoardLayoutTest, Placement)
{
    using L = CaptureBoardLayout;
    const QList<QSizeF> three{QSizeF(400, 300), QSizeF(200, 500), QSizeF(300, 300)};
    EXPECT_EQ(placedOrigins(three, L::alternating, 20), QList<QPointF>({{0, 0}, {420, 0}, {0, 520}}));
    EXPECT_EQ(placedOrigins(three, L::grid, 20), QList<QPointF>({{0, 0}, {420, 0}, {0, 520}}));
    EXPECT_EQ(placedOrigins(three, L::row, 20), QList<QPointF>({{0, 0}, {420, 0}, {640, 0}}));
    const QList<QSizeF> squares(5, QSizeF(100, 100));
    EXPECT_EQ(placedOrigins(squares, L::grid, 0).at(3), QPointF(0, 100)) << "five items make three columns";
    EXPECT_EQ(placedOrigins(squares, L::row, -30).at(1), QPointF(100, 0));
    EXPECT_EQ(placedOrigins(squares, L::row, 1e9).at(1), QPointF(100 + 4096, 0));
}

TEST(CaptureBoardTest, AddingAndRemovingImagesPlacesAndSelectsThem)
{
    auto first = documentOf(300, 200);
    first->setComposition({.legend = {}, .padding = 10});
    CaptureBoard board(first);
    board.removeSelected();
    ASSERT_EQ(board.items().size(), 1) << "a board never becomes empty";
    board.addImages({filledImage(100, 100, Qt::white), filledImage(50, 80, Qt::white)});
    EXPECT_EQ(originsOf(board.items()), QList<QPointF>({{0, 0}, {310, 0}, {0, 210}}));
    EXPECT_EQ(board.selectedID(), board.items().last().id);
    EXPECT_EQ(board.items().at(2).document->composition(), first->composition());
    const QImage small = filledImage(40, 40, Qt::white);
    board.addImages({small}, QList<QSizeF>{QSizeF(20, 20)});
    EXPECT_EQ(board.items().last().frame.size(), QSizeF(20, 20));
    EXPECT_THROW(board.addImages({small}, QList<QSizeF>{}), CaptureRenderFailure);
    EXPECT_THROW(board.addImages({small}, QList<QSizeF>{QSizeF(0.5, 20)}), CaptureRenderFailure);
    board.undo();
    EXPECT_EQ(board.items().size(), 3);
    board.select(board.items().at(1).id);
    board.removeSelected();
    EXPECT_EQ(board.selectedID(), board.items().first().id);
    EXPECT_EQ(board.items().at(1).frame, QRectF(310, 0, 50, 80)) << "the rest is re-placed";
}

TEST(CaptureBoardTest, ApplyingLayoutsRecordsOnlyChanges)
{
    CaptureBoard board(documentOf(100, 100));
    board.applyLayout(CaptureBoardLayout::manual);
    EXPECT_FALSE(board.canUndo()) << "choosing manual changes nothing else";
    board.addImages({filledImage(50, 50, Qt::white), filledImage(30, 30, Qt::white)});
    EXPECT_EQ(originsOf(board.items()), QList<QPointF>({{0, 0}, {100, 0}, {0, 100}}))
        << "new items go right when odd, below when even";
    board.applyLayout(CaptureBoardLayout::row);
    const quint64 revision = board.revision();
    board.applyLayout(CaptureBoardLayout::row);
    EXPECT_EQ(board.revision(), revision);
    board.undo();
    EXPECT_EQ(board.layout(), CaptureBoardLayout::manual);
}

TEST(CaptureBoardTest, RefusalsLeaveTheBoardUnchanged)
{
    CaptureBoard board(documentOf(100, 100));
    board.addImages({filledImage(60, 60, Qt::white)});
    const auto items = board.items();
    const quint64 revision = board.revision();
    const QUuid second = items.at(1).id;
    // Monochrome images keep this test light: only the pixel counts matter.
    const QImage huge(6000, 6000, QImage::Format_Mono);
    EXPECT_THAT([&] { board.addImages({huge, huge, huge}); }, failsWith(CaptureRenderError::imageTooLarge));
    EXPECT_THAT([&] { board.updateFrame(second, QRectF(0, 0, 10000, 8001)); },
                failsWith(CaptureRenderError::imageTooLarge));
    EXPECT_THAT([&] { board.updateFrame(second, QRectF(0, 0, std::numeric_limits<double>::infinity(), 10)); },
                failsWith(CaptureRenderError::invalidImage));
    EXPECT_THROW(board.updateFrame(second, QRectF(0, 0, 0.5, 10)), CaptureRenderFailure);
    EXPECT_EQ(board.items().at(1).frame, items.at(1).frame);
    EXPECT_EQ(board.revision(), revision);
    board.undo();
    EXPECT_EQ(board.items().size(), 1) << "no refused change entered the history";
}

TEST(CaptureBoardTest, MovesRecordOnlyChangesAndHistoryKeepsFiftySteps)
{
    CaptureBoard board(documentOf(100, 100));
    board.addImages({filledImage(50, 50, Qt::white)});
    const QUuid second = board.items().at(1).id;
    board.updateFrame(second, QRectF(300, 40, 100, 100));
    EXPECT_EQ(board.layout(), CaptureBoardLayout::manual);
    const quint64 revision = board.revision();
    board.updateFrame(second, QRectF(300, 40, 100, 100));
    board.updateFrame(QUuid::createUuid(), QRectF(0, 0, 10, 10));
    board.select(QUuid::createUuid());
    EXPECT_EQ(board.revision(), revision);
    for (int step = 2; step <= 50; ++step)
        board.updateFrame(second, QRectF(200 + step, 0, 50, 50));
    // 51 changes in all: undoing the addition of the second image has dropped out.
    for (int undo = 0; undo < 50; ++undo)
        board.undo();
    EXPECT_FALSE(board.canUndo());
    ASSERT_EQ(board.items().size(), 2);
    EXPECT_EQ(board.items().at(1).frame, QRectF(100, 0, 50, 50));
    EXPECT_EQ(board.layout(), CaptureBoardLayout::alternating);
}

TEST(CaptureBoardTest, MarkersAreNumberedAcrossImages)
{
    auto first = documentOf(300, 100);
    addMarkers(*first, 3);
    CaptureBoard board(first);
    board.addImages({filledImage(300, 100, Qt::white)});
    CaptureDocument &second = *board.items().at(1).document;
    addMarkers(second, 2);
    const quint64 revision = board.revision();
    const quint64 secondRevision = second.revision();
    QCoreApplication::processEvents();
    EXPECT_EQ(markerNumbers(*first), QList<qint64>({1, 2, 3}));
    EXPECT_EQ(markerNumbers(second), QList<qint64>({4, 5}));
    EXPECT_EQ(second.revision(), secondRevision) << "renumbering is no undo step of the image";
    EXPECT_EQ(board.revision(), revision + 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(board.revision(), revision + 1) << "the board's own writes are not answered again";
    addMarkers(second, 1);
    EXPECT_EQ(markerNumbers(second), QList<qint64>({4, 5, 6}));
}

TEST(CaptureBoardTest, CompositionIsSharedAndUndonePerImage)
{
    auto first = documentOf(100, 100);
    CaptureBoard board(first);
    board.addImages({filledImage(100, 100, Qt::white)});
    QCoreApplication::processEvents();
    CaptureDocument &second = *board.items().at(1).document;
    second.setComposition({.legend = {}, .padding = 30});
    QCoreApplication::processEvents();
    EXPECT_EQ(first->composition().padding, 30);
    EXPECT_EQ(board.items().at(1).frame.topLeft(), QPointF(130, 0)) << "items re-placed with the new gap";
    first->undo();
    QCoreApplication::processEvents();
    EXPECT_EQ(second.composition().padding, 0) << "the undone composition applies to every image";
    EXPECT_EQ(board.items().at(1).frame.topLeft(), QPointF(100, 0));
}

TEST(CaptureBoardTest, CropRescalesTheFrame)
{
    auto document = documentOf(400, 200);
    CaptureBoard board(document);
    board.addImages({filledImage(100, 100, Qt::white)});
    board.updateFrame(board.items().first().id, QRectF(10, 20, 200, 100));
    document->setTool(CaptureTool::crop);
    document->finishGesture(QPointF(100, 50), QPointF(300, 150));
    board.synchronizeDocuments();
    EXPECT_EQ(board.items().first().frame, QRectF(60, 45, 100, 50));
    EXPECT_EQ(board.layout(), CaptureBoardLayout::manual);
}

TEST(CaptureBoardTest, SnapshotSharesNothing)
{
    auto document = documentOf(100, 100);
    CaptureBoard board(document);
    board.addImages({filledImage(50, 50, Qt::white)});
    const auto copy = board.snapshot();
    EXPECT_NE(copy->id(), board.id());
    EXPECT_FALSE(copy->canUndo());
    EXPECT_EQ(originsOf(copy->items()), originsOf(board.items()));
    copy->items().first().document->finishGesture(QPointF(10, 10), QPointF(60, 60));
    copy->updateFrame(copy->items().at(1).id, QRectF(500, 0, 50, 50));
    EXPECT_TRUE(document->annotations().isEmpty());
    EXPECT_EQ(board.items().at(1).frame.x(), 100);
}

TEST(CaptureBoardTest, SingleItemExportsLikeItsDocument)
{
    auto document = documentOf(120, 80, Qt::green);
    document->setComposition(
        {.legend = {}, .background = CaptureBackground::solid, .backgroundColor = Qt::blue, .padding = 20});
    document->finishGesture(QPointF(10, 10), QPointF(100, 60));
    CaptureBoard board(document);
    EXPECT_EQ(board.flattenedImage(), document->flattenedImage());
    EXPECT_EQ(board.contentImage(), document->contentImage());
    board.updateFrame(board.items().first().id, QRectF(0, 0, 60, 40));
    const QImage resized = board.flattenedImage();
    EXPECT_EQ(resized.size(), QSize(100, 80));
    EXPECT_EQ(resized.pixelColor(75, 55), QColor(Qt::green));
}

TEST(CaptureBoardTest, ExportsEveryItem)
{
    auto red = documentOf(100, 50, Qt::red);
    red->setComposition({.legend = {}, .padding = 10});
    CaptureBoard board(red);
    board.addImages({filledImage(40, 60, Qt::green)});
    board.updateFrame(board.items().at(1).id, QRectF(110, -20, 40, 60));
    const QImage content = board.contentImage();
    ASSERT_EQ(content.size(), QSize(150, 70));
    EXPECT_EQ(content.pixelColor(5, 25), QColor(Qt::red));
    EXPECT_EQ(content.pixelColor(120, 5), QColor(Qt::green));
    EXPECT_EQ(content.pixelColor(5, 5).alpha(), 0);
    EXPECT_EQ(board.flattenedImage().size(), QSize(170, 90));
}

TEST(CaptureBoardRedo, RedoReappliesAnUndoneArrangementUntilTheNextChange)
{
    CaptureBoard board(documentOf(100, 100));
    board.addImages({filledImage(80, 60, Qt::red)});
    ASSERT_EQ(board.items().size(), 2);
    board.undo();
    EXPECT_EQ(board.items().size(), 1);
    EXPECT_TRUE(board.canRedo());
    board.redo();
    EXPECT_EQ(board.items().size(), 2);
    EXPECT_FALSE(board.canRedo());
    board.undo();
    board.addImages({filledImage(40, 40, Qt::blue)});
    EXPECT_FALSE(board.canRedo());
}

TEST(CaptureBoardTest, ABoardNearTheLimitIsEitherRefusedUpFrontOrExported)
{
    auto first = documentOf(10, 10);
    first->setComposition({.legend = {}});
    CaptureBoard board(first);
    board.addImages({filledImage(10, 10, Qt::black)});
    const QUuid left = board.items().at(0).id;
    const QUuid right = board.items().at(1).id;
    board.updateFrame(left, QRectF(0.5, 0, 5000, 8000));
    // 10,000 x 8,000 units, but over 10,001 whole pixels: the export could not hold it.
    EXPECT_THAT([&] { board.updateFrame(right, QRectF(5000.5, 0, 5000, 8000)); },
                failsWith(CaptureRenderError::imageTooLarge));
    board.updateFrame(right, QRectF(5000.5, 0, 4999.5, 8000));
    const QImage exported = board.flattenedImage();
    EXPECT_EQ(exported.size(), QSize(10000, 8000));
    EXPECT_EQ(exported.pixel(9000, 4000), qRgb(0, 0, 0));
}
