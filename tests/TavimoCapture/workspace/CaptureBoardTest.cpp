#include "CaptureBoard.h"
#include "CaptureRenderer.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <limits>

namespace {

QImage filledImage(int width, int height, QColor color = Qt::white)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(color);
    return image;
}

std::shared_ptr<CaptureDocument> documentOf(int width, int height, QColor color = Qt::white)
{
    return std::make_shared<CaptureDocument>(filledImage(width, height, color));
}

QList<CaptureBoardItem> itemsOfSizes(const QList<QSizeF> &sizes)
{
    QList<CaptureBoardItem> items;
    for (const QSizeF &size : sizes)
        items.append({QUuid::createUuid(), nullptr, QRectF(QPointF(500, 500), size)});
    return items;
}

QList<QPointF> originsOf(const QList<CaptureBoardItem> &items)
{
    QList<QPointF> origins;
    for (const CaptureBoardItem &item : items)
        origins.append(item.frame.topLeft());
    return origins;
}

void addMarkers(CaptureDocument &document, int count)
{
    document.setTool(CaptureTool::number);
    for (int marker = 0; marker < count; ++marker)
        document.finishGesture(QPointF(20 + 30 * marker, 20), QPointF(20 + 30 * marker, 20));
}

QList<qint64> markerNumbers(const CaptureDocument &document)
{
    QList<qint64> numbers;
    for (const CaptureLegendEntry &entry : document.legendEntries())
        numbers.append(entry.number);
    return numbers;
}

void deliverQueuedCalls()
{
    QCoreApplication::processEvents();
}

} // namespace

TEST(CaptureBoardLayoutTest, Placement)
{
    const auto three = itemsOfSizes({QSizeF(400, 300), QSizeF(200, 500), QSizeF(300, 300)});
    using L = CaptureBoardLayout;
    EXPECT_EQ(originsOf(CaptureBoard::placed(three, L::alternating, 20)),
              QList<QPointF>({QPointF(0, 0), QPointF(420, 0), QPointF(0, 520)}));
    EXPECT_EQ(originsOf(CaptureBoard::placed(three, L::grid, 20)),
              QList<QPointF>({QPointF(0, 0), QPointF(420, 0), QPointF(0, 520)}));
    EXPECT_EQ(originsOf(CaptureBoard::placed(three, L::row, 20)),
              QList<QPointF>({QPointF(0, 0), QPointF(420, 0), QPointF(640, 0)}));
    EXPECT_EQ(originsOf(CaptureBoard::placed(three, L::column, 20)),
              QList<QPointF>({QPointF(0, 0), QPointF(0, 320), QPointF(0, 840)}));
    EXPECT_EQ(originsOf(CaptureBoard::placed(three, L::manual, 20)), originsOf(three));
    EXPECT_EQ(CaptureBoard::placed(three, L::row, 20).at(1).frame.size(), QSizeF(200, 500));

    const auto square = [](int count) {
        return itemsOfSizes(QList<QSizeF>(count, QSizeF(100, 100)));
    };
    EXPECT_EQ(CaptureBoard::placed(square(5), L::grid, 0).at(3).frame.topLeft(), QPointF(0, 100))
        << "five items make three columns";
    EXPECT_EQ(CaptureBoard::placed(square(4), L::grid, 0).at(2).frame.topLeft(), QPointF(0, 100))
        << "four items make two columns";

    EXPECT_EQ(CaptureBoard::placed(square(2), L::row, -30).at(1).frame.x(), 100);
    EXPECT_EQ(CaptureBoard::placed(square(2), L::row, 1e9).at(1).frame.x(), 100 + 4096);
    EXPECT_EQ(CaptureBoard::placed(square(2), L::row, std::numeric_limits<double>::quiet_NaN()).at(1).frame.x(), 100);
    EXPECT_TRUE(CaptureBoard::placed({}, L::grid, 10).isEmpty());
}

TEST(CaptureBoardLayoutTest, RawValues)
{
    EXPECT_EQ(rawValue(CaptureBoardLayout::alternating), "alternating");
    EXPECT_EQ(fromRawValue<CaptureBoardLayout>("grid"), CaptureBoardLayout::grid);
    EXPECT_FALSE(fromRawValue<CaptureBoardLayout>("Grid"));
    EXPECT_EQ(allCases<CaptureBoardLayout>().size(), 5u);
}

