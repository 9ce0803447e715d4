#include "CaptureBoardView.h"
#include "CaptureBoard.h"
#include "CaptureBoardCanvas.h"
#include "CaptureBoardExportPreview.h"
#include "CaptureBoardPreviews.h"
#include "CaptureRenderError.h"
#include "WidgetLookup.h"

#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QThreadPool>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>

namespace {

QImage filled(QSize size, Qt::GlobalColor color)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(color);
    return image;
}

// A board of plain images, in order; the last one is selected.
std::unique_ptr<CaptureBoard> boardOf(const QList<QImage> &images)
{
    auto board = std::make_unique<CaptureBoard>(std::make_shared<CaptureDocument>(images.first()));
    if (images.size() > 1)
        board->addImages(images.mid(1));
    return board;
}

void settle()
{
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

QPoint centre(const QRectF &rect)
{
    return rect.center().toPoint();
}

class BoardViewTest : public testing::Test {
protected:
    void show(const QList<QImage> &images)
    {
        board = boardOf(images);
        view = std::make_unique<CaptureBoardView>(*board, [this] { ++edits; });
        view->resize(900, 700);
        view->show();
        canvas = view->findChild<CaptureBoardCanvas *>();
        QCoreApplication::processEvents();
    }

    void drag(QPoint from, QPoint to)
    {
        QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(canvas, (from + to) / 2);
        QTest::mouseMove(canvas, to);
        QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier, to);
    }

    QUuid itemID(qsizetype index) const { return board->items().at(index).id; }
    QRectF frame(qsizetype index) const { return board->items().at(index).frame; }

    QAction *layoutEntry(const QString &title) const
    {
        for (QToolButton *candidate : view->findChildren<QToolButton *>()) {
            if (candidate->text() != QStringLiteral("Arrange"))
                continue;
            for (QAction *action : candidate->menu()->actions()) {
                if (action->text() == title)
                    return action;
            }
        }
        return nullptr;
    }

    std::unique_ptr<CaptureBoard> board;
    std::unique_ptr<CaptureBoardView> view;
    CaptureBoardCanvas *canvas = nullptr;
    int edits = 0;
};

TEST_F(BoardViewTest, SmallBoardIsEnlargedToFillThePanelWithItsMargin)
{
    show({filled(QSize(100, 50), Qt::red)});
    const QRectF drawn = canvas->itemRect(itemID(0));
    const double scale = std::min((canvas->width() - 16) / 148.0, (canvas->height() - 16) / 98.0);
    EXPECT_GT(scale, 1);
    EXPECT_NEAR(drawn.x(), 24 * scale + 8, 1e-6);
    EXPECT_NEAR(drawn.y(), 24 * scale + 8, 1e-6);
    EXPECT_NEAR(drawn.width(), 100 * scale, 1e-6);
}

TEST_F(BoardViewTest, PreviewsFillTheItemsOnceRenderedOffTheGuiThread)
{
    show({filled(QSize(300, 200), Qt::red), filled(QSize(200, 300), Qt::blue)});
    ASSERT_TRUE(QTest::qWaitFor([&] {
        const QImage grabbed = canvas->grab().toImage();
        return grabbed.pixelColor(centre(canvas->itemRect(itemID(0)))) == QColor(Qt::red) &&
               grabbed.pixelColor(centre(canvas->itemRect(itemID(1)))) == QColor(Qt::blue);
    }));
}

TEST_F(BoardViewTest, MovingAnItemCommitsOnceAndSwitchesToManual)
{
    show({filled(QSize(300, 200), Qt::red), filled(QSize(200, 300), Qt::blue)});
    const QRectF before = frame(0);
    const QRectF drawn = canvas->itemRect(itemID(0));
    const double scale = drawn.width() / before.width();
    const quint64 revision = board->revision();
    drag(centre(drawn), centre(drawn) + QPoint(60, 30));
    EXPECT_EQ(board->selectedID(), itemID(0));
    EXPECT_NEAR(frame(0).x(), before.x() + 60 / scale, 0.01);
    EXPECT_NEAR(frame(0).y(), before.y() + 30 / scale, 0.01);
    EXPECT_EQ(frame(0).size(), before.size());
    EXPECT_EQ(board->layout(), CaptureBoardLayout::manual);
    EXPECT_EQ(board->revision(), revision + 1);
    EXPECT_TRUE(view->message().isEmpty());
}