TEST(CaptureBoardTest, StartsWithOneItem)
{
    auto document = documentOf(300, 200);
    CaptureBoard board(document);
    ASSERT_EQ(board.items().size(), 1);
    EXPECT_EQ(board.items().first().frame, QRectF(0, 0, 300, 200));
    EXPECT_EQ(board.selectedID(), board.items().first().id);
    EXPECT_EQ(board.activeDocument(), document);
    EXPECT_EQ(board.layout(), CaptureBoardLayout::alternating);
    EXPECT_FALSE(board.canUndo());
}

TEST(CaptureBoardTest, AddImagesPlacesAndSelectsThem)
{
    CaptureComposition framed;
    framed.padding = 10;
    auto first = documentOf(300, 200);
    first->setComposition(framed);
    CaptureBoard board(first);
    board.addImages({filledImage(100, 100), filledImage(50, 80)});
    ASSERT_EQ(board.items().size(), 3);
    EXPECT_EQ(originsOf(board.items()), QList<QPointF>({QPointF(0, 0), QPointF(310, 0), QPointF(0, 210)}));
    EXPECT_EQ(board.selectedID(), board.items().last().id);
    EXPECT_EQ(board.items().at(2).document->composition(), framed);
    EXPECT_TRUE(board.canUndo());

    board.addImages({filledImage(40, 40)}, QList<QSizeF>{QSizeF(20, 20)});
    EXPECT_EQ(board.items().last().frame.size(), QSizeF(20, 20));
    EXPECT_THROW(board.addImages({filledImage(40, 40)}, QList<QSizeF>{}), CaptureRenderFailure);
    EXPECT_THROW(board.addImages({filledImage(40, 40)}, QList<QSizeF>{QSizeF(0.5, 20)}), CaptureRenderFailure);
    EXPECT_EQ(board.items().size(), 4);

    board.undo();
    EXPECT_EQ(board.items().size(), 3);
    EXPECT_EQ(board.selectedID(), board.items().last().id);
}

TEST(CaptureBoardTest, ManualPlacementAndMoves)
{
    CaptureBoard board(documentOf(100, 100));
    board.applyLayout(CaptureBoardLayout::manual);
    EXPECT_FALSE(board.canUndo()) << "choosing manual changes nothing else";
    EXPECT_EQ(board.revision(), 0u);
    board.addImages({filledImage(50, 50), filledImage(30, 30)});
    EXPECT_EQ(originsOf(board.items()), QList<QPointF>({QPointF(0, 0), QPointF(100, 0), QPointF(0, 100)}))
        << "new items go right when odd, below when even";

    CaptureBoard moved(documentOf(100, 100));
    moved.addImages({filledImage(50, 50)});
    const QUuid second = moved.items().at(1).id;
    moved.updateFrame(second, QRectF(300, 40, 100, 100));
    EXPECT_EQ(moved.layout(), CaptureBoardLayout::manual);
    EXPECT_EQ(moved.items().at(1).frame, QRectF(300, 40, 100, 100));
    const quint64 revision = moved.revision();
    moved.updateFrame(second, QRectF(300, 40, 100, 100));
    moved.updateFrame(QUuid::createUuid(), QRectF(0, 0, 10, 10));
    EXPECT_EQ(moved.revision(), revision);

    moved.undo();
    EXPECT_EQ(moved.layout(), CaptureBoardLayout::alternating);
    EXPECT_EQ(moved.items().at(1).frame, QRectF(100, 0, 50, 50));
}

TEST(CaptureBoardTest, RefusalsLeaveTheBoardUnchanged)
{
    CaptureBoard board(documentOf(100, 100));
    board.addImages({filledImage(60, 60)});
    const auto items = board.items();
    const quint64 revision = board.revision();

    // Monochrome images keep this test light: only the pixel counts matter.
    const QImage huge(6000, 6000, QImage::Format_Mono);
    try {
        board.addImages({huge, huge, huge});
        FAIL() << "108 megapixels are refused";
    } catch (const CaptureRenderFailure &failure) {
        EXPECT_EQ(failure.code(), CaptureRenderError::imageTooLarge);
    }
    EXPECT_THROW(board.updateFrame(items.at(1).id, QRectF(0, 0, 10000, 8001)), CaptureRenderFailure);
    try {
        board.updateFrame(items.at(1).id, QRectF(0, 0, std::numeric_limits<double>::infinity(), 10));
        FAIL() << "a frame must be finite";
    } catch (const CaptureRenderFailure &failure) {
        EXPECT_EQ(failure.code(), CaptureRenderError::invalidImage);
    }
    EXPECT_THROW(board.updateFrame(items.at(1).id, QRectF(0, 0, 0.5, 10)), CaptureRenderFailure);

    ASSERT_EQ(board.items().size(), 2);
    EXPECT_EQ(board.items().at(1).frame, items.at(1).frame);
    EXPECT_EQ(board.revision(), revision);
    EXPECT_EQ(board.layout(), CaptureBoardLayout::alternating);
    board.undo();
    EXPECT_EQ(board.items().size(), 1) << "no refused change entered the history";
}

TEST(CaptureBoardTest, ArrangementHistoryKeepsFiftySteps)
{
    CaptureBoard board(documentOf(100, 100));
    board.addImages({filledImage(50, 50)});
    const QUuid second = board.items().at(1).id;
    for (int step = 1; step <= 50; ++step)
        board.updateFrame(second, QRectF(200 + step, 0, 50, 50));
    // 51 changes in all: undoing the addition of the second image has dropped out.
    for (int undo = 0; undo < 50; ++undo)
        board.undo();
    EXPECT_FALSE(board.canUndo());
    ASSERT_EQ(board.items().size(), 2);
    EXPECT_EQ(board.items().at(1).frame.x(), 100);
    board.undo();
    EXPECT_EQ(board.items().size(), 2);
}

TEST(CaptureBoardTest, RemovingSelectedItem)
{
    CaptureBoard board(documentOf(100, 100));
    board.removeSelected();
    EXPECT_EQ(board.items().size(), 1) << "a board never becomes empty";
    board.addImages({filledImage(50, 50), filledImage(70, 70)});
    board.select(board.items().at(1).id);
    board.removeSelected();
    ASSERT_EQ(board.items().size(), 2);
    EXPECT_EQ(board.selectedID(), board.items().first().id);
    EXPECT_EQ(board.items().at(1).frame, QRectF(100, 0, 70, 70)) << "the rest is re-placed";
    board.undo();
    EXPECT_EQ(board.items().size(), 3);

    const quint64 revision = board.revision();
    board.select(QUuid::createUuid());
    EXPECT_EQ(board.revision(), revision);
}

TEST(CaptureBoardTest, SameLayoutTwiceRecordsOneStep)
{
    CaptureBoard board(documentOf(100, 100));
    board.addImages({filledImage(50, 50), filledImage(70, 70)});
    board.applyLayout(CaptureBoardLayout::row);
    const quint64 revision = board.revision();
    board.applyLayout(CaptureBoardLayout::row);
    EXPECT_EQ(board.revision(), revision);
    board.undo();
    EXPECT_EQ(board.layout(), CaptureBoardLayout::alternating);
}

TEST(CaptureBoardTest, MarkersAreNumberedAcrossImages)
{
    auto first = documentOf(300, 100);
    addMarkers(*first, 3);
    CaptureBoard board(first);
    board.addImages({filledImage(300, 100)});
    CaptureDocument &second = *board.items().at(1).document;
    addMarkers(second, 2);
    EXPECT_EQ(markerNumbers(second), QList<qint64>({1, 2}));

    const quint64 revision = board.revision();
    deliverQueuedCalls();
    EXPECT_EQ(markerNumbers(*first), QList<qint64>({1, 2, 3}));
    EXPECT_EQ(markerNumbers(second), QList<qint64>({4, 5}));
    EXPECT_EQ(board.revision(), revision + 1);
    deliverQueuedCalls();
    EXPECT_EQ(board.revision(), revision + 1) << "the board's own writes are not answered again";

    second.finishGesture(QPointF(200, 50), QPointF(200, 50));
    EXPECT_EQ(markerNumbers(second), QList<qint64>({4, 5, 6}));
}

TEST(CaptureBoardTest, CompositionIsSharedAndUndonePerImage)
{
    auto first = documentOf(100, 100);
    CaptureBoard board(first);
    board.addImages({filledImage(100, 100)});
    deliverQueuedCalls();
    CaptureDocument &second = *board.items().at(1).document;

    CaptureComposition framed = second.composition();
    framed.padding = 30;
    second.setComposition(framed);
    deliverQueuedCalls();
    EXPECT_EQ(first->composition().padding, 30);
    EXPECT_EQ(board.items().at(1).frame.topLeft(), QPointF(130, 0)) << "items re-placed with the new gap";

    first->undo();
    deliverQueuedCalls();
    EXPECT_EQ(first->composition().padding, 0);
    EXPECT_EQ(second.composition().padding, 0) << "the undone composition applies to every image";
    EXPECT_EQ(board.items().at(1).frame.topLeft(), QPointF(100, 0));
}