TEST_F(BoardViewTest, ResizeHandleStopsAtMinimumWidthWithHeightScaled)
{
    show({filled(QSize(400, 200), Qt::red)});
    const QPoint handle = centre(canvas->handleRect(itemID(0)));
    drag(handle, handle - QPoint(5000, -3000));
    EXPECT_EQ(frame(0), QRectF(0, 0, 16, 8));
    EXPECT_EQ(board->layout(), CaptureBoardLayout::manual);
    EXPECT_TRUE(board->canUndo());
}

TEST_F(BoardViewTest, ResizeAboveTheExportLimitIsRefusedInRedAndSpringsBack)
{
    show({filled(QSize(2000, 1000), Qt::red)});
    const QRectF drawn = canvas->itemRect(itemID(0));
    const QPoint handle = centre(canvas->handleRect(itemID(0)));
    drag(handle, handle + QPoint(9000, 0));
    const QString tooLarge = description(CaptureRenderError::imageTooLarge);
    EXPECT_EQ(view->message().toStdString(), tooLarge.toStdString());
    QLabel *message = find<QLabel>(*view, tooLarge);
    ASSERT_NE(message, nullptr);
    EXPECT_TRUE(message->isVisible());
    EXPECT_EQ(frame(0), QRectF(0, 0, 2000, 1000));
    EXPECT_EQ(canvas->itemRect(itemID(0)), drawn);
    EXPECT_FALSE(board->canUndo());

    drag(handle, handle - QPoint(20, 0));
    EXPECT_TRUE(view->message().isEmpty());
    EXPECT_FALSE(message->isVisible());
}

TEST_F(BoardViewTest, ArrangeMenuAppliesLayoutsAndManualChangesNothing)
{
    show({filled(QSize(300, 200), Qt::red), filled(QSize(200, 300), Qt::blue)});
    QToolButton *undo = nullptr;
    for (QToolButton *candidate : view->findChildren<QToolButton *>()) {
        if (candidate->toolTip() == QStringLiteral("Undo image arrangement"))
            undo = candidate;
    }
    ASSERT_NE(undo, nullptr);
    const QList<QRectF> before = {frame(0), frame(1)};

    layoutEntry(QStringLiteral("Manual"))->trigger();
    EXPECT_EQ(board->layout(), CaptureBoardLayout::manual);
    EXPECT_EQ((QList<QRectF>{frame(0), frame(1)}), before);

    layoutEntry(QStringLiteral("Column"))->trigger();
    EXPECT_EQ(board->layout(), CaptureBoardLayout::column);
    EXPECT_EQ(frame(1).topLeft(), QPointF(0, 200 + board->composition().padding));
    undo->click();
    EXPECT_EQ((QList<QRectF>{frame(0), frame(1)}), before);
    EXPECT_EQ(board->layout(), CaptureBoardLayout::manual);
    // The next step back is the added image: choosing Manual recorded none.
    undo->click();
    EXPECT_EQ(board->items().size(), 1);
    EXPECT_FALSE(undo->isEnabled());
    for (const char *title : {"Alternating", "Row", "Grid"})
        EXPECT_NE(layoutEntry(QString::fromLatin1(title)), nullptr) << title;
}

TEST_F(BoardViewTest, RemoveNeedsTwoImagesAndRemovesTheSelectedOne)
{
    show({filled(QSize(300, 200), Qt::red)});
    QPushButton *remove = controlTitled<QPushButton>(*view, QStringLiteral("Remove"));
    ASSERT_NE(remove, nullptr);
    EXPECT_FALSE(remove->isEnabled());
    EXPECT_TRUE(find<QLabel>(*view, QStringLiteral("1 images")));
    board->addImages({filled(QSize(100, 100), Qt::blue)});
    EXPECT_TRUE(remove->isEnabled());
    EXPECT_TRUE(find<QLabel>(*view, QStringLiteral("2 images")));
    const QUuid first = itemID(0);
    remove->click();
    ASSERT_EQ(board->items().size(), 1);
    EXPECT_EQ(itemID(0), first);
    EXPECT_FALSE(remove->isEnabled());
}

TEST_F(BoardViewTest, DoubleClickOnAnUnselectedItemSelectsAndOpensIt)
{
    show({filled(QSize(300, 200), Qt::red), filled(QSize(200, 300), Qt::blue)});
    ASSERT_EQ(board->selectedID(), itemID(1));
    QTest::mouseDClick(canvas, Qt::LeftButton, Qt::NoModifier, centre(canvas->itemRect(itemID(0))));
    EXPECT_EQ(board->selectedID(), itemID(0));
    EXPECT_EQ(edits, 1);
    controlTitled<QPushButton>(*view, QStringLiteral("Edit Selected Image"))->click();
    EXPECT_EQ(edits, 2);
}

TEST_F(BoardViewTest, ExportPreviewRendersAgainAfterEveryBoardChangeWhileOn)
{
    show({filled(QSize(300, 200), Qt::red), filled(QSize(200, 300), Qt::blue)});
    auto *preview = view->findChild<CaptureBoardExportPreview *>();
    controlTitled<QPushButton>(*view, QStringLiteral("Export Preview"))->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !preview->image().isNull() && preview->isVisible(); }));
    const QSize alternating = preview->image().size();

    board->applyLayout(CaptureBoardLayout::column);
    ASSERT_TRUE(QTest::qWaitFor([&] { return preview->image().size() != alternating; }));
    EXPECT_GT(preview->image().height(), alternating.height());
    EXPECT_TRUE(preview->isVisible());

    controlTitled<QPushButton>(*view, QStringLiteral("Export Preview"))->click();
    EXPECT_TRUE(canvas->isVisible());
}

TEST(CaptureBoardPreviews, NewerRefreshSupersedesTheRunningOne)
{
    auto document = std::make_shared<CaptureDocument>(filled(QSize(400, 300), Qt::white));
    CaptureBoard board(document);
    CaptureBoardPreviews previews;
    QSignalSpy changes(&previews, &CaptureBoardPreviews::previewsChanged);

    previews.refresh(board, false);
    document->setTool(CaptureTool::redact);
    document->finishGesture(QPointF(100, 100), QPointF(300, 200));
    previews.refresh(board, false);
    settle();

    ASSERT_EQ(changes.count(), 1);
    const QImage preview = previews.previews().value(board.items().first().id);
    ASSERT_EQ(preview.size(), QSize(400, 300));
    EXPECT_EQ(preview.pixelColor(200, 150), QColor(Qt::black));
    EXPECT_EQ(preview.pixelColor(20, 20), QColor(Qt::white));
    EXPECT_FALSE(previews.exportPreview());
}

TEST(CaptureBoardPreviews, LargeContentIsShrunkAndExportFollowsTheRequest)
{
    CaptureBoard board(std::make_shared<CaptureDocument>(filled(QSize(3200, 800), Qt::white)));
    board.addImages({filled(QSize(100, 100), Qt::white)});
    CaptureBoardPreviews previews;
    QSignalSpy exports(&previews, &CaptureBoardPreviews::exportPreviewChanged);

    previews.refresh(board, true);
    settle();
    EXPECT_EQ(previews.previews().value(board.items().at(0).id).size(), QSize(1600, 400));
    EXPECT_EQ(previews.previews().value(board.items().at(1).id).size(), QSize(100, 100));
    ASSERT_TRUE(previews.exportPreview());
    EXPECT_LE(std::max(previews.exportPreview()->width(), previews.exportPreview()->height()),
              CaptureBoardPreviews::maximumExportPreviewSide);
    EXPECT_EQ(exports.count(), 1);

    // Without the export, an earlier one would no longer match the board.
    board.applyLayout(CaptureBoardLayout::column);
    previews.refresh(board, false);
    settle();
    EXPECT_FALSE(previews.exportPreview());
    EXPECT_EQ(exports.count(), 2);
}

} // namespace