TEST(CaptureBoardTest, RestoredImageTakesTheCurrentComposition)
{
    auto first = documentOf(100, 100);
    CaptureBoard board(first);
    board.addImages({filledImage(80, 80)});
    const auto removed = board.activeDocument();
    board.removeSelected();
    CaptureComposition framed = first->composition();
    framed.background = CaptureBackground::gradient;
    first->setComposition(framed);
    board.synchronizeDocuments();

    board.undo();
    ASSERT_EQ(board.items().size(), 2);
    EXPECT_EQ(removed->composition(), framed);
    removed->undo();
    deliverQueuedCalls();
    EXPECT_EQ(first->composition().background, CaptureBackground::transparent)
        << "the image can still undo the composition it was given";
}

TEST(CaptureBoardTest, CropRescalesTheFrame)
{
    auto document = documentOf(400, 200);
    CaptureBoard board(document);
    board.addImages({filledImage(100, 100)});
    const QUuid item = board.items().first().id;
    board.updateFrame(item, QRectF(10, 20, 200, 100));

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
    board.addImages({filledImage(50, 50)});
    int commits = 0;
    document->setPendingTextCommit([&] { ++commits; });
    const auto copy = board.snapshot();
    EXPECT_GE(commits, 1);
    ASSERT_EQ(copy->items().size(), 2);
    EXPECT_NE(copy->id(), board.id());
    EXPECT_FALSE(copy->canUndo());
    for (qsizetype index = 0; index < 2; ++index) {
        EXPECT_EQ(copy->items().at(index).id, board.items().at(index).id);
        EXPECT_EQ(copy->items().at(index).frame, board.items().at(index).frame);
        EXPECT_NE(copy->items().at(index).document, board.items().at(index).document);
    }
    EXPECT_EQ(copy->selectedID(), board.selectedID());

    copy->items().first().document->finishGesture(QPointF(10, 10), QPointF(60, 60));
    copy->updateFrame(copy->items().at(1).id, QRectF(500, 0, 50, 50));
    EXPECT_TRUE(document->annotations().isEmpty());
    EXPECT_EQ(board.items().at(1).frame.x(), 100);
}

TEST(CaptureBoardTest, SingleItemExportsLikeItsDocument)
{
    auto document = documentOf(120, 80, Qt::green);
    CaptureComposition framed;
    framed.padding = 20;
    framed.background = CaptureBackground::solid;
    framed.backgroundColor = Qt::blue;
    document->setComposition(framed);
    document->finishGesture(QPointF(10, 10), QPointF(100, 60));
    CaptureBoard board(document);
    EXPECT_EQ(board.flattenedImage(), document->flattenedImage());
    EXPECT_EQ(board.contentImage(), document->contentImage());

    board.updateFrame(board.items().first().id, QRectF(0, 0, 60, 40));
    const QImage resized = board.flattenedImage();
    EXPECT_EQ(resized.size(), QSize(100, 80));
    EXPECT_EQ(resized.pixelColor(5, 5), QColor(Qt::blue));
    EXPECT_EQ(resized.pixelColor(75, 55), QColor(Qt::green));
}

TEST(CaptureBoardTest, ExportsEveryItem)
{
    auto red = documentOf(100, 50, Qt::red);
    CaptureComposition framed;
    framed.padding = 10;
    red->setComposition(framed);
    CaptureBoard board(red);
    board.addImages({filledImage(40, 60, Qt::green)});
    board.updateFrame(board.items().at(1).id, QRectF(110, -20, 40, 60));

    const QImage content = board.contentImage();
    ASSERT_EQ(content.size(), QSize(150, 70));
    EXPECT_EQ(content.pixelColor(5, 25), QColor(Qt::red));
    EXPECT_EQ(content.pixelColor(120, 5), QColor(Qt::green));
    EXPECT_EQ(content.pixelColor(5, 5).alpha(), 0);

    const QImage flattened = board.flattenedImage();
    EXPECT_EQ(flattened.size(), QSize(170, 90));
    EXPECT_EQ(flattened.pixelColor(15, 35), QColor(Qt::red));

    addMarkers(*red, 1);
    red->setLegendEnabled(true);
    EXPECT_GT(board.flattenedImage().height(), 90) << "the legend of an image with markers shows";
}
